#include "app/Find.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogLook.h"
#include "app/Main.h"

namespace tarnwick {

TfrmFind::TfrmFind(TfrmMain& main) : TSearchWindow(main, "frmFind", "Find Next") {
  auto* label = new QLabel("Text to find:", this);
  label->setBuddy(edtTextToFind);
  auto* direction = new QGroupBox(" Direction ", this);
  rbDirectionUp = NamedControl<QRadioButton>("rbDirectionUp", "Up", direction);
  rbDirectionDown = NamedControl<QRadioButton>("rbDirectionDown", "Down", direction);
  rbDirectionDown->setChecked(true);
  auto* directions = new QVBoxLayout(direction);
  directions->setContentsMargins(6, 0, 6, 0);
  directions->setSpacing(0);
  directions->addWidget(rbDirectionUp);
  directions->addWidget(rbDirectionDown);
  connect(btnAction, &QPushButton::clicked, this, &TfrmFind::FindNextClick);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setVerticalSpacing(2);
  grid->addWidget(label, 0, 0, 1, 2);
  grid->addWidget(edtTextToFind, 1, 0, 1, 2);
  auto* checks = new QVBoxLayout;
  checks->setSpacing(2);
  checks->addWidget(cbxCaseSen);
  checks->addWidget(cbxWholeWords);
  checks->addStretch();
  grid->addLayout(checks, 2, 0);
  grid->addWidget(direction, 2, 1);
  grid->addLayout(buttonRow_, 3, 0, 1, 2);
  SetDialogLook(*this, "Find Text", QSize(245, 125));
}

void TfrmFind::FindNextClick() {
  if (!HasTextToFind()) return;
  TSynSearchOptions options = MatchOptions();
  if (rbDirectionUp->isChecked()) options |= optBackwards;
  main_.RunSearch(options, edtTextToFind->text().toStdString(), {});
}

}  // namespace tarnwick

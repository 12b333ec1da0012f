#include "app/Replace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/DialogLook.h"
#include "app/Main.h"

namespace tarnwick {

TfrmReplace::TfrmReplace(TfrmMain& main) : TSearchWindow(main, "frmReplace", "Replace") {
  auto* findLabel = new QLabel("Text to find:", this);
  findLabel->setBuddy(edtTextToFind);
  auto* replaceLabel = new QLabel("Replace with:", this);
  edtReplaceText = NamedControl<QLineEdit>("edtReplaceText", this);
  replaceLabel->setBuddy(edtReplaceText);
  connect(btnAction, &QPushButton::clicked, this, &TfrmReplace::ReplaceClick);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(3);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(edtTextToFind, 0, 1);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(edtReplaceText, 1, 1);
  grid->addWidget(cbxCaseSen, 2, 0, 1, 2);
  grid->addWidget(cbxWholeWords, 3, 0, 1, 2);
  grid->addLayout(buttonRow_, 4, 0, 1, 2);
  SetDialogLook(*this, "Replace Text", QSize(245, 129));
}

void TfrmReplace::ReplaceClick() {
  if (!HasTextToFind()) return;
  main_.RunSearch(optReplace | optReplaceAll | optPrompt | MatchOptions(), edtTextToFind->text().toStdString(),
                  edtReplaceText->text().toStdString());
}

}  // namespace tarnwick

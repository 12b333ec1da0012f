#include "app/About.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Pictures.h"

namespace tarnwick {

const char* const kVersionLine = "Version 0.8, released 10 December 2026";

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About Tarnwick");
  auto* picture = new QLabel(this);
  picture->setPixmap(ProgramPicture(48));
  auto* name = new QLabel("Tarnwick", this);
  QFont large = name->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.5);
  name->setFont(large);
  auto* version = new QLabel(kVersionLine, this);
  version->setObjectName("lblVersion");
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(ok, 0, Qt::AlignRight);
  setFixedSize(sizeHint());
}

}  // namespace tarnwick

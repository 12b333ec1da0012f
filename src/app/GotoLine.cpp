#include "app/GotoLine.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/DialogLook.h"
#include "app/Main.h"
#include "app/Misc.h"
#include "editor/qt/SynEditWidget.h"

namespace tarnwick {

TfrmGotoLine::TfrmGotoLine(TfrmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmGotoLine");
  auto* label = new QLabel("Line number:", this);
  edtLineNumber = NamedControl<QLineEdit>("edtLineNumber", "0", this);
  edtLineNumber->setFixedWidth(56);
  label->setBuddy(edtLineNumber);
  QLayout* buttons = ButtonRow(*this, "OK", btnOK, btnCancel);
  connect(btnOK, &QPushButton::clicked, this, &TfrmGotoLine::OKClick);
  for (QPushButton* button : {btnOK, btnCancel}) button->setFixedWidth(62);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 6);
  grid->addWidget(label, 0, 0);
  grid->addWidget(edtLineNumber, 0, 1);
  grid->addLayout(buttons, 1, 0, 1, 2);
  SetDialogLook(*this, "Go To Line", QSize(153, 73));
}

void TfrmGotoLine::showEvent(QShowEvent* event) {
  CentreOnScreen(*this);
  QDialog::showEvent(event);
  edtLineNumber->setText(QString::number(main_.ActiveEditor()->CaretPos().Line));
  edtLineNumber->setFocus();
}

void TfrmGotoLine::OKClick() {
  TSynEdit& editor = *main_.ActiveEditor();
  int line = kNotANumber;
  if (!TryStrToInt(edtLineNumber->text().toStdString(), line)) line = kNotANumber;
  if (line == kNotANumber) {
    main_.Dialogs().MessageDlg("Input must be a valid number.", TMsgDlgType::mtError, mbOK);
  } else if (line < 1 || line > editor.Lines().Count()) {
    main_.Dialogs().MessageDlg("Line number out of range.", TMsgDlgType::mtError, mbOK);
  } else {
    editor.SetCaretPos({0, line});
    TBufferCoord caret = editor.CaretPos();
    editor.SetCaretAndSelection(caret, caret, caret);
    main_.ActiveEditorWidget()->setFocus();
    accept();
  }
}

}  // namespace tarnwick

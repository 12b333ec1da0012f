#include "app/SearchWindow.h"

#include <QCheckBox>
#include <QLineEdit>

#include "app/DialogLook.h"
#include "app/Main.h"

namespace tarnwick {

TSearchWindow::TSearchWindow(TfrmMain& main, const char* name, const char* actionCaption)
    : QDialog(&main), main_(main) {
  setObjectName(name);
  edtTextToFind = NamedControl<QLineEdit>("edtTextToFind", this);
  cbxCaseSen = NamedControl<QCheckBox>("cbxCaseSen", "Case sensitive", this);
  cbxWholeWords = NamedControl<QCheckBox>("cbxWholeWords", "Whole words only", this);
  buttonRow_ = ButtonRow(*this, actionCaption, btnAction, btnCancel);
}

void TSearchWindow::showEvent(QShowEvent* event) {
  CentreOnScreen(*this);
  QDialog::showEvent(event);
  edtTextToFind->setFocus();
}

bool TSearchWindow::HasTextToFind() {
  if (!edtTextToFind->text().isEmpty()) return true;
  main_.Dialogs().MessageDlg("You have not entered any text to find.", TMsgDlgType::mtError, mbOK);
  return false;
}

TSynSearchOptions TSearchWindow::MatchOptions() const {
  TSynSearchOptions options = 0;
  if (cbxCaseSen->isChecked()) options |= optMatchCase;
  if (cbxWholeWords->isChecked()) options |= optWholeWord;
  return options;
}

}  // namespace tarnwick

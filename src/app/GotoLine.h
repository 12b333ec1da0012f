#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tarnwick {

class TfrmMain;

// Go To Line: the caret line to start from, any text typed, and the move on OK when the
// number names a line of the document.
class TfrmGotoLine : public QDialog {
 public:
  explicit TfrmGotoLine(TfrmMain& main);

  QLineEdit* edtLineNumber;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  void OKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TfrmMain& main_;
};

// What a text that is not a number reads as.
constexpr int kNotANumber = -999991;

}  // namespace tarnwick

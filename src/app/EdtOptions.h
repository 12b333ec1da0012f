#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnwick {

class TfrmMain;
class TUpDown;

// Editor Options: tabs, font and the other editing settings; OK applies them to every open
// document at once, and only when every number box holds a number.
class TfrmEdtOptions : public QDialog {
 public:
  explicit TfrmEdtOptions(TfrmMain& main);

  QCheckBox* chbUseTabChar;
  QCheckBox* chbSmartTabs;
  QLineEdit* edtTabWidth;
  TUpDown* udTabWidth;
  QComboBox* fcbEditorFont;
  QLineEdit* edtFontSize;
  TUpDown* udFontSize;
  QCheckBox* chbVisRightMar;
  QLabel* lblRightMarginPos;
  QLineEdit* edtRightMarWidth;
  TUpDown* udRightMarWidth;
  QCheckBox* chbAutoIndent;
  QCheckBox* cbxHalfPageScroll;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  void VisRightMarClick();
  void OKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TfrmMain& main_;
};

}  // namespace tarnwick

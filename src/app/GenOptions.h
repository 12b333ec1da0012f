#pragma once

#include <QDialog>

#include "platform/Dialogs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tarnwick {

class TfrmMain;

// General Options: loaded from the settings each time it is shown; OK stores them and
// switches the keep-alive timer at once.
class TfrmGenOptions : public QDialog {
 public:
  explicit TfrmGenOptions(TfrmMain& main);

  QCheckBox* chbUploadOnSave;
  QCheckBox* chbFTPKeepAlive;
  QCheckBox* chbNewPageStartup;
  QCheckBox* chbRetainSize;
  QCheckBox* chbWrapPrinting;
  QLineEdit* edtStartupTemplate;
  QToolButton* sbStartupTemplateBrowse;
  QPushButton* btnOK;
  QPushButton* btnCancel;
  TFileDialog odStartupTemplate;

  void BrowseClick();
  void OKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TfrmMain& main_;
};

}  // namespace tarnwick

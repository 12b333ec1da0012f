#include "app/GenOptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/DialogLook.h"
#include "app/Main.h"

namespace tarnwick {

namespace {

// Any file, starting at the root of the file system.
TFileDialog TemplateDialog() {
  TFileDialog dialog;
  dialog.filters = {{"All Files (*.*)", "*.*"}};
  dialog.folder = std::string(1, '/');
  return dialog;
}

}  // namespace

TfrmGenOptions::TfrmGenOptions(TfrmMain& main)
    : QDialog(&main), odStartupTemplate(TemplateDialog()), main_(main) {
  setObjectName("frmGenOptions");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 6);
  column->setSpacing(3);
  auto check = [&](const char* name, const char* caption) {
    auto* box = NamedControl<QCheckBox>(name, caption, this);
    column->addWidget(box);
    return box;
  };
  chbUploadOnSave = check("chbUploadOnSave", "Upload file on saving");
  chbFTPKeepAlive = check("chbFTPKeepAlive", "Attempt to keep FTP connection alive");
  chbNewPageStartup = check("chbNewPageStartup", "New page on startup");
  chbRetainSize = check("chbRetainSize", "Retain window size and position");
  chbWrapPrinting = check("chbWrapPrinting", "Wrap text when printing");
  auto* label = new QLabel("Startup template:", this);
  column->addWidget(label);
  auto* templateRow = new QHBoxLayout;
  edtStartupTemplate = NamedControl<QLineEdit>("edtStartupTemplate", this);
  edtStartupTemplate->setMinimumWidth(173);
  label->setBuddy(edtStartupTemplate);
  sbStartupTemplateBrowse = NamedControl<QToolButton>("sbStartupTemplateBrowse", this);
  sbStartupTemplateBrowse->setText("...");
  sbStartupTemplateBrowse->setFixedSize(21, 21);
  connect(sbStartupTemplateBrowse, &QToolButton::clicked, this, &TfrmGenOptions::BrowseClick);
  templateRow->addWidget(edtStartupTemplate);
  templateRow->addWidget(sbStartupTemplateBrowse);
  column->addLayout(templateRow);
  column->addStretch();
  column->addLayout(ButtonRow(*this, "OK", btnOK, btnCancel));
  connect(btnOK, &QPushButton::clicked, this, &TfrmGenOptions::OKClick);
  SetDialogLook(*this, "General Options", QSize(213, 197));
}

void TfrmGenOptions::showEvent(QShowEvent* event) {
  CentreOnScreen(*this);
  const TSettings& settings = main_.Settings;
  chbUploadOnSave->setChecked(settings.UploadOnSave);
  chbNewPageStartup->setChecked(settings.NewPageStartup);
  chbFTPKeepAlive->setChecked(settings.FTPKeepAlive);
  chbRetainSize->setChecked(settings.RetainSize);
  chbWrapPrinting->setChecked(settings.WrapPrinting);
  edtStartupTemplate->setText(QString::fromStdString(settings.StartupTemplate));
  QDialog::showEvent(event);
}

void TfrmGenOptions::BrowseClick() {
  std::vector<std::string> files;
  if (main_.Dialogs().ExecuteOpenDialog(odStartupTemplate, files))
    edtStartupTemplate->setText(QString::fromStdString(files.front()));
}

void TfrmGenOptions::OKClick() {
  TSettings& settings = main_.Settings;
  settings.UploadOnSave = chbUploadOnSave->isChecked();
  settings.NewPageStartup = chbNewPageStartup->isChecked();
  main_.SwitchKeepAliveTimer(chbFTPKeepAlive->isChecked());
  settings.FTPKeepAlive = chbFTPKeepAlive->isChecked();
  settings.RetainSize = chbRetainSize->isChecked();
  settings.WrapPrinting = chbWrapPrinting->isChecked();
  settings.StartupTemplate = edtStartupTemplate->text().toStdString();
  main_.SaveSettingsReporting();
  accept();
}

}  // namespace tarnwick

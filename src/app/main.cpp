#include "app/Application.h"
#include "app/Main.h"
#include "platform/RegistryFile.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSystemServices.h"

int main(int argc, char** argv) {
  using namespace tarnwick;
  TApplication application(argc, argv);
  TQtDialogs dialogs;
  TQtSystemServices system;
  TRegistryFile registry(TRegistryFile::DefaultPath());
  application.SetDialogs(&dialogs);
  TfrmMain frmMain({dialogs, system, registry});
  frmMain.show();
  return application.exec();
}

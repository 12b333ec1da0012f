#include "app/Application.h"
#include "app/Main.h"
#include "platform/RegistryFile.h"
#include "app/Pictures.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSystemServices.h"

int main(int argc, char** argv) {
  using namespace tarnwick;
  TApplication application(argc, argv);
  TQtDialogs dialogs;
  TQtSystemServices system;
  TQtClipboard clipboard;
  TRegistryFile registry(TRegistryFile::DefaultPath());
  application.SetDialogs(&dialogs);
  application.setWindowIcon(QIcon(ProgramPicture(64)));
  TfrmMain frmMain({dialogs, system, registry, clipboard});
  for (int i = 1; i < argc; ++i) frmMain.CommandLineArgs.emplace_back(argv[i]);
  frmMain.show();
  return application.exec();
}

// Renders the main window as a new user first sees it (design size, fresh settings) to a
// PNG file, for the README. Runs on the offscreen platform, so it needs no display.
#include <QPixmap>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Application.h"
#include "app/Main.h"
#include "platform/RegistryFile.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSystemServices.h"

int main(int argc, char** argv) {
  using namespace tarnwick;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char profile[] = "/tmp/tarnwick-screenshot-XXXXXX";
  if (::mkdtemp(profile) == nullptr) return 1;

  int code = 1;
  {
    TApplication application(argc, argv);
    TQtDialogs dialogs;
    TQtSystemServices system;
    TRegistryFile registry(std::string(profile) + "/tarnwick/registry.reg");
    application.SetDialogs(&dialogs);
    TfrmMain frmMain({dialogs, system, registry});
    frmMain.setWindowState(Qt::WindowNoState);
    frmMain.show();
    QApplication::processEvents();
    if (frmMain.grab().save(QString::fromLocal8Bit(argv[1]))) code = 0;
  }
  std::filesystem::remove_all(profile);
  return code;
}

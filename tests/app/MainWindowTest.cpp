#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/MainWindowFixture.h"

namespace tarnwick {
namespace {

using test::WriteFile;

// The window's own lifecycle: created, shown and closed by each test itself.
class MainWindowTest : public test::MainWindowFixture {
 protected:
  std::unique_ptr<TfrmMain> Create() { return std::make_unique<TfrmMain>(TAppServices{dialogs, system, registry, clipboard}); }
};

TEST_F(MainWindowTest, IsLaidOutAsDesignedWithAnEmptyWorkspace) {
  StoreValues({{"NewPageStartup", 0}});
  window = Create();
  window->show();
  QApplication::processEvents();

  EXPECT_EQ(window->windowTitle(), "Tarnwick");
  EXPECT_EQ(window->minimumSize(), QSize(300, 200));
  QStringList menus;
  for (QAction* menu : window->menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Options", "&Help"}));
  EXPECT_EQ(window->actExit->text(), "E&xit");
  EXPECT_EQ(window->tbMain->windowTitle(), "Main");
  EXPECT_EQ(window->tbHighlighting->windowTitle(), "Highlighting");

  EXPECT_TRUE(window->panNoDocsOpen->isVisible());
  EXPECT_EQ(window->panNoDocsOpen->geometry(), window->pcMain->geometry()) << "the blank panel covers the pages";
  EXPECT_EQ(window->pcMain->count(), 0);
  EXPECT_EQ(window->pcMain->mapTo(window.get(), QPoint(0, 0)).y(),
            window->centralWidget()->mapTo(window.get(), QPoint(0, 0)).y() + 2)
      << "a 2-pixel gap above the pages";

  const int widths[] = {60, 64, 29};
  for (int panel = 0; panel < 3; ++panel) EXPECT_EQ(window->StatusPanelWidth(panel), widths[panel]) << panel;
  EXPECT_GE(window->StatusPanelWidth(3), 50);
  for (int panel : {0, 1, 3}) EXPECT_EQ(window->StatusPanelText(panel), "") << panel;
  EXPECT_FALSE(window->ClassicLook);
  EXPECT_EQ(window->tmrKeepAlive->interval(), 25000);
  EXPECT_TRUE(window->tmrKeepAlive->isActive());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, OpensMaximizedOnAFirstRunAndRestoresToTheDesignGeometry) {
  window = Create();
  window->show();
  QApplication::processEvents();
  EXPECT_TRUE(window->isMaximized());
  window->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(QRect(window->pos(), window->size()), QRect(319, 118, 764, 609));
}

TEST_F(MainWindowTest, RestoresTheStoredGeometryAndRecordsItOnClose) {
  StoreValues({{"WindowLeft", 50}, {"WindowTop", 60}, {"WindowWidth", 500}, {"WindowHeight", 400}, {"WindowMaximized", 0}});
  window = Create();
  window->show();
  QApplication::processEvents();
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(QRect(window->pos(), window->size()), QRect(50, 60, 500, 400));

  window->move(70, 80);
  window->resize(640, 480);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(StoredInteger("WindowLeft"), 70);
  EXPECT_EQ(StoredInteger("WindowTop"), 80);
  EXPECT_EQ(StoredInteger("WindowWidth"), 640);
  EXPECT_EQ(StoredInteger("WindowHeight"), 480);
  EXPECT_EQ(StoredInteger("WindowMaximized"), 0);
}

TEST_F(MainWindowTest, AMaximizedExitKeepsTheStoredNormalGeometry) {
  StoreValues({{"WindowLeft", 50}, {"WindowTop", 60}, {"WindowWidth", 500}, {"WindowHeight", 400}, {"WindowMaximized", 0}});
  window = Create();
  window->showMaximized();
  QApplication::processEvents();
  EXPECT_TRUE(window->close());
  window.reset();
  EXPECT_EQ(StoredInteger("WindowMaximized"), 1);
  EXPECT_EQ(StoredInteger("WindowLeft"), 50);
  EXPECT_EQ(StoredInteger("WindowWidth"), 500);
}

TEST_F(MainWindowTest, TheKeepAliveTimerFollowsItsSetting) {
  StoreValues({{"FTPKeepAlive", 0}});
  window = Create();
  EXPECT_FALSE(window->tmrKeepAlive->isActive());
}

TEST_F(MainWindowTest, ADamagedStoreIsReportedAndTheProgramStartsWithWhatCouldBeRead) {
  std::filesystem::create_directories(dir / "config/tarnwick");
  WriteFile(storePath, "[HKEY_CURRENT_USER\\Software\\Pellmoor Software\\Tarnwick]\n\"FontSize\"=dword:0000000e\n"
                       "\"TabWidth\"=\"x\"\n\x01\x02garbage\n");
  window = Create();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  const TMessageBox& box = dialogs.shown[0];
  EXPECT_EQ(box.type, TMsgDlgType::mtWarning);
  EXPECT_EQ(box.caption, "Warning");
  EXPECT_NE(box.text.find(storePath + ".bad"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("TabWidth"), std::string::npos) << box.text;
  EXPECT_EQ(window->Settings.FontSize, 14);
  EXPECT_EQ(window->Settings.TabWidth, 2);
  EXPECT_TRUE(std::filesystem::exists(storePath + ".bad"));
}

TEST_F(MainWindowTest, SettingsThatCannotBeSavedAreReportedOnceAndTheWindowStillCloses) {
  WriteFile(dir / "notafolder", "");
  TRegistryFile unwritable(dir / "notafolder/tarnwick/registry.reg");
  window = std::make_unique<TfrmMain>(TAppServices{dialogs, system, unwritable, clipboard});
  ASSERT_EQ(dialogs.shown.size(), 1u) << "the defaults could not be written at start: " << dialogs.shown.back().text;
  window->show();
  EXPECT_TRUE(window->close());
  window.reset();
  ASSERT_EQ(dialogs.shown.size(), 2u) << "the close reports it; the destruction does not repeat it";
  const TMessageBox& box = dialogs.shown[1];
  EXPECT_EQ(box.type, TMsgDlgType::mtError);
  EXPECT_EQ(box.caption, "Tarnwick");
  EXPECT_EQ(box.text, "Failed to set data for 'AutoIndent'");
  EXPECT_NE(box.details.find("Not a directory"), std::string::npos) << box.details;
}

TEST_F(MainWindowTest, TheExitCommandClosesTheWindowAndSavesTheSettingsAgainOnDestruction) {
  window = Create();
  window->show();
  window->Settings.FontSize = 13;
  window->actExit->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(StoredInteger("FontSize"), 13);
  window->Settings.FontSize = 15;
  window.reset();
  EXPECT_EQ(StoredInteger("FontSize"), 15);
}

}  // namespace
}  // namespace tarnwick

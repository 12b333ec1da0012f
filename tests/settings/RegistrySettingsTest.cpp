#include <gtest/gtest.h>

#include <variant>

#include "platform/RegistryFile.h"
#include "platform/test/FixedSystemServices.h"
#include "platform/test/MemoryRegistry.h"
#include "settings/RegistrySettings.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;

const char* const kKeyPath = "Software\\Pellmoor Software\\Tarnwick";

class SettingsTest : public testing::Test {
 protected:
  TTempDir dir;
  TFixedSystemServices system;
  TWindowBounds window{319, 118, 764, 609};
  TSettingsEnvironment env{system, [this] { return window; }};
  TMemoryRegistry store;

  void SetUp() override { system.programFolder = dir.Path() + "/"; }

  const TRegistryKey& Key() { return store.tree.at(kKeyPath); }
  std::variant<std::int32_t, std::string> Stored(const std::string& name) {
    const TRegistryValue* value = Key().Find(name);
    if (value == nullptr) throw std::runtime_error(name + " is not stored");
    return value->data;
  }
  void Store(const std::string& name, std::variant<std::int32_t, std::string> data) {
    store.tree[kKeyPath].values.push_back({name, std::move(data)});
  }
};

using V = std::variant<std::int32_t, std::string>;

TEST_F(SettingsTest, AFreshProfileGetsEveryValueWithItsDefaultInTableOrder) {
  TSettings settings;
  TSettingsLoadReport report = LoadSettings(settings, store, env);
  EXPECT_TRUE(report.defaultedValues.empty());
  EXPECT_EQ(report.storeError, "");

  const std::vector<std::pair<std::string, V>> expected = {
      {"AutoIndent", 1},       {"SmartTabs", 0},      {"UseTabChar", 0},       {"VisRightMar", 1},
      {"RightMarWidth", 80},   {"TabWidth", 2},       {"Font", "Liberation Mono"}, {"FontSize", 10},
      {"UploadOnSave", 0},     {"WrapPrinting", 1},   {"NewPageStartup", 1},   {"FTPKeepAlive", 1},
      {"RetainSize", 1},       {"WindowLeft", 319},   {"WindowTop", 118},      {"WindowWidth", 764},
      {"WindowHeight", 609},   {"WindowMaximized", 1}, {"HalfPageScroll", 0},
      {"Port1", 21},           {"Port5", 21},         {"Username3", ""},       {"Password2", ""},
      {"LocalFolder1", "/"},   {"LocalFolder2", ""},  {"HostAddress1", ""},    {"DestinationFolder1", "/"},
      {"DestinationFolder5", ""}, {"File1", ""},      {"File5", ""}};
  for (const auto& [name, value] : expected) EXPECT_EQ(Stored(name), value) << name;
  EXPECT_EQ(Key().Find("StartupTemplate"), nullptr) << "no template beside the program";
  ASSERT_EQ(Key().values.size(), 19u + 7 * 5);
  EXPECT_EQ(Key().values.front().name, "AutoIndent");
  EXPECT_EQ(Key().values.back().name, "File5");

  TSettings want;
  want.AutoIndent = want.VisRightMar = want.WrapPrinting = want.NewPageStartup = want.FTPKeepAlive = true;
  want.RetainSize = want.WindowMaximized = true;
  want.RightMarWidth = 80;
  want.TabWidth = 2;
  want.Font = "Liberation Mono";
  want.FontSize = 10;
  want.WindowLeft = 319, want.WindowTop = 118, want.WindowWidth = 764, want.WindowHeight = 609;
  want.Port = {21, 21, 21, 21, 21};
  want.LocalFolder[0] = "/";
  want.DestinationFolder[0] = "/";
  EXPECT_EQ(settings, want);
}

TEST_F(SettingsTest, TheStartupTemplateDefaultsToTheFileBesideTheProgramOnlyWhenItExists) {
  WriteFile(dir / "DefaultTemplate.txt", "<!DOCTYPE html>");
  TSettings settings;
  LoadSettings(settings, store, env);
  EXPECT_EQ(settings.StartupTemplate, dir / "DefaultTemplate.txt");

  // A user who cleared it keeps it cleared, template or not.
  settings.StartupTemplate = "";
  SaveSettings(settings, store, env);
  TSettings again;
  LoadSettings(again, store, env);
  EXPECT_EQ(again.StartupTemplate, "");
  EXPECT_EQ(Stored("StartupTemplate"), V(""));
}

TEST_F(SettingsTest, TheEditorFontIsTheFirstInstalledOfTheUsualNames) {
  struct TCase {
    std::vector<std::string> installed;
    std::string font;
  };
  const TCase cases[] = {
      {{"DejaVu Sans", "courier new", "Arial"}, "Courier New"},
      {{"Tahoma", "Arial"}, "Arial"},
      {{"TAHOMA", "Liberation Mono"}, "Tahoma"},
      {{"DejaVu Sans Mono", "Liberation Mono"}, "Liberation Mono"},
      {{"DejaVu Sans Mono"}, "DejaVu Sans Mono"},
      {{"Noto Sans"}, "Monospace"},
  };
  for (const TCase& c : cases) {
    system.fonts = c.installed;
    EXPECT_EQ(DefaultEditorFont(system), c.font) << c.installed.front();
  }
}

TEST_F(SettingsTest, ExistingValuesAreNeverChangedAndObsoleteOnesAreDeleted) {
  Store("VisGutter", 1);
  Store("TabWidth", 0);
  Store("FontSize", 500);
  Store("TabsOnTop", 0);
  Store("SynHighlight", "yes");
  TSettings settings;
  LoadSettings(settings, store, env);
  EXPECT_EQ(settings.TabWidth, 0) << "loading tests no ranges";
  EXPECT_EQ(settings.FontSize, 500);
  for (const char* obsolete : {"VisGutter", "TabsOnTop", "SynHighlight"})
    EXPECT_EQ(Key().Find(obsolete), nullptr) << obsolete;
}

TEST_F(SettingsTest, AValueOfTheWrongTypeGetsItsDefaultAndTheRestStillLoads) {
  Store("AutoIndent", 0);
  Store("TabWidth", "four");
  Store("Font", 7);
  Store("FontSize", 14);
  Store("File1", "/home/u/site/index.html");
  TSettings settings;
  TSettingsLoadReport report = LoadSettings(settings, store, env);
  EXPECT_EQ(report.defaultedValues, (std::vector<std::string>{"TabWidth", "Font"}));
  EXPECT_EQ(settings.TabWidth, 2);
  EXPECT_EQ(settings.Font, "Liberation Mono");
  EXPECT_FALSE(settings.AutoIndent);
  EXPECT_EQ(settings.FontSize, 14);
  EXPECT_EQ(settings.File[0], "/home/u/site/index.html");

  SaveSettings(settings, store, env);
  EXPECT_EQ(Stored("TabWidth"), V(2)) << "the next save stores the right type";
}

TEST_F(SettingsTest, SavingWritesEveryValueInItsOrderAndLeavesGeometryAloneWhenMaximized) {
  TSettings settings;
  LoadSettings(settings, store, env);
  for (bool maximized : {false, true}) {
    SCOPED_TRACE(maximized ? "maximized" : "normal");
    settings.WindowMaximized = maximized;
    settings.WindowLeft = maximized ? 1 : 40;
    store.changes.clear();
    SaveSettings(settings, store, env);

    std::vector<std::string> order = {"AutoIndent", "SmartTabs", "UseTabChar", "VisRightMar", "RightMarWidth",
                                      "TabWidth", "StartupTemplate", "Font", "FontSize", "UploadOnSave",
                                      "WrapPrinting", "NewPageStartup", "FTPKeepAlive", "RetainSize",
                                      "WindowMaximized"};
    if (!maximized)
      for (const char* name : {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"}) order.push_back(name);
    order.push_back("HalfPageScroll");
    for (const char* family : {"Port", "Username", "Password", "LocalFolder", "HostAddress", "DestinationFolder", "File"})
      for (int n = 1; n <= 5; ++n) order.push_back(family + std::to_string(n));
    EXPECT_EQ(store.changes, order);
    EXPECT_EQ(Stored("WindowLeft"), V(40)) << "a maximized exit keeps the normal geometry";
  }
}

TEST_F(SettingsTest, ARefusedWriteEndsTheSaveAtThatValueKeepingTheOnesBefore) {
  TSettings settings;
  LoadSettings(settings, store, env);
  settings.TabWidth = 6;
  settings.FontSize = 18;
  store.refuseFrom = "Font";
  try {
    SaveSettings(settings, store, env);
    ADD_FAILURE() << "a refused write was reported as saved";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Font'");
  }
  EXPECT_EQ(Stored("TabWidth"), V(6));
  EXPECT_EQ(Stored("FontSize"), V(10));
}

TEST_F(SettingsTest, PasswordsAreStoredAsTypedInAFileOnlyTheUserCanRead) {
  TRegistryFile file(dir / "config/tarnwick/registry.reg");
  TSettings settings;
  LoadSettings(settings, file, env);
  settings.Password[0] = "p@ss \"word\" \\ 1";
  settings.HostAddress[0] = "ftp.example.org";
  SaveSettings(settings, file, env);

  std::string text = ReadFile(file.Path());
  EXPECT_NE(text.find("\"Password1\"=\"p@ss \\\"word\\\" \\\\ 1\""), std::string::npos) << text;
  TSettings again;
  LoadSettings(again, file, env);
  EXPECT_EQ(again, settings);
}

TEST_F(SettingsTest, AStoreThatCannotBeWrittenStillLoadsEveryDefault) {
  WriteFile(dir / "notafolder", "");
  TRegistryFile file(dir / "notafolder/tarnwick/registry.reg");
  TSettings settings;
  TSettingsLoadReport report = LoadSettings(settings, file, env);
  EXPECT_EQ(report.storeError, "Failed to set data for 'AutoIndent'");
  EXPECT_NE(report.storeErrorReason.find("Not a directory"), std::string::npos);
  EXPECT_EQ(settings.TabWidth, 2);
  EXPECT_TRUE(settings.WindowMaximized);
  EXPECT_EQ(settings.LocalFolder[0], "/");
  EXPECT_THROW(SaveSettings(settings, file, env), ERegistryException);
}

}  // namespace
}  // namespace tarnwick

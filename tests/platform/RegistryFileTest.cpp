#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/RegistryFile.h"
#include "platform/RegistryText.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;

const char* const kKey = "\\Software\\Pellmoor Software\\Tarnwick";
const char* const kHeaderLine = "[HKEY_CURRENT_USER\\Software\\Pellmoor Software\\Tarnwick]\n";

class RegistryFileTest : public testing::Test {
 protected:
  TTempDir dir;
  std::string path = dir / "config/tarnwick/registry.reg";
};

TEST_F(RegistryFileTest, ValuesSurviveARoundTripInAFreshFileOfMode0600) {
  ::umask(0);
  {
    TRegistryFile store(path);
    ASSERT_TRUE(store.OpenKey(kKey, true));
    store.WriteInteger("TabWidth", 2);
    store.WriteInteger("Negative", -1);
    store.WriteString("Password1", "se\"cr\\et pass");
    store.WriteString("Lines", "one\r\ntwo\nthree\r");
    store.WriteString("Unicode", "K\xc3\xb6ln \xe6\x9d\xb1");
    store.WriteString("Empty", "");
    store.CloseKey();
  }
  ::umask(022);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  std::string text = ReadFile(path);
  EXPECT_EQ(text.rfind("REGEDIT4\n\n", 0), 0u);
  EXPECT_NE(text.find(kHeaderLine), std::string::npos);
  EXPECT_NE(text.find("\"TabWidth\"=dword:00000002\n"), std::string::npos);
  EXPECT_NE(text.find("\"Negative\"=dword:ffffffff\n"), std::string::npos);
  EXPECT_NE(text.find("\"Password1\"=\"se\\\"cr\\\\et pass\"\n"), std::string::npos);

  TRegistryFile again(path);
  ASSERT_TRUE(again.OpenKey(kKey, false));
  EXPECT_EQ(again.ReadInteger("TabWidth"), 2);
  EXPECT_EQ(again.ReadInteger("Negative"), -1);
  EXPECT_EQ(again.ReadString("Password1"), "se\"cr\\et pass");
  EXPECT_EQ(again.ReadString("Lines"), "one\r\ntwo\nthree\r");
  EXPECT_EQ(again.ReadString("Unicode"), "K\xc3\xb6ln \xe6\x9d\xb1");
  EXPECT_TRUE(again.ValueExists("Empty"));
  EXPECT_EQ(again.GetDataType("Empty"), TRegDataType::rdString);
  again.CloseKey();
  EXPECT_EQ(again.TakeDamageNotice(), "");
}

TEST_F(RegistryFileTest, KeysAndValuesBehaveLikeARegistry) {
  TRegistryFile store(path);
  EXPECT_FALSE(store.KeyExists(kKey));
  EXPECT_FALSE(store.OpenKey(kKey, false));
  EXPECT_FALSE(std::filesystem::exists(path)) << "opening without creating writes nothing";

  ASSERT_TRUE(store.OpenKey(kKey, true));
  store.WriteInteger("AutoIndent", 1);
  store.WriteString("Font", "Liberation Mono");
  EXPECT_TRUE(store.ValueExists("autoindent")) << "names ignore letter case";
  EXPECT_EQ(store.GetDataType("AUTOINDENT"), TRegDataType::rdInteger);
  EXPECT_EQ(store.GetDataType("Missing"), TRegDataType::rdUnknown);
  EXPECT_EQ(store.ReadString("Missing"), "");
  try {
    store.ReadInteger("Font");
    ADD_FAILURE() << "text read as a number";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Font'");
  }
  EXPECT_THROW(store.ReadString("AutoIndent"), ERegistryException);
  EXPECT_THROW(store.ReadInteger("Missing"), ERegistryException);
  store.WriteString("AutoIndent", "now text");
  EXPECT_EQ(store.GetDataType("AutoIndent"), TRegDataType::rdString);
  EXPECT_TRUE(store.DeleteValue("font"));
  EXPECT_FALSE(store.DeleteValue("Font"));
  store.CloseKey();

  TRegistryFile again(path);
  EXPECT_TRUE(again.KeyExists("Software\\Pellmoor Software\\Tarnwick"));
  ASSERT_TRUE(again.OpenKey(kKey, false));
  EXPECT_FALSE(again.ValueExists("Font"));
  EXPECT_EQ(again.ReadString("AutoIndent"), "now text");
  again.CloseKey();
}

TEST_F(RegistryFileTest, EachOperationReadsTheFileAfreshSoTheLastWriterWins) {
  TRegistryFile first(path), second(path);
  first.OpenKey(kKey, true);
  first.WriteInteger("FontSize", 10);
  first.CloseKey();
  second.OpenKey(kKey, true);
  second.WriteInteger("FontSize", 14);
  second.CloseKey();
  first.OpenKey(kKey, false);
  EXPECT_EQ(first.ReadInteger("FontSize"), 14);
  first.CloseKey();
}

// Each damaged file holds good values around one bad line; the good ones must survive.
struct TDamage {
  const char* what;
  std::string badLine;
};

class DamagedRegistryFileTest : public RegistryFileTest, public testing::WithParamInterface<TDamage> {};

TEST_P(DamagedRegistryFileTest, KeepsTheFileAsideAndEveryReadableValue) {
  std::filesystem::create_directories(dir / "config/tarnwick");
  std::string original = std::string("REGEDIT4\n\n") + kHeaderLine + "\"TabWidth\"=dword:00000004\n" +
                         GetParam().badLine + "\n\"Font\"=\"DejaVu Sans Mono\"\n";
  WriteFile(path, original);

  TRegistryFile store(path);
  ASSERT_TRUE(store.OpenKey(kKey, false));
  EXPECT_EQ(store.ReadInteger("TabWidth"), 4);
  EXPECT_EQ(store.ReadString("Font"), "DejaVu Sans Mono");
  store.CloseKey();

  EXPECT_EQ(ReadFile(path + ".bad"), original) << "the damaged file is kept as it was";
  EXPECT_EQ(ParseRegistryText(ReadFile(path)).badLines, 0) << "what was read is written back clean";
  std::string notice = store.TakeDamageNotice();
  EXPECT_NE(notice.find(path + ".bad"), std::string::npos) << notice;
  EXPECT_NE(notice.find("line 5"), std::string::npos) << notice;
  EXPECT_EQ(store.TakeDamageNotice(), "") << "told once";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedRegistryFileTest,
    testing::Values(TDamage{"truncated text", "\"StartupTemplate\"=\"/home/u/templ"},
                    TDamage{"invalid escape", "\"Username1\"=\"a\\qb\""},
                    TDamage{"binary junk", std::string("\x01\xff\x00\x7f junk", 10)},
                    TDamage{"NUL inside text", std::string("\"Password1\"=\"ab\0cd\"", 19)},
                    TDamage{"huge number", "\"FontSize\"=dword:123456789"},
                    TDamage{"not hexadecimal", "\"FontSize\"=dword:12g4"},
                    TDamage{"unknown type", "\"Data\"=hex:01,02"}),
    [](const testing::TestParamInfo<TDamage>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST_F(RegistryFileTest, AValueBeforeAnyKeyIsDamageButTheKeysAfterItLoad) {
  std::filesystem::create_directories(dir / "config/tarnwick");
  WriteFile(path, std::string("\"Stray\"=dword:00000001\n") + kHeaderLine + "\"TabWidth\"=dword:00000003\r\n");
  TRegistryFile store(path);
  ASSERT_TRUE(store.OpenKey(kKey, false));
  EXPECT_FALSE(store.ValueExists("Stray"));
  EXPECT_EQ(store.ReadInteger("TabWidth"), 3) << "a file saved with CR LF reads too";
  store.CloseKey();
  EXPECT_NE(store.TakeDamageNotice(), "");
}

TEST_F(RegistryFileTest, AFileThatCannotBeReadIsKeptAsideAndTheStoreStartsEmpty) {
  for (bool directory : {true, false}) {
    SCOPED_TRACE(directory ? "a folder in its place" : "far too large");
    std::filesystem::remove_all(dir / "config");
    std::filesystem::create_directories(dir / "config/tarnwick");
    if (directory) {
      std::filesystem::create_directory(path);
    } else {
      WriteFile(path, "REGEDIT4\n");
      std::filesystem::resize_file(path, 17 * 1024 * 1024);
    }
    TRegistryFile store(path);
    EXPECT_FALSE(store.OpenKey(kKey, false));
    EXPECT_TRUE(std::filesystem::exists(path + ".bad"));
    EXPECT_NE(store.TakeDamageNotice().find(path + ".bad"), std::string::npos);
    ASSERT_TRUE(store.OpenKey(kKey, true));
    store.WriteInteger("TabWidth", 2);
    EXPECT_NO_THROW(store.CloseKey());
  }
}

TEST_F(RegistryFileTest, ADamagedFileThatCannotBeKeptAsideIsNeverOverwritten) {
  std::filesystem::create_directories(path + ".bad/occupied");
  std::string original = std::string(kHeaderLine) + "\"TabWidth\"=dword:00000004\nnonsense\n";
  WriteFile(path, original);

  TRegistryFile store(path);
  ASSERT_TRUE(store.OpenKey(kKey, true));
  EXPECT_EQ(store.ReadInteger("TabWidth"), 4);
  store.WriteInteger("TabWidth", 8);
  try {
    store.CloseKey();
    ADD_FAILURE() << "the damaged file was replaced";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'TabWidth'");
    EXPECT_NE(e.Reason().find("could not be kept aside"), std::string::npos) << e.Reason();
  }
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_NE(store.TakeDamageNotice().find("will not be saved"), std::string::npos);
}

TEST_F(RegistryFileTest, AFolderThatCannotBeCreatedFailsTheWriteWithItsReason) {
  WriteFile(dir / "plainfile", "");
  TRegistryFile store(dir / "plainfile/tarnwick/registry.reg");
  ASSERT_TRUE(store.OpenKey(kKey, true));
  store.WriteInteger("AutoIndent", 1);
  store.WriteInteger("SmartTabs", 0);
  try {
    store.CloseKey();
    ADD_FAILURE() << "the write was reported as done";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'AutoIndent'");
    EXPECT_NE(e.Reason().find("plainfile"), std::string::npos) << e.Reason();
    EXPECT_NE(e.Reason().find("Not a directory"), std::string::npos) << e.Reason();
  }
}

TEST(RegistryFileLocation, FollowsTheConfigFolderOfTheUser) {
  auto saved = [](const char* name) { return std::getenv(name) ? std::string(std::getenv(name)) : std::string(); };
  std::string config = saved("XDG_CONFIG_HOME"), home = saved("HOME");
  ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(TRegistryFile::DefaultPath(), "/somewhere/config/tarnwick/registry.reg");
  ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(TRegistryFile::DefaultPath(), "/home/someone/.config/tarnwick/registry.reg");
  ::setenv("HOME", home.c_str(), 1);
  if (config.empty())
    ::unsetenv("XDG_CONFIG_HOME");
  else
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

}  // namespace
}  // namespace tarnwick

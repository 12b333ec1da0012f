#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/RegistryFile.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;

int FilesIn(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFile, ReplacesTheContentAndKeepsTheTargetsModeUnlessForced) {
  TTempDir dir;
  std::string target = dir / "page.html";
  WriteFile(target, "old");
  ::chmod(target.c_str(), 0640);
  WriteFileAtomically(target, "new content", {.newFileMode = 0600});
  EXPECT_EQ(ReadFile(target), "new content");
  struct stat info {};
  ::stat(target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  WriteFileAtomically(target, "secret", {.newFileMode = 0600, .forceMode = true});
  ::stat(target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FilesIn(dir.Path()), 1) << "no temporary file is left behind";
}

TEST(AtomicFile, AWriterDroppedBeforeCommitLeavesTheOldFileAndNoTrace) {
  TTempDir dir;
  std::string target = dir / "registry.reg";
  WriteFile(target, "old");
  {
    TAtomicFileWriter writer(target, {});
    writer.Write("half of the new");
    EXPECT_TRUE(std::filesystem::exists(writer.TemporaryPath()));
  }
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(AtomicFile, ASaveKilledBeforeTheRenameLeavesTheOldSettingsReadable) {
  TTempDir dir;
  std::string target = dir / "registry.reg";
  {
    TRegistryFile store(target);
    store.OpenKey("Software\\Pellmoor Software\\Tarnwick", true);
    store.WriteInteger("TabWidth", 4);
    store.CloseKey();
  }
  std::string before = ReadFile(target);

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TAtomicFileWriter writer(target, {});
    writer.Write("[HKEY_CURRENT_USER\\Software\\Pellmoor Software\\Tarnwick]\n\"TabWidth\"=dword:0000");
    ::_exit(0);  // the process dies here, as at a power cut, before the rename
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));

  EXPECT_EQ(ReadFile(target), before);
  TRegistryFile store(target);
  ASSERT_TRUE(store.OpenKey("Software\\Pellmoor Software\\Tarnwick", false));
  EXPECT_EQ(store.ReadInteger("TabWidth"), 4);
  store.CloseKey();
  EXPECT_EQ(store.TakeDamageNotice(), "");
}

TEST(AtomicFile, FailuresNameTheFileAndTheReason) {
  TTempDir dir;
  try {
    WriteFileAtomically(dir / "missing/folder/file.txt", "x", {});
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const std::system_error& e) {
    EXPECT_NE(std::string(e.what()).find(dir / "missing/folder/file.txt"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace tarnwick

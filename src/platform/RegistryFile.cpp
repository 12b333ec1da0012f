#include "platform/RegistryFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/AtomicFile.h"
#include "platform/RegistryText.h"

namespace tarnwick {

namespace {

// A settings file is a few kilobytes; anything this large is not one of ours.
constexpr off_t kMaxStoreSize = 16 * 1024 * 1024;

struct TReadResult {
  int error = 0;  // errno of the failed read
  std::string bytes;
};

TReadResult ReadWholeFile(const std::string& path) {
  TReadResult result;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result.error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    result.error = EISDIR;
  } else if (info.st_size > kMaxStoreSize) {
    result.error = EFBIG;
  } else {
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
      ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result.error = errno;
        break;
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    result.bytes.resize(done);
  }
  ::close(fd);
  return result;
}

void MakeFolders(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) ThrowFileError(folder.string(), error.value());
}

}  // namespace

TRegistryFile::TRegistryFile(std::string path) : path_(std::move(path)) {}

std::string TRegistryFile::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
      const passwd* entry = ::getpwuid(::getuid());
      home = entry != nullptr ? entry->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/tarnwick/registry.reg";
}

std::string TRegistryFile::TakeDamageNotice() { return std::exchange(damageNotice_, std::string()); }

TRegistryTree& TRegistryFile::LoadTree() {
  tree_.clear();
  TReadResult read = ReadWholeFile(path_);
  // No file yet, or a folder on its way is missing or not a folder: nothing stored.
  if (read.error == ENOENT || read.error == ENOTDIR) return tree_;
  if (read.error != 0) {
    KeepDamagedFileAside(std::string("it could not be read (") + std::strerror(read.error) + ")");
    return tree_;
  }
  TParsedRegistryText parsed = ParseRegistryText(read.bytes);
  tree_ = std::move(parsed.tree);
  if (parsed.badLines > 0) {
    KeepDamagedFileAside(std::to_string(parsed.badLines) + (parsed.badLines == 1 ? " line" : " lines") +
                         " could not be read, the first at line " + std::to_string(parsed.firstBadLine));
    if (writeRefusal_.empty()) {
      try {
        Store(tree_);
      } catch (const std::system_error&) {
        // What was read stays in memory for this operation and in the file kept aside; the
        // next commit reports the failure to write.
      }
    }
  }
  return tree_;
}

void TRegistryFile::KeepDamagedFileAside(const std::string& why) {
  std::string aside = path_ + ".bad";
  bool kept = ::rename(path_.c_str(), aside.c_str()) == 0;
  int error = errno;
  if (damageReported_) return;
  damageReported_ = true;
  if (kept) {
    damageNotice_ = "The settings file " + path_ + " was damaged: " + why + ". It has been kept as " + aside +
                    "; every setting that could be read was kept, the others are back to their defaults.";
  } else {
    writeRefusal_ = "The damaged settings file " + path_ + " could not be kept aside (" + std::strerror(error) +
                    "), so it is left as it is.";
    damageNotice_ = "The settings file " + path_ + " is damaged: " + why + ". " + writeRefusal_ +
                    " Settings will not be saved until it is repaired or removed.";
  }
}

void TRegistryFile::Store(const TRegistryTree& tree) {
  MakeFolders(std::filesystem::path(path_).parent_path());
  WriteFileAtomically(path_, FormatRegistryText(tree), {.newFileMode = 0600, .forceMode = true});
}

void TRegistryFile::CommitTree(const TRegistryTree& tree, const std::string& firstChanged) {
  std::string failure = "Failed to set data for '" + firstChanged + "'";
  if (!writeRefusal_.empty()) throw ERegistryException(failure, writeRefusal_);
  try {
    Store(tree);
  } catch (const std::system_error& e) {
    throw ERegistryException(failure, e.what());
  }
}

}  // namespace tarnwick

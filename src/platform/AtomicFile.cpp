#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace tarnwick {

namespace {

std::string FolderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rename is only durable once the folder's own entry list reaches the disk.
void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

std::string FollowLinks(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace

void ThrowFileError(const std::string& path, int error) {
  throw std::system_error(error, std::generic_category(), path);
}

TAtomicFileWriter::TAtomicFileWriter(const std::string& target, const TFileReplaceRules& rules)
    : target_(FollowLinks(target)) {
  struct stat existing {};
  bool exists = ::stat(target_.c_str(), &existing) == 0;
  mode_t mode = rules.forceMode ? rules.newFileMode
                : exists        ? existing.st_mode & 07777
                                : rules.newFileMode & ~CurrentUmask();

  std::string pattern = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) {
    int error = errno;
    if (rules.allowInPlace && exists && (error == EACCES || error == EPERM) && OpenInPlace()) return;
    ThrowFileError(target_, error);
  }
  tempPath_ = name.data();
  // A file replaced by someone else's session stays theirs. Without the right to give it
  // away the new file is ours, as any editor's would be.
  if (exists && ::fchown(fd_, existing.st_uid, existing.st_gid) != 0) errno = 0;
  if (::fchmod(fd_, mode) != 0) {
    int error = errno;
    ::close(fd_);
    ::unlink(tempPath_.c_str());
    fd_ = -1;
    ThrowFileError(target_, error);
  }
}

bool TAtomicFileWriter::OpenInPlace() {
  fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  return fd_ >= 0;
}

TAtomicFileWriter::~TAtomicFileWriter() {
  if (fd_ < 0) return;
  ::close(fd_);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void TAtomicFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(target_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void TAtomicFileWriter::Commit() {
  if (::fsync(fd_) != 0) ThrowFileError(target_, errno);
  int fd = std::exchange(fd_, -1);
  bool closed = ::close(fd) == 0;
  int error = errno;
  if (tempPath_.empty()) {
    if (!closed) ThrowFileError(target_, error);
    return;
  }
  if (closed && ::rename(tempPath_.c_str(), target_.c_str()) == 0) {
    SyncFolder(FolderOf(target_));
    return;
  }
  error = errno;
  ::unlink(tempPath_.c_str());
  ThrowFileError(target_, error);
}

void WriteFileAtomically(const std::string& target, std::string_view bytes, const TFileReplaceRules& rules) {
  TAtomicFileWriter writer(target, rules);
  writer.Write(bytes);
  writer.Commit();
}

}  // namespace tarnwick

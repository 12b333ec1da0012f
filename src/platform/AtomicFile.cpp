#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
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

}  // namespace

void ThrowFileError(const std::string& path, int error) {
  throw std::system_error(error, std::generic_category(), path);
}

TAtomicFileWriter::TAtomicFileWriter(std::string target, mode_t mode, TModeRule rule) : target_(std::move(target)) {
  struct stat existing {};
  if (rule == TModeRule::KeepTargetMode && ::stat(target_.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  std::string pattern = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) ThrowFileError(target_, errno);
  tempPath_ = name.data();
  if (::fchmod(fd_, mode) != 0) {
    int error = errno;
    ::close(fd_);
    ::unlink(tempPath_.c_str());
    fd_ = -1;
    ThrowFileError(target_, error);
  }
}

TAtomicFileWriter::~TAtomicFileWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(tempPath_.c_str());
  }
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
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    int error = errno;
    ::unlink(tempPath_.c_str());
    ThrowFileError(target_, error);
  }
  if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
    int error = errno;
    ::unlink(tempPath_.c_str());
    ThrowFileError(target_, error);
  }
  SyncFolder(FolderOf(target_));
}

void WriteFileAtomically(const std::string& target, std::string_view bytes, mode_t mode,
                         TAtomicFileWriter::TModeRule rule) {
  TAtomicFileWriter writer(target, mode, rule);
  writer.Write(bytes);
  writer.Commit();
}

}  // namespace tarnwick

#include "platform/SharedReadFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

bool TSharedReadFile::Open(const std::string& path, TFtpShareMode mode) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info{};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  int lock = 0;
  switch (mode) {
    case TFtpShareMode::ftpShareCompat:
    case TFtpShareMode::ftpShareExclusive:
    case TFtpShareMode::ftpShareDenyRead: lock = LOCK_EX; break;
    case TFtpShareMode::ftpShareDenyWrite: lock = LOCK_SH; break;
    case TFtpShareMode::ftpShareDenyNone: break;
  }
  if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

int TSharedReadFile::Read(char* buffer, int size) {
  for (;;) {
    ssize_t got = ::read(fd_, buffer, static_cast<std::size_t>(size));
    if (got >= 0) return static_cast<int>(got);
    if (errno != EINTR) return -1;
  }
}

void TSharedReadFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);  // also drops the lock
  fd_ = -1;
}

}  // namespace tarnwick

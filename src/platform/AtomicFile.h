#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tarnwick {

struct TFileReplaceRules {
  // Permission bits of a file that does not exist yet; the process's umask applies unless
  // forceMode is set.
  mode_t newFileMode = 0666;
  // The file gets newFileMode even when it exists (a file holding passwords stays private).
  bool forceMode = false;
  // Where the folder allows no new file but the file itself may be written, write it in place.
  bool allowInPlace = false;
};

// Replaces a file so that readers see the old content or the new, never a part of either:
// the bytes go to a temporary file beside the target, which is synced and renamed over it,
// keeping the target's permission bits and owner. A symbolic link stays a link: the file it
// points to is the one replaced. Until Commit the target is untouched; a writer destroyed
// before Commit removes its temporary file. Failures raise std::system_error naming the
// file and the system's reason.
class TAtomicFileWriter {
 public:
  TAtomicFileWriter(const std::string& target, const TFileReplaceRules& rules);
  ~TAtomicFileWriter();
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

  void Write(std::string_view bytes);
  void Commit();

  // Empty when writing in place.
  const std::string& TemporaryPath() const { return tempPath_; }

 private:
  bool OpenInPlace();

  std::string target_;  // with links followed
  std::string tempPath_;
  int fd_ = -1;
};

void WriteFileAtomically(const std::string& target, std::string_view bytes, const TFileReplaceRules& rules);

// "<path>: <reason>" for errno, the form every file error of the platform layer takes.
[[noreturn]] void ThrowFileError(const std::string& path, int error);

}  // namespace tarnwick

#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tarnwick {

// Replaces a file so that readers see the old content or the new, never a part of either:
// the bytes go to a temporary file beside the target, which is synced and renamed over it.
// Until Commit the target is untouched; a writer destroyed before Commit removes its
// temporary file. Failures raise std::system_error naming the file and the system's reason.
class TAtomicFileWriter {
 public:
  enum class TModeRule { KeepTargetMode, ForceMode };

  // mode is the permission of a new file; with KeepTargetMode an existing target keeps its own.
  TAtomicFileWriter(std::string target, mode_t mode, TModeRule rule = TModeRule::KeepTargetMode);
  ~TAtomicFileWriter();
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

  void Write(std::string_view bytes);
  void Commit();

  const std::string& TemporaryPath() const { return tempPath_; }

 private:
  std::string target_;
  std::string tempPath_;
  int fd_ = -1;
};

void WriteFileAtomically(const std::string& target, std::string_view bytes, mode_t mode,
                         TAtomicFileWriter::TModeRule rule = TAtomicFileWriter::TModeRule::KeepTargetMode);

// "<path>: <reason>" for errno, the form every file error of the program takes.
[[noreturn]] void ThrowFileError(const std::string& path, int error);

}  // namespace tarnwick

#pragma once

#include <string>

namespace tarnwick {

// How other programs may open a file while we read it. Linux has no mandatory sharing modes:
// the denials are advisory locks (flock), which cooperating programs honour.
enum class TFtpShareMode { ftpShareCompat, ftpShareExclusive, ftpShareDenyWrite, ftpShareDenyRead, ftpShareDenyNone };

// A file opened for reading in fixed-size pieces, closed by its destructor.
class TSharedReadFile {
 public:
  TSharedReadFile() = default;
  ~TSharedReadFile() { Close(); }
  TSharedReadFile(const TSharedReadFile&) = delete;
  TSharedReadFile& operator=(const TSharedReadFile&) = delete;

  // False when the file cannot be opened or another program holds a conflicting lock.
  bool Open(const std::string& path, TFtpShareMode mode);
  bool IsOpen() const { return fd_ >= 0; }
  // The bytes read, 0 at the end of the file, -1 on a read failure.
  int Read(char* buffer, int size);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace tarnwick

#pragma once

#include <stdexcept>
#include <string>

namespace tarnwick {

// The errors of file access, each naming the full path and the system's reason.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Cannot open file "<path>". <reason>"
class EFOpenError : public EFileError {
 public:
  EFOpenError(const std::string& path, int error);
};

// "Cannot create file "<path>". <reason>"
class EFCreateError : public EFileError {
 public:
  EFCreateError(const std::string& path, int error);
};

// path made absolute, as error texts and the workspace show it.
std::string AbsolutePath(const std::string& path);

}  // namespace tarnwick

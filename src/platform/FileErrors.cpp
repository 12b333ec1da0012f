#include "platform/FileErrors.h"

#include <cstring>
#include <filesystem>

namespace tarnwick {

namespace {

std::string Describe(const char* verb, const std::string& path, int error) {
  return std::string("Cannot ") + verb + " file \"" + AbsolutePath(path) + "\". " + std::strerror(error);
}

}  // namespace

EFOpenError::EFOpenError(const std::string& path, int error) : EFileError(Describe("open", path, error)) {}

EFCreateError::EFCreateError(const std::string& path, int error) : EFileError(Describe("create", path, error)) {}

std::string AbsolutePath(const std::string& path) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.lexically_normal().string();
}

}  // namespace tarnwick

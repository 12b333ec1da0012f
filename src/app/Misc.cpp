#include "app/Misc.h"

#include <filesystem>

namespace tarnwick {

namespace fs = std::filesystem;

std::string ResolveParamPath(const std::string& param, const std::string& programFolder) {
  std::error_code ignored;
  fs::path here = fs::absolute(param, ignored).lexically_normal();
  if (param.find('/') != std::string::npos || fs::exists(here, ignored)) return here.string();
  return fs::path(programFolder + param).lexically_normal().string();
}

}  // namespace tarnwick

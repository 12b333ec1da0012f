#pragma once

#include <string>

namespace tarnwick {

// A command-line argument as a path to open. A name with a "/" is taken relative to the
// current directory; a bare name is looked up in the current directory first, then in the
// program's folder. The result is absolute and lexically normal.
std::string ResolveParamPath(const std::string& param, const std::string& programFolder);

}  // namespace tarnwick

#include "app/Misc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tarnwick {

namespace fs = std::filesystem;

std::string ResolveParamPath(const std::string& param, const std::string& programFolder) {
  std::error_code ignored;
  fs::path here = fs::absolute(param, ignored).lexically_normal();
  if (param.find('/') != std::string::npos || fs::exists(here, ignored)) return here.string();
  return fs::path(programFolder + param).lexically_normal().string();
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && fs::is_regular_file(path, ignored);
}

std::string FileNameOfPath(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOfPath(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) throw EPathError("Error getting filename from path");
  return path.substr(0, slash + 1);
}

std::string TrimTrailingSlash(const std::string& text) {
  if (!text.empty() && (text.back() == '/' || text.back() == '\\')) return text.substr(0, text.size() - 1);
  return text;
}

std::string ToForwardSlashes(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

std::string FileNameSuffix(const std::string& name) {
  std::size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool TryStrToInt(const std::string& text, int& value) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > 2147483647LL) return false;
  value = static_cast<int>(signedValue);
  return true;
}

void AddToRecentFiles(std::array<std::string, 5>& files, const std::string& path) {
  // The first four are searched; a path equal to the fifth is treated as new, which gives the
  // same list.
  auto end = files.end() - 1;
  auto found = std::find(files.begin(), end, path);
  *found = path;
  std::rotate(files.begin(), found, found + 1);
}

THighlighterKind HighlighterKindForName(const std::string& name) {
  std::string suffix = FileNameSuffix(name);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto contains = [&](const char* part) { return suffix.find(part) != std::string::npos; };
  if (contains("htm") || contains("asp") || contains("php") || suffix == "jsp") return THighlighterKind::Html;
  if (suffix == "xml") return THighlighterKind::Xml;
  if (suffix == "css") return THighlighterKind::Css;
  return THighlighterKind::None;
}

}  // namespace tarnwick

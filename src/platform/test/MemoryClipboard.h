#pragma once

#include <map>

#include "platform/Clipboard.h"

namespace tarnwick {

// A clipboard in memory that a test can fill, read and make fail.
class TMemoryClipboard : public TClipboard {
 public:
  std::optional<std::string> text;
  std::map<std::string, std::string> formats;
  bool failSet = false;
  bool failGet = false;

  bool HasText() const override { return text.has_value(); }
  bool HasFormat(const std::string& format) const override { return formats.count(format) != 0; }
  std::optional<std::string> GetText() const override { return failGet ? std::nullopt : text; }
  std::optional<std::string> GetFormat(const std::string& format) const override {
    auto it = formats.find(format);
    if (failGet || it == formats.end()) return std::nullopt;
    return it->second;
  }
  bool SetContents(std::string newText, std::vector<std::pair<std::string, std::string>> newFormats) override {
    if (failSet) return false;
    text = std::move(newText);
    formats.clear();
    for (auto& [name, bytes] : newFormats) formats[name] = std::move(bytes);
    return true;
  }
};

}  // namespace tarnwick

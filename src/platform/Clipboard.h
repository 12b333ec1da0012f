#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

// The system clipboard: plain text plus formats of the program's own, named and holding bytes.
// Setting replaces everything on it at once.
class TClipboard {
 public:
  virtual ~TClipboard() = default;

  virtual bool HasText() const = 0;
  virtual bool HasFormat(const std::string& format) const = 0;
  virtual std::optional<std::string> GetText() const = 0;
  virtual std::optional<std::string> GetFormat(const std::string& format) const = 0;
  // text as the program holds it (lines joined by CR LF) and the private formats, handed
  // over; false when the clipboard could not take them.
  virtual bool SetContents(std::string text, std::vector<std::pair<std::string, std::string>> formats) = 0;
};

}  // namespace tarnwick

#pragma once

#include "platform/Clipboard.h"

namespace tarnwick {

// The system clipboard: text with LF line breaks, and each private format as a MIME type of
// its own ("application/x-" and the name in lower case with dashes).
class TQtClipboard : public TClipboard {
 public:
  bool HasText() const override;
  bool HasFormat(const std::string& format) const override;
  std::optional<std::string> GetText() const override;
  std::optional<std::string> GetFormat(const std::string& format) const override;
  bool SetContents(std::string text, std::vector<std::pair<std::string, std::string>> formats) override;

  static std::string MimeTypeOf(const std::string& format);
};

}  // namespace tarnwick

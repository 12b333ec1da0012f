#pragma once

#include <string>

namespace tarnwick {

struct TFontSpec {
  std::string name;
  int size = 10;  // points
  bool bold = false;
  bool italic = false;
};

// Where the editor measures and draws text. The editor asks for a fixed-pitch font, so one
// character cell is CharWidth by LineHeight pixels.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetFont(const TFontSpec& font) = 0;
  virtual int CharWidth() const = 0;
  virtual int LineHeight() const = 0;
};

}  // namespace tarnwick

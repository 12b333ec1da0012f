#pragma once

#include <string>
#include <string_view>

#include "platform/Colors.h"

namespace tarnwick {

struct TFontSpec {
  std::string name = "Courier New";
  int size = 10;  // points
  TFontStyles style = 0;
  bool operator==(const TFontSpec&) const = default;
};

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRect&) const = default;
  bool Empty() const { return right <= left || bottom <= top; }
};

// Where the editor measures and draws text. The editor asks for a fixed-pitch font, so one
// character cell is CharWidth by LineHeight pixels for the font last set.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetFont(const TFontSpec& font) = 0;
  virtual int CharWidth() const = 0;
  virtual int LineHeight() const = 0;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  // UTF-8 text from (x, y), the top left of its first cell, over the background already there.
  virtual void DrawText(int x, int y, std::string_view text, TColor color) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2, TColor color) = 0;
};

}  // namespace tarnwick

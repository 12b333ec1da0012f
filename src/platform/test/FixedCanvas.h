#pragma once

#include <vector>

#include "platform/Canvas.h"

namespace tarnwick {

// A canvas whose cells are always the same size, whatever the font, and that records what is
// drawn where, in which colour and font, for tests to inspect.
class TFixedCanvas : public TCanvas {
 public:
  struct TDrawn {
    enum TKind { Fill, Text, Line } kind;
    TRect rect;  // the filled rectangle, the text's cells, or the line's two points
    std::string text;
    TColor color;
    TFontSpec font;
  };

  int charWidth = 8;
  int lineHeight = 16;
  TFontSpec font;
  std::vector<TDrawn> drawn;

  void SetFont(const TFontSpec& f) override { font = f; }
  int CharWidth() const override { return charWidth; }
  int LineHeight() const override { return lineHeight; }
  void FillRect(const TRect& rect, TColor color) override { drawn.push_back({TDrawn::Fill, rect, {}, color, font}); }
  void DrawText(int x, int y, std::string_view text, TColor color) override;
  void DrawLine(int x1, int y1, int x2, int y2, TColor color) override {
    drawn.push_back({TDrawn::Line, {x1, y1, x2, y2}, {}, color, font});
  }
};

}  // namespace tarnwick

#pragma once

#include "platform/Canvas.h"

namespace tarnwick {

// A canvas whose cells are always the same size, whatever the font.
class TFixedCanvas : public TCanvas {
 public:
  int charWidth = 8;
  int lineHeight = 16;
  TFontSpec font;

  void SetFont(const TFontSpec& f) override { font = f; }
  int CharWidth() const override { return charWidth; }
  int LineHeight() const override { return lineHeight; }
};

}  // namespace tarnwick

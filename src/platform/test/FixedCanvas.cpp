#include "platform/test/FixedCanvas.h"

namespace tarnwick {

void TFixedCanvas::DrawText(int x, int y, std::string_view text, TColor color) {
  // A cell per character: bytes that continue a UTF-8 sequence take none of their own.
  int cells = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++cells;
  drawn.push_back({TDrawn::Text, {x, y, x + cells * charWidth, y + lineHeight}, std::string(text), color, font});
}

}  // namespace tarnwick

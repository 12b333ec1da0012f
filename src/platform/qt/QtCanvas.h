#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include "platform/Canvas.h"

class QPainter;
class QPalette;

namespace tarnwick {

// The canvas over a QPainter, which the window hands in for each paint; measuring works
// without one. Fonts are always asked for with fixed pitch.
class TQtCanvas : public TCanvas {
 public:
  TQtCanvas();

  void Begin(QPainter* painter, const QPalette* palette);
  void End();

  void SetFont(const TFontSpec& font) override;
  int CharWidth() const override;
  int LineHeight() const override { return metrics_.height(); }
  void FillRect(const TRect& rect, TColor color) override;
  void DrawText(int x, int y, std::string_view text, TColor color) override;
  void DrawLine(int x1, int y1, int x2, int y2, TColor color) override;

  QColor ToQColor(TColor color) const;
  const QFont& CurrentFont() const { return font_; }

 private:
  QFont font_;
  QFontMetrics metrics_;
  QRawFont raw_;  // the font's own glyphs, drawn without shaping
  QPainter* painter_ = nullptr;
  const QPalette* palette_ = nullptr;
};

}  // namespace tarnwick

#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QPainter>
#include <QGlyphRun>
#include <QPalette>

namespace tarnwick {

TQtCanvas::TQtCanvas() : metrics_(font_) { SetFont(TFontSpec{}); }

void TQtCanvas::Begin(QPainter* painter, const QPalette* palette) {
  painter_ = painter;
  palette_ = palette;
  if (painter_ != nullptr) painter_->setFont(font_);
}

void TQtCanvas::End() {
  painter_ = nullptr;
  palette_ = nullptr;
}

void TQtCanvas::SetFont(const TFontSpec& font) {
  font_ = QFont(QString::fromStdString(font.name));
  font_.setPointSize(font.size);
  font_.setFixedPitch(true);
  font_.setStyleHint(QFont::Monospace, QFont::PreferDefault);
  font_.setBold(font.style & fsBold);
  font_.setItalic(font.style & fsItalic);
  font_.setUnderline(font.style & fsUnderline);
  font_.setStrikeOut(font.style & fsStrikeOut);
  // A cell must be one column of the editor: no kerning, no ligatures.
  font_.setKerning(false);
  font_.setStyleStrategy(QFont::PreferDefault);
  metrics_ = QFontMetrics(font_);
  raw_ = QRawFont::fromFont(font_);
  if (painter_ != nullptr) painter_->setFont(font_);
}

int TQtCanvas::CharWidth() const { return std::max(metrics_.horizontalAdvance(QLatin1Char('W')), 1); }

QColor TQtCanvas::ToQColor(TColor color) const {
  if ((color & 0xFF000000u) == 0xFF000000u) {
    const QPalette& palette = palette_ != nullptr ? *palette_ : QApplication::palette();
    switch (color & 0xFF) {
      case 5: return palette.color(QPalette::Base);
      case 8: return palette.color(QPalette::Text);
      case 13: return palette.color(QPalette::Highlight);
      case 14: return palette.color(QPalette::HighlightedText);
      case 15: return palette.color(QPalette::Button);
      case 24: return palette.color(QPalette::ToolTipBase);
      default: return palette.color(QPalette::WindowText);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF));
}

void TQtCanvas::FillRect(const TRect& rect, TColor color) {
  if (painter_ == nullptr || rect.Empty() || color == clNone) return;
  painter_->fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), ToQColor(color));
}

void TQtCanvas::DrawText(int x, int y, std::string_view text, TColor color) {
  if (painter_ == nullptr || text.empty()) return;
  painter_->setPen(ToQColor(color));
  // One cell per character, whatever the font's own advance for it.
  QString characters = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  int cell = CharWidth();
  // The common case, every glyph in the font itself: placed cell by cell without shaping,
  // which is most of the cost of drawing text.
  QList<quint32> glyphs = raw_.isValid() ? raw_.glyphIndexesForString(characters) : QList<quint32>();
  if (!glyphs.isEmpty() && !glyphs.contains(0u)) {
    QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    qreal at = x;
    for (const QPointF& advance : advances) {
      positions.append(QPointF(at, y + metrics_.ascent()));
      at += advance.x() > cell * 1.5 ? 2 * cell : cell;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(font_.underline());
    run.setStrikeOut(font_.strikeOut());
    painter_->drawGlyphRun(QPointF(0, 0), run);
    return;
  }
  // Characters from other fonts: each in its own cell.
  int column = 0;
  for (qsizetype i = 0; i < characters.size();) {
    qsizetype length = characters[i].isHighSurrogate() && i + 1 < characters.size() ? 2 : 1;
    QString one = characters.mid(i, length);
    painter_->drawText(x + column * cell, y + metrics_.ascent(), one);
    column += metrics_.horizontalAdvance(one) > cell * 3 / 2 ? 2 : 1;
    i += length;
  }
}

void TQtCanvas::DrawLine(int x1, int y1, int x2, int y2, TColor color) {
  if (painter_ == nullptr) return;
  painter_->setPen(ToQColor(color));
  painter_->drawLine(x1, y1, x2, y2);
}

}  // namespace tarnwick

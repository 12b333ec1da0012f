// The command pictures, drawn once on 16-pixel images so that they are sharp at the size the
// toolbars and menus show them.

#include "app/Pictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace tarnwick {

namespace {

constexpr int kSize = 16;

const QColor kOutline(60, 60, 70);
const QColor kPaper(255, 255, 255);
const QColor kFolder(240, 196, 64);
const QColor kDisk(52, 101, 164);
const QColor kGreen(46, 150, 60);
const QColor kRed(204, 40, 40);
const QColor kBlue(40, 110, 200);
const QColor kGrey(150, 150, 160);

void Pen(QPainter& p, const QColor& color, qreal width = 1.0) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
}

// A sheet with a folded corner, its text lines optional.
void Page(QPainter& p, QRectF r, bool lines = true) {
  QPainterPath sheet;
  qreal fold = 3;
  sheet.moveTo(r.left(), r.top());
  sheet.lineTo(r.right() - fold, r.top());
  sheet.lineTo(r.right(), r.top() + fold);
  sheet.lineTo(r.right(), r.bottom());
  sheet.lineTo(r.left(), r.bottom());
  sheet.closeSubpath();
  Pen(p, kOutline);
  p.setBrush(kPaper);
  p.drawPath(sheet);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
  if (!lines) return;
  Pen(p, kGrey);
  for (qreal y = r.top() + 5; y < r.bottom() - 1; y += 2) p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Floppy(QPainter& p, QRectF r) {
  Pen(p, kOutline);
  p.setBrush(kDisk);
  p.drawRoundedRect(r, 1, 1);
  p.setBrush(kPaper);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(r.left() + 2.5, r.top() + 0.5, r.width() - 5, r.height() * 0.4));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(r.left() + 3, r.bottom() - r.height() * 0.35, r.width() - 6, r.height() * 0.35 - 0.5));
}

// A thick arrow pointing up, its tip at (x, top).
void UpArrow(QPainter& p, qreal x, qreal top, qreal height, const QColor& color) {
  QPolygonF arrow;
  arrow << QPointF(x, top) << QPointF(x + 4.5, top + 4.5) << QPointF(x + 1.8, top + 4.5) << QPointF(x + 1.8, top + height)
        << QPointF(x - 1.8, top + height) << QPointF(x - 1.8, top + 4.5) << QPointF(x - 4.5, top + 4.5);
  Pen(p, color.darker(140));
  p.setBrush(color);
  p.drawPolygon(arrow);
}

// A curved arrow for undo (pointing left) or redo (pointing right).
void TurnArrow(QPainter& p, bool left) {
  p.save();
  if (!left) {
    p.translate(kSize, 0);
    p.scale(-1, 1);
  }
  QPainterPath curve;
  curve.moveTo(4, 7);
  curve.cubicTo(7, 3.5, 14, 4, 13, 10);
  curve.cubicTo(12.5, 12.5, 10.5, 13.5, 9, 13.5);
  Pen(p, kBlue, 2.0);
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  QPolygonF head;
  head << QPointF(1.5, 4) << QPointF(7.5, 4.5) << QPointF(3.5, 10);
  Pen(p, kBlue.darker(130));
  p.setBrush(kBlue);
  p.drawPolygon(head);
  p.restore();
}

void Magnifier(QPainter& p, QPointF centre, qreal radius) {
  Pen(p, kOutline, 2.2);
  QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
  p.drawLine(handle, handle + QPointF(radius * 0.9, radius * 0.9));
  Pen(p, kOutline, 1.2);
  p.setBrush(QColor(190, 225, 250));
  p.drawEllipse(centre, radius, radius);
}

void Printer(QPainter& p) {
  Page(p, QRectF(4.5, 1.5, 7, 6), false);
  Pen(p, kOutline);
  p.setBrush(QColor(200, 200, 210));
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawRect(QRectF(11.5, 8, 1.5, 1.5));
}

void Plug(QPainter& p, const QColor& color, bool broken) {
  Pen(p, kOutline);
  p.setBrush(color);
  p.drawRoundedRect(QRectF(1.5, 5.5, 5, 5), 1, 1);
  p.drawRoundedRect(QRectF(9.5, 5.5, 5, 5), 1, 1);
  Pen(p, kOutline, 1.4);
  if (broken) {
    p.drawLine(QPointF(6.5, 8), QPointF(7.2, 8));
    p.drawLine(QPointF(8.8, 8), QPointF(9.5, 8));
    Pen(p, kRed, 1.4);
    p.drawLine(QPointF(6.5, 13.5), QPointF(9.5, 2.5));
  } else {
    p.drawLine(QPointF(6.5, 8), QPointF(9.5, 8));
  }
}

void Gear(QPainter& p) {
  p.save();
  p.translate(8, 8);
  Pen(p, kOutline);
  p.setBrush(kGrey);
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.rotate(i * 45);
    p.drawRect(QRectF(-1.3, -7, 2.6, 3));
    p.restore();
  }
  p.drawEllipse(QPointF(0, 0), 5, 5);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(0, 0), 2, 2);
  p.restore();
}

void Text(QPainter& p, QRectF r, const QString& text, const QColor& color, int pixels, bool bold = true) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  p.setFont(font);
  p.setPen(color);
  p.drawText(r, Qt::AlignCenter, text);
}

void Draw(QPainter& p, int index) {
  switch (index) {
    case 0:  // New
      Page(p, QRectF(2.5, 0.5, 10, 15), false);
      Pen(p, QColor(230, 170, 0), 1.3);
      p.drawLine(QPointF(12, 10), QPointF(12, 15));
      p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 12.5));
      break;
    case 1: {  // Open
      Pen(p, kOutline);
      p.setBrush(kFolder.darker(115));
      p.drawRect(QRectF(0.5, 3.5, 12, 10));
      p.drawRect(QRectF(0.5, 2.5, 5, 1));
      QPolygonF front;
      front << QPointF(3, 6.5) << QPointF(15.5, 6.5) << QPointF(13, 13.5) << QPointF(0.5, 13.5);
      p.setBrush(kFolder);
      p.drawPolygon(front);
      break;
    }
    case 2: Floppy(p, QRectF(1.5, 1.5, 13, 13)); break;  // Save
    case 3: Printer(p); break;                           // Print
    case 4:                                              // Cut
      Pen(p, kOutline, 1.3);
      p.drawLine(QPointF(4, 1), QPointF(10.5, 11));
      p.drawLine(QPointF(12, 1), QPointF(5.5, 11));
      Pen(p, kRed, 1.5);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
      p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
      break;
    case 5:  // Copy
      Page(p, QRectF(1.5, 0.5, 8, 10));
      Page(p, QRectF(6.5, 5.5, 8, 10));
      break;
    case 6:  // Paste
      Pen(p, kOutline);
      p.setBrush(QColor(190, 140, 80));
      p.drawRoundedRect(QRectF(1.5, 2.5, 10, 13), 1, 1);
      p.setBrush(kGrey);
      p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
      Page(p, QRectF(6.5, 6.5, 8, 9));
      break;
    case 7: Magnifier(p, QPointF(6.5, 6.5), 4.5); break;  // Find
    case 8:                                               // Upload
      UpArrow(p, 8, 1, 10, kGreen);
      Pen(p, kOutline);
      p.setBrush(kGrey);
      p.drawRect(QRectF(1.5, 12.5, 13, 2));
      break;
    case 9:  // Upload All
      UpArrow(p, 5, 1, 10, kGreen);
      UpArrow(p, 11, 3, 8, kGreen.lighter(120));
      Pen(p, kOutline);
      p.setBrush(kGrey);
      p.drawRect(QRectF(0.5, 12.5, 15, 2));
      break;
    case 10:  // Save All
      Floppy(p, QRectF(0.5, 0.5, 10, 10));
      Floppy(p, QRectF(5.5, 5.5, 10, 10));
      break;
    case 11: Plug(p, kGreen, false); break;  // Connect
    case 12: TurnArrow(p, false); break;     // Redo
    case 13: TurnArrow(p, true); break;      // Undo
    case 14:                                 // Delete
      Pen(p, kRed, 2.6);
      p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    case 15: Plug(p, kGrey, true); break;  // Disconnect
    case 16:                               // View Online FAQ
      Pen(p, kBlue.darker(130));
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
      Text(p, QRectF(0, 0, 16, 16), QStringLiteral("?"), kPaper, 12);
      break;
    case 17: Gear(p); break;  // General Options
    case 18: {                // Word Wrap
      Pen(p, kOutline, 1.2);
      p.drawLine(QPointF(1.5, 3), QPointF(14.5, 3));
      p.drawLine(QPointF(1.5, 13), QPointF(6.5, 13));
      QPainterPath turn;
      turn.moveTo(1.5, 8);
      turn.lineTo(12, 8);
      turn.cubicTo(15.5, 8, 15.5, 13, 12, 13);
      turn.lineTo(9.5, 13);
      Pen(p, kBlue, 1.3);
      p.setBrush(Qt::NoBrush);
      p.drawPath(turn);
      p.drawLine(QPointF(9.5, 13), QPointF(11.5, 11));
      p.drawLine(QPointF(9.5, 13), QPointF(11.5, 15));
      break;
    }
    case 19: Text(p, QRectF(0, 0, 16, 16), QStringLiteral("\u00B6"), kBlue, 14); break;  // Show Hidden Chars
    case 20:                                                                              // Show Gutter
      Page(p, QRectF(1.5, 0.5, 13, 15));
      p.setPen(Qt::NoPen);
      p.setBrush(kGrey);
      p.drawRect(QRectF(2, 1, 3.5, 14.5));
      break;
    case 21:  // Show Line Numbers
      Page(p, QRectF(1.5, 0.5, 13, 15), false);
      Text(p, QRectF(1.5, 1, 7, 7), QStringLiteral("1"), kBlue, 7);
      Text(p, QRectF(1.5, 8, 7, 7), QStringLiteral("2"), kBlue, 7);
      Pen(p, kGrey);
      p.drawLine(QPointF(8, 4.5), QPointF(12.5, 4.5));
      p.drawLine(QPointF(8, 11.5), QPointF(12.5, 11.5));
      break;
    case 22: {  // Editor Options
      Page(p, QRectF(1.5, 0.5, 10, 15));
      QPolygonF pencil;
      pencil << QPointF(6, 14) << QPointF(6.5, 11) << QPointF(13.5, 4) << QPointF(15.5, 6) << QPointF(8.5, 13);
      Pen(p, kOutline);
      p.setBrush(kFolder);
      p.drawPolygon(pencil);
      break;
    }
    case 23:  // FTP & Mapping Settings
      Pen(p, kBlue.darker(140));
      p.setBrush(QColor(120, 180, 235));
      p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(4.5, 0.5, 7, 15));
      p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
      p.drawLine(QPointF(2, 4), QPointF(14, 4));
      p.drawLine(QPointF(2, 12), QPointF(14, 12));
      break;
    case 24:  // Print Preview
      Page(p, QRectF(1.5, 0.5, 11, 14));
      Magnifier(p, QPointF(9, 9), 3.2);
      break;
    default: break;
  }
}

QImage DrawnPicture(int index) {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  Draw(painter, index);
  return image;
}

// The disabled look: grey and faint, as toolbars show commands that cannot run.
QImage DisabledLook(const QImage& picture) {
  QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      int grey = 128 + qGray(row[x]) / 2;
      row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) * 2 / 3);
    }
  }
  return image;
}

}  // namespace

QIcon Picture(int index) {
  static const std::array<QIcon, kPictureCount> pictures = [] {
    std::array<QIcon, kPictureCount> icons;
    for (int i = 0; i < kPictureCount; ++i) {
      QImage picture = DrawnPicture(i);
      icons[i].addPixmap(QPixmap::fromImage(picture), QIcon::Normal);
      icons[i].addPixmap(QPixmap::fromImage(DisabledLook(picture)), QIcon::Disabled);
    }
    return icons;
  }();
  return pictures.at(index);
}

QPixmap ProgramPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(QColor(20, 90, 100), 0.6));
  p.setBrush(QColor(32, 140, 150));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  Text(p, QRectF(0, -1, 11, 16), QStringLiteral("T"), kPaper, 12);
  UpArrow(p, 12, 3, 9, QColor(250, 210, 80));
  return pixmap;
}

}  // namespace tarnwick

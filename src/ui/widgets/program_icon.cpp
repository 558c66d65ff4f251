#include "ui/widgets/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vyk::ui {

QImage DrawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);  // drawn on a 64 x 64 grid, as the SVG
  // The Box: a dark case with a screen.
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(QColor(70, 90, 120));
  p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
  p.setBrush(QColor(245, 245, 235));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(10, 10, 44, 44));
  // Its table curve (blue) and the curve as the pots adjust it (red).
  QPainterPath table;
  table.moveTo(12, 50);
  table.cubicTo(26, 46, 36, 30, 52, 14);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(30, 60, 200), 3));
  p.drawPath(table);
  QPainterPath adjusted;
  adjusted.moveTo(12, 50);
  adjusted.cubicTo(24, 40, 38, 28, 52, 22);
  p.setPen(QPen(QColor(210, 40, 40), 2));
  p.drawPath(adjusted);
  p.end();
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
  return icon;
}

}  // namespace vyk::ui

#include "report/pdf_report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace vyk::report {

namespace {

constexpr int kDpi = 300;

double Mm(double mm) {
  return mm * kDpi / 25.4;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QFont Font(double points, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  // No ligatures: a text copied out of the page, or searched in it, reads as it was written.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// A round step of 1, 2 or 5 times a power of ten giving at most `maxSteps` steps up to `top`.
double NiceStep(double top, int maxSteps) {
  const double rough = top / maxSteps;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= rough * (1 - 1e-9)) return m * power;
  }
  return 10 * power;
}

struct Axis {
  double top = 1;
  double step = 1;
  int decimals = 0;
};

Axis AxisFor(double dataMax, int maxSteps) {
  if (!(dataMax > 0) || !std::isfinite(dataMax)) dataMax = 1;
  Axis a;
  a.step = NiceStep(dataMax, maxSteps);
  a.top = std::ceil(dataMax / a.step - 1e-9) * a.step;
  a.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(a.step) + 1e-9)));
  return a;
}

// The header, label beside text; returns the height used.
double DrawFacts(QPainter& p, const ProjectReport& r, double top, double width) {
  const QFont label = Font(9, true);
  const QFont text = Font(9);
  const double line = QFontMetricsF(text, p.device()).height() * 1.25;
  // Wide enough for the longest label ("Entries edited by hand"), never narrower than before.
  double labelWidth = Mm(32);
  for (const auto& fact : r.facts)
    labelWidth = std::max(
        labelWidth, QFontMetricsF(label, p.device()).horizontalAdvance(Q(fact.first)) + Mm(2));
  double y = top;
  for (const auto& [name, value] : r.facts) {
    p.setFont(label);
    p.drawText(QRectF(0, y, labelWidth, line), Qt::AlignLeft | Qt::AlignVCenter, Q(name));
    p.setFont(text);
    const QString shown =
        QFontMetricsF(text, p.device()).elidedText(Q(value), Qt::ElideMiddle, width - labelWidth);
    p.drawText(QRectF(labelWidth, y, width - labelWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
               shown);
    y += line;
  }
  return y - top;
}

// The 33 rows with their column titles; returns the height used.
double DrawTable(QPainter& p, const ProjectReport& r, QPointF at, double width) {
  const QFont head = Font(8, true);
  const QFont body = Font(8);
  const double row = QFontMetricsF(body, p.device()).height() * 1.2;
  const double widths[] = {0.18, 0.28, 0.28, 0.26};
  auto drawRow = [&](double y, const std::array<std::string, 4>& cells) {
    double x = at.x();
    for (int c = 0; c < 4; ++c) {
      const double w = width * widths[c];
      p.drawText(QRectF(x, y, w - Mm(2), row), Qt::AlignRight | Qt::AlignVCenter, Q(cells[c]));
      x += w;
    }
  };
  p.setFont(head);
  drawRow(at.y(), r.columns);
  p.setPen(QPen(Qt::black, Mm(0.2)));
  p.drawLine(QPointF(at.x(), at.y() + row), QPointF(at.x() + width, at.y() + row));
  p.setFont(body);
  double y = at.y() + row * 1.15;
  for (size_t i = 0; i < r.rows.size(); ++i) {
    if (i % 2 == 1) p.fillRect(QRectF(at.x(), y, width, row), QColor(238, 238, 238));
    drawRow(y, r.rows[i]);
    y += row;
  }
  return y - at.y();
}

// The table curve in a frame with round ticks on both axes.
void DrawChart(QPainter& p, const ProjectReport& r, const QRectF& area) {
  const QFont small = Font(7.5);
  const QFontMetricsF fm(small, p.device());
  const double line = fm.height();
  double maxX = 0;
  double maxY = 0;
  for (const ChartPoint& pt : r.curve) {
    maxX = std::max(maxX, static_cast<double>(pt.x));
    maxY = std::max(maxY, static_cast<double>(pt.y));
  }
  const Axis ax = AxisFor(maxX, 6);
  const Axis ay = AxisFor(maxY, 8);
  const double labelWidth = fm.horizontalAdvance(QString::number(ay.top, 'f', ay.decimals));
  const double lastLabel = fm.horizontalAdvance(QString::number(ax.top, 'f', ax.decimals));
  const QRectF frame(QPointF(area.left() + line * 1.5 + labelWidth + Mm(1.5), area.top() + line),
                     QPointF(area.right() - lastLabel / 2, area.bottom() - line * 2.6));
  auto toPage = [&](double x, double y) {
    return QPointF(frame.left() + frame.width() * x / ax.top,
                   frame.bottom() - frame.height() * y / ay.top);
  };
  p.setFont(small);
  p.setPen(QPen(QColor(200, 200, 200), Mm(0.15)));
  for (double v = 0; v <= ax.top + 1e-9; v += ax.step)
    p.drawLine(toPage(v, 0), toPage(v, ay.top));
  for (double v = 0; v <= ay.top + 1e-9; v += ay.step)
    p.drawLine(toPage(0, v), toPage(ax.top, v));
  p.setPen(QPen(Qt::black, Mm(0.25)));
  p.drawRect(frame);
  for (double v = 0; v <= ax.top + 1e-9; v += ax.step) {
    const QPointF at = toPage(v, 0);
    p.drawText(QRectF(at.x() - Mm(10), at.y() + Mm(0.8), Mm(20), line), Qt::AlignHCenter,
               QString::number(v, 'f', ax.decimals));
  }
  for (double v = 0; v <= ay.top + 1e-9; v += ay.step) {
    const QPointF at = toPage(0, v);
    p.drawText(QRectF(at.x() - labelWidth - Mm(1.5), at.y() - line / 2, labelWidth, line),
               Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'f', ay.decimals));
  }
  p.setFont(Font(8, true));
  p.drawText(QRectF(frame.left(), frame.bottom() + line * 1.4, frame.width(), line * 1.2),
             Qt::AlignHCenter, Q(r.xTitle));
  p.save();
  p.translate(area.left(), frame.center().y());
  p.rotate(-90);
  p.drawText(QRectF(-frame.height() / 2, 0, frame.height(), line * 1.2), Qt::AlignHCenter,
             Q(r.yTitle));
  p.restore();

  QPainterPath path;
  for (size_t i = 0; i < r.curve.size(); ++i) {
    const QPointF at = toPage(r.curve[i].x, r.curve[i].y);
    if (i == 0) {
      path.moveTo(at);
    } else {
      path.lineTo(at);
    }
  }
  p.save();
  p.setClipRect(frame.adjusted(-Mm(0.5), -Mm(0.5), Mm(0.5), Mm(0.5)));
  p.setPen(QPen(Qt::blue, Mm(0.45), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.restore();
}

}  // namespace

std::string ReportPdf(const ProjectReport& r) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer.setTitle(Q(r.title));
    writer.setCreator(Q(r.footer));
    QPainter p(&writer);
    const QRectF page(0, 0, writer.width(), writer.height());

    p.setFont(Font(18, true));
    const double titleHeight = QFontMetricsF(p.font(), p.device()).height() * 1.2;
    p.drawText(
        QRectF(0, 0, page.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(p.font(), p.device()).elidedText(Q(r.title), Qt::ElideRight, page.width()));
    double y = titleHeight + Mm(2);
    p.setPen(QPen(Qt::black, Mm(0.3)));
    p.drawLine(QPointF(0, y), QPointF(page.width(), y));
    y += Mm(3);
    y += DrawFacts(p, r, y, page.width()) + Mm(6);

    const double tableWidth = Mm(70);
    const double tableHeight = DrawTable(p, r, QPointF(0, y), tableWidth);
    DrawChart(p, r,
              QRectF(tableWidth + Mm(10), y, page.width() - tableWidth - Mm(10),
                     std::min(tableHeight, Mm(110))));

    p.setFont(Font(7.5));
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(0, page.height() - Mm(5), page.width(), Mm(5)),
               Qt::AlignLeft | Qt::AlignBottom, Q(r.footer));
  }
  return buffer.data().toStdString();
}

}  // namespace vyk::report

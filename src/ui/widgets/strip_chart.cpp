#include "ui/widgets/strip_chart.h"

#include <QEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace vyk::ui {

namespace {

// The plot's height: the legend's line above it, the time's two below.
int PlotHeight(int height, int line) {
  return height - 3 * line - 6;
}

bool operator==(const RoundScale& a, const RoundScale& b) {
  return a.top == b.top && a.step == b.step && a.decimals == b.decimals;
}

}  // namespace

StripChart::StripChart(double windowSeconds, QWidget* parent)
    : QWidget(parent), window_(windowSeconds) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StripChart::Begin(const QString& firstTitle, const QString& secondTitle) {
  samples_.clear();
  titles_ = {firstTitle, secondTitle};
  max_ = {0, 0};
  frame_ = {};
  update();
}

void StripChart::Add(double seconds, double first, double second) {
  samples_.push_back({seconds, {first, second}});
}

void StripChart::Draw() {
  if (samples_.empty()) return;
  // A window of points: memory stays flat however long it runs. One point before the window
  // keeps the lines to its left edge.
  const double end = samples_.back().seconds;
  while (samples_.size() > 1 && samples_[1].seconds < end - window_)
    samples_.pop_front();
  for (const Sample& s : samples_)
    for (size_t k = 0; k < 2; ++k)
      max_[k] = std::max(max_[k], s.value[k]);
  update();
}

QSize StripChart::sizeHint() const {
  return {500, 12 * fontMetrics().height()};
}

QSize StripChart::minimumSizeHint() const {
  return {200, 8 * fontMetrics().height()};
}

void StripChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) frame_ = {};
  QWidget::changeEvent(event);
}

std::array<RoundScale, 2> StripChart::ScalesFor(int plotHeight) const {
  // Both have the same number of steps, so each line of the grid is a round number on either
  // side.
  std::array<RoundScale, 2> scale;
  const int line = fontMetrics().height();
  scale[0] = RoundScaleOf(max_[0], std::clamp(plotHeight / (2 * line), 2, 6));
  const int steps = static_cast<int>(std::lround(scale[0].top / scale[0].step));
  scale[1] = RoundScaleOf(max_[1], steps);
  scale[1].top = steps * scale[1].step;
  return scale;
}

void StripChart::MakeFrame(const std::array<RoundScale, 2>& scale) {
  const qreal ratio = devicePixelRatioF();
  frame_.picture = QPixmap(size() * ratio);
  frame_.picture.setDevicePixelRatio(ratio);
  frame_.scale = scale;
  const QPalette& p = palette();
  frame_.picture.fill(p.color(QPalette::Window));
  QPainter painter(&frame_.picture);
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  const std::array<QColor, 2> colour = {TableCurveColour(*this), SecondCurveColour(*this)};

  std::array<int, 2> labelWidth{};
  for (size_t k = 0; k < 2; ++k)
    labelWidth[k] =
        metrics.horizontalAdvance(QString::number(scale[k].top, 'f', scale[k].decimals));
  frame_.plot = QRect(QPoint(labelWidth[0] + 8, line + 4),
                      QPoint(width() - labelWidth[1] - 9, line + 4 + PlotHeight(height(), line)));
  const QRect& plot = frame_.plot;
  painter.fillRect(plot, p.color(QPalette::Base));

  // The legend over the plot: a short line in each quantity's colour and its name.
  int x = plot.center().x() -
          (metrics.horizontalAdvance(titles_[0] + titles_[1]) + 2 * line + 3 * line / 2) / 2;
  for (size_t k = 0; k < 2; ++k) {
    painter.setPen(QPen(colour[k], 2));
    painter.drawLine(x, line / 2 + 1, x + line - 4, line / 2 + 1);
    x += line;
    painter.setPen(p.color(QPalette::WindowText));
    painter.drawText(x, metrics.ascent(), titles_[k]);
    x += metrics.horizontalAdvance(titles_[k]) + 3 * line / 2;
  }

  // A line at each step, labelled on each side in its quantity's colour.
  QColor grid = p.color(QPalette::WindowText);
  grid.setAlpha(40);
  const int steps = static_cast<int>(std::lround(scale[0].top / scale[0].step));
  for (int i = 0; i <= steps; ++i) {
    const int y = plot.bottom() - i * plot.height() / steps;
    painter.setPen(grid);
    painter.drawLine(plot.left(), y, plot.right(), y);
    for (size_t k = 0; k < 2; ++k) {
      painter.setPen(colour[k]);
      const QRect place = k == 0 ? QRect(0, y - line / 2, labelWidth[0] + 4, line)
                                 : QRect(plot.right() + 5, y - line / 2, labelWidth[1], line);
      painter.drawText(place, (k == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                       QString::number(i * scale[k].step, 'f', scale[k].decimals));
    }
  }

  // The seconds before now, every five.
  for (int ago = 0; ago <= window_ + 1e-9; ago += 5) {
    const int tx = plot.right() - static_cast<int>(std::lround(ago / window_ * plot.width()));
    painter.setPen(grid);
    painter.drawLine(tx, plot.top(), tx, plot.bottom());
    painter.setPen(p.color(QPalette::WindowText));
    painter.drawText(QRect(tx - 30, plot.bottom() + 2, 60, line), Qt::AlignHCenter,
                     ago == 0 ? QStringLiteral("0") : QString::number(-ago));
  }
  painter.drawText(QRect(plot.left(), plot.bottom() + line + 2, plot.width(), line),
                   Qt::AlignHCenter, "s");
}

void StripChart::paintEvent(QPaintEvent*) {
  const std::array<RoundScale, 2> scale = ScalesFor(PlotHeight(height(), fontMetrics().height()));
  if (frame_.picture.isNull() || frame_.picture.deviceIndependentSize() != QSizeF(size()) ||
      !(frame_.scale[0] == scale[0]) || !(frame_.scale[1] == scale[1]))
    MakeFrame(scale);
  QPainter painter(this);
  painter.drawPixmap(0, 0, frame_.picture);
  const QRect& plot = frame_.plot;
  if (samples_.empty() || plot.width() < 10 || plot.height() < 10) return;

  painter.setClipRect(plot);
  const double end = samples_.back().seconds;
  QPolygonF trace;
  trace.reserve(static_cast<int>(samples_.size()));
  for (size_t k = 0; k < 2; ++k) {
    trace.clear();
    for (const Sample& s : samples_)
      trace.append(QPointF(plot.right() - (end - s.seconds) / window_ * plot.width(),
                           plot.bottom() - s.value[k] / scale[k].top * plot.height()));
    painter.setPen(QPen(k == 0 ? TableCurveColour(*this) : SecondCurveColour(*this), 1));
    painter.drawPolyline(trace);
  }
}

}  // namespace vyk::ui

#pragma once
// Charts follow the desktop's light or dark look, also when it changes while the program
// runs: a white chart glares on a dark desktop, and pure blue is hard to read there.
#include <QChart>
#include <QColor>
#include <QEvent>
#include <QFontMetrics>
#include <QList>
#include <QPalette>
#include <QPointF>
#include <QValueAxis>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "model/app_state.h"

namespace vyk::ui {

inline bool IsDark(const QWidget& widget) {
  return widget.palette().color(QPalette::Window).lightness() < 128;
}

inline QColor TableCurveColour(const QWidget& widget) {
  return IsDark(widget) ? QColor(100, 170, 255) : QColor(Qt::blue);
}

inline QColor SecondCurveColour(const QWidget& widget) {
  return IsDark(widget) ? QColor(255, 110, 110) : QColor(Qt::red);
}

// A curve of the core as a chart series takes it.
inline QList<QPointF> CurvePoints(const std::vector<ChartPoint>& from) {
  QList<QPointF> list;
  for (const ChartPoint& p : from)
    list.append(QPointF(p.x, p.y));
  return list;
}

// A scale from 0 to a round number past `dataMax`, with ticks at steps of 1, 2 or 5 times a
// power of ten and at most `maxSteps` of them, labelled with the decimals the step needs.
struct RoundScale {
  double top = 1;
  double step = 1;
  int decimals = 0;
};

inline RoundScale RoundScaleOf(double dataMax, int maxSteps) {
  if (!(dataMax > 0) || !std::isfinite(dataMax)) dataMax = 1;
  const double rough = dataMax / maxSteps;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10 * power;
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= rough * (1 - 1e-9)) {
      step = m * power;
      break;
    }
  }
  return {std::ceil(dataMax / step - 1e-9) * step, step,
          std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)))};
}

inline void ScaleAxis(QValueAxis* axis, double dataMax, int maxSteps) {
  const RoundScale scale = RoundScaleOf(dataMax, maxSteps);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(scale.step);
  axis->setMinorTickCount(0);
  axis->setRange(0, scale.top);
  axis->setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
}

// Both axes of `chart` from 0 to past the largest point of `curves`, with as many ticks as its
// size has room for: a label such as "14000" needs room on the bottom axis, a line of text on
// the left one; the legend, the labels and the titles take a few lines and a label's width.
inline void ScaleAxesToCurves(const QChart& chart, QValueAxis* axisX, QValueAxis* axisY,
                              std::initializer_list<const std::vector<ChartPoint>*> curves) {
  double maxX = 0;
  double maxY = 0;
  for (const auto* curve : curves) {
    for (const ChartPoint& p : *curve) {
      maxX = std::max(maxX, static_cast<double>(p.x));
      maxY = std::max(maxY, static_cast<double>(p.y));
    }
  }
  const QFontMetrics metrics(axisX->labelsFont());
  const double label = metrics.horizontalAdvance(QStringLiteral("00000"));
  const double line = metrics.height();
  const QSizeF size = chart.size();
  auto steps = [](double room, double each) {
    return std::clamp(static_cast<int>(room / each), 2, 10);
  };
  ScaleAxis(axisX, maxX, steps(size.width() - label - 3 * line, 1.5 * label));
  ScaleAxis(axisY, maxY, steps(size.height() - 6 * line, 1.8 * line));
}

// Sets the chart's theme from `widget`'s palette now and on every palette change, then calls
// `recolour` (a theme recolours the series and resets the axes' looks).
class ChartPaletteFollower : public QObject {
 public:
  ChartPaletteFollower(QWidget* widget, QChart* chart, std::function<void()> recolour)
      : QObject(widget), widget_(widget), chart_(chart), recolour_(std::move(recolour)) {
    widget->installEventFilter(this);
    Apply();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::PaletteChange) Apply();
    return QObject::eventFilter(watched, event);
  }

 private:
  void Apply() {
    const auto theme = IsDark(*widget_) ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    if (chart_->theme() != theme) chart_->setTheme(theme);
    if (recolour_) recolour_();
  }

  QWidget* widget_;
  QChart* chart_;
  std::function<void()> recolour_;
};

}  // namespace vyk::ui

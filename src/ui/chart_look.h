#pragma once
// Charts follow the desktop's light or dark look, also when it changes while the program
// runs: a white chart glares on a dark desktop, and pure blue is hard to read there.
#include <QChart>
#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QWidget>
#include <functional>

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

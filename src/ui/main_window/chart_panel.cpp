#include "ui/main_window/chart_panel.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

namespace {

constexpr double kTrailMs = 3000;  // each series of the trail holds a second of it

}  // namespace

ChartPanel::ChartPanel(QWidget* parent)
    : QChartView(new QChart(), parent),
      series1_(new QLineSeries()),
      series2_(new QLineSeries()),
      axisX_(new QValueAxis()),
      axisY_(new QValueAxis()),
      now_(new QScatterSeries()) {
  QChart* c = chart();
  c->legend()->setAlignment(Qt::AlignTop);
  c->setMargins(QMargins(2, 2, 2, 2));
  series1_->setName("V Out");
  series2_->setName("Adjusted");
  c->addSeries(series1_);
  axisX_->setTitleText("V In");
  axisY_->setTitleText("V Out");
  c->addAxis(axisX_, Qt::AlignBottom);
  c->addAxis(axisY_, Qt::AlignLeft);
  series1_->attachAxis(axisX_);
  series1_->attachAxis(axisY_);
  // The operating point over the curves, its trail under it; neither in the legend.
  for (size_t k = trail_.size(); k-- > 0;) {
    trail_[k] = new QScatterSeries();
    trail_[k]->setMarkerSize(9 - 2 * static_cast<double>(k));
  }
  now_->setName("Now");
  now_->setMarkerSize(12);
  for (QScatterSeries* series : {trail_[2], trail_[1], trail_[0], now_}) {
    series->setBorderColor(Qt::transparent);
    c->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    for (QLegendMarker* marker : c->legend()->markers(series))
      marker->setVisible(false);
  }
  new ChartPaletteFollower(this, c, [this] {
    series1_->setColor(TableCurveColour(*this));
    series2_->setColor(SecondCurveColour(*this));
    QColor point = SecondCurveColour(*this);
    now_->setColor(point);
    for (size_t k = 0; k < trail_.size(); ++k) {
      point.setAlpha(150 - 50 * static_cast<int>(k));
      trail_[k]->setColor(point);
    }
  });
  setObjectName("Chart1");
  setProperty(kHelpContextProperty, kHelpChart);
  setRenderHint(QPainter::Antialiasing);
  // How many ticks fit depends on the chart's size.
  connect(c, &QChart::geometryChanged, this, [this] { ScaleAxes(); });
  setMinimumSize(200, 120);
}

ChartPanel::~ChartPanel() {
  // Out of the chart, the adjusted curve is the panel's own.
  if (!chart()->series().contains(series2_)) delete series2_;
}

void ChartPanel::Show(const Chart& chart) {
  // The live view shows its readings many times a second, mostly with the same curves.
  if (chart == shown_ && !chart.series1.empty()) return;
  // Points of other units would sit in the wrong place.
  if (chart.bottomTitle != shown_.bottomTitle || chart.leftTitle != shown_.leftTitle)
    ClearOperatingPoints();
  shown_ = chart;
  series1_->replace(CurvePoints(chart.series1));
  series2_->replace(CurvePoints(chart.series2));
  series1_->setName(FromCore(chart.series1Title));
  axisX_->setTitleText(FromCore(chart.bottomTitle));
  axisY_->setTitleText(FromCore(chart.leftTitle));
  // The legend names only the curves on show, so the adjusted curve is in the chart only
  // while there is a reading: a legend marker hidden and shown again keeps an empty place, and
  // its square lands on the other one's.
  QChart* c = this->chart();
  const bool adjusted = c->series().contains(series2_);
  if (adjusted && chart.series2.empty()) {
    c->removeSeries(series2_);
  } else if (!adjusted && !chart.series2.empty()) {
    c->addSeries(series2_);
    series2_->attachAxis(axisX_);
    series2_->attachAxis(axisY_);
    series2_->setColor(SecondCurveColour(*this));  // the chart gave it its theme's
  }
  ScaleAxes();
}

void ChartPanel::ShowOperatingPoint(const ChartPoint& point, double ms) {
  passed_.push_back({ms, point});
  while (passed_.front().ms < ms - kTrailMs)
    passed_.pop_front();
  DrawOperatingPoints();
}

void ChartPanel::ClearOperatingPoints() {
  passed_.clear();
  DrawOperatingPoints();
}

void ChartPanel::DrawOperatingPoints() {
  std::array<QList<QPointF>, 3> trail;
  QList<QPointF> now;
  if (!passed_.empty()) {
    const double newest = passed_.back().ms;
    now.append(QPointF(passed_.back().point.x, passed_.back().point.y));
    for (size_t i = 0; i + 1 < passed_.size(); ++i) {
      const auto age = static_cast<size_t>((newest - passed_[i].ms) * 3 / kTrailMs);
      trail[std::min(age, trail.size() - 1)].append(
          QPointF(passed_[i].point.x, passed_[i].point.y));
    }
  }
  now_->replace(now);
  for (size_t k = 0; k < trail_.size(); ++k)
    trail_[k]->replace(trail[k]);
}

void ChartPanel::ScaleAxes() {
  ScaleAxesToCurves(*chart(), axisX_, axisY_, {&shown_.series1, &shown_.series2});
}

}  // namespace vyk::ui

#include "ui/main_window/chart_panel.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

ChartPanel::ChartPanel(QWidget* parent)
    : QChartView(new QChart(), parent),
      series1_(new QLineSeries()),
      series2_(new QLineSeries()),
      axisX_(new QValueAxis()),
      axisY_(new QValueAxis()) {
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
  new ChartPaletteFollower(this, c, [this] {
    series1_->setColor(TableCurveColour(*this));
    series2_->setColor(SecondCurveColour(*this));
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

void ChartPanel::ScaleAxes() {
  ScaleAxesToCurves(*chart(), axisX_, axisY_, {&shown_.series1, &shown_.series2});
}

}  // namespace vyk::ui

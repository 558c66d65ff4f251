#include "ui/widgets/compare_chart.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include "ui/widgets/chart_look.h"

namespace vyk::ui {

namespace {

QLineSeries* Series(QChart* chart, const QString& name) {
  auto* series = new QLineSeries;
  series->setName(name);
  chart->addSeries(series);
  return series;
}

}  // namespace

CompareChart::CompareChart(const QString& oldName, const QString& newName, const QString& otherName,
                           QWidget* parent)
    : QChartView(new QChart, parent) {
  QChart* chart = this->chart();
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->setAlignment(Qt::AlignBottom);
  old_ = Series(chart, oldName);
  if (!otherName.isEmpty()) other_ = Series(chart, otherName);
  new_ = Series(chart, newName);
  axisX_ = new QValueAxis;
  axisY_ = new QValueAxis;
  chart->addAxis(axisX_, Qt::AlignBottom);
  chart->addAxis(axisY_, Qt::AlignLeft);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
  }
  new ChartPaletteFollower(this, chart, [this] {
    old_->setPen(QPen(TableCurveColour(*this), 1.5));
    if (other_) other_->setPen(QPen(palette().color(QPalette::Mid), 1.5, Qt::DashLine));
    new_->setPen(QPen(SecondCurveColour(*this), 2));
  });
  setMinimumSize(360, 220);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  connect(chart, &QChart::geometryChanged, this, [this] { ScaleAxes(); });
}

void CompareChart::SetCurves(std::vector<ChartPoint> oldCurve, std::vector<ChartPoint> newCurve,
                             std::vector<ChartPoint> otherCurve) {
  oldCurve_ = std::move(oldCurve);
  newCurve_ = std::move(newCurve);
  otherCurve_ = std::move(otherCurve);
  old_->replace(CurvePoints(oldCurve_));
  if (other_) other_->replace(CurvePoints(otherCurve_));
  new_->replace(CurvePoints(newCurve_));
  ScaleAxes();
}

void CompareChart::SetTitles(const QString& x, const QString& y) {
  axisX_->setTitleText(x);
  axisY_->setTitleText(y);
  ScaleAxes();
}

void CompareChart::ScaleAxes() {
  ScaleAxesToCurves(*chart(), axisX_, axisY_, {&oldCurve_, &newCurve_, &otherCurve_});
}

}  // namespace vyk::ui

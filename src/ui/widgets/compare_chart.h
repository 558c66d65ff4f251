#pragma once
// A curve before and after a change over the same two value axes, both from 0 to past the
// largest point, rescaled as the view's size changes. A third curve (dashed, in the palette's
// mid tone) shows what the change was made from, such as the other meter of a blend.
#include <QChartView>
#include <QString>
#include <vector>

#include "model/app_state.h"

class QLineSeries;
class QValueAxis;

namespace vyk::ui {

class CompareChart : public QChartView {
 public:
  // No `otherName`: no third curve.
  CompareChart(const QString& oldName, const QString& newName, const QString& otherName,
               QWidget* parent);

  void SetCurves(std::vector<ChartPoint> oldCurve, std::vector<ChartPoint> newCurve,
                 std::vector<ChartPoint> otherCurve = {});
  void SetTitles(const QString& x, const QString& y);

 private:
  void ScaleAxes();

  QLineSeries* old_;
  QLineSeries* other_ = nullptr;
  QLineSeries* new_;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
  std::vector<ChartPoint> oldCurve_;
  std::vector<ChartPoint> newCurve_;
  std::vector<ChartPoint> otherCurve_;
};

}  // namespace vyk::ui

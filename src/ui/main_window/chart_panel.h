#pragma once
// The chart beside the table: the table's curve and, while there is a reading, the curve the
// pots adjust it to, on axes from 0 with round ticks, as many as its size has room for.
#include <QChartView>
#include <deque>
#include <optional>

#include "model/app_state.h"

class QLineSeries;
class QValueAxis;

namespace vyk::ui {

class ChartPanel : public QChartView {
 public:
  explicit ChartPanel(QWidget* parent);
  ~ChartPanel() override;

  // Draws the curves and titles of `chart`.
  void Show(const Chart& chart);

  // The live view's operating point at `ms`, with the points of the last few seconds fading
  // behind it.
  void ShowOperatingPoint(const ChartPoint& point, double ms);
  // No operating point any more (the units changed, or another project).
  void ClearOperatingPoints();
  // Where the operating point is, in the chart's units; none while there is none.
  std::optional<ChartPoint> OperatingPoint() const;

 private:
  void ScaleAxes();
  void DrawOperatingPoints();

  Chart shown_;  // what the chart draws, for scaling it when its size changes
  QLineSeries* series1_;
  QLineSeries* series2_;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
  struct Passed {
    double ms;
    ChartPoint point;
  };
  std::deque<Passed> passed_;  // the trail, the newest last
  class PointsItem;
  PointsItem* points_;
};

}  // namespace vyk::ui

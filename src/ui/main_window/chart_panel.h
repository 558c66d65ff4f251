#pragma once
// The chart beside the table: the table's curve and, while there is a reading, the curve the
// pots adjust it to, on axes from 0 with round ticks, as many as its size has room for.
#include <QChartView>

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

 private:
  void ScaleAxes();

  Chart shown_;  // what the chart draws, for scaling it when its size changes
  QLineSeries* series1_;
  QLineSeries* series2_;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};

}  // namespace vyk::ui

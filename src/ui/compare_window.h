#pragma once
// The result of File > Compare With: both table curves on one chart and a grid of what
// differs. It shows a comparison made once; it does not follow later edits of the project.
#include <QDialog>

#include "operations/compare/compare.h"

class QChart;
class QLineSeries;
class QValueAxis;

namespace vyk::ui {

class CompareWindow : public QDialog {
 public:
  CompareWindow(const Comparison& comparison, QWidget* parent);

 private:
  void ScaleAxes();

  Comparison comparison_;
  QChart* chart_ = nullptr;
  QLineSeries* seriesA_ = nullptr;
  QLineSeries* seriesB_ = nullptr;
  QValueAxis* axisX_ = nullptr;
  QValueAxis* axisY_ = nullptr;
};

}  // namespace vyk::ui

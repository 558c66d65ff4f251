#pragma once
// File > Open Log's window: a live log's input and output against time, a time cursor that
// puts the reading under it on the main window's chart, and the entries the engine spent its
// time in. One at a time, beside the main window; another log replaces the one it shows.
#include <QWidget>
#include <functional>

#include "operations/logs/log_view.h"

class QChartView;
class QLabel;
class QLineSeries;
class QSlider;
class QTableWidget;
class QValueAxis;

namespace vyk::ui {

class LogViewer : public QWidget {
 public:
  explicit LogViewer(QWidget* parent);

  // Shows a log as `trace` draws it. `keepCursor`: the same log in other units, the cursor
  // stays on its reading; otherwise it starts at the first.
  void Show(const QString& fileName, const LogTrace& trace, const HitMap& hits, bool keepCursor);
  // The reading under the cursor; moving it tells cursorMoved.
  int Cursor() const;
  void SetCursor(int reading);

  std::function<void(int reading)> cursorMoved;
  std::function<void()> closed;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The series as the plot's width draws them: a long log is thinned for drawing only.
  void DrawSeries();
  void CursorMoved(int reading);
  // The reading nearest `seconds`.
  int ReadingAt(double seconds) const;

  LogTrace trace_;
  QChartView* view_;
  QLineSeries* input_;
  QLineSeries* output_;
  QLineSeries* cursorLine_;
  QValueAxis* time_;
  QValueAxis* inputAxis_;
  QValueAxis* outputAxis_;
  QSlider* slider_;
  QLabel* cursorLabel_;
  QTableWidget* hitTable_;
  int drawnColumns_ = -1;
};

}  // namespace vyk::ui

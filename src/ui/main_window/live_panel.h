#pragma once
// Under the chart while the live view runs: the input and output of the last 30 seconds as a
// strip chart, and the Record button with where the recording goes.
#include <QList>
#include <QPointF>
#include <QWidget>
#include <deque>

class QChartView;
class QLabel;
class QLineSeries;
class QToolButton;
class QValueAxis;

namespace vyk::ui {

class LivePanel : public QWidget {
 public:
  explicit LivePanel(QWidget* parent);

  // A new live view: an empty chart, with the units' titles ("V In", "F Out").
  void Begin(const QString& inputTitle, const QString& outputTitle);
  // One reading, `seconds` from the start of the view; drawn at the next Draw.
  void Add(double seconds, double input, double output);
  void Draw();
  // What the recording does: its file, or why it stopped; empty when there is none.
  void ShowRecording(const QString& text, bool fault);

  // Record (checked while recording); its menu's one entry records to a file the user picks.
  QToolButton* RecordButton() const { return record_; }
  QAction* RecordToFileAction() const { return recordToFile_; }

 private:
  struct Sample {
    double seconds, input, output;
  };
  std::deque<Sample> samples_;
  QList<QPointF> newInput_, newOutput_;  // added since the last Draw
  QChartView* view_;
  QLineSeries* input_;
  QLineSeries* output_;
  QValueAxis* time_;
  QValueAxis* inputAxis_;
  QValueAxis* outputAxis_;
  double inputMax_ = 0;
  double outputMax_ = 0;
  QToolButton* record_;
  QAction* recordToFile_;
  QLabel* recording_;
};

}  // namespace vyk::ui

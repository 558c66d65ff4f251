#pragma once
// Under the chart while the live view runs: the input and output of the last 30 seconds as a
// strip chart, and the Record button with where the recording goes.
#include <QWidget>

class QLabel;
class QToolButton;

namespace vyk::ui {

class StripChart;

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
  StripChart* strip_;
  QToolButton* record_;
  QAction* recordToFile_;
  QLabel* recording_;
};

}  // namespace vyk::ui

#pragma once
// Range Edit: scale, offset, set, interpolate or smooth the selected rows of the table's output
// column. Each Apply is one change to undo; the dialog stays open for the next.
#include <QDialog>

#include "operations/project/session.h"

class QLabel;
class QLineEdit;

namespace vyk::ui {

class RadioGroup;

class RangeEditDialog : public QDialog {
 public:
  RangeEditDialog(QWidget* parent, Session& session);

  // Shows the dialog for table entries first..last until the user closes it.
  void Run(int first, int last);
  // The Apply button.
  void ApplyClick();

 private:
  void KindChanged();

  Session& session_;
  int first_ = 0;
  int last_ = 0;
  QLabel* rangeLabel_;
  RadioGroup* editRGrp_;
  QLineEdit* valueEdit_;
  QLabel* unitLabel_;
  QLabel* resultLabel_;
};

}  // namespace vyk::ui

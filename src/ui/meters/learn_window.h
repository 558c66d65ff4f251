#pragma once
// The learn window: a table of base-meter voltages against EEPROM values and flows. The
// program has no learn function yet; the window is built and kept, and nothing opens it.
#include <QDialog>

#include "operations/project/dialogs.h"

class QPushButton;
class QTableWidget;

namespace vyk::ui {

class RadioGroup;

class LearnWindow : public QDialog {
 public:
  // "Create Meter" asks its question through `dialogs`.
  LearnWindow(Dialogs& dialogs, QWidget* parent);

  // The result "Create Meter" answered Yes closes with: neither Accepted nor Rejected, so a
  // caller could tell it apart and open the meter editor.
  static constexpr int kYesResult = 6;

 private:
  void StopBtnClick();
  void CreateMeterBtnClick();

  Dialogs& dialogs_;
  QTableWidget* learnGrid_;
  RadioGroup* inputRGrp_;
  QPushButton* clearBtn_;
  QPushButton* getLearnBtn_;
  QPushButton* interpBtn_;
  QPushButton* copyE2PBtn_;
  QPushButton* createMeterBtn_;
  QPushButton* closeBtn_;
  QPushButton* stopBtn_;
};

}  // namespace vyk::ui

#pragma once
// Edit > Correct From Log over CorrectionForm: the log and its columns, the settings, the old
// and the corrected curve, the entries' table and the gates' counts, all redrawn on every
// change. Apply (Enter) puts the correction into the project as one change and closes; Cancel
// (Esc) changes nothing.
#include <QDialog>
#include <array>

#include "operations/logs/correction_form.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace vyk::ui {

class CompareChart;

class CorrectDialog : public QDialog {
  Q_OBJECT

 public:
  CorrectDialog(CorrectionForm& form, QWidget* parent = nullptr);

  void accept() override;

 private:
  // The boxes as the form holds them, after a log was opened.
  void ShowChoices();
  // The settings into the form.
  void TakeSettings();
  // The correction: curves, table, notes, Apply.
  void Sync();

  CorrectionForm& form_;
  QLabel* logLabel_;
  std::array<QComboBox*, kCorrectionFields> columns_{};
  QComboBox* unit_;
  QSpinBox* minSamples_;
  QDoubleSpinBox* clamp_;
  QCheckBox* keepRising_;
  QDoubleSpinBox* warm_;
  QDoubleSpinBox* steady_;
  QDoubleSpinBox* steadyThrottle_;
  QDoubleSpinBox* afrLow_;
  QDoubleSpinBox* afrHigh_;
  QDoubleSpinBox* lambdaLow_;
  QDoubleSpinBox* lambdaHigh_;
  CompareChart* chart_;
  QTableWidget* table_;
  QLabel* notes_;
  QLabel* problem_;
};

}  // namespace vyk::ui

#pragma once
// The mass air meter editor: the widgets of one meter over MeterForm. Every handler forwards to
// the form and then re-reads the whole window from it, so no widget holds a value the logic
// reads. The main window creates it once; the meter on screen survives from one opening to the
// next.
#include <QDialog>
#include <QPersistentModelIndex>
#include <vector>

#include "model/app_state.h"
#include "operations/meters/meter_form.h"
#include "operations/meters/meter_tool_form.h"
#include "operations/project/dialogs.h"

class QButtonGroup;
class QChartView;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QValueAxis;

namespace vyk::ui {

class PointGridModel;
class PointGridView;

class MeterEditor : public QDialog {
  Q_OBJECT

 public:
  MeterEditor(Dialogs& dialogs, const AppState& state, QWidget* parent = nullptr);
  ~MeterEditor() override;

  // exec() (or show()) runs FormActivate as the window appears.
  MeterForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Runs a handler under the error guard, then shows the form as it now is.
  template <typename F>
  void Run(F&& handler);
  void SyncAll();
  void SyncGrid();
  void SyncChart();
  // Round ranges and ticks for the curve, as many as the chart's size allows.
  void ScaleAxes();
  void ApplyFocus(FormFocus focus);
  // A meter tool on the meter shown; the new meter it saves is shown in its place.
  void RunTool(MeterTool tool);

  // The grid's events.
  void EditText(const QPersistentModelIndex& cell, const QString& text);
  void MoveTo(int row, int col);
  void TabKey(bool back);
  bool GridHasFocus() const;
  void GridFocusChanged(QWidget* old, QWidget* now);

  Dialogs& dialogs_;
  const AppState& state_;
  MeterForm form_;
  bool syncing_ = false;  // widgets are being set from the form: their signals are not the user
  QMetaObject::Connection focusWatch_;

  QPushButton* newButton_;
  QPushButton* openButton_;
  QPushButton* saveButton_;
  QPushButton* saveAsButton_;
  QPushButton* importButton_;
  QPushButton* toolsButton_;
  QLabel* partNumberLabel_;
  QLineEdit* partNumberEdit_;
  QLabel* descriptionLabel_;
  QPlainTextEdit* descriptionMemo_;
  QGroupBox* unitsRGrp_;
  QButtonGroup* unitsButtons_;
  QRadioButton* englishButton_;
  QRadioButton* metricButton_;
  QCheckBox* frequencyCheckBox_;
  QGroupBox* dataTableGroupBox_;
  PointGridView* stringGrid_;
  PointGridModel* gridModel_;
  QPersistentModelIndex editorCell_;  // where the cell editor is open
  QChartView* meterChart_;
  QLineSeries* series1_;
  QValueAxis* flowAxis_;
  QValueAxis* signalAxis_;
  std::vector<GraphPoint> plotted_;
  QPushButton* closeButton_;
  QPushButton* helpButton_;
};

}  // namespace vyk::ui

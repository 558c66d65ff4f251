#pragma once
// The meter match dialog: the two meter lists of the project's group, the 256-row result of a
// Match and Copy E2P into the project, as widgets over the MatchDialog operations; beside the
// grid the selected meters and their transfer curve as charts, and the warnings about them.
#include <QDialog>
#include <functional>

#include "operations/meters/match_dialog.h"
#include "operations/project/session.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableView;
class QValueAxis;

namespace vyk::ui {

class MatchGridModel;

class MatchWindow : public QDialog {
  Q_OBJECT

 public:
  MatchWindow(Session& session, QWidget* parent = nullptr);
  ~MatchWindow() override;

  // Edit > Match: lists the group's meters, then shows the dialog modally.
  void EditMatchClick();

  // After Copy E2P: the main window repaints its grids, curve and controls from the image.
  std::function<void()> onImageChanged;

  MatchDialog& Model() { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Sync();
  void SyncCharts();
  void ScaleCharts();
  void FitColumns();
  void ComboChanged(int which, int index);

  Session& session_;
  MatchDialog model_;
  bool syncing_ = false;  // widgets are being set from the model: their signals are not the user

  QLabel* useLabel_;
  QLabel* matchLabel_;
  QLabel* flowUnits_;
  QComboBox* meterUseCombo_;
  QComboBox* meterMatchCombo_;
  QTableView* matchGrid_;
  MatchGridModel* gridModel_;
  QPushButton* matchBtn_;
  QPushButton* copyE2PBtn_;
  QPushButton* closeBtn_;
  // Beside the grid, for the meters selected: both meters' curves, and the transfer curve.
  QChartView* meterChart_;
  QLineSeries* useSeries_;
  QLineSeries* matchSeries_;
  QValueAxis* flowAxis_;
  QValueAxis* useAxis_;
  QValueAxis* matchAxis_;  // at the right, when the two meters' signals are of different kinds
  QChartView* transferChart_;
  QLineSeries* transferSeries_;
  QValueAxis* inAxis_;
  QValueAxis* outAxis_;
  QLabel* warnings_;
};

}  // namespace vyk::ui

#pragma once
// The main window: the project's transfer table, its curve or raw bytes, the pots, the limit
// and the input/output kinds, and the menus that reach every other window. It maps widgets
// onto the operations and repaints itself from the state; it holds no state the logic reads.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/box_link.h"
#include "link/qt/box_connection.h"
#include "link/qt/qt_pump.h"
#include "link/qt/settings_folder.h"
#include "link/sim_box.h"
#include "model/records/settings_file.h"
#include "operations/box/live_readings.h"
#include "operations/compare/compare.h"
#include "operations/logs/live_recording.h"
#include "operations/logs/log_view.h"
#include "operations/project/main_view.h"
#include "operations/project/session.h"
#include "ui/start_options.h"
#include "ui/widgets/qt_dialogs.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QWidget;

namespace vyk::ui {

class ChartPanel;
class ImageGridView;
class LivePanel;
class LogViewer;
class TopPanel;

// The other windows, which the main window opens and which exist for the whole run.
struct OtherWindows {
  std::function<void()> editMatch;  // the meter match dialog
  std::function<void()> editMeter;  // the meter editor, modal
  std::function<void()> showAbout;  // the about box, modal
  std::function<void()> showTerminal;
  std::function<void()> helpContents;
  std::function<void()> helpTopicSearch;
  std::function<void()> showBackups;  // Box > Backups, modal
  std::function<void()> showHistory;  // Box > History, modal
  std::function<void()> closed;       // the main window closed: the program ends
};

class MainWindow : public QMainWindow, public MainView {
 public:
  explicit MainWindow(const StartOptions& options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // What the operations tell the window.
  void ApplyLook(const WindowLook& look) override;
  void RepaintTableGrid() override;
  void RepaintEepromGrid() override;
  void ControlsChanged() override;
  void ChartChanged() override;
  void HistoryChanged() override;
  void StatusMessage(const std::string& text) override;

  AppState& State() { return state_; }
  Session& GetSession() { return session_; }
  QtDialogs& Dialogs() { return dialogs_; }
  // The dialogs the operations ask: the Qt ones, or a test's stand-in.
  vyk::Dialogs& SessionDialogs() { return session_.dialogs; }
  // The simulated Box, when it is the port in use.
  SimBox* Simulator() { return box_.Simulator(); }
  BoxLink& Link() { return box_.Link(); }
  OtherWindows& Windows() { return windows_; }
  // The settings file this run reads and writes.
  QString SettingsPath() const { return QString::fromStdString(settingsFile_.Path()); }
  const std::string& PortInUse() const { return state_.portInUse; }

  // First activation: the settings, the Box link, the first refresh. Runs from the first
  // showing; tests call it directly.
  void FormActivate();
  // The close handling: false keeps the window open. Closing closes the port and then tells
  // Windows().closed.
  bool FormClose();

  // Opens the project named at start (none: nothing). False when the window was closed
  // meanwhile, as during the Box's identification: the program is over then.
  bool OpenAtStart(const std::string& project);

  // Runs a handler; an error the core raises ends it and is shown in an error box. An Exit
  // asked for during an exchange closes the window once the exchange has ended.
  void Run(const std::function<void()>& handler);
  // Runs a transfer's handler with the progress bar: `progress(what)` is what the transfer
  // calls after each address ("Writing", "Reading"); the bar hides when it ends.
  void RunTransfer(
      const std::function<void(const std::function<TransferProgress(const char*)>& progress)>&
          handler);

  // Edit > Range Edit: the Range Edit dialog for the table's selected rows.
  void EditRangeClick();
  // Edit > Correct From Log: the correction of the table from a scan tool's log.
  void CorrectFromLogClick();
  // Box > Live, F8 and the Live/Stop button: starts the live view, or stops the running one.
  void LiveClick();
  // Record in the live view: into a new log in the data folder, or (`pick`) a file the user
  // names; a second press ends the recording.
  void RecordClick(bool pick);
  // File > Open Log: a live log in the log viewer, its hit map in the table grid.
  void OpenLogClick();
  // The log viewer while a log is open; nothing otherwise.
  LogViewer* Viewer() const;

  // Widgets, by their control names, for the tests.
  QWidget* Control(const char* name) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildBody(QWidget* central);
  // The keys of the menus, of the main button and the Hex box, and the table's context menu.
  void BuildKeys();
  // Opens a window with the comparison, when there is one.
  void ShowComparison(const std::optional<Comparison>& comparison);
  // Edit > Undo and Redo name the change they would take back or make again.
  void ShowUndoEntries();
  // The status bar shows while it has something to say.
  void ShowStatusBar();
  // The progress bar of a transfer: "what n of 80", or hidden for a negative count.
  void ShowProgress(const QString& what, int done);
  // The live view's readings: the operating point, the strip chart, the log.
  void ShowLiveReading(const LiveReading& live);
  void ShowRecordingState(const std::string& fault = {});
  // The controls' values as the state holds them.
  void ShowControls();
  // The open log in the viewer, in the project's units as they are now.
  void ShowLogTrace(bool keepCursor);
  // The reading under the viewer's cursor on the chart, with the seconds before it as a trail.
  void ShowLogMoment(int reading);
  void LogClosed();

  StartOptions options_;
  AppState state_;
  QtDialogs dialogs_;
  Session session_;
  QtPump pump_;
  BoxConnection box_{pump_, state_};
  SettingsFile settingsFile_{SettingsFolder(options_.configDir)};
  OtherWindows windows_;
  bool activated_ = false;
  bool closeAfterExchange_ = false;  // Exit was asked for while an exchange ran
  WindowLook look_;                  // the last look applied

  // Menus.
  QAction* fileNew_ = nullptr;
  QAction* fileOpen_ = nullptr;
  QAction* fileOpenLog_ = nullptr;
  QMenu* fileRecent_ = nullptr;  // the projects last opened or saved
  QAction* fileSave_ = nullptr;
  QAction* fileSaveAs_ = nullptr;
  QAction* fileClose_ = nullptr;
  QMenu* fileCompare_ = nullptr;
  QAction* fileCompareFile_ = nullptr;
  QAction* fileCompareBox_ = nullptr;
  QAction* fileExportReport_ = nullptr;
  QAction* editUndo_ = nullptr;
  QAction* editRedo_ = nullptr;
  QAction* editRange_ = nullptr;
  QAction* editCorrect_ = nullptr;
  QAction* editProject_ = nullptr;
  QAction* editMatch_ = nullptr;
  QAction* editRematch_ = nullptr;
  QAction* editLearn_ = nullptr;
  QAction* boxUpdate_ = nullptr;
  QAction* boxRetrieve_ = nullptr;
  QAction* editMeter_ = nullptr;
  QAction* boxOptions_ = nullptr;
  QAction* boxTerminal_ = nullptr;
  QAction* boxBackups_ = nullptr;
  QAction* boxHistory_ = nullptr;
  QAction* boxLive_ = nullptr;
  QAction* helpAbout_ = nullptr;
  QLabel* noticeLabel_ = nullptr;        // in the status bar, shown only with a notice
  QLabel* simulatedLabel_ = nullptr;     // in the status bar while the simulated Box is in use
  QProgressBar* progressBar_ = nullptr;  // in the status bar during Update and Retrieve

  // Below the menus: the panel, and under it the table beside the meter labels and, in one
  // place, the chart or the byte grid.
  TopPanel* panel_ = nullptr;
  ImageGridView* tableGrid_ = nullptr;
  ImageGridView* eepromGrid_ = nullptr;
  QLabel* vInLabel_ = nullptr;
  QLabel* vOutLabel_ = nullptr;
  ChartPanel* chart_ = nullptr;
  LivePanel* live_ = nullptr;  // under the chart from the first live view on
  LiveRecording recording_;
  LiveClock liveClock_;
  double liveDrawnMs_ = 0;          // when the operating point and the strip chart were last drawn
  bool liveRedrawPending_ = false;  // the labels and curves wait for their next drawing
  LiveStatus liveStatus_;
  // The log in the viewer, whose hit map the table grid shows.
  std::optional<OpenLog> openLog_;
  LogViewer* logViewer_ = nullptr;
  // What the viewer's units were computed from: a change of them converts the log again.
  struct LogUnitsKey {
    bool project;
    int input, output;
    ConversionSettings conversion;
    bool operator==(const LogUnitsKey&) const = default;
  };
  LogUnitsKey logUnits_{};
};

}  // namespace vyk::ui

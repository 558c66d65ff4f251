#include "ui/main_window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "link/qt/qt_serial_port.h"
#include "link/sim_port.h"
#include "operations/box/box_operations.h"
#include "operations/box/port_choice.h"
#include "operations/logs/correction_form.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "operations/project/start_up.h"
#include "storage/data_folder.h"
#include "ui/help/help_context.h"
#include "ui/logs/correct_dialog.h"
#include "ui/logs/log_viewer.h"
#include "ui/main_window/chart_panel.h"
#include "ui/main_window/live_panel.h"
#include "ui/main_window/table_grids.h"
#include "ui/main_window/top_panel.h"
#include "ui/range_edit_dialog.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

namespace {

// How often the live view's readings are drawn.
constexpr int kLiveDrawMs = 200;

}  // namespace
namespace {

// The window's size as designed: it starts no smaller.
constexpr int kDesignWidth = 636;
constexpr int kDesignHeight = 436;

}  // namespace

void MainWindow::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    session_.dialogs.Error(e.what());
  }
  // Every exchange runs inside a handler, so the one that ran it closes the window here.
  if (closeAfterExchange_ && !state_.exchangeRunning) {
    closeAfterExchange_ = false;
    close();
  }
}

bool MainWindow::OpenAtStart(const std::string& project) {
  if (!project.empty() && isVisible()) Run([&] { OpenProjectFile(session_, project); });
  return isVisible();
}

MainWindow::MainWindow(const StartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      options_(options),
      dialogs_(this),
      session_{state_, options.dialogs != nullptr ? *options.dialogs : dialogs_, *this, nullptr} {
  setWindowTitle("Vyk Interface");
  setProperty(kHelpContextProperty, kHelpMainWindow);
  auto* central = new QWidget(this);
  setCentralWidget(central);
  BuildMenus();
  BuildBody(central);
  // The window starts large enough for the whole byte grid, which shares the chart's place.
  // ApplyLook keeps it from getting any smaller than its contents.
  eepromGrid_->show();
  chart_->hide();
  const QSize withBytes = sizeHint();
  eepromGrid_->hide();
  chart_->show();
  resize(sizeHint().expandedTo(withBytes).expandedTo(QSize(kDesignWidth, kDesignHeight)));
  // Tab follows the reading order: the panel, then the table and the chart or byte grid beside
  // it.
  std::vector<QWidget*> order = panel_->TabOrder();
  order.insert(order.end(), {tableGrid_, chart_, eepromGrid_});
  for (size_t i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);
  BuildKeys();

  // The port is chosen at the first activation; until then writes go nowhere.
  session_.connectBox = [this](Session& s, uint8_t group) {
    box_.AnswerAsGroup(group);
    return ConnectBox(s, box_.Link(), group);
  };
  session_.listPorts = PresentSerialDevices;
  session_.dataFolder = DataFolder(options_.dataDir);
  session_.openPort = [this](const std::string& device) {
    SimBoxConfig simulator;
    simulator.baud = options_.simulatorBaud;
    box_.Open(device, simulator);
  };

  std::string appFolder = options_.appFolder;
  if (appFolder.empty()) {
    // The program's own folder when it may write there (a build tree, a portable copy),
    // else the user's data folder. Only a file made there tells: Windows reports Program
    // Files writable by its attributes, and then refuses the file.
    QString folder = QCoreApplication::applicationDirPath();
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vyk-probe-XXXXXX")));
    if (!probe.open()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    appFolder = QDir::toNativeSeparators(folder).toStdString();
  }
  if (appFolder.back() != kPathSeparator) appFolder += kPathSeparator;
  Run([&] { FormCreate(session_, appFolder); });
  move(QGuiApplication::primaryScreen()->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() {
  // The link's callbacks point into this window.
  Link().onStatus = nullptr;
  Link().onLineLost = nullptr;
  Link().terminalEcho = nullptr;
  // The grids' headers read the state, which goes before QMainWindow's destructor hides and
  // frees the children.
  delete tableGrid_;
  delete eepromGrid_;
  // Hiding the window takes the focus from the limit box, whose handler needs a whole window.
  panel_->Detach();
}

void MainWindow::BuildBody(QWidget* central) {
  const HandlerRunner run = [this](const std::function<void()>& handler) { Run(handler); };
  panel_ = new TopPanel(
      central, session_, run, [this]() -> BoxLink& { return Link(); },
      [this] {
        if (windows_.helpContents) windows_.helpContents();
      });
  tableGrid_ = MakeTableGrid(central, session_, run);
  vInLabel_ = new QLabel(central);
  vInLabel_->setObjectName("VInLabel");
  vOutLabel_ = new QLabel(central);
  vOutLabel_->setObjectName("VOutLabel");
  eepromGrid_ = MakeByteGrid(central, session_, run);
  chart_ = new ChartPanel(central);
  live_ = new LivePanel(central);
  live_->hide();
  panel_->liveClicked = [this] { LiveClick(); };
  connect(live_->RecordButton(), &QToolButton::clicked, this, [this] { RecordClick(false); });
  connect(live_->RecordToFileAction(), &QAction::triggered, this, [this] { RecordClick(true); });

  // The table at the left; the meter labels and, under them in one place, the chart or the
  // byte grid.
  auto* meters = new QVBoxLayout;
  meters->setSpacing(0);
  meters->addWidget(vInLabel_);
  meters->addWidget(vOutLabel_);
  meters->addSpacing(8);
  meters->addWidget(chart_, 1);
  meters->addWidget(eepromGrid_, 1);
  meters->addWidget(live_);
  auto* body = new QHBoxLayout;
  body->setContentsMargins(4, 0, 8, 8);
  body->setSpacing(12);
  body->addWidget(tableGrid_);
  body->addLayout(meters, 1);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel_);
  layout->addLayout(body, 1);
}

void MainWindow::HistoryChanged() {
  ShowUndoEntries();
}

void MainWindow::StatusMessage(const std::string& text) {
  statusBar()->showMessage(FromCore(text));
  ShowStatusBar();
}

void MainWindow::RunTransfer(
    const std::function<void(const std::function<TransferProgress(const char*)>& progress)>&
        handler) {
  statusBar()->clearMessage();
  const auto progress = [this](const char* what) -> TransferProgress {
    return [this, what](int done) { ShowProgress(QString::fromLatin1(what), done); };
  };
  Run([&] { handler(progress); });
  ShowProgress({}, -1);
}

void MainWindow::ShowProgress(const QString& what, int done) {
  if (progressBar_ == nullptr) return;
  progressBar_->setVisible(done >= 0);
  if (done >= 0) {
    progressBar_->setFormat(what + QStringLiteral(" %v of %m"));
    progressBar_->setValue(done);
  }
  ShowStatusBar();
}

void MainWindow::ShowStatusBar() {
  // A finished operation's message shows until the next notice or transfer replaces it.
  const bool transfer = progressBar_ != nullptr && !progressBar_->isHidden();
  statusBar()->setVisible(!look_.notice.empty() || look_.simulatedBox || transfer ||
                          !statusBar()->currentMessage().isEmpty());
}

void MainWindow::LiveClick() {
  if (state_.liveRunning) {
    StopLive(state_);
    return;
  }
  if (state_.exchangeRunning) return;  // the menu may still be open over a transfer
  liveClock_.Reset();
  liveDrawnMs_ = -1e9;
  liveStatus_ = {};
  chart_->ClearOperatingPoints();
  live_->Begin(FromCore(state_.chart.bottomTitle), FromCore(state_.chart.leftTitle));
  if (live_->isHidden()) {
    // The strip chart comes under the chart: the window grows by it where the screen has room,
    // so the chart keeps its size.
    live_->show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int taller = std::min(height() + live_->sizeHint().height(),
                                screen.height() - (frameGeometry().height() - height()));
    if (taller > height()) resize(width(), taller);
  }
  statusBar()->clearMessage();
  ShowRecordingState();
  LiveHandlers handlers;
  handlers.reading = [this](const LiveReading& live) { ShowLiveReading(live); };
  // The rate moves with every reading: the status bar says it once a second, and at once
  // when a reading fails.
  double saidAt = -1e9;
  handlers.status = [this, &saidAt](const LiveStatus& status) {
    const double now = Link().NowMs();
    const bool failed = status.failed != liveStatus_.failed;
    liveStatus_ = status;
    if (!failed && now - saidAt < 1000) return;
    saidAt = now;
    statusBar()->showMessage(FromCore(LiveStatusText(status)));
  };
  Run([&] { RunLive(session_, Link(), handlers); });
  live_->Draw();
  recording_.Stop();
  ShowRecordingState();
}

void MainWindow::ShowLiveReading(const LiveReading& live) {
  const MonitorReading& m = live.reading;
  const ChartPoint point = OperatingPoint(state_, m.input, m.output);
  live_->Add(liveClock_.SecondsOf(live), point.x, point.y);
  if (live.ms - liveDrawnMs_ >= kLiveDrawMs) {
    liveDrawnMs_ = live.ms;
    chart_->ShowOperatingPoint(point, live.ms);
    live_->Draw();
  }
  if (!recording_.Active()) return;
  if (std::optional<std::string> fault = recording_.Add(live)) {
    ShowRecordingState("The recording stopped: " + *fault);
    return;
  }
  // The count moves on once a second, not with every row.
  if (recording_.Rows() % 20 == 1) ShowRecordingState();
}

void MainWindow::RecordClick(bool pick) {
  if (recording_.Active() || !state_.liveRunning) {
    recording_.Stop();
    ShowRecordingState();
    return;
  }
  try {
    const std::optional<std::string> path = RecordingPath(session_, pick);
    if (!path) {
      ShowRecordingState();
      return;
    }
    recording_.Start(*path, LogUnitsOf(state_));
    ShowRecordingState();
  } catch (const std::exception& e) {
    ShowRecordingState(std::string("Not recording: ") + e.what());
  }
}

void MainWindow::ShowRecordingState(const std::string& fault) {
  QToolButton* record = live_->RecordButton();
  record->setChecked(recording_.Active());
  record->setEnabled(state_.liveRunning);
  if (!fault.empty()) {
    live_->ShowRecording(FromCore(fault), true);
  } else if (recording_.Active()) {
    live_->ShowRecording(FromCore("Recording to " + recording_.Path() + " (" +
                                  std::to_string(recording_.Rows()) + " readings)"),
                         false);
  } else if (!recording_.Path().empty()) {
    live_->ShowRecording(FromCore("Recorded " + std::to_string(recording_.Rows()) +
                                  " readings to " + recording_.Path()),
                         false);
  } else {
    live_->ShowRecording({}, false);
  }
}

void MainWindow::OpenLogClick() {
  Run([&] {
    std::optional<OpenLog> log = vyk::OpenLogClick(session_);
    if (!log) return;
    openLog_ = std::move(*log);
    if (logViewer_ == nullptr) {
      logViewer_ = new LogViewer(this);
      logViewer_->cursorMoved = [this](int reading) { ShowLogMoment(reading); };
      logViewer_->closed = [this] { LogClosed(); };
    }
    ShowLogTrace(false);
    tableGrid_->ShowHits(&openLog_->hits);
    logViewer_->show();
    logViewer_->raise();
    logViewer_->activateWindow();
  });
}

LogViewer* MainWindow::Viewer() const {
  return openLog_ ? logViewer_ : nullptr;
}

void MainWindow::ShowLogTrace(bool keepCursor) {
  logUnits_ = {state_.projectState != ProjectState::NoProject, state_.controls.inputRGrp,
               state_.controls.outputRGrp, state_.conversion};
  const QString name = QFileInfo(QString::fromStdString(openLog_->path)).fileName();
  logViewer_->Show(name, LogTraceOf(openLog_->file, state_), openLog_->hits, keepCursor);
}

void MainWindow::ShowLogMoment(int reading) {
  // The live view's readings have the chart while it runs; without a project there is no
  // curve to mark.
  if (!openLog_ || state_.liveRunning || state_.projectState == ProjectState::NoProject) return;
  const std::vector<LogReading>& readings = openLog_->file.readings;
  const auto now = static_cast<size_t>(reading);
  if (now >= readings.size()) return;
  size_t first = now;
  while (first > 0 && readings[first - 1].seconds >= readings[now].seconds - 3)
    --first;
  chart_->ClearOperatingPoints();
  for (size_t i = first; i <= now; ++i)
    chart_->ShowOperatingPoint(OperatingPoint(state_, readings[i].input, readings[i].output),
                               readings[i].seconds * 1000);
}

void MainWindow::LogClosed() {
  openLog_.reset();
  tableGrid_->ShowHits(nullptr);
  if (!state_.liveRunning) chart_->ClearOperatingPoints();
}

void MainWindow::EditRangeClick() {
  const auto range = tableGrid_->SelectedCells();
  if (!range) {
    session_.dialogs.Error("Select the rows of the table to edit first");
    return;
  }
  RangeEditDialog dialog(this, session_);
  dialog.Run(range->top - 1, range->bottom - 1);
}

void MainWindow::CorrectFromLogClick() {
  CorrectionForm form(session_, SettingsFolder(options_.configDir));
  CorrectDialog dialog(form, this);
  dialog.exec();
}

QWidget* MainWindow::Control(const char* name) const {
  return findChild<QWidget*>(name);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!activated_) FormActivate();
}

void MainWindow::FormActivate() {
  if (activated_) return;
  activated_ = true;
  StoredSettings settings = settingsFile_.Load();
  state_.portNumber = settings.comPort;
  state_.baudRate = settings.baudRate;
  state_.portName = settings.portName;
  state_.portChosen = settings.namesPort;
  state_.backupBeforeUpdate = settings.backupBeforeUpdate;
  state_.previewBeforeUpdate = settings.previewBeforeUpdate;
  state_.recentProjects = settings.recentProjects;
  restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(settings.windowGeometry)));

  Link().onStatus = [this](const std::string& text) { panel_->ShowLinkStatus(FromCore(text)); };
  // A line lost between exchanges shows at once; an exchange shows it when it ends.
  Link().onLineLost = [this] {
    if (!state_.exchangeRunning) Run([&] { RefreshWindow(session_); });
  };
  // Without a port the program runs on; every exchange will time out.
  Run([&] { OpenStartPort(session_, options_.port); });
  Run([&] { RefreshWindow(session_); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (state_.exchangeRunning) {
    // The exchange's waits are below on the stack: abort it, and close once it has ended.
    state_.abortRequest = true;
    closeAfterExchange_ = true;
    event->ignore();
    return;
  }
  if (FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool MainWindow::FormClose() {
  bool mayClose = false;
  Run([&] { mayClose = QuerySaveChanges(session_); });
  if (!mayClose) return false;
  // A settings file that cannot be written is reported; the window still closes.
  Run([&] {
    settingsFile_.Save({state_.portNumber, state_.baudRate, state_.portName, state_.portChosen,
                        state_.backupBeforeUpdate, state_.previewBeforeUpdate,
                        saveGeometry().toBase64().toStdString(), state_.recentProjects});
  });
  state_.matchTable.reset();
  Link().Close();
  if (windows_.closed) windows_.closed();
  return true;
}

void MainWindow::ApplyLook(const WindowLook& look) {
  const std::string previousNotice = look_.notice;
  look_ = look;
  setWindowTitle(FromCore(look.caption));
  fileNew_->setEnabled(look.fileNew);
  fileOpen_->setEnabled(look.fileOpen);
  fileRecent_->setEnabled(look.fileOpen && !state_.recentProjects.empty());
  fileOpenLog_->setEnabled(look.otherCommands);
  for (QAction* a : {editMeter_, boxOptions_, boxTerminal_, boxBackups_, boxHistory_, helpAbout_})
    a->setEnabled(look.otherCommands);
  if (noticeLabel_ == nullptr) {
    noticeLabel_ = new QLabel(this);
    noticeLabel_->setObjectName("NoticeLabel");
    noticeLabel_->setWordWrap(true);  // a long notice takes a second line, never cut
    statusBar()->addWidget(noticeLabel_, 1);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setRange(0, kBoxBytes);
    // Wide enough for its longest text inside the bar.
    progressBar_->setMinimumWidth(
        progressBar_->fontMetrics().horizontalAdvance("Writing 80 of 80") +
        progressBar_->fontMetrics().averageCharWidth() * 8);
    progressBar_->hide();
    statusBar()->addPermanentWidget(progressBar_);
    simulatedLabel_ = new QLabel("Simulated Box", this);
    simulatedLabel_->setObjectName("SimulatedBoxLabel");
    simulatedLabel_->setForegroundRole(QPalette::Link);
    simulatedLabel_->setToolTip(
        "The Box on this port is simulated: no hardware is written. Box > Options chooses the "
        "port of a real Box.");
    statusBar()->addPermanentWidget(simulatedLabel_);
  }
  // A notice of the state replaces the message of the last operation.
  if (!look.notice.empty() && look.notice != previousNotice) statusBar()->clearMessage();
  noticeLabel_->setText(FromCore(look.notice));
  noticeLabel_->setVisible(!look.notice.empty());
  simulatedLabel_->setVisible(look.simulatedBox);
  // The status bar's texts change what the window needs: never smaller than all of it.
  setMinimumSize(minimumSizeHint());
  ShowStatusBar();
  fileSave_->setEnabled(look.fileSave);
  fileSaveAs_->setEnabled(look.fileSaveAs);
  fileClose_->setEnabled(look.fileClose);
  // Comparing and the report change nothing: they need a project, and the Box its Retrieve.
  fileCompareFile_->setEnabled(look.fileClose);
  fileCompareBox_->setEnabled(look.boxRetrieve);
  fileCompare_->setEnabled(look.fileClose || look.boxRetrieve);
  fileExportReport_->setEnabled(look.fileClose);
  editProject_->setEnabled(look.editProject);
  editRange_->setEnabled(look.projectControls);
  editCorrect_->setEnabled(look.editProject);
  ShowUndoEntries();
  editMatch_->setEnabled(look.editMatch);
  editRematch_->setEnabled(look.editRematch);
  editLearn_->setEnabled(look.editLearn);
  boxUpdate_->setEnabled(look.boxUpdate);
  boxRetrieve_->setEnabled(look.boxRetrieve);
  boxLive_->setEnabled(look.live);
  boxLive_->setText(look.liveCaption == "Stop" ? "Stop &Live" : "&Live");
  if (live_ != nullptr) live_->RecordButton()->setEnabled(look.record);
  for (QWidget* w : {static_cast<QWidget*>(tableGrid_), static_cast<QWidget*>(eepromGrid_),
                     static_cast<QWidget*>(chart_)})
    w->setEnabled(look.projectControls);
  vInLabel_->setText(FromCore(look.vInLabel));
  vOutLabel_->setText(FromCore(look.vOutLabel));
  panel_->ShowLook(look, state_.controls);
}

void MainWindow::RepaintTableGrid() {
  tableGrid_->Refresh();
}

void MainWindow::RepaintEepromGrid() {
  eepromGrid_->Refresh();
}

void MainWindow::ControlsChanged() {
  // The live view changes the labels with every reading: the window draws them five times a
  // second, which the eye cannot tell from eighteen, at a fraction of the work.
  if (state_.liveRunning) {
    if (!liveRedrawPending_) {
      liveRedrawPending_ = true;
      QTimer::singleShot(kLiveDrawMs, this, [this] {
        liveRedrawPending_ = false;
        ShowControls();
        chart_->Show(state_.chart);
      });
    }
    return;
  }
  ShowControls();
}

void MainWindow::ShowControls() {
  const Controls& c = state_.controls;
  panel_->ShowControls(c, look_.modeControls);
  eepromGrid_->setVisible(c.showHex);
  chart_->setVisible(!c.showHex);
}

void MainWindow::ChartChanged() {
  if (state_.liveRunning) return ControlsChanged();  // drawn with the labels
  chart_->Show(state_.chart);
  if (!openLog_) return;
  // Another project, group or kind converts the log again; a table edit leaves it.
  const LogUnitsKey units{state_.projectState != ProjectState::NoProject, state_.controls.inputRGrp,
                          state_.controls.outputRGrp, state_.conversion};
  if (units != logUnits_) ShowLogTrace(true);
  ShowLogMoment(logViewer_->Cursor());
}

}  // namespace vyk::ui

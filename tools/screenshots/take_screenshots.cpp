// vykedit-screenshots: starts the program as vykedit does, takes pictures of its windows and
// quits. main.png shows the main window (with a reading of the simulated Box when a project is
// open), main_hex.png the same with the byte grid (main_hex_pot.png after pot 1's byte is typed
// there), main_update.png an Update in its write phase and main_updated.png the window after
// it, meter_editor.png the first meter of the meter
// folder (meter_rehouse.png its Rehouse dialog with a warning), match.png the match dialog after a
// Match, match_warnings.png the same with WIDE.MAF picked as the meter to match, help.png the help
// window at its contents, range_edit.png the Range Edit dialog after a Scale of rows of the table
// (and main_range.png the window behind it), compare.png the project compared with a simulated Box
// that holds a few other bytes, report.pdf the project's report, preview.png the preview of an
// Update to a Box that holds an older version of the project, backups.png and history.png Box >
// Backups and Box > History with a workshop's day in them, log_viewer.png File > Open Log's viewer
// with 90 s of a recorded drive (the simulated Box's, on the project's curve) and its cursor in the
// middle of the full-throttle pull, and main_hitmap.png the main window behind it, its table
// coloured by the log's hit map and the cursor's reading on the chart, main_live.png the live view
// on the simulated Box's drive with pot 1 turned up while it runs, correct.png Edit > Correct From
// Log on a scan tool's log of a drive. With --dark the windows take a
// dark palette. Run under QT_SCALE_FACTOR=2 for a high-density screen.
#include <CLI/CLI.hpp>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <utility>

#include "link/sim_drive.h"
#include "logs/live_log.h"
#include "model/conversions.h"
#include "model/image_diff.h"
#include "operations/box/box_operations.h"
#include "operations/box/live_readings.h"
#include "operations/compare/compare.h"
#include "operations/compare/project_report.h"
#include "operations/logs/live_recording.h"
#include "operations/meters/table_check.h"
#include "operations/project/main_controls.h"
#include "operations/project/provenance_facts.h"
#include "operations/project/undo_history.h"
#include "operations/table/image_grids.h"
#include "report/pdf_report.h"
#include "ui/box/box_record_windows.h"
#include "ui/compare_window.h"
#include "ui/help/help_window.h"
#include "ui/logs/log_viewer.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"
#include "ui/program.h"
#include "ui/project_setup_dialog.h"

namespace {

using namespace vyk;
using namespace vyk::ui;

// Nobody is there to press a button: questions are answered with `answer` (No unless a picture
// needs Yes), and the open dialog offers the first meter file (or, asked for a log, the first
// log) of the folder it starts in.
class ScreenshotDialogs : public Dialogs {
 public:
  void Error(const std::string& text) override { std::cerr << text << '\n'; }
  void Information(const std::string&) override {}
  Answer Question(const std::string&, QuestionButtons) override { return answer; }
  Answer Warning(const std::string&, QuestionButtons) override { return Answer::No; }
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
    if (nextFile) return std::exchange(nextFile, std::nullopt);
    QDir folder(QString::fromStdString(request.folder));
    const QStringList patterns = request.filter.find("*.csv") != std::string::npos
                                     ? QStringList{"*.csv"}
                                     : QStringList{"*.maf", "*.MAF"};
    const QStringList meters = folder.entryList(patterns, QDir::Files, QDir::Name);
    if (meters.isEmpty()) return std::nullopt;
    return folder.filePath(meters.first()).toStdString();
  }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
  bool AskProjectSetup(ProjectSetup&) override { return false; }

  Answer answer = Answer::No;
  std::optional<std::string> nextFile;  // what the next open dialog offers, before the rest
};

void Save(QWidget& window, const QString& folder, const char* name) {
  // Long enough for the Windows style's state animations to end: until then a radio button
  // or a text box is drawn as it was.
  QEventLoop settle;
  QTimer::singleShot(400, &settle, &QEventLoop::quit);
  settle.exec();
  window.grab().save(QDir(folder).filePath(name));
}

// Runs `work` once the modal window has opened, then closes it.
void WhileOpen(QDialog& dialog, const std::function<void()>& work) {
  QTimer::singleShot(200, &dialog, [&dialog, work] {
    work();
    dialog.reject();
  });
}

void Click(QWidget& window, const char* button) {
  if (auto* b = window.findChild<QPushButton*>(button)) b->click();
}

// An Update of the simulated Box, paced as a real line, in its write phase (main_update.png)
// and once it has ended (main_updated.png).
void ShootUpdate(MainWindow& m, ScreenshotDialogs& dialogs, const QString& folder) {
  SimBox* box = m.Simulator();
  AppState& st = m.State();
  if (box == nullptr || st.projectState == ProjectState::NoProject) return;
  const bool backup = std::exchange(st.backupBeforeUpdate, false);
  const bool preview = std::exchange(st.previewBeforeUpdate, false);
  box->Config().baud = 9600;
  dialogs.answer = Answer::Yes;
  QTimer::singleShot(700, &m, [&m, folder] { Save(m, folder, "main_update.png"); });
  for (QAction* a : m.findChildren<QAction*>())
    if (a->text() == "&Update EEPROM ...") a->trigger();
  Save(m, folder, "main_updated.png");
  dialogs.answer = Answer::No;
  box->Config().baud = 0;
  st.backupBeforeUpdate = backup;
  st.previewBeforeUpdate = preview;
}

// Edit > Project of the demonstration project (project_setup.png) and its Provenance page,
// which tells how the table was made (provenance.png).
void ShootProvenance(Program& program, const QString& folder) {
  const AppState& st = program.Main().State();
  if (st.projectState == ProjectState::NoProject) return;
  ProjectSetupDialog& setup = program.ProjectSetupWindow();
  QTimer::singleShot(200, &setup, [&setup, folder] {
    Save(setup, folder, "project_setup.png");
    QTimer::singleShot(300, &setup, [&setup, folder] {
      if (auto* page = setup.findChild<QDialog*>("ProvenanceDialog")) {
        Save(*page, folder, "provenance.png");
        page->reject();
      }
    });
    Click(setup, "ProvenanceBtn");
    setup.reject();
  });
  ProjectSetup shown{st.header.Name(), st.header.Description(), st.header.Group(),
                     st.header.Units() != 0};
  setup.Run(shown, ProvenanceLines(FactsOfProvenance(st)));
}

// 90 s of the simulated Box's drive recorded, a reading every 55 ms, opened in the log viewer
// with its cursor in the middle of the first full-throttle pull.
void ShootLog(MainWindow& m, const QString& folder) {
  const AppState& st = m.State();
  if (st.projectState == ProjectState::NoProject) return;
  constexpr double kEvery = 0.055;
  try {
    LogWriter log(NewLogPath(m.GetSession().dataFolder, std::time(nullptr)), LogUnitsOf(st));
    for (int n = 0; n * kEvery <= 90; ++n) {
      LogReading r;
      r.seconds = n * kEvery;
      r.input = DriveInput(r.seconds);
      r.output = BoxOutputCount(st.image, {0, 0, 0, 0}, r.input);
      log.Append(r);
    }
  } catch (const LogError& e) {
    std::cerr << e.what() << '\n';
    return;
  }
  m.OpenLogClick();
  LogViewer* viewer = m.Viewer();
  if (viewer == nullptr) return;
  viewer->SetCursor(static_cast<int>(std::lround(32.5 / kEvery)));
  Save(*viewer, folder, "log_viewer.png");
  Save(m, folder, "main_hitmap.png");
  viewer->close();
}

// The live view on the simulated Box's drive, pot 1 turned up while it runs, so the adjusted
// curve and the output move off the table's (main_live.png); the pot is taken back after. The
// window keeps the strip chart in the pictures after it.
void ShootLive(MainWindow& m, const QString& folder) {
  SimBox* box = m.Simulator();
  if (box == nullptr || !m.State().boxConnected) return;
  box->Config().drive = true;
  box->Config().baud = 9600;
  constexpr int kSteps = 40;
  QTimer::singleShot(2000, &m, [&m] {
    for (int i = 0; i < kSteps; ++i)
      m.Run([&] { AdjustPot(m.GetSession(), 1, +1); });
  });
  QTimer::singleShot(9000, &m, [&m, folder] {
    Save(m, folder, "main_live.png");
    StopLive(m.State());
  });
  m.LiveClick();
  for (int i = 0; i < kSteps; ++i)
    m.Run([&] { Undo(m.GetSession()); });
  box->Config().drive = false;
  box->Config().baud = 0;
}

// A scan tool's log of a drive over the table's middle entries, its trims a gentle wave of a few
// percent, a cold start the coolant gate removes and a few entries with too few samples, in
// the Correct From Log dialog (correct.png).
void ShootCorrection(MainWindow& m, ScreenshotDialogs& dialogs, const QString& folder) {
  const AppState& st = m.State();
  if (st.projectState == ProjectState::NoProject) return;
  const bool hertz = st.controls.outputRGrp == kFrequency;
  const std::string path = QDir(folder).filePath("scan_tool.csv").toStdString();
  {
    std::ofstream log(path, std::ios::binary);
    log << "Time (s),RPM," << (hertz ? "MAF (Hz)" : "MAF (V)")
        << ",STFT B1 (%),LTFT B1 (%),ECT (C)\n";
    unsigned noise = 12345;
    auto next = [&noise] {
      noise = noise * 1103515245u + 12345u;
      return static_cast<double>((noise >> 16) & 0x7FFF) / 0x7FFF - 0.5;
    };
    double t = 0;
    for (int k = 4; k <= 26; ++k) {
      const int samples = k > 22 ? 8 : 40;
      const int count = st.image.Entry(k);
      const double signal =
          hertz ? CountOutputHertz(st.conversion, count) : CountOutputVolts(st.conversion, count);
      const double wave = 3.5 * std::sin(k / 3.0);
      for (int i = 0; i < samples; ++i, t += 0.1) {
        const double coolant = k < 6 && i < 15 ? 45 : 88;
        log << t << ',' << 900 + 150 * k << ',' << signal * (1 + 0.002 * next()) << ','
            << wave * 0.6 + 2 * next() << ',' << wave * 0.4 << ',' << coolant << '\n';
      }
    }
  }
  dialogs.nextFile = path;
  QTimer::singleShot(200, &m, [folder] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    Click(*dialog, "OpenLogBtn");
    Save(*dialog, folder, "correct.png");
    dialog->close();
  });
  m.CorrectFromLogClick();
  std::remove(path.c_str());
}

void TakeScreenshots(Program& program, ScreenshotDialogs& dialogs, const QString& folder) {
  MainWindow& m = program.Main();
  if (m.State().projectState != ProjectState::NoProject) {
    if (SimBox* box = m.Simulator()) box->Config().offsets = {24, 0xFFF0, 12, 0xFFF8};
    m.Run([&] { AbortBtnClick(m.GetSession(), m.Link()); });  // Connect
    // The Box takes the project, so that the reading follows the curve shown.
    ShootUpdate(m, dialogs, folder);
    m.Run([&] { AbortBtnClick(m.GetSession(), m.Link()); });  // Monitor
  }
  Save(m, folder, "main.png");
  if (auto* hex = m.findChild<QCheckBox*>("ShowHexCBox"); hex != nullptr && hex->isEnabled()) {
    hex->click();
    Save(m, folder, "main_hex.png");
    // Pot 1's byte typed in the grid, as its box shows it; then taken back.
    m.Run([&] { EepromGridSetEditText(m.GetSession(), 4, 5, "32"); });
    Save(m, folder, "main_hex_pot.png");
    m.Run([&] { Undo(m.GetSession()); });
    hex->click();
  }
  ShootLog(m, folder);
  ShootLive(m, folder);
  ShootProvenance(program, folder);
  ShootCorrection(m, dialogs, folder);

  if (SimBox* box = m.Simulator();
      box != nullptr && m.State().projectState != ProjectState::NoProject) {
    for (int a = 0; a < kBoxBytes; ++a)
      box->Eeprom()[a] = m.State().image.Byte(a);
    for (int k : {9, 10, 11})
      box->Eeprom()[2 * k + 1] ^= 0x3C;  // three entries of the table
    box->Eeprom()[kFirstPotByte + 2] = 0xFB;
    std::optional<Comparison> c;
    m.Run([&] { c = CompareWithBoxClick(m.GetSession(), m.Link()); });
    if (c) {
      CompareWindow compare(*c, &m);
      compare.show();
      Save(compare, folder, "compare.png");
    }
    QFile pdf(QDir(folder).filePath("report.pdf"));
    if (pdf.open(QIODevice::WriteOnly))
      pdf.write(QByteArray::fromStdString(
          report::ReportPdf(MakeProjectReport(m.State(), TodayDayNumber()))));
  }

  // Range Edit on rows 8..20 of the table, after a Scale that clamped some of them.
  if (auto* table = m.findChild<QTableView*>("TableGrid"); table != nullptr && table->isEnabled()) {
    table->selectionModel()->select(
        QItemSelection(table->model()->index(8, 0), table->model()->index(20, 0)),
        QItemSelectionModel::ClearAndSelect);
    QTimer::singleShot(200, &m, [&m, folder] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      if (auto* value = dialog->findChild<QLineEdit*>("ValueEdit")) value->setText("40");
      Click(*dialog, "ApplyBtn");
      Save(*dialog, folder, "range_edit.png");
      Save(m, folder, "main_range.png");
      dialog->close();
    });
    m.EditRangeClick();
  }

  MeterEditor& editor = program.MeterEditorWindow();
  WhileOpen(editor, [&] {
    Click(editor, "OpenButton");
    Save(editor, folder, "meter_editor.png");
    // Tools > Rehouse into a housing wide enough to warn (meter_rehouse.png).
    QTimer::singleShot(200, &editor, [&folder] {
      auto* tool = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (tool == nullptr) return;
      for (const auto& [edit, text] : {std::pair{"FromEdit", "76"}, std::pair{"ToEdit", "100"}}) {
        if (auto* line = tool->findChild<QLineEdit*>(edit)) {
          line->setText(QString::fromLatin1(text));
          emit line->textEdited(line->text());
        }
      }
      Save(*tool, folder, "meter_rehouse.png");
      tool->reject();
    });
    if (auto* tools = editor.findChild<QMenu*>("ToolsMenu")) tools->actions()[1]->trigger();
  });
  editor.exec();

  MatchWindow& match = program.Match();
  WhileOpen(match, [&] {
    Click(match, "MatchBtn");
    Save(match, folder, "match.png");
    auto* matchList = match.findChild<QComboBox*>("MeterMatchCombo");
    if (matchList != nullptr && matchList->findText("WIDE.MAF") >= 0) {
      matchList->setCurrentText("WIDE.MAF");
      Save(match, folder, "match_warnings.png");
    }
  });
  match.EditMatchClick();

  if (m.State().projectState != ProjectState::NoProject) {
    // The Box holds the project as it was before a few edits.
    const AppState& st = m.State();
    EepromImage box = st.image;
    for (int k = 10; k <= 13; ++k)
      box.SetEntry(k, std::max(0, st.image.Entry(k) - 6 * (k - 9)));
    box.SetByte(kFirstPotByte + 1, 0xFE);
    box.SetEntry(kLimitEntry, 700);
    UpdatePreviewDialog& preview = program.Preview();
    bool dontShow = false;
    WhileOpen(preview, [&] { Save(preview, folder, "preview.png"); });
    preview.Run({st.projectFileName, st.portInUse, "G 1.0",
                 DiffImages({st.header, box}, {st.header, st.image}), ProjectTableWarnings(st)},
                dontShow);
  }

  const std::string backups = "/home/workshop/.local/share/vyk-edit/backups/";
  BackupsWindow& backupsWindow = program.Backups();
  WhileOpen(backupsWindow, [&] { Save(backupsWindow, folder, "backups.png"); });
  std::string chosen;
  backupsWindow.Run({{backups + "2026-12-08_15-42-10_G1.0.VYK", "2026-12-08_15-42-10_G1.0.VYK",
                      "2026-12-08 15:42:10", "G", "1.0", "/home/workshop/cars/Camaro 1989.VYK"},
                     {backups + "2026-12-08_11-05-37_V1.0.VYK", "2026-12-08_11-05-37_V1.0.VYK",
                      "2026-12-08 11:05:37", "V", "1.0", "/home/workshop/cars/Mustang GT.VYK"},
                     {backups + "2026-12-07_16-20-02_G1.0.VYK", "2026-12-07_16-20-02_G1.0.VYK",
                      "2026-12-07 16:20:02", "G", "1.0", ""}},
                    chosen);

  HistoryWindow& history = program.History();
  WhileOpen(history, [&] { Save(history, folder, "history.png"); });
  const std::string camaro = "/home/workshop/cars/Camaro 1989.VYK";
  const std::string mustang = "/home/workshop/cars/Mustang GT.VYK";
  history.Run({{"2026-12-08T15:44:02+0100", "retrieve", "/dev/ttyUSB0", "G", "1.0", camaro,
                "5D1C0A77", "ok", "", "", ""},
               {"2026-12-08T15:42:10+0100", "update", "/dev/ttyUSB0", "G", "1.0", camaro,
                "5D1C0A77", "ok", "", "", backups + "2026-12-08_15-42-10_G1.0.VYK"},
               {"2026-12-08T15:40:51+0100", "update", "/dev/ttyUSB0", "G", "1.0", camaro,
                "5D1C0A77", "failed", "write 1A", "Hardware did not acknowledge", ""},
               {"2026-12-08T11:06:12+0100", "update", "/dev/ttyUSB0", "V", "1.0", mustang,
                "0B93E2C4", "no change", "", "", ""},
               {"2026-12-08T11:05:37+0100", "update", "/dev/ttyUSB0", "V", "1.0", mustang,
                "0B93E2C4", "ok", "", "", backups + "2026-12-08_11-05-37_V1.0.VYK"},
               {"2026-12-08T11:01:15+0100", "retrieve", "/dev/ttyUSB0", "V", "1.0", mustang, "",
                "aborted", "read 31", "", ""}},
              QString::fromStdString("/home/workshop/.local/share/vyk-edit/history.tsv"));

  HelpWindow& help = program.Help();
  help.ShowContents();
  Save(help, folder, "help.png");
  help.close();
}

// Qt's Fusion colours for a dark desktop.
void UseDarkPalette() {
  QApplication::setStyle("Fusion");
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(45, 45, 45));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, QColor(53, 53, 53));
  dark.setColor(QPalette::ButtonText, Qt::white);
  dark.setColor(QPalette::ToolTipBase, QColor(53, 53, 53));
  dark.setColor(QPalette::ToolTipText, Qt::white);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::Link, QColor(100, 170, 255));
  dark.setColor(QPalette::LinkVisited, QColor(190, 150, 255));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
  QApplication::setPalette(dark);
}

}  // namespace

int main(int argc, char** argv) {
  StartOptions options;
  std::string project;
  std::string folder;
  CLI::App cli{"Pictures of the Vyk Edit windows"};
  cli.add_option("--port", options.port, "Serial device, or \"Simulator\"");
  cli.add_option("--config", options.configDir, "Folder of the settings file vyk.ini");
  cli.add_option("--app-folder", options.appFolder, "Folder holding the meter folders");
  cli.add_option("--data", options.dataDir, "Folder of the Box's backups and history");
  cli.add_option("FOLDER", folder, "Where the pictures go")->required();
  cli.add_option("PROJECT", project, "Project file to open (.VYK)");
  bool dark = false;
  cli.add_flag("--dark", dark, "Windows in a dark palette");
  cli.allow_extras();  // Qt's own options, such as -platform
  CLI11_PARSE(cli, argc, argv);

  ScreenshotDialogs dialogs;
  options.dialogs = &dialogs;
  return RunProgram(argc, argv, options, project, [&](Program& program) {
    if (dark) UseDarkPalette();
    QTimer::singleShot(300, [&program, &dialogs, folder] {
      TakeScreenshots(program, dialogs, QString::fromStdString(folder));
      QApplication::exit(0);
    });
  });
}

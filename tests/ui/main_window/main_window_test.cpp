// The main window driven through its widgets: the typical use from a new project to closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>
#include <QXYSeries>
#include <cmath>

#include "operations/box/box_record.h"
#include "operations/box/live_readings.h"
#include "operations/box/port_choice.h"
#include "operations/project/main_controls.h"
#include "support/fakes.h"
#include "support/program_harness.h"
#include "ui/box/terminal_window.h"
#include "ui/help/help_window.h"
#include "ui/main_window/main_window.h"
#include "ui/program.h"
#include "ui/widgets/enter_key.h"

namespace vyk::test {
namespace {

using ui::MainWindow;

struct Window : ProgramHarness {
  explicit Window(int simulatorBaud = 0)
      : ProgramHarness({.simulatorBaud = simulatorBaud, .mainWindowOnly = true}) {
    Show();
  }

  // The status bar's notice; empty when none shows.
  QString Notice() {
    auto* label = form->findChild<QLabel*>("NoticeLabel");
    return label != nullptr && label->isVisible() ? label->text() : QString();
  }

  // Types `text` into the editor of a grid cell and closes it with Enter. Row 0 and column 0
  // of a grid are its headers.
  void EditCell(const char* grid, int row, int column, const QString& text) {
    auto* view = Get<QTableView>(grid);
    QModelIndex index = view->model()->index(row - 1, column - 1);
    view->setCurrentIndex(index);
    view->edit(index);
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }
};

TEST(MainWindow, StartsWithNoProject) {
  Window w;
  EXPECT_EQ(w.form->windowTitle(), "Vyk Edit (6v) , V1.2b 6/10/2003  ");
  EXPECT_TRUE(w.Get<QChartView>("Chart1")->isVisible());
  EXPECT_FALSE(w.Get<QTableView>("EEPROMGrid")->isVisible());
  for (const char* group : {"InputRGrp", "OutputRGrp"})
    EXPECT_FALSE(w.Get<QWidget>(group)->isEnabled());
  EXPECT_TRUE(w.form->findChild<QRadioButton*>()->isChecked());  // Voltage
  EXPECT_TRUE(w.Action("&New")->isEnabled());
  EXPECT_TRUE(w.Action("&Open")->isEnabled());
  for (const char* entry : {"&Save", "Save &As", "&Close", "Project ...", "&Match ...",
                            "&Update EEPROM ...", "&Retrieve EEPROM ..."})
    EXPECT_FALSE(w.Action(entry)->isEnabled()) << entry;
  EXPECT_FALSE(w.Get<QPushButton>("AbortBtn")->isVisible());
  EXPECT_EQ(w.Get<QLabel>("SIOLabel")->text(), "(not connected)");
  EXPECT_TRUE(std::filesystem::is_directory(w.tmp.Path() / "GM"));
}

TEST(MainWindow, TypicalUseOfAGmProject) {
  Window w;
  AppState& st = w.form->State();

  // New, connected to the simulated Box.
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(st.boxConnected);
  EXPECT_EQ(w.Get<QPushButton>("AbortBtn")->text(), "Monitor");
  EXPECT_EQ(w.Get<QLabel>("SIOLabel")->text(), "Idle (simulated)");
  EXPECT_TRUE(w.Get<QLabel>("SimulatedBoxLabel")->isVisible());
  EXPECT_EQ(w.Get<QLabel>("GroupLabel")->text(), "GM");
  EXPECT_TRUE(w.form->windowTitle().endsWith("(new)*"));  // in no file yet

  // A table cell in hertz, then a byte in the hex grid.
  w.EditCell("TableGrid", 2, 1, "1000");
  EXPECT_EQ(st.image.Entry(1), 76);
  EXPECT_TRUE(w.form->windowTitle().endsWith("(new)*"));
  EXPECT_EQ(st.chart.series1[1].y, 1003.0f);  // the stored count, as the cell shows it
  w.Get<QCheckBox>("ShowHexCBox")->click();
  EXPECT_TRUE(w.Get<QTableView>("EEPROMGrid")->isVisible());
  EXPECT_FALSE(w.Get<QChartView>("Chart1")->isVisible());
  w.EditCell("EEPROMGrid", 6, 1, "7f");
  EXPECT_EQ(st.image.Byte(0x50), 0x7F);

  // A pot, and the limit typed key by key (a letter is dropped).
  w.Get<QToolButton>("Pot1SpinUp")->click();
  EXPECT_EQ(w.Get<QLineEdit>("Pot1Edit")->text(), "1");
  auto* limit = w.Get<QLineEdit>("LimitEdit");
  limit->clear();
  QTest::keyClicks(limit, "12a000");
  EXPECT_EQ(limit->text(), "12000");
  EXPECT_EQ(st.image.Entry(kLimitEntry), 909);

  // Update EEPROM, after its preview and with a backup of the Box; then a Monitor reading.
  w.dialogs.answers.push_back(Answer::Yes);
  w.dialogs.previewAnswers.push_back(true);
  w.Action("&Update EEPROM ...")->trigger();
  EXPECT_TRUE(w.dialogs.Texts(FakeDialogs::Kind::Error).empty());
  EXPECT_EQ(w.dialogs.previewsShown.size(), 1u);
  EXPECT_EQ(BoxBackups(w.form->GetSession()).size(), 1u);
  EXPECT_EQ(BoxHistory(w.form->GetSession()).size(), 1u);
  EXPECT_EQ(w.form->statusBar()->currentMessage(),
            "Wrote and verified 80 bytes to the simulated Box on Simulator");
  ASSERT_NE(w.form->Simulator(), nullptr);
  for (int a = 0; a < 80; ++a)
    EXPECT_EQ(w.form->Simulator()->Eeprom()[a], st.image.Byte(a)) << a;
  w.Get<QPushButton>("AbortBtn")->click();
  EXPECT_TRUE(w.Get<QLabel>("DataInLabel")->text().startsWith("F in = "));

  // Save As, then a change and the close question.
  std::string file = w.tmp.File("bench.VYK");
  w.dialogs.fileNames.push_back(file);
  w.Action("Save &As")->trigger();
  EXPECT_EQ(ReadBytes(file).size(), 768u);
  EXPECT_TRUE(w.form->windowTitle().endsWith(QString::fromStdString(file)));
  QMenu* recent = w.Action("Open &Recent")->menu();
  emit recent->aboutToShow();
  ASSERT_FALSE(recent->actions().isEmpty());
  EXPECT_EQ(recent->actions()[0]->text(), QDir::toNativeSeparators(QString::fromStdString(file)));
  w.Get<QToolButton>("Pot2SpinUp")->click();
  EXPECT_TRUE(w.Action("&Save")->isEnabled());
  w.dialogs.answers.push_back(Answer::Cancel);
  EXPECT_FALSE(w.form->close());
  w.dialogs.answers.push_back(Answer::No);
  w.form->State().portName = R"(\\.\COM3)";  // saved as QSettings would read it back
  w.form->State().portChosen = true;
  EXPECT_TRUE(w.form->close());
  QSettings settings(w.form->SettingsPath(), QSettings::IniFormat);
  EXPECT_EQ(settings.value("System/PortName").toString(), R"(\\.\COM3)");
  EXPECT_EQ(settings.value("System/ComPort").toInt(), 2);
  EXPECT_EQ(settings.value("User/EEStart").toString(), "0000");
}

// File > Compare With reads the Box (or a file) without changing the project and shows both
// curves and what differs; File > Export Report saves the page beside the project.
TEST(MainWindow, CompareWithTheBoxOrAFileAndExportAReport) {
  Window w;
  AppState& st = w.form->State();
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  ASSERT_NE(w.form->Simulator(), nullptr);
  auto& box = w.form->Simulator()->Eeprom();
  for (int a = 0; a < kBoxBytes; ++a)
    box[a] = st.image.Byte(a);
  box[7] = 0x55;  // entry 3: 0x0060 in the project
  box[kFirstPotByte] = 5;
  const EepromImage before = st.image;

  auto compared = [&](const QString& entry) {
    w.Action(entry)->trigger();
    QApplication::processEvents();
    auto* window = w.form->findChild<QDialog*>("CompareWindow");
    std::vector<std::vector<QString>> rows;
    if (window == nullptr) return rows;
    auto* grid = window->findChild<QTableWidget*>("DifferenceGrid");
    for (int r = 0; r < grid->rowCount(); ++r)
      rows.push_back(
          {grid->item(r, 0)->text(), grid->item(r, 1)->text(), grid->item(r, 2)->text()});
    const auto series = window->findChild<QChartView*>("CompareChart")->chart()->series();
    EXPECT_EQ(series.size(), 2);
    for (auto* s : series)
      EXPECT_EQ(static_cast<QLineSeries*>(s)->count(), 32);
    EXPECT_EQ(series.value(1)->name(), entry == "The &Box ..." ? "The Box" : "bench.VYK");
    delete window;
    return rows;
  };
  using Rows = std::vector<std::vector<QString>>;
  EXPECT_EQ(compared("The &Box ..."),
            (Rows{{"Entry 3", "1267 Hz (96)", "1122 Hz (85)"}, {"Pot 1", "0", "5"}}));
  EXPECT_EQ(st.image, before);
  EXPECT_TRUE(st.projectModified);  // as New left it: in no file yet
  EXPECT_TRUE(w.dialogs.Texts(FakeDialogs::Kind::Error).empty());

  const std::string file = w.tmp.File("bench.VYK");
  w.dialogs.fileNames.push_back(file);
  w.Action("Save &As")->trigger();
  w.Get<QToolButton>("Pot2SpinUp")->click();
  w.dialogs.fileNames.push_back(file);
  EXPECT_EQ(compared("&Project File ..."), (Rows{{"Pot 2", "1", "0"}}));

  w.dialogs.fileNames.push_back(w.tmp.File("bench.pdf"));
  w.Action("Export &Report ...")->trigger();
  EXPECT_EQ(w.dialogs.fileRequests.back().initialName, "bench.pdf");
  EXPECT_EQ(ReadBytes(w.tmp.File("bench.pdf")).substr(0, 5), "%PDF-");
  EXPECT_TRUE(w.dialogs.Texts(FakeDialogs::Kind::Error).empty());
}

// While a transfer runs only Abort, Help and Exit act: nothing may change the project under it
// or take the Abort button away.
TEST(MainWindow, ATransferLocksTheWindowButAbortAnswers) {
  Window w(9600);  // a paced simulated Box: the update takes seconds
  // Straight to the write, which the abort is to stop part-way.
  w.form->State().backupBeforeUpdate = w.form->State().previewBeforeUpdate = false;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  auto* button = w.Get<QPushButton>("AbortBtn");
  std::vector<std::string> enabled;
  QString caption;
  QString busyNotice;
  QString progress;
  auto* bar = w.Get<QProgressBar>("ProgressBar");
  // Once the first byte is written and verified, and whatever the machine's load.
  const auto duringTheWrite = [&](const std::function<void()>& check) {
    QObject::connect(bar, &QProgressBar::valueChanged, [&, check, started = false]() mutable {
      if (!bar->isVisible()) return;
      progress = bar->text();
      if (!std::exchange(started, true)) QTimer::singleShot(0, check);
    });
  };
  duringTheWrite([&] {
    for (const char* entry :
         {"&New", "&Open", "Save &As", "&Close", "Project ...", "&Match ...", "M&eter ...",
          "&Options ...", "&Update EEPROM ...", "&Retrieve EEPROM ...", "&Terminal ...",
          "&About ...", "&Contents ...", "E&xit"})
      if (w.Action(entry)->isEnabled()) enabled.push_back(entry);
    for (const char* name :
         {"Pot1SpinUp", "LimitEdit", "TableGrid", "EEPROMGrid", "InvertCBox", "InputRGrp"})
      if (w.Get<QWidget>(name)->isEnabled()) enabled.push_back(name);
    busyNotice = w.Notice();
    w.Action("&Open")->trigger();  // no file dialog may show
    w.Get<QToolButton>("Pot1SpinUp")->click();
    caption = button->text();
    button->click();
  });
  QElapsedTimer clock;
  clock.start();
  w.dialogs.answers.push_back(Answer::Yes);
  w.Action("&Update EEPROM ...")->trigger();
  EXPECT_EQ(enabled, (std::vector<std::string>{"&Contents ...", "E&xit"}));
  EXPECT_EQ(caption, "Abort");
  EXPECT_TRUE(progress.startsWith("Writing ")) << progress.toStdString();
  EXPECT_TRUE(bar->isHidden());
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_EQ(w.form->State().image.Byte(kFirstPotByte), 0);
  // No box after an Abort: the status bar tells the partial image.
  EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Error), std::vector<std::string>{});
  EXPECT_FALSE(busyNotice.isEmpty());
  EXPECT_TRUE(w.Notice().startsWith("The Box holds a partial image")) << w.Notice().toStdString();
  EXPECT_EQ(button->text(), "Monitor");
  EXPECT_TRUE(w.Action("&Open")->isEnabled());
}

// Exit during a transfer aborts it and then closes; the program's other windows and the port
// close with the main window.
TEST(MainWindow, ExitAbortsTheTransferAndClosesEveryWindow) {
  ProgramHarness harness;
  ui::Program& program = *harness.program;
  FakeDialogs& dialogs = harness.dialogs;
  MainWindow& form = harness.Main();
  form.show();
  program.Help().ShowContents();
  program.Terminal().show();
  QApplication::processEvents();
  dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
  FileNewClick(form.GetSession());
  bool closedAtOnce = true;
  QTimer::singleShot(100, [&] { closedAtOnce = form.close(); });
  dialogs.answers = {Answer::Yes, Answer::No};  // update; then no save
  QElapsedTimer clock;
  clock.start();
  for (QAction* a : form.findChildren<QAction*>())
    if (a->text() == "&Update EEPROM ...") a->trigger();
  EXPECT_FALSE(closedAtOnce);
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(program.Help().isVisible());
  EXPECT_FALSE(program.Terminal().isVisible());
  EXPECT_FALSE(form.Link().IsOpen());
}

// Closing while the Box answers "Q" or "M" ends that exchange and then the program, with no
// error box: at start-up (the project is identified before the event loop runs), at Connect
// and at Monitor.
TEST(MainWindow, ClosingDuringAnIdentificationOrReadingEndsItQuietly) {
  for (const std::string during : {"start-up", "Connect", "Monitor"}) {
    Window w;
    const std::string file = w.tmp.File("bench.VYK");
    w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
    w.Action("&New")->trigger();
    w.dialogs.fileNames.push_back(file);
    w.Action("Save &As")->trigger();
    if (during == "start-up") w.Action("&Close")->trigger();
    w.form->State().boxConnected = during == "Monitor";
    RefreshWindow(w.form->GetSession());
    w.form->Simulator()->Config().baud = 600;  // "Q" answers from 150 ms to 400 ms
    QTimer::singleShot(200, [&] { w.form->close(); });
    if (during == "start-up") {
      EXPECT_FALSE(w.form->OpenAtStart(file));
    } else {
      w.Get<QPushButton>("AbortBtn")->click();
    }
    EXPECT_FALSE(w.form->isVisible()) << during;
    EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Error), std::vector<std::string>{}) << during;
  }
}

// The chart names the curves it shows and ticks its axes at round numbers just past the data.
// A GM reading in hertz goes when a Ford project is created, so the new table in volts is not
// drawn as a flat line under the old curve's scale.
// A desktop that turns dark while the program runs darkens the chart too, and back.
TEST(MainWindow, TheChartFollowsTheDesktopsPalette) {
  Window w;
  QChart* chart = w.Get<QChartView>("Chart1")->chart();
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor(45, 45, 45));
  QApplication::setPalette(dark);
  QApplication::processEvents();
  EXPECT_EQ(chart->theme(), QChart::ChartThemeDark);
  QApplication::setPalette(light);
  QApplication::processEvents();
  EXPECT_EQ(chart->theme(), QChart::ChartThemeLight);
}

TEST(MainWindow, ChartHasRoundTicksAndALegendAndDropsAnOldReading) {
  Window w;
  QChart* chart = w.Get<QChartView>("Chart1")->chart();
  struct Step {
    uint8_t group;
    bool monitor;
    QStringList legend;
  } steps[] = {
      {kGM, true, {"F Out", "Adjusted"}},
      {kFord, false, {"V Out"}},
      {kFord, true, {"V Out", "Adjusted"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(GroupName(step.group));
    if (&step != steps) w.dialogs.answers.push_back(Answer::No);  // drop the last new project
    w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, step.group, false});
    w.Action("&New")->trigger();
    if (step.monitor) w.Get<QPushButton>("AbortBtn")->click();
    QApplication::processEvents();
    QStringList legend;
    for (QLegendMarker* marker : chart->legend()->markers())
      if (marker->isVisible()) legend << marker->label();
    EXPECT_TRUE(chart->legend()->isVisible());
    EXPECT_EQ(legend.join('|').toStdString(), step.legend.join('|').toStdString());

    QPointF dataMax;
    for (QAbstractSeries* series : chart->series()) {
      for (const QPointF& p : static_cast<QXYSeries*>(series)->points()) {
        dataMax.setX(std::max(dataMax.x(), p.x()));
        dataMax.setY(std::max(dataMax.y(), p.y()));
      }
    }
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
      auto* axis = qobject_cast<QValueAxis*>(chart->axes(o).value(0));
      ASSERT_NE(axis, nullptr);
      const double step = axis->tickInterval();
      const double data = o == Qt::Horizontal ? dataMax.x() : dataMax.y();
      const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
      SCOPED_TRACE(::testing::Message() << "step " << step << " up to " << axis->max());
      EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
      EXPECT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
                  std::abs(mantissa - 5) < 1e-6);
      EXPECT_EQ(axis->min(), 0);
      EXPECT_NEAR(axis->max() / step, std::round(axis->max() / step), 1e-6);
      EXPECT_GE(axis->max(), data);
      EXPECT_LT(axis->max() - step, data);
      EXPECT_LE(axis->max() / step, 10);
      EXPECT_EQ(axis->labelFormat(), step >= 1 ? "%.0f" : step >= 0.1 ? "%.1f" : "%.2f");
    }
  }
}

// The table keeps its width and takes the window's height; the chart takes the rest, beside
// the table and under the meter labels.
TEST(MainWindow, ResizeGivesTheRoomToTheTableAndTheChart) {
  Window w;
  auto* chart = w.Get<QChartView>("Chart1");
  auto* table = w.Get<QTableView>("TableGrid");
  w.form->resize(800, 600);
  QApplication::processEvents();
  const QSize tableBefore = table->size();
  const QSize chartBefore = chart->size();
  w.form->resize(900, 750);
  QApplication::processEvents();
  EXPECT_EQ(table->size(), tableBefore + QSize(0, 150));
  EXPECT_EQ(chart->size(), chartBefore + QSize(100, 150));
  EXPECT_GE(chart->x(), table->geometry().right() + 8);
  EXPECT_GE(chart->y(), w.Get<QLabel>("VOutLabel")->geometry().bottom() + 8);
}

// Row 0 and column 0 of both grids are the views' headers: they stay in sight when the grid
// scrolls to its last row and column.
TEST(MainWindow, GridHeadersStayWhenTheGridScrolls) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  w.Get<QCheckBox>("ShowHexCBox")->click();
  struct Case {
    const char* grid;
    QString corner, lastColumn, lastRow, lastCell;
  };
  for (const Case& c : {Case{"TableGrid", "F in", "F Out", " 13500", " 13500 "},
                        Case{"EEPROMGrid", "", " F ", " F0 ", " FF "}}) {
    SCOPED_TRACE(c.grid);
    auto* view = w.Get<QTableView>(c.grid);
    view->setMaximumSize(120, 120);  // the window's layout would widen it again
    view->scrollToBottom();
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    QAbstractItemModel* model = view->model();
    const int lastRow = model->rowCount() - 1;
    const int lastColumn = model->columnCount() - 1;
    EXPECT_TRUE(view->horizontalHeader()->isVisible());
    EXPECT_TRUE(view->verticalHeader()->isVisible());
    EXPECT_EQ(view->horizontalHeader()->visualIndexAt(view->horizontalHeader()->width() - 4),
              lastColumn);
    EXPECT_EQ(view->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)->text(),
              c.corner);
    EXPECT_EQ(model->headerData(lastColumn, Qt::Horizontal).toString(), c.lastColumn);
    EXPECT_EQ(model->headerData(lastRow, Qt::Vertical).toString(), c.lastRow);
    EXPECT_EQ(model->index(lastRow, lastColumn).data().toString(), c.lastCell);
  }
}

// Tab goes through the panel from left to right, each block from top to bottom, then to the
// table and the chart: the limit box is a few Tabs away, not a dozen.
TEST(MainWindow, TabFollowsTheReadingOrder) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  w.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.form));
  w.Get<QPushButton>("HelpBtn")->setFocus();
  std::vector<QString> order;
  for (int i = 0; i < 14; ++i) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    // A radio button by its group's name.
    order.push_back(focus->objectName().isEmpty() ? focus->parentWidget()->objectName()
                                                  : focus->objectName());
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(order, (std::vector<QString>{"HelpBtn", "InputRGrp", "Pot1Edit", "Pot2Edit", "Pot3Edit",
                                         "Pot4Edit", "LimitEdit", "InvertCBox", "ShowHexCBox",
                                         "AbortBtn", "LiveBtn", "TableGrid", "Chart1", "HelpBtn"}));
}

// The menus name their keys; every key does what its entry or control does; Enter stores a
// table cell and moves down, and presses the focused button.
TEST(MainWindow, KeysActAndTheMenusNameThem) {
  Window w;
  ui::InstallEnterKey();
  w.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.form));
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  int matches = 0, meters = 0, helps = 0;
  w.form->Windows().editMatch = [&] { ++matches; };
  w.form->Windows().editMeter = [&] { ++meters; };
  w.form->Windows().helpContents = [&] { ++helps; };

  const struct {
    const char* entry;  // nothing: the key of a control
    QKeySequence key;
    std::function<bool()> acted;
  } keys[] = {
      {nullptr, QKeySequence(Qt::Key_F5),
       [&] { return w.Get<QLabel>("DataInLabel")->text().startsWith("F in = "); }},
      {nullptr, QKeySequence(Qt::CTRL | Qt::Key_H),
       [&] { return w.Get<QTableView>("EEPROMGrid")->isVisible(); }},
      {"&Update EEPROM ...", QKeySequence(Qt::Key_F6),
       [&] {
         return w.dialogs.Texts(FakeDialogs::Kind::Question)
             .back()
             .starts_with("Ok to update EEPROM data?");
       }},
      {"&Retrieve EEPROM ...", QKeySequence(Qt::Key_F7),
       [&] {
         return w.dialogs.Texts(FakeDialogs::Kind::Question).back() == "Ok to retrive EEPROM data?";
       }},
      {"&Match ...", QKeySequence(Qt::CTRL | Qt::Key_M), [&] { return matches == 1; }},
      {"M&eter ...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), [&] { return meters == 1; }},
  };
  for (const auto& k : keys) {
    SCOPED_TRACE(k.key.toString().toStdString());
    if (k.entry != nullptr) {
      EXPECT_EQ(w.Action(k.entry)->shortcut(), k.key);
    }
    w.dialogs.answers.push_back(Answer::No);  // the Box transfers ask first
    QTest::keySequence(w.form, k.key);
    EXPECT_TRUE(k.acted());
    w.dialogs.answers.clear();
  }
  EXPECT_TRUE(w.Get<QPushButton>("AbortBtn")->toolTip().contains("F5"));
  // F8 starts the live view, which is stopped here after a moment.
  EXPECT_EQ(w.Action("&Live")->shortcut(), QKeySequence(Qt::Key_F8));
  QTimer::singleShot(300, [&] { StopLive(w.form->State()); });
  QTest::keySequence(w.form, QKeySequence(Qt::Key_F8));
  EXPECT_TRUE(w.Get<QWidget>("LivePanel")->isVisible());

  // Enter stores the cell and moves down, also when no cell is being edited.
  auto* table = w.Get<QTableView>("TableGrid");
  w.EditCell("TableGrid", 2, 1, "1000");
  EXPECT_EQ(w.form->State().image.Entry(1), 76);
  EXPECT_EQ(table->currentIndex(), table->model()->index(2, 0));
  QTest::keyClick(table, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(table->currentIndex(), table->model()->index(3, 0));

  // Enter presses a focused push button or tool button, as Space does.
  auto* help = w.Get<QPushButton>("HelpBtn");
  help->setFocus();
  QTest::keyClick(help, Qt::Key_Return);
  EXPECT_EQ(helps, 1);
  auto* potUp = w.Get<QToolButton>("Pot3SpinUp");
  potUp->setFocus();
  QTest::keyClick(potUp, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(w.Get<QLineEdit>("Pot3Edit")->text(), "1");
}

// Undo and Redo by key and menu, each naming its change; copy and paste in the table grid; the
// limit box's keys undone as the project's; Range Edit on the selected rows.
TEST(MainWindow, UndoCopyPasteAndRangeEditByKeysAndMenus) {
  Window w;
  w.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.form));
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
  w.Action("&New")->trigger();
  AppState& st = w.form->State();
  auto* table = w.Get<QTableView>("TableGrid");
  EXPECT_FALSE(w.Action("&Undo")->isEnabled());
  EXPECT_EQ(w.Action("Ran&ge Edit ...")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

  w.EditCell("TableGrid", 2, 1, "2.5");
  ASSERT_EQ(st.image.Entry(1), 512);
  EXPECT_TRUE(w.Action("&Undo Table Entry 1")->isEnabled());
  const struct {
    QKeySequence key;
    int entry;
    const char* undo;  // the Undo entry's text afterwards
  } keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Z), 38, "&Undo"},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 512, "&Undo Table Entry 1"},
      {QKeySequence(Qt::CTRL | Qt::Key_Z), 38, "&Undo"},
      {QKeySequence(Qt::CTRL | Qt::Key_Y), 512, "&Undo Table Entry 1"},
  };
  for (const auto& k : keys) {
    QTest::keySequence(table, k.key);
    EXPECT_EQ(st.image.Entry(1), k.entry) << k.key.toString().toStdString();
    EXPECT_TRUE(st.projectModified);  // a project never saved has always something to save
    EXPECT_EQ(w.Action(k.undo)->isEnabled(), k.entry == 512);
  }

  // Ctrl+C copies the selected cells' texts; Ctrl+V pastes from the first selected row.
  table->setFocus();
  table->selectionModel()->select(
      QItemSelection(table->model()->index(1, 0), table->model()->index(3, 0)),
      QItemSelectionModel::ClearAndSelect);
  QTest::keySequence(table, QKeySequence::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "2.500\n0.376\n0.562\n");
  QGuiApplication::clipboard()->setText("1\r\n2\r\n");
  table->setCurrentIndex(table->model()->index(9, 0));
  QTest::keySequence(table, QKeySequence::Paste);
  EXPECT_EQ(st.image.Entry(9), 205);
  EXPECT_EQ(st.image.Entry(10), 410);
  EXPECT_TRUE(w.Action("&Undo Paste")->isEnabled());

  // The keys typed into the limit box are one change, undone by the project's Undo.
  auto* limit = w.Get<QLineEdit>("LimitEdit");
  limit->setFocus();
  limit->selectAll();
  QTest::keyClicks(limit, "2.5");
  ASSERT_EQ(st.image.Entry(kLimitEntry), 512);
  QTest::keySequence(limit, QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(st.image.Entry(kLimitEntry), 0x3FF);
  EXPECT_EQ(limit->text(), "4.995");
  EXPECT_TRUE(w.Action("&Undo Paste")->isEnabled());

  // Range Edit sets the selected rows and says how many it clamped.
  table->setFocus();
  table->selectionModel()->select(
      QItemSelection(table->model()->index(0, 0), table->model()->index(4, 0)),
      QItemSelectionModel::ClearAndSelect);
  QString result;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QRadioButton*>("SetRBtn")->click();
    dialog->findChild<QLineEdit*>("ValueEdit")->setText("6");
    dialog->findChild<QPushButton*>("ApplyBtn")->click();
    result = dialog->findChild<QLabel*>("ResultLabel")->text();
    dialog->close();
  });
  QTest::keySequence(w.form, QKeySequence(Qt::CTRL | Qt::Key_R));
  EXPECT_EQ(result, "Set: entries 0..4 (5 rows); 5 cells were clamped to 0.000 .. 4.995 V.");
  for (int k = 0; k <= 4; ++k)
    EXPECT_EQ(st.image.Entry(k), 1023) << k;
  EXPECT_TRUE(w.Action("&Undo Set")->isEnabled());
}

// The pot boxes only show the pots: typing is refused and the arrow keys step them. A paste
// into the limit box keeps only what typing could put there.
TEST(MainWindow, PotBoxesOnlyShowAndTheLimitBoxFiltersPastes) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  AppState& st = w.form->State();
  auto* pot = w.Get<QLineEdit>("Pot2Edit");
  EXPECT_TRUE(pot->isReadOnly());
  QTest::keyClicks(pot, "50");
  QTest::keyClick(pot, Qt::Key_Up);
  QTest::keyClick(pot, Qt::Key_Up);
  QTest::keyClick(pot, Qt::Key_Down);
  EXPECT_EQ(pot->text(), "1");
  EXPECT_EQ(st.image.Byte(kFirstPotByte + 1), 1);

  auto* limit = w.Get<QLineEdit>("LimitEdit");
  EXPECT_EQ(limit->text(), "13500");
  const struct {
    const char* clipboard;
    bool selectAll;  // else at the end
    QString after;
    int stored;
  } pastes[] = {{"5", false, "135005", 1023},
                {"abc", true, "135005", 1023},  // not 0
                {"", true, "135005", 1023},
                {"x12y000 ", true, "12000", 909}};
  for (const auto& p : pastes) {
    SCOPED_TRACE(p.clipboard);
    QGuiApplication::clipboard()->setText(p.clipboard);
    limit->setFocus();
    if (p.selectAll) {
      limit->selectAll();
    } else {
      limit->end(false);
    }
    QTest::keySequence(limit, QKeySequence::Paste);
    EXPECT_EQ(limit->text(), p.after);
    EXPECT_EQ(st.image.Entry(kLimitEntry), p.stored);
  }
  limit->selectAll();
  QGuiApplication::clipboard()->setText("letters");
  limit->paste();  // as the context menu does
  EXPECT_EQ(limit->text(), "12000");
}

// New, Open and Close ask before unsaved changes go; the title marks them.
TEST(MainWindow, UnsavedChangesAreMarkedAndAskedAbout) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
  w.Action("&New")->trigger();
  const std::string file = w.tmp.File("bench");
  w.dialogs.fileNames.push_back(file);
  w.Action("Save &As")->trigger();
  const QString title = w.form->windowTitle();
  EXPECT_TRUE(title.endsWith(QString::fromStdString(file)));
  w.Get<QToolButton>("Pot1SpinUp")->click();
  EXPECT_EQ(w.form->windowTitle(), title + "*");

  w.dialogs.messages.clear();
  w.dialogs.answers.push_back(Answer::Cancel);
  w.Action("&Close")->trigger();
  EXPECT_EQ(w.form->windowTitle(), title + "*");
  w.dialogs.answers.push_back(Answer::Yes);
  w.Action("&Close")->trigger();
  EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Question),
            (std::vector<std::string>{"Save E2P file first ?", "Save E2P file first ?"}));
  EXPECT_EQ(w.form->windowTitle(), "Vyk Edit (6v) , V1.2b 6/10/2003  ");
  EXPECT_EQ(static_cast<uint8_t>(ReadBytes(file)[512 + kFirstPotByte]), 1);  // saved first
}

// The Box was identified for the project's old group: after a group change the window says
// so, and an Update stops at the Box's identification, before its first write.
TEST(MainWindow, AGroupChangeBeforeAnUpdateIsRefusedBeforeAnyWrite) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  ASSERT_EQ(w.Get<QPushButton>("AbortBtn")->text(), "Monitor");
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
  w.Action("Project ...")->trigger();
  EXPECT_EQ(w.Get<QPushButton>("AbortBtn")->text(), "Connect");

  ASSERT_NE(w.form->Simulator(), nullptr);
  const auto held = w.form->Simulator()->Eeprom();  // unlike the project's, all FF
  w.dialogs.messages.clear();
  w.dialogs.answers.push_back(Answer::Yes);
  QTest::keyClick(w.form, Qt::Key_F6);
  EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Error),
            std::vector<std::string>{"Ford version hardware not found"});
  EXPECT_TRUE(w.form->Simulator()->Eeprom() == held);
}

// A new project is in no file, so Close asks; after it nothing of the project shows or
// changes, and Exit has nothing to save.
TEST(MainWindow, AfterCloseNothingOfTheProjectShowsOrChanges) {
  Window w;
  AppState& st = w.form->State();
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
  w.Action("&New")->trigger();
  w.Get<QPushButton>("AbortBtn")->click();  // a reading
  ASSERT_FALSE(st.chart.series2.empty());
  w.dialogs.answers.push_back(Answer::No);
  w.Action("&Close")->trigger();
  EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Question),
            std::vector<std::string>{"Save E2P file first ?"});

  for (const char* name : {"InputRGrp", "OutputRGrp", "InvertCBox", "Pot1SpinUp", "LimitEdit",
                           "ShowHexCBox", "TableGrid", "EEPROMGrid", "Chart1"})
    EXPECT_FALSE(w.Get<QWidget>(name)->isEnabled()) << name;
  for (const QString& shown :
       {w.Get<QTableView>("TableGrid")->model()->index(3, 0).data().toString(),
        w.Get<QTableView>("EEPROMGrid")->model()->index(3, 0).data().toString(),
        w.Get<QLabel>("DataInLabel")->text(), w.Get<QLineEdit>("LimitEdit")->text()})
    EXPECT_EQ(shown, "");
  EXPECT_TRUE(st.chart.series1.empty() && st.chart.series2.empty());

  // What still reaches the handlers changes nothing.
  SetInvertLimit(w.form->GetSession(), true);
  SetInputRGrp(w.form->GetSession(), kFrequency);
  AdjustPot(w.form->GetSession(), 1, +1);
  EXPECT_FALSE(st.projectModified);
  w.dialogs.messages.clear();
  EXPECT_TRUE(w.form->close());
  EXPECT_TRUE(w.dialogs.Texts(FakeDialogs::Kind::Question).empty());
}

// A project file that another program wrote meanwhile is saved over only when the user says so.
TEST(MainWindow, SavingOverAFileChangedOnDiskAsks) {
  Window w;
  w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
  w.Action("&New")->trigger();
  const std::string file = w.tmp.File("bench.VYK");
  w.dialogs.fileNames.push_back(file);
  w.Action("Save &As")->trigger();
  w.Get<QToolButton>("Pot1SpinUp")->click();
  const std::string theirs = ReadBytes(file).replace(600, 1, "x");
  WriteBytes(file, theirs);

  w.dialogs.messages.clear();
  w.dialogs.answers.push_back(Answer::No);
  w.Action("&Save")->trigger();
  EXPECT_EQ(w.dialogs.Texts(FakeDialogs::Kind::Question),
            std::vector<std::string>{file + " has been changed on disk since it was read or last "
                                            "saved. Overwrite it and lose those changes?"});
  EXPECT_TRUE(ReadBytes(file) == theirs);
  EXPECT_TRUE(w.form->windowTitle().endsWith("*"));  // still unsaved
  w.dialogs.answers.push_back(Answer::Yes);
  w.Action("&Save")->trigger();
  EXPECT_EQ(static_cast<uint8_t>(ReadBytes(file)[512 + kFirstPotByte]), 1);
  EXPECT_FALSE(w.form->windowTitle().endsWith("*"));
}

// A first start with no port setting and no adapter opens without a Box and says why, without
// an error box; Box > Options then moves the link at once and the settings keep the choice.
TEST(MainWindow, FirstStartWithoutAPortSaysWhichIsMissing) {
  ProgramHarness harness({.port = "", .mainWindowOnly = true});
  FakeDialogs& dialogs = harness.dialogs;
  MainWindow& form = harness.Main();
  form.GetSession().listPorts = [] { return std::vector<SerialDevice>(); };
  harness.Show();
  EXPECT_TRUE(dialogs.messages.empty());
  auto* notice = form.findChild<QLabel*>("NoticeLabel");
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text().toStdString(), "No Box port: COM 2 (" + PortNameFor(2) +
                                              ") is not present. Choose the Box's port in Box > "
                                              "Options.");
  EXPECT_EQ(form.PortInUse(), "");

  dialogs.portChoices.push_back(4);  // COM 1..4, then the simulated Box
  for (QAction* a : form.findChildren<QAction*>()) {
    if (a->text() == "&Options ...") a->trigger();
  }
  EXPECT_EQ(dialogs.portSetupsShown.at(0).items.at(4), "Simulator");
  EXPECT_EQ(dialogs.portSetupsShown.at(0).selected, -1);
  EXPECT_EQ(form.PortInUse(), "Simulator");
  EXPECT_NE(form.Simulator(), nullptr);
  EXPECT_FALSE(notice->isVisible());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(form.close());
  QSettings settings(form.SettingsPath(), QSettings::IniFormat);
  EXPECT_EQ(settings.value("System/PortName").toString(), "Simulator");
}

}  // namespace
}  // namespace vyk::test

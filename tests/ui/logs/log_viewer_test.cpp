// File > Open Log: the log viewer, its cursor on the main chart, and the hit map in the table.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QFile>
#include <QSlider>
#include <QTableView>
#include <QTableWidget>

#include "logs/live_log.h"
#include "model/groups.h"
#include "operations/project/main_controls.h"
#include "support/program_harness.h"
#include "ui/logs/log_viewer.h"
#include "ui/main_window/chart_panel.h"

namespace vyk::test {
namespace {

struct Viewer : ProgramHarness {
  Viewer() : ProgramHarness({.simulatorBaud = 0, .mainWindowOnly = true}) {
    Show();
    dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kGM, false});
    Action("&New")->trigger();
  }

  // A log of readings {seconds, input count, output count}, written as a Ford Box in hertz
  // would: another group and other units than the project's.
  std::string WriteLog(const std::string& name, const std::vector<std::array<double, 3>>& rows) {
    const std::string path = tmp.File(name);
    LogWriter log(path, {true, true, ConversionSettings::ForGroup(kFord)});
    for (const auto& [seconds, input, output] : rows)
      log.Append({seconds, static_cast<int>(input), {}, static_cast<int>(output)});
    return path;
  }

  void Open(const std::string& path) {
    dialogs.fileNames.push_back(path);
    Action("Open &Log ...")->trigger();
    QApplication::processEvents();
  }

  QString Tip(int entry) {
    return Get<QTableView>("TableGrid")->model()->index(entry, 0).data(Qt::ToolTipRole).toString();
  }

  std::optional<ChartPoint> Now() {
    return static_cast<ui::ChartPanel*>(Get<QChartView>("Chart1"))->OperatingPoint();
  }
};

// Entry 16 for three seconds, then entry 4 for one.
const std::vector<std::array<double, 3>> kDrive = {
    {0, 512, 400}, {1, 512, 400}, {2, 512, 400}, {3, 128, 100}};

TEST(LogViewer, OpensALogOrSaysWhyNot) {
  const struct {
    const char* name;
    int keptLines;  // of kDrive as written, the rest of the next line cut; -1: another file
    int readings;   // -1: no viewer
    const char* warning;
  } cases[] = {
      {"drive.csv", 6, 4, nullptr},
      {"cut.csv", 4, 2, "cut.csv: Line 5 is cut short. The 2 readings before it are shown."},
      {"notes.csv", -1, -1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Viewer v;
    const std::string path = v.WriteLog(c.name, kDrive);
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray text = f.readAll();
    if (c.keptLines < 0) text = "shopping list\r\n";
    for (int line = 0, at = 0; line < c.keptLines && at >= 0; ++line) {
      at = text.indexOf("\r\n", at) + 2;
      if (line + 1 == c.keptLines && at < text.size()) text.truncate(at + 3);
    }
    f.resize(0);
    f.write(text);
    f.close();
    v.Open(path);
    const auto warnings = v.dialogs.Texts(FakeDialogs::Kind::Warning);
    const auto errors = v.dialogs.Texts(FakeDialogs::Kind::Error);
    ui::LogViewer* viewer = v.Main().Viewer();
    if (c.readings < 0) {
      EXPECT_EQ(viewer, nullptr);
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_EQ(errors[0], path + " is not a Vyk Edit live log");
      EXPECT_EQ(v.Tip(16), "");
      continue;
    }
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QString("Log - ") + c.name);
    EXPECT_EQ(viewer->findChild<QSlider*>("LogCursor")->maximum(), c.readings - 1);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(warnings,
              c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
    EXPECT_EQ(v.dialogs.fileRequests.back().filter, "Live logs (*.csv)|*.csv|All files (*)|*");
  }
}

TEST(LogViewer, HitMapColoursTheTableAndTheCursorMarksTheChart) {
  Viewer v;
  v.Open(v.WriteLog("drive.csv", kDrive));
  ui::LogViewer* viewer = v.Main().Viewer();
  ASSERT_NE(viewer, nullptr);

  auto* hits = viewer->findChild<QTableWidget*>("HitTable");
  ASSERT_EQ(hits->rowCount(), 2);
  // The inputs in the GM project's hertz, not the Ford log's.
  EXPECT_EQ(hits->horizontalHeaderItem(1)->text(), "F In");
  const char* rows[2][4] = {{"4", "1689.1", "1.0", "25.0"}, {"16", "6756.6", "3.0", "75.0"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(hits->item(r, c)->text(), rows[r][c]) << r << "," << c;
  EXPECT_EQ(v.Tip(16), "Entry 16: 75.0 % of the log's time (3.0 s)");
  EXPECT_EQ(v.Tip(5), "Entry 5: 0.0 % of the log's time (0.0 s)");

  // The cursor on the last reading: it on the chart in the project's units, the two readings
  // of the three seconds before it in its trail.
  viewer->findChild<QSlider*>("LogCursor")->setValue(3);
  const ChartPoint p = OperatingPoint(v.Main().State(), 128, 100);
  ASSERT_TRUE(v.Now());
  EXPECT_EQ(v.Now()->x, p.x);
  EXPECT_EQ(v.Now()->y, p.y);

  viewer->close();
  EXPECT_EQ(v.Main().Viewer(), nullptr);
  EXPECT_EQ(v.Tip(16), "");
  EXPECT_FALSE(v.Now());
}

}  // namespace
}  // namespace vyk::test

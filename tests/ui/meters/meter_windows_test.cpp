// The meter editor and the meter match dialog driven through their widgets: typing a meter into
// the grid, the units switch, the file buttons, and a match copied into a GM project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "support/fakes.h"
#include "support/test_meters.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;
using ui::MatchWindow;
using ui::MeterEditor;

struct Editor {
  TempFolder tmp;
  AppState state;
  FakeDialogs dialogs;
  std::unique_ptr<MeterEditor> window;

  Editor() {
    state.appFolder = state.meterFolder = tmp.Path().string() + kPathSeparator;
    window = std::make_unique<MeterEditor>(dialogs, state);
    Show();
  }
  void Show() {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  template <typename W>
  W* Get(const char* name) {
    auto* widget = window->findChild<W*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QTableView* Grid() { return Get<QTableView>("StringGrid"); }
  QLineEdit* CellEditor() {
    return qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
  }
  void Click(const char* name) { QTest::mouseClick(Get<QAbstractButton>(name), Qt::LeftButton); }
  void Type(const QString& text) { QTest::keyClicks(CellEditor(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(CellEditor(), key, modifiers);
  }
  void Erase() {
    Key(Qt::Key_End);
    for (int n = static_cast<int>(CellEditor()->text().size()); n > 0; --n)
      Key(Qt::Key_Backspace);
  }
  // Types each point's signal and flow, leaving each cell with Tab.
  void TypePoints(std::initializer_list<std::pair<const char*, const char*>> points) {
    for (const auto& [signal, flow] : points) {
      Type(signal);
      Key(Qt::Key_Tab);
      Type(flow);
      Key(Qt::Key_Tab);
    }
  }

  // Every row the grid shows, entry row included, as "signal|flow".
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    QAbstractItemModel* model = Grid()->model();
    for (int r = 0; r < model->rowCount(); ++r)
      rows.push_back(
          (model->index(r, 0).data().toString() + "|" + model->index(r, 1).data().toString())
              .toStdString());
    return rows;
  }
  // The current cell as grid row (1 = first point) and column.
  std::pair<int, int> Current() {
    return {Grid()->currentIndex().row() + 1, Grid()->currentIndex().column()};
  }
  int ChartPoints() {
    auto* series = qobject_cast<QLineSeries*>(Get<QChartView>("MeterChart")->chart()->series()[0]);
    return series->count();
  }
};

using Rows = std::vector<std::string>;

TEST(MeterEditorWindow, TypedPointsAreFilteredValidatedAndSorted) {
  Editor e;
  EXPECT_EQ(e.window->windowTitle(), "Mass Air Meter Editor");
  EXPECT_EQ(e.Get<QGroupBox>("DataTableGroupBox")->title(), "Data Table (kg/hr)");
  e.Grid()->setFocus();
  e.TypePoints({{"3", "30"}, {"1", "10"}});
  e.Type("2");
  e.Key(Qt::Key_Tab);
  e.Type("2x-0");  // only digits and "." get in
  EXPECT_EQ(e.CellEditor()->text(), "20");
  // Leaving the flow for the signal of the same row sorts the rows; the selection follows.
  e.Key(Qt::Key_Backtab);
  EXPECT_EQ(e.Rows(), (Rows{"1.00|10.00", "2.00|20.00", "3.00|30.00", "|"}));
  EXPECT_EQ(e.Current(), std::make_pair(2, 0));
  EXPECT_EQ(e.ChartPoints(), 3);
  // The arrows move between cells, not the cursor inside the open cell.
  for (const auto& [key, cell] :
       std::vector<std::pair<Qt::Key, std::pair<int, int>>>{{Qt::Key_Up, {1, 0}},
                                                            {Qt::Key_Right, {1, 1}},
                                                            {Qt::Key_Down, {2, 1}},
                                                            {Qt::Key_Left, {2, 0}}}) {
    e.Key(key);
    EXPECT_EQ(e.Current(), cell) << key;
  }

  // Enter applies the limits in the entry row; a flow that is already there keeps the cell.
  QTest::mouseClick(e.Grid()->viewport(), Qt::LeftButton, {},
                    e.Grid()->visualRect(e.Grid()->model()->index(3, 0)).center());
  EXPECT_EQ(e.Current(), std::make_pair(4, 0));
  e.Type("7");
  e.Key(Qt::Key_Return);
  EXPECT_EQ(e.CellEditor()->text(), "6.00");
  e.Key(Qt::Key_Tab);
  e.Type("20");
  e.Key(Qt::Key_Tab);
  EXPECT_EQ(e.dialogs.Texts(Kind::Information),
            std::vector<std::string>{"The value entered already exists."});
  EXPECT_EQ(e.Current(), std::make_pair(4, 1));
  e.Erase();
  e.Type("12345");
  e.Key(Qt::Key_Tab);
  EXPECT_EQ(e.Rows(), (Rows{"1.00|10.00", "2.00|20.00", "3.00|30.00", "6.00|9999.99", "|"}));
  EXPECT_EQ(e.ChartPoints(), 4);
  EXPECT_TRUE(e.window->Form().Modified());
}

TEST(MeterEditorWindow, AHalfEmptyRowIsDeletedOnlyWhenTheUserSaysSo) {
  Editor e;
  e.Grid()->setFocus();
  e.TypePoints({{"1", "10"}, {"2", "20"}, {"3", "30"}});
  e.Key(Qt::Key_Up);
  e.Key(Qt::Key_Up);
  ASSERT_EQ(e.Current(), std::make_pair(2, 0));
  e.Erase();
  e.dialogs.answers = {Answer::No, Answer::Yes};
  e.Key(Qt::Key_Tab);  // No: the row and the selection stay
  EXPECT_EQ(e.Current(), std::make_pair(2, 0));
  EXPECT_EQ(e.Rows(), (Rows{"1.00|10.00", "|20.00", "3.00|30.00", "|"}));
  e.Key(Qt::Key_Tab);
  EXPECT_EQ(e.dialogs.Texts(Kind::Warning),
            std::vector<std::string>(2, "This cell must not be empty.  Delete row?"));
  EXPECT_EQ(e.Rows(), (Rows{"1.00|10.00", "3.00|30.00", "|"}));
  EXPECT_EQ(e.ChartPoints(), 2);
}

TEST(MeterEditorWindow, UnitsSwitchConvertsTheFlowsAndBack) {
  Editor e;
  e.Grid()->setFocus();
  e.TypePoints({{"2", "20"}});
  e.Type("1");
  e.Key(Qt::Key_Tab);
  e.Type("45.36");
  // Leaving the grid validates and sorts the row before the units change.
  e.Click("UnitsEnglish");
  EXPECT_EQ(e.Rows(), (Rows{"1.00|100.00", "2.00|44.09", "|"}));
  EXPECT_EQ(e.Get<QGroupBox>("DataTableGroupBox")->title(), "Data Table (lb/hr)");
  e.Click("UnitsMetric");
  EXPECT_EQ(e.Rows(), (Rows{"1.00|45.36", "2.00|20.00", "|"}));
  EXPECT_EQ(e.Get<QGroupBox>("DataTableGroupBox")->title(), "Data Table (kg/hr)");

  // The window keeps its meter; showing it again selects Metric, converting the flows.
  e.Click("UnitsEnglish");
  e.window->close();  // the title bar's close asks nothing
  e.Show();
  EXPECT_TRUE(e.Get<QRadioButton>("UnitsMetric")->isChecked());
  EXPECT_EQ(e.Rows(), (Rows{"1.00|45.36", "2.00|20.00", "|"}));
  EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(MeterEditorWindow, SaveNewAndOpenAgain) {
  Editor e;
  const std::string path = e.tmp.File("m1.maf");
  QTest::keyClicks(e.Get<QPlainTextEdit>("DescriptionMemo"), "Line one");
  QTest::keyClick(e.Get<QPlainTextEdit>("DescriptionMemo"), Qt::Key_Return);
  QTest::keyClicks(e.Get<QPlainTextEdit>("DescriptionMemo"), "Line two");
  EXPECT_FALSE(e.window->Form().Modified());  // the description has no handler
  e.Grid()->setFocus();
  e.TypePoints({{"4.5", "300"}, {"0.5", "8"}});
  e.Click("SaveButton");
  EXPECT_EQ(e.dialogs.Texts(Kind::Error),
            std::vector<std::string>{"Please enter a valid part number."});
  EXPECT_TRUE(e.Get<QLineEdit>("PartNumberEdit")->hasFocus());

  QTest::keyClicks(e.Get<QLineEdit>("PartNumberEdit"), "PN-42");
  e.dialogs.fileNames.push_back(path);
  e.Click("SaveButton");
  EXPECT_EQ(e.window->windowTitle(), QString::fromStdString("Mass Air Meter Editor - " + path));
  EXPECT_TRUE(std::filesystem::exists(path));

  e.Click("NewButton");  // saved: no question
  EXPECT_EQ(e.window->windowTitle(), "Mass Air Meter Editor");
  EXPECT_EQ(e.Get<QLineEdit>("PartNumberEdit")->text(), "");
  EXPECT_EQ(e.Rows(), (Rows{"|"}));
  EXPECT_EQ(e.ChartPoints(), 0);

  // Emptying the part number was a change: Open asks first.
  e.dialogs.answers.push_back(Answer::No);
  e.dialogs.fileNames.push_back(path);
  e.Click("OpenButton");
  EXPECT_EQ(e.dialogs.Texts(Kind::Question).size(), 1u);
  EXPECT_EQ(e.Get<QLineEdit>("PartNumberEdit")->text(), "PN-42");
  EXPECT_EQ(e.Get<QPlainTextEdit>("DescriptionMemo")->toPlainText(), "Line one\nLine two");
  EXPECT_EQ(e.Rows(), (Rows{"0.50|8.00", "4.50|300.00", "|"}));
  EXPECT_EQ(e.window->windowTitle(), QString::fromStdString("Mass Air Meter Editor - " + path));
  EXPECT_FALSE(e.window->Form().Modified());
  EXPECT_EQ(e.dialogs.Texts(Kind::Error).size(), 1u);
}

// Tools > Rehouse on the meter shown: the dialog previews the new curve and warns as the
// diameters are typed, Enter saves the new meter through the save dialog, and the editor shows it.
TEST(MeterEditorWindow, RehouseSavesAndShowsTheNewMeter) {
  Editor e;
  const std::string old = e.tmp.File("old.maf"), made = e.tmp.File("new.maf");
  WriteMeterFile(old, Meter(false, true, {{"1.00", "10.00"}, {"4.00", "100.00"}}));
  e.dialogs.fileNames = {old, made};
  e.Click("OpenButton");
  QStringList notes;
  QTimer::singleShot(0, e.window.get(), [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "RehouseDialog");
    QTest::keyClicks(dialog->findChild<QLineEdit*>("FromEdit"), "76");
    QTest::keyClicks(dialog->findChild<QLineEdit*>("ToEdit"), "100");
    notes = dialog->findChild<QLabel*>("ToolNotesLabel")->text().split(QLatin1Char('\n'));
    auto* chart = dialog->findChild<QChartView*>("ToolChart")->chart();
    EXPECT_NEAR(qobject_cast<QLineSeries*>(chart->series().back())->at(1).x(), 173.13, 0.01);
    QTest::keyClick(dialog->findChild<QLineEdit*>("ToEdit"), Qt::Key_Return);
  });
  e.Get<QMenu>("ToolsMenu")->actions()[1]->trigger();
  ASSERT_EQ(notes.size(), 3);
  EXPECT_TRUE(notes[0].startsWith("Warning: The open area changes by a factor of 1.73"));
  EXPECT_EQ(e.dialogs.fileRequests.back().folder, e.state.meterFolder);
  EXPECT_EQ(e.window->windowTitle(), QString::fromStdString("Mass Air Meter Editor - " + made));
  EXPECT_EQ(e.Rows(), (Rows{"1.00|17.31", "4.00|173.13", "|"}));
}

TEST(MeterEditorWindow, ConvertShowsATextMeterUntitled) {
  Editor e;
  std::ofstream(e.tmp.File("meter.txt"), std::ios::binary)
      << "PN-9\r\nVolts\r\nlb/hr\r\nFirst\r\nSecond\r\n3 30\r\n1 10\r\n";
  e.dialogs.fileNames.push_back(e.tmp.File("meter.txt"));
  e.Click("ImportButton");
  ASSERT_EQ(e.dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(e.dialogs.fileRequests[0].folder, e.state.appFolder);
  EXPECT_EQ(e.Get<QLineEdit>("PartNumberEdit")->text(), "PN-9");
  EXPECT_TRUE(e.Get<QRadioButton>("UnitsEnglish")->isChecked());
  EXPECT_EQ(e.Rows(), (Rows{"1.00|10.00", "3.00|30.00", "|"}));
  EXPECT_EQ(e.ChartPoints(), 2);
  EXPECT_EQ(e.window->windowTitle(), "Mass Air Meter Editor");

  // Untitled, so Save asks for a name.
  e.dialogs.fileNames.push_back(std::nullopt);
  e.Click("SaveButton");
  EXPECT_EQ(e.dialogs.fileRequests.size(), 2u);
}

TEST(MeterEditorWindow, CloseAsksAndStaysOnCancelEscIsHelp) {
  Editor e;
  QTest::keyClicks(e.Get<QLineEdit>("PartNumberEdit"), "PN");
  e.dialogs.answers = {Answer::Cancel, Answer::No};
  e.Click("CloseButton");
  EXPECT_TRUE(e.window->isVisible());
  QTest::keyClick(e.Get<QLineEdit>("PartNumberEdit"), Qt::Key_Escape);  // Help, not Close
  EXPECT_TRUE(e.window->isVisible());
  QTest::keyClick(e.Get<QLineEdit>("PartNumberEdit"), Qt::Key_Return);  // Close is the default
  EXPECT_FALSE(e.window->isVisible());
  EXPECT_EQ(e.dialogs.Texts(Kind::Question),
            std::vector<std::string>(2, "Save current meter data?"));
}

// A GM project whose program folder holds the group folders.
struct GmProject : Harness {
  TempFolder tmp;

  GmProject() {
    state.appFolder = tmp.Path().string() + kPathSeparator;
    for (const char* g : {"Ford", "GM", "Import"})
      std::filesystem::create_directories(tmp.Path() / g);
    New(kGM);
    dialogs.messages.clear();
  }
  void Write(const char* name, const MeterRecord& meter) {
    WriteMeterFile((tmp.Path() / "GM" / name).string(), meter);
  }
};

// Shows the dialog through Edit > Match and runs `body` while it is up.
template <typename F>
void WhileShown(MatchWindow& dialog, F body) {
  QTimer::singleShot(0, &dialog, [&] {
    body();
    dialog.close();
  });
  dialog.EditMatchClick();
}

TEST(MatchWindow, MatchAndCopyE2PChangeTheProjectsTable) {
  GmProject p;
  p.Write("USE.MAF",
          test::Meter(false, true, {{"1.00", "10.00"}, {"3.00", "100.00"}, {"5.00", "400.00"}}));
  p.Write("MATCH.MAF",
          test::Meter(false, true, {{"1.00", "20.00"}, {"2.50", "150.00"}, {"4.50", "350.00"}}));
  MatchWindow dialog(p.session);
  int imageChanges = 0;
  dialog.onImageChanged = [&] { ++imageChanges; };
  const EepromImage before = p.state.image;
  const int looks = p.view.looks;

  WhileShown(dialog, [&] {
    auto* use = dialog.findChild<QComboBox*>("MeterUseCombo");
    auto* match = dialog.findChild<QComboBox*>("MeterMatchCombo");
    auto* grid = dialog.findChild<QTableView*>("MatchGrid");
    auto* matchBtn = dialog.findChild<QPushButton*>("MatchBtn");
    auto* copyBtn = dialog.findChild<QPushButton*>("CopyE2PBtn");
    ASSERT_EQ(use->count(), 2);
    EXPECT_EQ(use->itemText(0), "MATCH.MAF");
    EXPECT_EQ(grid->model()->rowCount(), 256);
    EXPECT_EQ(grid->model()->index(255, 2).data().toString(), "---");
    EXPECT_TRUE(matchBtn->isEnabled());
    EXPECT_FALSE(copyBtn->isEnabled());

    use->setCurrentIndex(use->findText("USE.MAF"));
    match->setCurrentIndex(match->findText("MATCH.MAF"));
    QTest::mouseClick(matchBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.findChild<QLabel*>("FlowUnits")->text(), "Kg / Hour");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "V Use");
    // 3.00 V is input code 128.
    EXPECT_EQ(grid->model()->index(128, 0).data().toString(), "100.00");
    EXPECT_EQ(grid->model()->index(128, 1).data().toString(), "3.000");
    ASSERT_TRUE(copyBtn->isEnabled());

    p.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(copyBtn, Qt::LeftButton);
  });
  EXPECT_EQ(p.dialogs.Texts(Kind::Question),
            std::vector<std::string>{"Ok to save E2P data in main table?"});
  EXPECT_EQ(p.dialogs.Texts(Kind::Error), std::vector<std::string>{});
  EXPECT_NE(p.state.image.Entry(16), before.Entry(16));
  EXPECT_EQ(p.state.header.UseMeterName().Bytes(), "USE.MAF");
  EXPECT_EQ(p.state.header.MatchMeterName().Bytes(), "MATCH.MAF");
  EXPECT_TRUE(p.state.projectModified);
  EXPECT_EQ(imageChanges, 1);
  EXPECT_GT(p.view.looks, looks);

  // Each opening starts from an empty table with Copy E2P off, and the project's meters picked.
  WhileShown(dialog, [&] {
    EXPECT_EQ(dialog.findChild<QTableView*>("MatchGrid")->model()->index(128, 1).data().toString(),
              "---");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("CopyE2PBtn")->isEnabled());
    EXPECT_EQ(dialog.findChild<QComboBox*>("MeterUseCombo")->currentText(), "USE.MAF");
  });
}

// The charts follow the meters as they are picked, before any Match, and the warnings about
// the pair show under them.
TEST(MatchWindow, ChartsAndWarningsFollowTheSelectedMeters) {
  GmProject p;
  p.Write("USE.MAF",
          test::Meter(false, false, {{"1.00", "10.00"}, {"3.00", "100.00"}, {"5.00", "400.00"}}));
  p.Write("MATCH.MAF",
          test::Meter(false, false, {{"1.00", "20.00"}, {"2.50", "150.00"}, {"4.50", "350.00"}}));
  p.Write(
      "FAR.MAF",
      test::Meter(true, false, {{" 2000", "900.00"}, {" 4000", "1500.00"}, {" 9000", "3000.00"}}));
  MatchWindow dialog(p.session);
  WhileShown(dialog, [&] {
    auto series = [&](const char* name) {
      std::vector<QPointF> points;
      for (auto* view : dialog.findChildren<QChartView*>())
        for (QAbstractSeries* s : view->chart()->series())
          if (s->objectName() == name) {
            const QList<QPointF> shown = static_cast<QLineSeries*>(s)->points();
            points.assign(shown.begin(), shown.end());
          }
      return points;
    };
    auto* warnings = dialog.findChild<QLabel*>("MatchWarnings");
    dialog.findChild<QComboBox*>("MeterUseCombo")->setCurrentText("USE.MAF");
    dialog.findChild<QComboBox*>("MeterMatchCombo")->setCurrentText("MATCH.MAF");
    EXPECT_EQ(series("MatchSeries"), (std::vector<QPointF>{{20, 1.0f}, {150, 2.5f}, {350, 4.5f}}));
    EXPECT_EQ(series("TransferSeries").size(), 256u);
    EXPECT_FALSE(warnings->isVisible()) << warnings->text().toStdString();

    dialog.findChild<QComboBox*>("MeterMatchCombo")->setCurrentText("FAR.MAF");
    EXPECT_EQ(series("MatchSeries"),
              (std::vector<QPointF>{{900, 2000}, {1500, 4000}, {3000, 9000}}));
    // Its flows lie beyond the meter to use's: no point is placed, and the old curve goes.
    EXPECT_EQ(series("TransferSeries").size(), 0u);
    EXPECT_TRUE(warnings->isVisible());
    EXPECT_TRUE(warnings->text().startsWith("Warning: The flow ranges overlap by less than half"))
        << warnings->text().toStdString();
    // Nothing of this reached the grid: that takes the Match button.
    EXPECT_EQ(dialog.findChild<QTableView*>("MatchGrid")->model()->index(128, 1).data().toString(),
              "---");
  });
}

}  // namespace
}  // namespace vyk::test

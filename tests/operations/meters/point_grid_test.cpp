// The meter editor's point grid: typing, rows, validation, sorting, chart and units.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/errors.h"
#include "operations/meters/point_grid.h"
#include "support/fakes.h"

namespace vyk {
namespace {

using test::FakeDialogs;

// The rows below the header as "signal|flow;...".
std::string Dump(const PointGrid& grid) {
  std::string text;
  for (int r = 1; r < grid.RowCount(); ++r)
    text += (r > 1 ? ";" : "") + grid.Cell(r, 0) + "|" + grid.Cell(r, 1);
  return text;
}

// Points put in from code, as a loaded meter shows them, with an empty entry row after.
void Load(PointGrid& grid, std::vector<std::pair<std::string, std::string>> points) {
  for (const auto& [signal, flow] : points) {
    grid.SetCell(grid.RowCount() - 1, 0, signal);
    grid.SetCell(grid.RowCount() - 1, 1, flow);
    grid.AppendRow();
  }
}

// Types a point into the entry row, cell by cell.
void TypePoint(PointGrid& grid, const std::string& signal, const std::string& flow) {
  const int row = grid.RowCount() - 1;
  ASSERT_TRUE(grid.SelectCell(row, 0));
  grid.SetEditText(row, 0, signal);
  ASSERT_TRUE(grid.SelectCell(row, 1));
  grid.SetEditText(row, 1, flow);
}

TEST(PointGrid, EnterFormatsTheRowAndLimitsTheColumnBeingEdited) {
  struct Case {
    bool frequency;
    int col;  // edited last
    const char* signal;
    const char* flow;
    const char* expected;
  } cases[] = {
      {false, 0, "7", "", "6.00|"},
      {true, 0, "20000", "", "13500|"},
      {false, 1, "1", "12345", "1.00|9999.99"},
      {false, 0, "2.5", "", "2.50|"},
      {true, 0, "500", "", "  500|"},
      {false, 1, "7", "1.5", "7.00|1.50"},
      {false, 0, "1", "12345", "1.00|12345.00"},
      // Beyond a 32-bit float: limited like any other number, and drawn meanwhile.
      {false, 1, "1", "1000000000000000000000000000000000000000", "1.00|9999.99"},
      {true, 0, "1000000000000000000000000000000000000000", "5", "13500|5.00"},
  };
  for (const auto& c : cases) {
    FakeDialogs dialogs;
    PointGrid grid(dialogs);
    grid.FrequencyClick(c.frequency);
    const int other = 1 - c.col;
    if (*(other ? c.flow : c.signal)) grid.SetEditText(1, other, other ? c.flow : c.signal);
    grid.SetEditText(1, c.col, c.col ? c.flow : c.signal);
    grid.EnterKey();
    EXPECT_EQ(Dump(grid).substr(0, Dump(grid).find(';')), c.expected) << c.signal << " " << c.flow;
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST(PointGrid, TheEntryRowGrowsAndEmptiedRowsGo) {
  FakeDialogs dialogs;
  PointGrid grid(dialogs);
  struct Step {
    int row, col;
    const char* text;
    const char* expected;
  } steps[] = {
      {1, 0, "1", "1|"},          {1, 1, "5", "1|5;|"},  // a filled entry row appends a new one
      {2, 0, "2", "1|5;2|"},      {2, 1, "6", "1|5;2|6;|"},
      {3, 0, "3", "1|5;2|6;3|"},  {3, 1, "7", "1|5;2|6;3|7;|"},
      {2, 1, "", "1|5;2|;3|7;|"},  // rows below still hold points
      {2, 0, "", "1|5;3|7;|"},     // both cells empty: the row is deleted
      {2, 1, "", "1|5;3|"},        // the last point row becomes the entry row
      {2, 0, "", "1|5;|"},
  };
  for (const auto& s : steps) {
    grid.SetModified(false);
    grid.SetEditText(s.row, s.col, s.text);
    EXPECT_EQ(Dump(grid), s.expected) << s.row << "," << s.col << " '" << s.text << "'";
    EXPECT_TRUE(grid.Modified());
  }
}

TEST(PointGrid, LeavingARowIsRefusedForARepeatedFlowOrAKeptHalfRow) {
  FakeDialogs dialogs;
  PointGrid grid(dialogs);
  Load(grid, {{"1.00", "10.00"}, {"2.00", "20.00"}});
  TypePoint(grid, "3", "10");
  EXPECT_FALSE(grid.SelectCell(4, 0));
  EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::Information),
            std::vector<std::string>{"The value entered already exists."});
  EXPECT_EQ(grid.CurrentRow(), 3);

  grid.SetEditText(3, 1, "");  // back to a half-typed entry row, which may be left
  grid.SetEditText(2, 1, "");  // a point row without its flow
  dialogs.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(grid.SelectCell(1, 0));
  EXPECT_EQ(grid.CurrentRow(), 2);
  EXPECT_TRUE(grid.SelectCell(1, 0));
  EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::Warning),
            std::vector<std::string>(2, "This cell must not be empty.  Delete row?"));
  EXPECT_EQ(Dump(grid), "1.00|10.00;3.00|");

  // An entry row without a flow repeats nothing, even beside a loaded row without one.
  PointGrid loaded(dialogs);
  Load(loaded, {{"1.00", ""}});
  loaded.SetEditText(2, 0, "2");
  EXPECT_TRUE(loaded.SelectCell(2, 1));
  EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::Information).size(), 1u);
}

TEST(PointGrid, SortingFollowsTheEditedRow) {
  FakeDialogs dialogs;
  PointGrid grid(dialogs);
  TypePoint(grid, "3", "30");
  TypePoint(grid, "1", "10");
  TypePoint(grid, "2", "20");
  grid.Exit();
  EXPECT_EQ(Dump(grid), "1.00|10.00;2.00|20.00;3.00|30.00;|");
  EXPECT_EQ(grid.CurrentRow(), 2);

  // Tab from a changed signal to its flow lands on the same point in its new place.
  ASSERT_TRUE(grid.SelectCell(1, 0));
  grid.SetEditText(1, 0, "5");
  ASSERT_TRUE(grid.SelectCell(1, 1));
  EXPECT_EQ(Dump(grid), "2.00|20.00;3.00|30.00;5.00|10.00;|");
  EXPECT_EQ(grid.CurrentRow(), 3);
  EXPECT_EQ(grid.CurrentCol(), 1);
}

TEST(PointGrid, EqualSignalsStopTheSort) {
  FakeDialogs dialogs;
  PointGrid grid(dialogs);
  Load(grid, {{"2.00", "20.00"}, {"1.00", "10.00"}, {"2.0", "30.00"}});
  EXPECT_FALSE(grid.BubbleSort());
  EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::Error),
            std::vector<std::string>{"Duplicate entry: 2.0"});
  EXPECT_EQ(Dump(grid), "1.00|10.00;2.00|20.00;2.0|30.00;|");
}

TEST(PointGrid, UnitsConvertThePointFlowsAndRedrawTheChart) {
  FakeDialogs dialogs;
  PointGrid grid(dialogs);
  Load(grid, {{"1.00", "45.36"}, {"2.00", "4.54"}});
  grid.SetCell(3, 1, "45.36");  // the entry row is left alone
  grid.UnitsClick(false);
  EXPECT_EQ(Dump(grid), "1.00|100.00;2.00|10.01;|45.36");
  EXPECT_EQ(grid.GroupCaption(), "Data Table (lb/hr)");
  EXPECT_TRUE(grid.Modified());
  EXPECT_EQ(grid.Graph(),
            (std::vector<GraphPoint>{{10.01f, 2.0f, "10.01"}, {100.0f, 1.0f, "100.00"}}));
  grid.UnitsClick(true);
  EXPECT_EQ(Dump(grid), "1.00|45.36;2.00|4.54;|45.36");
  EXPECT_EQ(grid.GroupCaption(), "Data Table (kg/hr)");

  // A flow that is no number stops the switch before anything changes.
  grid.SetCell(2, 1, ".");
  try {
    grid.UnitsClick(false);
    ADD_FAILURE() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'.' is not a valid floating point value");
  }
  EXPECT_TRUE(grid.MetricShown());
  EXPECT_EQ(Dump(grid), "1.00|45.36;2.00|.;|45.36");
}

TEST(PointGrid, UnitsConvertTheFlowAsTypedNotAsAFloat) {
  // Each comes out 0.01 off when the flow is rounded to a 32-bit float before converting.
  const struct {
    bool metric;  // the unit switched to
    const char* flow;
    const char* expected;
  } cases[] = {
      {false, "32.67", "72.03"},  // 72.0250004 lb/hr
      {false, "77.24", "170.29"}, {false, "94.98", "209.39"},
      {true, "49.13", "22.28"},   {true, "94.92", "43.06"},
  };
  for (const auto& c : cases) {
    FakeDialogs dialogs;
    PointGrid grid(dialogs);
    if (c.metric) grid.UnitsClick(false);
    Load(grid, {{"1.00", c.flow}});
    grid.UnitsClick(c.metric);
    EXPECT_EQ(grid.Cell(1, 1), c.expected) << c.flow;
  }
}

}  // namespace
}  // namespace vyk

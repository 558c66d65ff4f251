// Edits on a range of the table's outputs, with the counts kept within the grid's limits.
#include <gtest/gtest.h>

#include <vector>

#include "operations/table/range_edits.h"
#include "support/fakes.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

TEST(RangeEdit, EachEditOnItsRangeWithTheCellsItClamped) {
  struct Case {
    uint8_t group;  // Ford: volts, 204.8 counts per volt, up to 1023; GM: hertz, 13.19648 a count
    RangeEditKind kind;
    const char* value;
    std::vector<int> counts;  // entries 4.. before
    std::vector<int> after;
    int clamped;
  } cases[] = {
      {kFord, RangeEditKind::Scale, "10", {100, 500, 1000}, {110, 550, 1023}, 1},
      {kFord, RangeEditKind::Scale, "-100", {100, 1023}, {0, 0}, 0},
      {kFord, RangeEditKind::Offset, "0.5", {0, 1000}, {102, 1023}, 1},  // 0.5 V = 102.4 counts
      {kFord, RangeEditKind::Offset, "-1", {300, 100}, {95, 0}, 1},
      {kGM, RangeEditKind::Offset, "-13.2", {2, 100}, {0, 99}, 1},  // 1 count stores 0 Hz
      {kFord, RangeEditKind::Set, "2.5", {0, 1}, {512, 512}, 0},
      {kFord, RangeEditKind::Set, "9", {0}, {1023}, 1},
      {kGM, RangeEditKind::Set, "6597", {0}, {500}, 0},
      {kFord, RangeEditKind::Interpolate, "", {0, 7, 7, 7, 100}, {0, 25, 50, 75, 100}, 0},
      {kFord, RangeEditKind::Interpolate, "", {10, 0, 11}, {10, 10, 11}, 0},  // 10.5 to even
      {kFord, RangeEditKind::Smooth, "", {0, 30, 0, 30}, {0, 10, 20, 30}, 0},
      {kFord, RangeEditKind::Smooth, "", {0, 0xFFFF, 0}, {0, 1023, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(RangeEditName(c.kind) + " " + c.value);
    Harness h;
    h.New(c.group);
    const int last = 4 + static_cast<int>(c.counts.size()) - 1;
    for (size_t i = 0; i < c.counts.size(); ++i)
      h.state.image.SetEntry(4 + static_cast<int>(i), c.counts[i]);
    const EepromImage before = h.state.image;
    RangeEditResult r = ApplyRangeEdit(h.session, c.kind, last, 4, c.value);
    EXPECT_TRUE(r.applied);
    EXPECT_EQ(r.clamped, c.clamped);
    for (size_t i = 0; i < c.after.size(); ++i)
      EXPECT_EQ(h.state.image.Entry(4 + static_cast<int>(i)), c.after[i]) << i;
    EXPECT_EQ(h.state.image.Entry(3), before.Entry(3));
    EXPECT_EQ(h.state.image.Entry(last + 1), before.Entry(last + 1));
    EXPECT_TRUE(h.state.projectModified);
    EXPECT_EQ(h.session.history.UndoName(), RangeEditName(c.kind));
  }
}

TEST(RangeEdit, TheDialogSaysWhatWasClampedAndARefusalChangesNothing) {
  Harness h;
  h.New(kFord);
  EXPECT_EQ(ApplyRangeEdit(h.session, RangeEditKind::Set, 0, 1, "6").summary,
            "Set: entries 0..1 (2 rows); 2 cells were clamped to 0.000 .. 4.995 V.");
  h.New(kGM);
  EXPECT_EQ(ApplyRangeEdit(h.session, RangeEditKind::Scale, 5, 5, "0").summary,
            "Scale: entries 5..5 (1 row); no cell was clamped.");

  struct Case {
    RangeEditKind kind;
    int first, last;
    const char* value;
    const char* error;
  } refusals[] = {
      {RangeEditKind::Scale, 0, 3, "1,5", "Scale: '1,5' is not a number"},
      {RangeEditKind::Offset, 0, 3, "", "Offset: '' is not a number"},
      {RangeEditKind::Set, 0, 3, "1e39", "Set: '1e39' cannot be used (Floating point overflow)"},
      {RangeEditKind::Smooth, 0, 1, "",
       "Smooth needs three rows or more: select them in the table first"},
  };
  for (const Case& c : refusals) {
    Harness fresh;
    fresh.New(kFord);
    const EepromImage before = fresh.state.image;
    EXPECT_FALSE(ApplyRangeEdit(fresh.session, c.kind, c.first, c.last, c.value).applied);
    EXPECT_EQ(fresh.dialogs.Texts(Kind::Error), std::vector<std::string>{c.error});
    EXPECT_EQ(fresh.state.image, before);
    EXPECT_FALSE(fresh.session.history.CanUndo());
  }
}

}  // namespace
}  // namespace vyk::test

// The image of a new project and the two grids that show and edit it.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "model/errors.h"
#include "operations/table/image_grids.h"
#include "support/fakes.h"

namespace vyk {
namespace {

using test::Harness;

TEST(NewImage, EachGroup) {
  std::vector<int> ford = {0,   38,  77,  115, 154, 192,  230,  269,  307,  346, 384,
                           422, 461, 499, 538, 576, 614,  653,  691,  730,  768, 806,
                           845, 883, 922, 960, 998, 1023, 1023, 1023, 1023, 1023};
  std::vector<int> ramp;
  for (int k = 0; k < 32; ++k)
    ramp.push_back(32 * k);
  struct Case {
    uint8_t group;
    const std::vector<int>& entries;
    uint8_t mode;
  } cases[] = {{kFord, ford, 0x01}, {kGM, ramp, 0x0A}, {kImport, ramp, 0x01}};
  for (const auto& c : cases) {
    SCOPED_TRACE(GroupName(c.group));
    EepromImage image = NewImage(c.group);
    for (int k = 0; k < 32; ++k)
      EXPECT_EQ(image.Entry(k), c.entries[k]) << "entry " << k;
    EXPECT_EQ(image.Entry(32), 0x03FF);
    EXPECT_EQ(image.Byte(kModeByte), c.mode);
    for (int pot = 67; pot <= 70; ++pot)
      EXPECT_EQ(image.Byte(pot), 0);
    EXPECT_EQ(image.Entry(kLimitEntry), 0x03FF);
    EXPECT_EQ(image.Byte(71), 0xFF);
    for (int address = 74; address < kImageSize; ++address)
      ASSERT_EQ(image.Byte(address), 0xFF) << "byte " << address;
  }
}

TEST(TableGrid, CellTexts) {
  Harness ford, gm;
  ford.New(kFord);
  gm.New(kGM);
  for (auto* h : {&ford, &gm})
    h->state.image.SetEntry(9, 0xFFFF);
  struct Case {
    const AppState& state;
    int column, row;
    const char* expected;
  } cases[] = {
      {ford.state, 0, 0, "V in"},     {ford.state, 1, 0, "V Out"},   {ford.state, 0, 1, " 0.000 "},
      {ford.state, 0, 33, " 6.000 "}, {ford.state, 1, 2, " 0.186 "}, {ford.state, 1, 33, " 4.995 "},
      {ford.state, 1, 10, "****"},    {gm.state, 0, 0, "F in"},      {gm.state, 1, 0, "F Out"},
      {gm.state, 0, 1, "0    "},      {gm.state, 0, 2, "  422 "},    {gm.state, 0, 33, " 13500"},
      {gm.state, 1, 33, " 13500 "},   {gm.state, 1, 10, " 13500"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TableGridCellText(c.state, c.column, c.row), c.expected)
        << "column " << c.column << " row " << c.row;

  ford.state.controls.inputRGrp = ford.state.controls.outputRGrp = kFrequency;
  EXPECT_EQ(TableGridCellText(ford.state, 0, 0), "V in");  // only GM shows hertz inputs
  EXPECT_EQ(TableGridCellText(ford.state, 0, 33), " 6.000 ");
  EXPECT_EQ(TableGridCellText(ford.state, 1, 10), "3000");
}

TEST(TableGrid, EditStoresTheEntryAndMovesItsCurvePoint) {
  struct Case {
    uint8_t group;
    int row;
    const char* text;
    int entry;
    std::optional<float> point;  // nothing: the curve stays as it was
    bool modified;
  } cases[] = {
      {kFord, 1, "2.5", 512, 2.5f, true},
      {kFord, 32, "1", 205, 1.001f, true},  // the point shows the stored count's text
      {kFord, 33, "1", 205, {}, true},      // entry 32 has no point
      {kFord, 1, "abc", 0, {}, true},
      {kFord, 1, "", 0, {}, false},
      {kGM, 2, "6000", 455, 6004.0f, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << c.row << " text '" << c.text << "'");
    Harness h;
    h.New(c.group);
    h.state.projectModified = false;
    auto curve = h.state.chart.series1;
    TableGridSetEditText(h.session, 1, c.row, c.text);
    EXPECT_EQ(h.state.projectModified, c.modified);
    EXPECT_EQ(h.state.image.Entry(c.row - 1), c.entry);
    if (c.point) curve[c.row - 1].y = *c.point;
    EXPECT_EQ(h.state.chart.series1, curve);
  }
}

TEST(EepromGrid, CellTexts) {
  Harness h;
  EXPECT_EQ(EepromGridCellText(h.state, 3, 2), "");  // no project, no bytes
  h.New(kFord);
  h.state.image.SetByte(0x12, 0x7F);
  h.state.image.SetByte(0xFE, 0x00);
  struct Case {
    int column, row;
    const char* expected;
  } cases[] = {{0, 0, ""},     {1, 0, " 0 "},   {11, 0, " A "}, {16, 0, " F "},   {0, 1, " 00 "},
               {0, 2, " 10 "}, {0, 16, " F0 "}, {3, 2, " 7F "}, {15, 16, " 00 "}, {16, 16, " FF "}};
  for (const auto& c : cases)
    EXPECT_EQ(EepromGridCellText(h.state, c.column, c.row), c.expected)
        << "column " << c.column << " row " << c.row;
  EXPECT_EQ(EepromGridGetEditText(h.state, 3, 2), " 7F ");
}

TEST(EepromGrid, EditReadsHexadecimal) {
  struct Case {
    const char* text;
    std::optional<int> stored;  // nothing: refused with a range error
    bool modified;
  } cases[] = {
      {"7F", 0x7F, true},  {"7f", 0x7F, true}, {"  7f  ", 0x7F, true}, {" 7F ", 0x7F, true},
      {"7FG", 0x7F, true}, {"G", 0, true},     {"FF", 0xFF, true},     {"0", 0, true},
      {"", 0x42, false},   {"1FF", {}, true},  {"100", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "'");
    Harness h;
    h.state.image.SetByte(0x12, 0x42);
    if (c.stored) {
      EepromGridSetEditText(h.session, 3, 2, c.text);
      EXPECT_EQ(h.state.image.Byte(0x12), *c.stored);
    } else {
      EXPECT_THROW(EepromGridSetEditText(h.session, 3, 2, c.text), RangeError);
      EXPECT_EQ(h.state.image.Byte(0x12), 0x42);
    }
    EXPECT_EQ(h.state.projectModified, c.modified);
  }
}

// The kind controls keep showing the old values until the image is shown again; the pot boxes
// show their bytes at once, as their arrows step from them.
TEST(EepromGrid, ModeBytesChangeOnlyTheImageThePotBoxesFollow) {
  Harness h;
  h.New(kFord);
  Controls before = h.state.controls;
  EepromGridSetEditText(h.session, 3, 5, "1A");  // byte 66
  EepromGridSetEditText(h.session, 4, 5, "05");  // byte 67, pot 1
  EXPECT_EQ(h.state.image.Byte(kModeByte), 0x1A);
  EXPECT_EQ(h.state.image.Byte(67), 5);
  EXPECT_EQ(h.state.controls.outputRGrp, before.outputRGrp);
  EXPECT_EQ(h.state.controls.inputRGrp, before.inputRGrp);
  EXPECT_EQ(h.state.controls.invertLimit, before.invertLimit);
  EXPECT_EQ(h.state.controls.potTexts[0], "5");
  EXPECT_EQ(h.state.potWorkingCopies[0], 5);
}

}  // namespace
}  // namespace vyk

// Copy and paste in the two grids: a paste types each value by the grid's rules, all or none.
#include <gtest/gtest.h>

#include <vector>

#include "operations/table/grid_clipboard.h"
#include "support/fakes.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

TEST(Paste, TableValuesAreTypedIntoTheOutputColumnOrTheWholePasteIsRefused) {
  struct Case {
    uint8_t group;  // Ford: volts at 204.8 counts per volt; GM: hertz
    int row;
    const char* text;
    std::vector<int> entries;  // from entry row - 1 on; empty: refused
    const char* error;
  } cases[] = {
      {kFord, 1, "2.5\r\n5\r\n\r\n", {512, 1023}, ""},  // CRLF, clamped to 4.995 V as typed
      {kFord, 32, "0\n 1", {0, 205}, ""},
      {kFord, 2, "1\n\n2", {205, 77, 410}, ""},  // an empty line keeps its row
      {kGM, 1, "0\n13500\n5", {0, 1023, 0}, ""},
      {kGM, 2, "-5", {0}, ""},  // a frequency below 6 Hz stores 0
      {kFord, 3, "1\n2,5\n3", {}, "Line 2 of the paste, for entry 3: '2,5' is not a number."},
      {kFord, 1, "1\n-1", {}, "Line 2 of the paste, for entry 1: '-1' is below 0 V."},
      {kFord, 1, "1 ", {}, "Line 1 of the paste, for entry 0: '1 ' is not a number."},
      {kGM, 1, "abc", {}, "Line 1 of the paste, for entry 0: 'abc' is not a number."},
      {kFord, 1, "1e39", {}, "Line 1 of the paste, for entry 0: '1e39' cannot be stored"},
      {kFord, 1, "0.5\t1", {}, "holds more than one column"},
      {kFord, 32, "1\n2\n3", {}, "The paste has 3 lines, but entries 31..32 are only 2 rows."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Harness h;
    h.New(c.group);
    const EepromImage before = h.state.image;
    const bool modified = h.state.projectModified;
    const bool pasted = TableGridPaste(h.session, c.row, c.text);
    EXPECT_EQ(pasted, c.entries.size() > 0);
    if (pasted) {
      for (size_t i = 0; i < c.entries.size(); ++i)
        EXPECT_EQ(h.state.image.Entry(c.row - 1 + static_cast<int>(i)), c.entries[i]) << i;
      EXPECT_TRUE(h.state.projectModified);
      EXPECT_EQ(h.session.history.UndoCount(), 1u);
    } else {
      ASSERT_EQ(h.dialogs.Texts(Kind::Error).size(), 1u);
      EXPECT_NE(h.dialogs.Texts(Kind::Error)[0].find(c.error), std::string::npos)
          << h.dialogs.Texts(Kind::Error)[0];
      EXPECT_EQ(h.state.image, before);
      EXPECT_EQ(h.state.projectModified, modified);
      EXPECT_FALSE(h.session.history.CanUndo());
    }
  }
}

TEST(Paste, BytesGoAcrossAndDownTheByteGrid) {
  struct Case {
    int column, row;
    const char* text;
    std::vector<std::pair<int, int>> bytes;  // address, value; empty: refused
    const char* error;
  } cases[] = {
      {1, 1, "7F\t00\n 1a  b", {{0x00, 0x7F}, {0x01, 0x00}, {0x10, 0x1A}, {0x11, 0x0B}}, ""},
      {16, 16, "ab", {{0xFF, 0xAB}}, ""},
      {16, 1, "1 2", {}, "Line 1 of the paste reaches past the edge of the byte grid."},
      {1, 16, "1\n2", {}, "Line 2 of the paste reaches past the edge of the byte grid."},
      {1, 1, "1\nG0", {}, "Line 2 of the paste, for byte 10: 'G0' is not a hexadecimal number."},
      {3, 2, "1FF", {}, "Line 1 of the paste, for byte 12: '1FF' is above FF."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Harness h;
    h.New(kFord);
    const EepromImage before = h.state.image;
    EXPECT_EQ(EepromGridPaste(h.session, c.column, c.row, c.text), !c.bytes.empty());
    for (const auto& [address, value] : c.bytes)
      EXPECT_EQ(h.state.image.Byte(address), value) << address;
    if (c.bytes.empty()) {
      EXPECT_EQ(h.state.image, before);
      EXPECT_EQ(h.dialogs.Texts(Kind::Error),
                std::vector<std::string>{std::string(c.error) + " Nothing was pasted."});
    }
  }
}

TEST(Copy, TheSelectedCellsAsTabSeparatedVisibleTexts) {
  Harness h;
  h.New(kFord);
  EXPECT_EQ(CopyCells(h.state, ImageGrid::Table, {2, 0, 3, 1}), "0.187\t0.186\n0.375\t0.376\n");
  EXPECT_EQ(CopyCells(h.state, ImageGrid::Bytes, {5, 3, 5, 4}), "01\t00\n");
  // What the table copies pastes back unchanged.
  const EepromImage before = h.state.image;
  EXPECT_TRUE(TableGridPaste(h.session, 1, CopyCells(h.state, ImageGrid::Table, {1, 1, 33, 1})));
  EXPECT_EQ(h.state.image, before);
}

}  // namespace
}  // namespace vyk::test

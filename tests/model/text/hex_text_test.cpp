// The two ways hexadecimal text is read: the Box's fields whole or not at all, the byte grid's
// editor up to the first other character.
#include <gtest/gtest.h>

#include "model/errors.h"
#include "model/text/hex_text.h"

namespace vyk {
namespace {

TEST(HexText, BoxFieldsAreAllDigitsOrZeroWhereTheGridStopsAtTheFirstOther) {
  struct Case {
    const char* text;
    int field;  // ParseHex
    int grid;   // ReadHexByte
  } cases[] = {
      {"7f", 0x7F, 0x7F}, {"7G", 0, 7}, {" 7F", 0, 0x7F}, {"", 0, 0}, {"ffF0", 0xFFF0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHex(c.text), c.field) << c.text;
    if (c.grid < 0) {
      EXPECT_THROW(ReadHexByte(c.text), RangeError) << c.text;
    } else {
      EXPECT_EQ(ReadHexByte(c.text), c.grid) << c.text;
    }
  }
}

}  // namespace
}  // namespace vyk

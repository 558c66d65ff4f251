// File texts are Windows-1252; the rest of the program speaks UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "model/text/text_encoding.h"

namespace vyk {
namespace {

TEST(Cp1252, TextsRoundTrip) {
  struct Case {
    const char* utf8;
    const char* cp1252;
  } cases[] = {
      {"Caf\u00e9", "Caf\xe9"},
      {"\u00c4rger \u00fcber \u00d6l",
       "\xc4rger \xfc"
       "ber \xd6l"},
      {"\u20ac 5", "\x80 5"},
      {"\u0152uvre \u2014 \u201cna\u00efve\u201d", "\x8cuvre \x97 \x93na\xefve\x94"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
  }
}

// Whatever a file holds comes back unchanged after a trip through UTF-8.
TEST(Cp1252, EveryByteRoundTrips) {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    bytes += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
}

TEST(Cp1252, InvalidOrUnmappableTextsGiveNothing) {
  const char* cases[] = {
      "\xc3",              // cut short
      "a\x80",             // a lone continuation byte
      "\xc3\x28",          // a lead byte without its continuation
      "\xff",              // never in UTF-8
      "\xc0\x80",          // overlong NUL
      "\xc1\xa9",          // overlong "i"
      "\xe0\x80\xaf",      // overlong "/"
      "\xf0\x80\x80\xa1",  // overlong "!"
      "\u0142",            // a Polish l: not in Windows-1252
      "\xc2\x80",          // U+0080: byte 80 is the euro sign there
      "\U0001F600",
  };
  for (const char* text : cases)
    EXPECT_EQ(Utf8ToCp1252(text), std::nullopt) << text;
}

}  // namespace
}  // namespace vyk

#include <gtest/gtest.h>

#include "operations/box/terminal_screen.h"
#include "support/box_harness.h"

namespace vyk::test {
namespace {

TerminalScreen Shown(const std::string& bytes, int startLine = 0) {
  TerminalScreen screen;
  screen.FirstActivate();
  for (int i = 0; i < startLine; ++i)
    screen.Echo(13);
  for (char c : bytes)
    screen.Echo(static_cast<uint8_t>(c));
  return screen;
}

TEST(Terminal, LinesFollowCrAndLf) {
  TerminalScreen s = Shown("AB\r\nC");
  EXPECT_EQ(s.Lines()[0], "AB");
  EXPECT_EQ(s.Lines()[1], "C");
  EXPECT_EQ(s.Column(), 1);

  s = Shown("XY\rZ");  // no LF: the count goes on from 2
  EXPECT_EQ(s.Lines()[1], "Z");
  EXPECT_EQ(s.Column(), 3);

  s = Shown(std::string(85, 'a'));
  EXPECT_EQ(s.Lines()[0], std::string(79, 'a'));

  s = Shown("top\r", 22);
  EXPECT_EQ(s.Line(), 23);
  s.Echo(13);
  EXPECT_EQ(s.Line(), 24);
  s.Echo(13);  // scrolls: the first line goes, the line number stays
  EXPECT_EQ(s.Line(), 24);
  EXPECT_EQ(s.Lines()[21], "top");
  EXPECT_EQ(s.Lines().size(), 26u);
}

TEST(Terminal, ButtonAsksForByteZeroAndEchoesTheAnswer) {
  SimHarness h;
  h.port.Box().Eeprom()[0] = 0x5A;
  TerminalScreen screen;
  screen.FirstActivate();
  h.link.terminalEcho = [&](uint8_t b) { screen.Echo(b); };
  Button1Click(h.session, h.link);
  h.pump.RunFor(100);
  EXPECT_EQ(screen.Lines()[0], "C00*");
  EXPECT_EQ(screen.Lines()[2], "5A+");
}

}  // namespace
}  // namespace vyk::test

#include <gtest/gtest.h>

#include "support/link_harness.h"

namespace vyk::test {
namespace {

TEST(BoxLink, TheRingKeeps198UnreadBytesInOrderAndDropsLaterOnes) {
  LinkHarness<ScriptedPort> h;
  for (int i = 0; i < 200; ++i)
    h.link.StoreRxByte(static_cast<uint8_t>(i));
  EXPECT_EQ(h.link.Unread(), 198);
  for (int i = 0; i < 198; ++i) {
    uint8_t b = 0;
    ASSERT_TRUE(h.link.ReadRxByte(b));
    EXPECT_EQ(b, i);
  }
  uint8_t b;
  EXPECT_FALSE(h.link.ReadRxByte(b));
  // The indices wrap: the ring goes on working after a full turn.
  h.link.StoreRxByte(7);
  h.link.StoreRxByte(8);
  h.link.FlushRx();
  EXPECT_FALSE(h.link.ReadRxByte(b));
}

TEST(BoxLink, ASilentBoxCostsASecondPerByteAndOneForTheReply) {
  LinkHarness<ScriptedPort> h;
  h.port.silent = true;
  h.port.written.clear();
  double start = h.pump.NowMs();
  EXPECT_FALSE(h.link.SendCommand("", '>'));
  EXPECT_DOUBLE_EQ(h.pump.NowMs() - start, 2000);
  EXPECT_TRUE(h.state.abortRequest);
  // No reply awaited: true even without echoes and with the abort request standing.
  EXPECT_TRUE(h.link.SendCommand("Q", 0));
  EXPECT_EQ(h.port.written, "\rQ\r");
}

TEST(BoxLink, AStandingAbortRequestFailsACommandTheBoxAnswers) {
  LinkHarness<ScriptedPort> h;
  h.port.replies = {"\r\n>"};
  h.state.abortRequest = true;
  EXPECT_FALSE(h.link.SendCommand("", '>'));
  EXPECT_EQ(h.link.ReplyText(), "\r\n>");
}

TEST(BoxLink, TheReplyIsWhatFollowsTheEchoOfTheLastCr) {
  LinkHarness<ScriptedPort> h;
  h.port.replies = {"\r\nV1.0 Box\r\n>"};
  EXPECT_TRUE(h.link.SendCommand("Q", '>'));
  EXPECT_EQ(h.link.ReplyText(), "\r\nV1.0 Box\r\n>");
  EXPECT_EQ(h.commands, std::vector<std::string>{"Q"});
}

TEST(BoxLink, TheSecondCoversTheWholeReply) {
  LinkHarness<ScriptedPort> h;
  // A byte every 100 ms: the terminator at 1150 ms is too late, one at 850 ms is in time.
  for (int i = 1; i <= 12; ++i)
    h.pump.Post(100.0 * i - 50, [&h, i] { h.link.StoreRxByte(i == 12 ? '>' : 'x'); });
  EXPECT_FALSE(h.link.WaitForChar('>'));
  EXPECT_EQ(h.link.ReplyText(), std::string(10, 'x'));
  h.pump.RunFor(1000);
  h.link.FlushRx();
  for (int i = 1; i <= 9; ++i)
    h.pump.Post(100.0 * i - 50, [&h, i] { h.link.StoreRxByte(i == 9 ? '>' : 'x'); });
  EXPECT_TRUE(h.link.WaitForChar('>'));
}

TEST(BoxLink, ALostLineEndsWaitsAtOnce) {
  SimBoxConfig config;
  config.closeAfterBytes = 1;
  LinkHarness<SimPort> h(config);
  double start = h.pump.NowMs();
  EXPECT_FALSE(h.link.SendCommand("Q", '>'));
  EXPECT_LT(h.pump.NowMs() - start, 100);
  EXPECT_TRUE(h.link.LineLost());
}

}  // namespace
}  // namespace vyk::test

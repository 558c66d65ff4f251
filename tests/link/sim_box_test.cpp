// The simulated Box's side of each exchange, byte for byte, echoes included.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "link/sim_box.h"
#include "link/sim_port.h"
#include "support/virtual_pump.h"

namespace vyk {
namespace {

std::string Feed(SimBox& box, const std::string& input) {
  std::string sent;
  for (char c : input)
    for (const SimOutput& o : box.Receive(static_cast<uint8_t>(c)))
      sent += static_cast<char>(o.byte);
  return sent;
}

struct Exchange {
  const char* name;
  std::function<void(SimBoxConfig&)> setUp;
  std::string input;
  std::string expected;
};

void PrintTo(const Exchange& e, std::ostream* os) {
  *os << e.name;
}

void NoChange(SimBoxConfig&) {}

class SimBoxExchange : public testing::TestWithParam<Exchange> {};

TEST_P(SimBoxExchange, SendsExactly) {
  SimBoxConfig config;
  GetParam().setUp(config);
  SimBox box(config);
  EXPECT_EQ(Feed(box, GetParam().input), GetParam().expected);
}

const Exchange kExchanges[] = {
    {"EmptyLine", NoChange, "\r", "\r\r\n>"},
    {"Identify", NoChange, "Q\r", "Q\r\r\nV1.0 Box\r\n>"},
    {"LowerCase", NoChange, "q\r", "q\r\r\nV1.0 Box\r\n>"},
    {"LineFeedIgnored", NoChange, "\nQ\n\r", "\nQ\n\r\r\nV1.0 Box\r\n>"},
    {"GroupLetterAndShortVersionPadded",
     [](SimBoxConfig& c) {
       c.groupLetter = 'G';
       c.version = "1";
     },
     "Q\r", "Q\r\r\nG1   Box\r\n>"},
    {"LongVersionCut", [](SimBoxConfig& c) { c.version = "10.5"; }, "Q\r", "Q\r\r\nV10. Box\r\n>"},
    {"Reading",
     [](SimBoxConfig& c) {
       c.input = 0x1A2B;
       c.offsets = {0x0001, 0xFFF0, 0x0000, 0xABCD};
       c.output = 0x03FF;
     },
     "M\r", "M\r\r\n1A2B 0001 FFF0 0000 ABCD 0000 0000 0000 03FF\r\n>"},
    {"Write", NoChange, "C1A3F\r", "C1A3F\r\r\n+\r\n>"},
    {"FreshEepromReadsFF", NoChange, "C00*\r", "C00*\r\r\nFF+\r\n>"},
    {"WriteThenReadBack", NoChange, "c1a3f\rC1A*\r", "c1a3f\r\r\n+\r\n>C1A*\r\r\n3F+\r\n>"},
    {"WriteLeavesOtherAddresses", NoChange, "CFF00\rC00*\r", "CFF00\r\r\n+\r\n>C00*\r\r\nFF+\r\n>"},
    {"UnknownCommand", NoChange, "X\r", "X\r\r\n?\r\n>"},
    {"NotHexInWrite", NoChange, "C1G3F\r", "C1G3F\r\r\n?\r\n>"},
    {"WriteTooLong", NoChange, "C1A3F0\r", "C1A3F0\r\r\n?\r\n>"},
    {"ReadWithoutStar", NoChange, "C1A\r", "C1A\r\r\n?\r\n>"},
    {"EachLineStartsAfresh", NoChange, "X\r\r", "X\r\r\n?\r\n>\r\r\n>"},
    // Faults.
    {"StopAfterFirstByte", [](SimBoxConfig& c) { c.stopAfterBytes = 1; }, "Q\r", "Q"},
    {"StopAfterACommand", [](SimBoxConfig& c) { c.stopAfterBytes = 2; }, "Q\rQ\r",
     "Q\r\r\nV1.0 Box\r\n>"},
    {"DropCountsEchoes", [](SimBoxConfig& c) { c.dropNthOutput = 3; }, "Q\r", "Q\r\nV1.0 Box\r\n>"},
    {"DropCountsAcrossCommands", [](SimBoxConfig& c) { c.dropNthOutput = 6; }, "\r\r",
     "\r\r\n>\r\n>"},
    {"CorruptInvertsBits", [](SimBoxConfig& c) { c.corruptNthOutput = 1; }, "Q\r",
     "\xAE\r\r\nV1.0 Box\r\n>"},
    {"WrongAckOnWrite", [](SimBoxConfig& c) { c.wrongAcknowledge = true; }, "C1A3F\r",
     "C1A3F\r\r\n-\r\n>"},
    {"WrongAckOnRead", [](SimBoxConfig& c) { c.wrongAcknowledge = true; }, "C1A*\r",
     "C1A*\r\r\nFF-\r\n>"},
    {"CloseSendsNothingMore", [](SimBoxConfig& c) { c.closeAfterBytes = 2; }, "Q\rQ\r", "Q"},
};

INSTANTIATE_TEST_SUITE_P(All, SimBoxExchange, testing::ValuesIn(kExchanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimBox, CloseFaultClosesTheLineOnItsByte) {
  SimBoxConfig config;
  config.closeAfterBytes = 3;
  SimBox box(config);
  Feed(box, "Q\r");
  EXPECT_FALSE(box.LineClosed());
  EXPECT_TRUE(box.Receive('\r').empty());
  EXPECT_TRUE(box.LineClosed());
}

TEST(SimBox, OnlyEchoesAndTheWritePromptWait) {
  SimBoxConfig config;
  config.byteDelayMs = 2;
  config.eepromWriteMs = 5;
  SimBox box(config);
  EXPECT_EQ(Feed(box, "C1A3"), "C1A3");
  std::vector<double> delays;
  std::string bytes;
  for (const SimOutput& o : box.Receive('F'))
    delays.push_back(o.delayMs);
  for (const SimOutput& o : box.Receive('\r')) {
    delays.push_back(o.delayMs);
    bytes += static_cast<char>(o.byte);
  }
  EXPECT_EQ(bytes, "\r\r\n+\r\n>");
  EXPECT_EQ(delays, (std::vector<double>{2, 2, 0, 0, 0, 5, 0, 0}));
}

TEST(SimBox, DroppedByteStillSpendsItsWait) {
  SimBoxConfig config;
  config.byteDelayMs = 2;
  config.dropNthOutput = 1;
  SimBox box(config);
  auto out = box.Receive('\r');
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].byte, '\r');
  EXPECT_EQ(out[0].delayMs, 2);
  EXPECT_EQ(box.BytesSent(), 4);
}

TEST(SimPort, BytesOnTheirWayWhenThePortGoesAreDropped) {
  VirtualPump pump;  // outlives the port, as the window's pump does
  int heard = 0;
  {
    SimPort port(pump);
    port.onByte = [&heard](uint8_t) { ++heard; };
    port.Open(kSimulatorPortName);
    port.WriteByte('\r');
  }
  pump.RunFor(1000);
  EXPECT_EQ(heard, 0);
}

}  // namespace
}  // namespace vyk

// The simulated Box's side of each exchange, byte for byte, echoes included.
#include <gtest/gtest.h>

#include <array>
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

std::function<void(SimBoxConfig&)> Aim(LineFault fault, long line, int byte = 0) {
  return [=](SimBoxConfig& c) {
    c.lineFault = fault;
    c.faultLine = line;
    c.faultByte = byte;
  };
}

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
    {"ReadingFollowsItsTableAndPots",  // entries 16 and 17, halfway between, both pots +16
     [](SimBoxConfig& c) {
       c.input = 0x0210;
       c.offsets = {0, 0x0010, 0x0010, 0};
     },
     "C2001\rC2100\rC2201\rC2340\rM\r",
     "C2001\r\r\n+\r\n>C2100\r\r\n+\r\n>C2201\r\r\n+\r\n>C2340\r\r\n+\r\n>"
     "M\r\r\n0210 0000 0010 0010 0000 0000 0000 0000 0130\r\n>"},
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
    // Faults aimed at one command line.
    {"AimedDropTakesTheLinesByte", Aim(LineFault::Drop, 2, 0), "\rQ\r",
     "\r\r\n>\r\r\nV1.0 Box\r\n>"},
    {"AimedCorruptPastTheEndHitsTheLast", Aim(LineFault::Corrupt, 1, 99), "\r\r",
     "\r\r\n\xC1\r\r\n>"},
    {"AimedSilenceIgnoresOneLine", Aim(LineFault::Silence, 1), "C003F\rC00*\r",
     "C00*\r\r\nFF+\r\n>"},
    {"AimedCloseAtTheLinesFirstByte", Aim(LineFault::Close, 2), "\rQ\r", "\r\r\n>"},
    {"AimedWrongAckOfAnEmptyLineIsItsPrompt", Aim(LineFault::WrongAck, 1), "\r\r",
     "\r\r\n-\r\r\n>"},
    {"AimedWrongAckOfARead", Aim(LineFault::WrongAck, 1), "C00*\r", "C00*\r\r\nFF-\r\n>"},
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

// A soak's faults: the same seed gives the same run, and every kind turns up.
TEST(SimBox, RandomFaultsRepeatWithTheirSeed) {
  std::array<long, kLineFaultKinds> made{};
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    SimBoxConfig config;
    config.faultRate = 0.2;
    config.faultSeed = seed;
    SimBox first(config);
    SimBox second(config);
    std::string a;
    std::string b;
    for (int k = 0; k < 100; ++k) {
      a += Feed(first, "C00*\r");
      b += Feed(second, "C00*\r");
    }
    EXPECT_EQ(a, b) << seed;
    for (int kind = 0; kind < kLineFaultKinds; ++kind)
      made[kind] += first.FaultsMade(static_cast<LineFault>(kind));
  }
  for (int kind = 1; kind < kLineFaultKinds; ++kind)
    EXPECT_GT(made[kind], 0) << LineFaultName(static_cast<LineFault>(kind));
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

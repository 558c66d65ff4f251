#include "operations/box/live_readings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "operations/project/main_controls.h"
#include "operations/table/image_grids.h"
#include "support/box_harness.h"

namespace vyk::test {
namespace {

// A GM project connected to a simulated GM Box on a drive, at 9600 baud.
struct LiveProject : SimHarness {
  explicit LiveProject(std::function<void(SimBoxConfig&)> tweak = {})
      : SimHarness(Config(std::move(tweak))) {
    New(kGM);
    dialogs.messages.clear();
    commands.clear();
  }
  static SimBoxConfig Config(std::function<void(SimBoxConfig&)> tweak) {
    SimBoxConfig c;
    c.groupLetter = 'G';
    c.baud = 9600;
    c.drive = true;
    if (tweak) tweak(c);
    return c;
  }
  LiveEnd Run(double stopAtMs) {
    pump.Post(stopAtMs, [this] { StopLive(state); });
    return RunLive(session, link,
                   {[this](const LiveReading& r) { readings.push_back(r); },
                    [this](const LiveStatus& s) { last = s; }});
  }
  std::vector<LiveReading> readings;
  LiveStatus last;
};

// After the one prompt, each "M" follows the prompt of the answer before it, as fast as the
// line carries the 53 bytes of a reading: 18 a second at 9600 baud.
TEST(Live, ReadingsFollowOneAnotherWithoutEmptyCommands) {
  LiveProject h;
  EXPECT_EQ(h.Run(2000), LiveEnd::Stopped);
  ASSERT_GE(h.readings.size(), 35u);
  EXPECT_EQ(h.commands[0], "");
  EXPECT_TRUE(std::all_of(h.commands.begin() + 1, h.commands.end(),
                          [](const std::string& c) { return c == "M"; }));
  EXPECT_NEAR(h.last.perSecond, 960.0 / 53, 0.5);
  EXPECT_EQ(h.view.statusMessages.back(),
            "Live view stopped: " + std::to_string(h.readings.size()) + " readings, 0 failed");
  EXPECT_FALSE(h.state.liveRunning);
  EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor);
}

// A pot's arrows act in the live view: the pot goes into the Box between two readings, once
// for two presses, and the readings after it show its offset. Other edits wait.
TEST(Live, PotsAreWrittenBetweenReadings) {
  LiveProject h;
  const EepromImage before = h.state.image;
  h.pump.Post(300, [&h] {
    AdjustPot(h.session, 2, +1);
    AdjustPot(h.session, 2, +1);
    TableGridSetEditText(h.session, 1, 3, "1000");
  });
  h.Run(1000);
  const auto write = std::find(h.commands.begin(), h.commands.end(), "C4402");
  ASSERT_NE(write, h.commands.end());
  EXPECT_EQ(*(write - 1), "M");
  EXPECT_EQ(*(write + 1), "C44*");
  EXPECT_EQ(*(write + 2), "M");
  EXPECT_EQ(h.port.Box().Eeprom()[0x44], 2);
  EXPECT_EQ(h.state.image.Byte(0x44), 2);
  EXPECT_EQ(h.state.image.Entry(3), before.Entry(3));
  EXPECT_EQ(h.readings.front().reading.offsets[1], 0);
  EXPECT_EQ(h.readings.back().reading.offsets[1], 2);
}

TEST(Live, EveryWayItEnds) {
  struct Case {
    const char* name;
    std::function<void(SimBoxConfig&)> box;
    std::function<void(LiveProject&)> during;  // at 500 ms
    LiveEnd end;
    std::string message;  // the error box, or the status bar's last words
    long failed;
  } cases[] = {
      {"stop", {}, [](LiveProject& h) { StopLive(h.state); }, LiveEnd::Stopped, "stopped", 0},
      {"abort",
       {},
       [](LiveProject& h) { AbortBtnClick(h.session, h.link); },
       LiveEnd::Aborted,
       "aborted",
       0},
      {"window closed",
       {},
       [](LiveProject& h) { h.state.abortRequest = true; },
       LiveEnd::Aborted,
       "aborted",
       0},
      {"one garbled reading is skipped",
       [](SimBoxConfig& c) {
         c.lineFault = LineFault::Corrupt;
         c.faultLine = 6;
         c.faultByte = 10;
       },
       {},
       LiveEnd::Stopped,
       "stopped",
       1},
      {"three in a row",
       [](SimBoxConfig& c) { c.garbledReading = true; },
       {},
       LiveEnd::Failed,
       "Invalid response from hardware (error 2)",
       3},
      {"no answer",
       [](SimBoxConfig& c) { c.stopAfterBytes = 30; },
       {},
       LiveEnd::Failed,
       "Hardware not found",
       3},
      {"line lost",
       [](SimBoxConfig& c) { c.closeAfterBytes = 200; },
       {},
       LiveEnd::Failed,
       "The connection to test was lost (the simulated Box closed the line)",
       1},
  };
  for (const Case& c : cases) {
    LiveProject h(c.box);
    if (c.during) h.pump.Post(500, [&] { c.during(h); });
    EXPECT_EQ(h.Run(10000), c.end) << c.name;
    const std::vector<std::string> errors = h.dialogs.Texts(FakeDialogs::Kind::Error);
    if (c.end == LiveEnd::Failed) {
      EXPECT_EQ(errors, std::vector<std::string>{c.message}) << c.name;
    } else {
      EXPECT_TRUE(errors.empty()) << c.name;
      EXPECT_NE(h.view.statusMessages.back().find(c.message), std::string::npos) << c.name;
    }
    EXPECT_EQ(h.last.failed, c.failed) << c.name;
    EXPECT_FALSE(h.state.exchangeRunning || h.state.liveRunning || h.state.abortRequest) << c.name;
  }
}

}  // namespace
}  // namespace vyk::test

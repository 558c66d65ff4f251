#include "match/table_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/groups.h"
#include "support/test_meters.h"

namespace vyk::test {
namespace {

// A Ford table (volts out, 204.8 counts a volt) rising by 25 counts an entry from 100 (0.49 V
// to 4.39 V), changed as each case says, against a meter that spans 1.00 V to 4.00 V.
TEST(TableCheck, Warnings) {
  const ConversionSettings ford = ConversionSettings::ForGroup(kFord);
  const MeterRecord rising = Meter(false, false, {{"1.00", "10.00"}, {"4.00", "900.00"}});
  const MeterRecord falling = Meter(false, false, {{"1.00", "900.00"}, {"4.00", "10.00"}});
  const MeterRecord hertz = Meter(true, false, {{" 1000", "10.00"}, {" 9000", "900.00"}});
  struct Case {
    const char* what;
    std::function<void(EepromImage&)> change;
    std::optional<MeterRecord> meter;
    std::vector<std::string> warnings;
  };
  const std::vector<Case> cases = {
      {"rising, no meter", [](EepromImage&) {}, std::nullopt, {}},
      {"one entry down, no meter",
       [](EepromImage& im) { im.SetEntry(7, im.Entry(6) - 1); },
       std::nullopt,
       {"Entry 7: the output falls from the entry before"}},
      {"one entry down, against the meter",
       [](EepromImage& im) {
         for (int k = 0; k < kTableEntries; ++k)
           im.SetEntry(k, 210 + 19 * k);
         im.SetEntry(7, im.Entry(6) - 1);
       },
       rising,
       {"Entry 7: the output falls from the entry before, where the meter to match's signal "
        "rises"}},
      {"the meter's range",
       [](EepromImage&) {},
       rising,
       {"Entries 0-4: below the meter to match's lowest signal (1.00 V)",
        "Entries 29-32: above the meter to match's highest signal (4.00 V)"}},
      {"a meter whose signal falls with the air",
       [](EepromImage& im) {
         for (int k = 0; k < kTableEntries; ++k)
           im.SetEntry(k, 800 - 10 * k);
       },
       falling,
       {}},
      {"hertz against a table in volts",
       [](EepromImage&) {},
       hertz,
       {"The table's output is in volts, the meter to match's signal in hertz"}},
  };
  for (const Case& c : cases) {
    EepromImage image = NewImage(kFord);
    for (int k = 0; k < kTableEntries; ++k)
      image.SetEntry(k, 100 + 25 * k);
    c.change(image);
    EXPECT_EQ(CheckTable(image, ford, c.meter), c.warnings) << c.what;
  }
}

}  // namespace
}  // namespace vyk::test

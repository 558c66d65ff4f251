// The meter tools: the new flows each gives, what each refuses, and where a curve saturates.
#include "meters/meter_tools.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/text/number.h"
#include "storage/errors.h"
#include "support/test_meters.h"

namespace vyk::test {
namespace {

const MeterRecord kVolts = Meter(false, true, {{"1.00", "10.00"}, {"2.00", "100.00"}});

// The first message of a tool that refuses, or its new flows joined by "|".
template <typename F>
std::string Outcome(F tool, size_t* warnings = nullptr) {
  try {
    ToolResult r = tool();
    std::string flows;
    for (int i = 1; i <= r.meter.UsablePoints(); ++i)
      flows += (i > 1 ? "|" : "") + Trim(r.meter.SignalText(i)) + "=" + r.meter.FlowText(i);
    if (warnings) *warnings = r.warnings.size();
    return flows;
  } catch (const VykError& e) {
    return e.what();
  }
}

TEST(MeterTools, ScaleAndRehouseByTheOpenAreaRule) {
  struct Case {
    std::function<ToolResult()> tool;
    std::string outcome;
    size_t warnings;  // the note always, the high-flow warning from a ratio of 1.45 either way,
                      // and one where the new flow stops rising
  };
  const Case cases[] = {
      {[] { return ScaleMeter(kVolts, 3); }, "1.00=10.30|2.00=103.00", 0},
      {[] { return ScaleMeter(kVolts, -2.5); }, "1.00=9.75|2.00=97.50", 0},
      // Two flows that round to one: kept, with a warning that the flow no longer rises.
      {[] {
         return ScaleMeter(Meter(false, true, {{"1.00", "10.00"}, {"2.00", "10.04"}}), -90);
       },
       "1.00=1.00|2.00=1.00", 1},
      {[] { return ScaleMeter(kVolts, -100); },
       "A scale of -100.0 % leaves no flow: the percentage must be above -100.", 0},
      // (pi 89^2 / 4 - 100) / (pi 76^2 / 4 - 100) = 6121.14 / 4436.46 = 1.37973
      {[] {
         return RehouseMeter(kVolts, {76, 89, 100, 100});
       },
       "1.00=13.80|2.00=137.97", 1},
      {[] {
         return RehouseMeter(kVolts, {76, 100});
       },
       "1.00=17.31|2.00=173.13", 2},
      {[] {
         return RehouseMeter(kVolts, {100, 76});
       },
       "1.00=5.78|2.00=57.76", 2},
      {[] {
         return RehouseMeter(kVolts, {3, 3.5, 0, 0, true});
       },
       "1.00=13.61|2.00=136.11", 1},
      {[] {
         return RehouseMeter(kVolts, {10, 89, 100, 0});
       },
       "A sensor post of 100.0 mm^2 leaves no open area in a housing of 10.00 mm (78.5 mm^2).", 0},
      {[] {
         return RehouseMeter(kVolts, {0, 89});
       },
       "A housing's inner diameter must be more than 0 mm.", 0},
      {[] {
         return RehouseMeter(kVolts, {1e200, 1e200});
       },
       "A housing's inner diameter must be below 10000 mm.", 0},
      {[] {
         return ScaleMeter(Meter(false, true, {{"1.00", "10.00"}}), 3);
       },
       "A meter to scale needs at least 2 points; one has 1.", 0},
  };
  for (const Case& c : cases) {
    size_t warnings = 0;
    EXPECT_EQ(Outcome(c.tool, &warnings), c.outcome);
    EXPECT_EQ(warnings, c.warnings) << c.outcome;
  }
  EXPECT_EQ(RehouseMeter(kVolts, {76, 89, 100, 100}).meter.Description2(),
            "Rehoused from 76.0 mm to 89.0 mm, flows x 1.380");
}

TEST(MeterTools, BlendFollowsTheFirstBelowTheSecondAboveAndMixesBetween) {
  const MeterRecord first = Meter(false, true, {{"1.00", "10.00"}, {"3.00", "30.00"}});
  // 100 lb/hr a volt: 45.36 kg/hr, twice the first meter's flow at 2.00 V... in lb/hr.
  const MeterRecord second =
      Meter(false, false, {{"1.00", "44.09"}, {"2.00", "88.18"}, {"3.00", "132.28"}});
  const MeterRecord hertz = Meter(true, true, {{" 1000", "10.00"}, {" 2000", "20.00"}});
  const MeterRecord single = Meter(false, true, {{"1.00", "10.00"}});
  struct Case {
    const MeterRecord* second;
    double below, above;
    std::string outcome;
  };
  const Case cases[] = {
      // Below the band the first; at 20 (the band's middle) half of each; above it the second.
      {&second, 15, 25, "1.00=10.00|2.00=30.00|3.00=60.00"},
      {&second, 100, 200, "1.00=10.00|2.00=20.00|3.00=30.00"},
      {&second, 0, 5, "1.00=20.00|2.00=40.00|3.00=60.00"},
      {&second, 20, 20, "1.00=10.00|2.00=40.00|3.00=60.00"},
      {&second, 25, 15,
       "The flow where the blend starts (25.00) is above the flow where it ends (15.00)."},
      {&hertz, 15, 25,
       "Only meters of the same signal kind blend: one reads volts, the other hertz."},
      {&single, 15, 25, "A meter to blend needs at least 2 points; one has 1."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Outcome([&] { return BlendMeters(first, *c.second, c.below, c.above); }), c.outcome)
        << c.below << " " << c.above;
  }
}

TEST(MeterTools, BlendOfManyPointsSpreadsSixtyTwoEvenly) {
  std::vector<std::string> texts;
  std::vector<MeterPointText> one, two;
  for (int i = 0; i < 50; ++i) {
    texts.push_back(FormatFixed(0.1 * i, 1, 2));
    texts.push_back(FormatFixed(0.1 * i + 0.05, 1, 2));
    texts.push_back(FormatFixed(10 + i, 1, 2));
  }
  for (size_t i = 0; i < texts.size(); i += 3) {
    one.push_back({texts[i].c_str(), texts[i + 2].c_str()});
    two.push_back({texts[i + 1].c_str(), texts[i + 2].c_str()});
  }
  const ToolResult r = BlendMeters(Meter(false, true, one), Meter(false, true, two), 0, 100);
  EXPECT_EQ(r.meter.PointCount(), 62);
  EXPECT_EQ(r.meter.SignalText(1), "0.00");
  EXPECT_EQ(r.meter.SignalText(62), "4.95");
}

TEST(MeterTools, SaturationWhereTheSignalReachesTheInputLimit) {
  struct Case {
    MeterRecord meter;
    double limit;
    Saturation expected;
  };
  const Case cases[] = {
      // 5.9648 V lies 0.9648 of the way from 5.00 V (50) to 6.00 V (100).
      {Meter(false, true, {{"1.00", "10.00"}, {"5.00", "50.00"}, {"6.00", "100.00"}}),
       kVoltageInputLimit,
       {true, false, 98.24}},
      {Meter(false, true, {{"1.00", "10.00"}, {"5.00", "50.00"}}),
       kVoltageInputLimit,
       {true, true, 59.65}},
      {Meter(true, true, {{" 1000", "10.00"}, {" 2000", "30.00"}}), 3000, {true, true, 50}},
      {Meter(true, true, {{" 4000", "10.00"}, {" 5000", "30.00"}}), 3000, {true, false, 10}},
      {Meter(true, true, {{" 1000", "10.00"}}), 3000, {false, false, 0}},
  };
  for (const Case& c : cases) {
    const Saturation s = SaturationFlow(c.meter, c.limit);
    EXPECT_EQ(s.reached, c.expected.reached);
    EXPECT_EQ(s.extrapolated, c.expected.extrapolated);
    EXPECT_NEAR(s.flow, c.expected.flow, 0.005);
  }
}

}  // namespace
}  // namespace vyk::test

#include <gtest/gtest.h>

#include <vector>

#include "match/compute_match.h"
#include "model/conversions.h"
#include "model/errors.h"
#include "model/groups.h"

#include "support/test_meters.h"

namespace vyk::test {
namespace {

// With 0.25 Hz per count a frequency signal of n Hz falls on input code n, which keeps the
// hand-worked tables below readable.
constexpr float kHz = 0.25f;

// A frequency meter to use whose fill makes slot c hold signal c and flow 10c up to code 40.
MeterRecord LinearUse() {
  return Meter(true, false, {{"10", "100"}, {"20", "200"}, {"40", "400"}});
}

TEST(InputCode, SignalsToCodes) {
  const ConversionSettings gm = ConversionSettings::ForGroup(kGM);
  struct Case {
    float signal;
    bool frequency;
    int code;
  } cases[] = {
      {0.0f, false, 0},   {1.0f, false, 43}, {5.96f, false, 254}, {5.97f, false, 255},
      {6.5f, false, 255}, {-0.5f, false, 0}, {1000, true, 19},    {13500, true, 255},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InputCode(c.signal, c.frequency, gm.HertzPerCount), c.code) << c.signal;
}

TEST(OutputCount, VoltsAreLimitedHertzAreNot) {
  struct Case {
    float signal;
    bool frequency;
    int32_t max;
    int32_t count;
  } cases[] = {
      {5.0f, false, 853, 853}, {6.0f, false, 853, 853},   {6.0f, false, 1023, 1023},
      {1.5f, false, 853, 256}, {13500, true, 1023, 1023}, {20000, true, 1023, 1516},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OutputCount(c.signal, c.frequency, 13.19648f, c.max), c.count) << c.signal;
  EXPECT_THROW(OutputCount(1e30f, true, 1.0f, 1023), RangeError);
}

TEST(ComputeMatch, FewerThanThreeUsePointsAreNotFilled) {
  MatchTable table;
  ComputeMatch(Meter(true, false, {{"10", "100"}, {"20", "200"}}),
               Meter(false, false, {{"1.00", "100"}}), kHz, 1023, table);
  const auto& t = *table;
  EXPECT_EQ(t[10].useSignal, 10.0f);
  EXPECT_EQ(t[20].flow, 200.0f);
  for (int c : {0, 11, 19, 21, 255}) {
    EXPECT_EQ(t[c].useSignal, -1.0f) << c;
    EXPECT_EQ(t[c].flow, 0.0f) << c;
  }
  // From code 128 the walk meets only zero flows, goes up and leaves the table: the point
  // at flow 100 is not placed even though code 10 holds that flow.
  for (int c = 0; c < kMatchSlots; ++c)
    EXPECT_EQ(t[c].outCount, -1) << c;
}

TEST(ComputeMatch, UseSideInterpolatesBelowAndHoldsAbove) {
  MatchTable table;
  ComputeMatch(LinearUse(), Meter(false, false, {}), kHz, 1023, table);
  const auto& t = *table;
  for (int c : {0, 5, 10, 15, 20, 33, 40}) {
    EXPECT_FLOAT_EQ(t[c].useSignal, static_cast<float>(c)) << c;
    EXPECT_FLOAT_EQ(t[c].flow, 10.0f * c) << c;
  }
  for (int c : {41, 128, 255}) {
    EXPECT_EQ(t[c].useSignal, 40.0f) << c;
    EXPECT_EQ(t[c].flow, 400.0f) << c;
  }
}

TEST(ComputeMatch, AGapFromCodeZeroLeavesTheBelowFillToTheNextGap) {
  MatchTable table;
  ComputeMatch(Meter(true, false, {{"0", "50"}, {"10", "100"}, {"20", "300"}}),
               Meter(false, false, {}), kHz, 1023, table);
  const auto& t = *table;
  // Slots 0..9 were first interpolated from 50 to 100, then overwritten from the 10..20 gap.
  EXPECT_EQ(t[0].flow, 0.0f);
  EXPECT_EQ(t[5].flow, 50.0f);
  EXPECT_EQ(t[5].useSignal, 5.0f);
  EXPECT_EQ(t[15].flow, 200.0f);
}

// Below the lowest use point the flow rises from 0 over that point's own codes.
TEST(ComputeMatch, BelowTheFirstUsePointTheFlowRisesFromZero) {
  MatchTable table;
  ComputeMatch(Meter(true, false, {{"5", "50"}, {"20", "200"}, {"40", "400"}}),
               Meter(false, false, {}), kHz, 1023, table);
  EXPECT_FLOAT_EQ((*table)[2].flow, 20.0f);
  EXPECT_FLOAT_EQ((*table)[2].useSignal, 2.0f);
}

TEST(ComputeMatch, UseFlowsAreBroughtIntoTheMatchMetersUnits) {
  MatchTable table;
  ComputeMatch(Meter(true, true, {{"10", "45.40"}}), Meter(false, false, {}), kHz, 1023, table);
  EXPECT_FLOAT_EQ((*table)[10].flow, 100.0f);
  ComputeMatch(Meter(true, false, {{"10", "100.00"}}), Meter(false, true, {}), kHz, 1023, table);
  EXPECT_FLOAT_EQ((*table)[10].flow, 45.4f);
  EXPECT_EQ(MatchLabels(Meter(true, true, {}), Meter(false, false, {})).flowUnits, "Lbs / Hour");
  EXPECT_EQ(MatchLabels(Meter(true, true, {}), Meter(true, true, {})).useHeader, "F Use");
}

TEST(ComputeMatch, OutputSideInterpolatesAndExtrapolatesToTheCeiling) {
  MatchTable table;
  // Flows 100, 200 and 300 sit at codes 10, 20 and 30; the signals give 128, 256 and 384.
  ComputeMatch(LinearUse(),
               Meter(false, false, {{"0.75", "100"}, {"1.50", "200"}, {"2.25", "300"}}), kHz, 1023,
               table);
  const auto& t = *table;
  struct Case {
    int code;
    int32_t count;
  } cases[] = {
      {10, 128}, {20, 256},  {30, 384},                             // placed
      {11, 141}, {15, 192},  {25, 320},                             // between
      {9, 115},  {7, 90},    {1, 13},    {0, 0},                    // below, slope 12.8
      {31, 397}, {79, 1011}, {80, 1023}, {200, 1023}, {255, 1023},  // above, clamped
  };
  for (const Case& c : cases)
    EXPECT_EQ(t[c.code].outCount, c.count) << c.code;

  ComputeMatch(LinearUse(),
               Meter(false, false, {{"0.75", "100"}, {"1.50", "200"}, {"2.25", "300"}}), kHz, 853,
               table);
  EXPECT_EQ((*table)[79].outCount, 853);
  EXPECT_EQ((*table)[40].outCount, 512);
}

TEST(ComputeMatch, ExtrapolationDownStaysAtZero) {
  MatchTable table;
  ComputeMatch(LinearUse(), Meter(true, false, {{"25", "200"}, {"75", "300"}, {"400", "350"}}), kHz,
               1023, table);
  const auto& t = *table;
  // Counts 100 at 20 and 300 at 30: 20 per code, so 0 at code 15 and below.
  EXPECT_EQ(t[16].outCount, 20);
  EXPECT_EQ(t[15].outCount, 0);
  EXPECT_EQ(t[0].outCount, 0);
  // A placed frequency count is not limited; interpolated and extrapolated ones are.
  EXPECT_EQ(t[35].outCount, 1600);
  EXPECT_EQ(t[31].outCount, 560);
  EXPECT_EQ(t[34].outCount, 1023);
  EXPECT_EQ(t[36].outCount, 1023);
}

TEST(ComputeMatch, TheWalkPicksNearestSlotsAndDropsFlowsOutsideTheTable) {
  // Flow 10c for every code up to 250, so half-way flows can be placed on both sides of 128.
  MeterRecord use = Meter(true, false, {{"100", "1000"}, {"200", "2000"}, {"250", "2500"}});
  struct Case {
    const char* flow;
    int code;
  } cases[] = {
      {"105", 11},    // half-way walking down: the upper slot
      {"1505", 150},  // half-way walking up: the lower slot
      {"1507", 151},  // nearer the upper one
      {"1280", 128},  // exactly at the start
      {"2600", -1},   // above the flow of code 255
      {"-1", -1},     // below the flow of code 0
  };
  for (const Case& c : cases) {
    MatchTable table;
    ComputeMatch(use, Meter(false, false, {{"1.00", c.flow}}), kHz, 1023, table);
    int found = -1;
    for (int s = 0; s < kMatchSlots; ++s)
      if ((*table)[s].outCount >= 0) found = s;
    EXPECT_EQ(found, c.code) << c.flow;
  }
}

TEST(ComputeMatch, ABadPointTextStopsTheComputation) {
  MatchTable table;
  EXPECT_THROW(
      ComputeMatch(Meter(true, false, {{"10", "x"}}), Meter(false, false, {}), kHz, 1023, table),
      ConvertError);
  MeterRecord tooMany = LinearUse();
  tooMany.SetPointCount(500);  // reads no point beyond the 62 a record holds
  EXPECT_THROW(ComputeMatch(tooMany, Meter(false, false, {}), kHz, 1023, table), ConvertError);
}

}  // namespace
}  // namespace vyk::test

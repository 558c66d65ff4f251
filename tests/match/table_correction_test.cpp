#include "match/table_correction.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/groups.h"
#include "support/synthetic_drive.h"
#include "support/test_meters.h"

namespace vyk::test {
namespace {

const ConversionSettings kFordCs = ConversionSettings::ForGroup(kFord);

// A voltage meter whose flow (lb/hr) grows faster than its signal: a point a volt.
const double kCurvedFlows[] = {0, 20, 80, 200, 420, 800};
const MeterRecord kCurved = Meter(
    false, false, {{"0", "0"}, {"1", "20"}, {"2", "80"}, {"3", "200"}, {"4", "420"}, {"5", "800"}});
double CurvedFlow(double v) {
  const int i = std::clamp(static_cast<int>(v), 0, 4);
  return kCurvedFlows[i] + (v - i) * (kCurvedFlows[i + 1] - kCurvedFlows[i]);
}

EepromImage ImageOf(const std::vector<int>& counts) {
  EepromImage image = NewImage(kFord);
  for (int k = 0; k < kTableEntries; ++k)
    image.SetEntry(k, counts[k]);
  return image;
}

// The Box holds 100 + 25k; the controller wants up to 4 % more or 3 % less, by entry. Even
// entries are logged 25 times, odd ones 5 times (too few), entry 32 never.
TEST(TableCorrection, RecoversTheWantedTable) {
  std::vector<int> held, truth, perEntry;
  for (int k = 0; k < kTableEntries; ++k) {
    held.push_back(100 + 25 * k);
    truth.push_back(static_cast<int>(std::lround(held[k] * (1 + ((k % 8) - 3) / 100.0))));
    perEntry.push_back(k == 32 ? 0 : k % 2 == 0 ? 25 : 5);
  }
  const Drive plain{held, truth, perEntry}, wideband{held, truth, perEntry, true},
      curved{held, truth, perEntry, false, CurvedFlow};
  struct Case {
    const char* what;
    Drive drive;
    SignalUnit unit;
    std::optional<MeterRecord> meter;
    double lambdaOf = 0;  // the wideband logged as lambda at this ratio to its AFR
  };
  const std::vector<Case> cases = {
      {"trims, in proportion", plain, SignalUnit::Volts, std::nullopt},
      {"wideband", wideband, SignalUnit::Volts, std::nullopt},
      {"lambda wideband against a commanded AFR", wideband, SignalUnit::Volts, std::nullopt, 14.7},
      {"trims, through the meter", curved, SignalUnit::Volts, kCurved},
      {"g/s, through the meter", curved, SignalUnit::GramsPerSecond, kCurved},
  };
  for (const Case& c : cases) {
    std::vector<CorrectionSample> samples = DriveSamples(c.drive, kFordCs);
    for (CorrectionSample& s : samples) {
      if (c.unit == SignalUnit::GramsPerSecond)
        s.signal = CurvedFlow(s.signal) * static_cast<double>(kKgPerLb) / 3.6;
      if (c.lambdaOf > 0) s.afr /= c.lambdaOf;
    }
    CorrectionSettings settings;
    settings.unit = c.unit;
    settings.source = c.drive.wideband ? CorrectionSource::Wideband : CorrectionSource::Trims;
    settings.steadyPercent = 100;  // the drive jumps from entry to entry
    const CorrectionResult r = CorrectTable(samples, settings, ImageOf(held), kFordCs, c.meter);
    for (int k = 0; k < kTableEntries; ++k) {
      const int expected = perEntry[k] >= 20 ? truth[k] : held[k];
      EXPECT_NEAR(r.image.Entry(k), expected, 1) << c.what << ", entry " << k;
      EXPECT_EQ(r.entries[k].samples, perEntry[k]) << c.what << ", entry " << k;
    }
  }
}

// Each sample after a good one is turned away by exactly one gate.
TEST(TableCorrection, Gates) {
  const double nan = std::nan("");
  const CorrectionSample good{2.0, 3, 14.7, 14.7, 90, 20};
  struct Case {
    CorrectionSample sample;
    CorrectionSource source;
    std::optional<CorrectionGate> gate;  // nothing: the sample is used
  };
  const std::vector<Case> cases = {
      {good, CorrectionSource::Trims, std::nullopt},
      {{nan, 3, nan, nan, 90, 20}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, 3, nan, nan, nan, 20}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, 3, nan, nan, 69.9, 20}, CorrectionSource::Trims, CorrectionGate::ColdEngine},
      {{2.0, 50.5, nan, nan, 90, 20}, CorrectionSource::Trims, CorrectionGate::TrimRange},
      {{2.11, 3, nan, nan, 90, 20}, CorrectionSource::Trims, CorrectionGate::Unsteady},
      {{2.09, 3, nan, nan, 90, 20}, CorrectionSource::Trims, std::nullopt},
      {{2.0, nan, 0, 14.7, 90, 20}, CorrectionSource::Wideband, CorrectionGate::WidebandRange},
      {{2.0, nan, 12.5, 7.5, 90, 20}, CorrectionSource::Wideband, CorrectionGate::WidebandRange},
      {{2.0, nan, 12.5, 12.8, 90, 20}, CorrectionSource::Wideband, std::nullopt},
      {{2.0, 3, nan, nan, 90, nan}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, 3, nan, nan, 90, 25.5}, CorrectionSource::Trims, CorrectionGate::ThrottleMoving},
      {{2.0, 3, nan, nan, 90, 24.5}, CorrectionSource::Trims, std::nullopt},
  };
  std::vector<int> counts(kTableEntries);
  std::generate(counts.begin(), counts.end(), [k = 0]() mutable { return 25 * k++; });
  for (const Case& c : cases) {
    CorrectionSettings settings;
    settings.source = c.source;
    settings.useCoolant = true;
    settings.useThrottle = true;
    const CorrectionResult r =
        CorrectTable({good, c.sample}, settings, ImageOf(counts), kFordCs, std::nullopt);
    std::array<int, kCorrectionGates> removed{};
    if (c.gate) ++removed[static_cast<int>(*c.gate)];
    EXPECT_EQ(r.removed, removed) << "case " << &c - cases.data();
    EXPECT_EQ(r.used, c.gate ? 1 : 2);
  }
}

// A table the controller wants 10 % richer at entries 4 and 5 (0.88 and 0.98 V), just below
// entry 6. A meter to match whose lines run below zero flow there corrects them in proportion,
// as without it, rather than the wrong way.
TEST(TableCorrection, ClampAndKeepRising) {
  const MeterRecord belowZero = Meter(false, false, {{"1.5", "5"}, {"2", "20"}, {"5", "400"}});
  std::vector<int> held;
  for (int k = 0; k < kTableEntries; ++k)
    held.push_back(100 + 20 * k);
  held[6] = 205;
  std::vector<int> truth = held;
  truth[4] = 198;  // 180 and 200, 10 % up
  truth[5] = 220;
  struct Case {
    double clamp;
    bool keepRising;
    int samplesAt6;  // entry 6 needs no change
    std::optional<MeterRecord> meter;
    std::vector<int> entries4to7;
  };
  const std::vector<Case> cases = {
      {5, false, 0, std::nullopt, {189, 210, 205, 240}},
      {2, false, 0, std::nullopt, {184, 204, 205, 240}},
      {5, true, 0, std::nullopt, {189, 210, 205, 240}},
      {5, true, 20, std::nullopt, {189, 210, 210, 240}},
      {5, false, 0, belowZero, {189, 210, 205, 240}},
  };
  for (const Case& c : cases) {
    std::vector<int> perEntry(kTableEntries, 0);
    perEntry[4] = perEntry[5] = 20;
    perEntry[6] = c.samplesAt6;
    CorrectionSettings settings;
    settings.clampPercent = c.clamp;
    settings.keepRising = c.keepRising;
    settings.steadyPercent = 100;
    const CorrectionResult r = CorrectTable(DriveSamples({held, truth, perEntry}, kFordCs),
                                            settings, ImageOf(held), kFordCs, c.meter);
    const std::vector<int> got{r.image.Entry(4), r.image.Entry(5), r.image.Entry(6),
                               r.image.Entry(7)};
    EXPECT_EQ(got, c.entries4to7) << "case " << &c - cases.data();
  }
}

}  // namespace
}  // namespace vyk::test

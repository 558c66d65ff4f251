#include "match/table_correction.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/groups.h"
#include "support/synthetic_drive.h"
#include "support/test_meters.h"

namespace vyk::test {
namespace {

const ConversionSettings kFordCs = ConversionSettings::ForGroup(kFord);

// A voltage meter whose flow grows faster than its signal (lb/hr).
const MeterRecord kCurved = Meter(false, false,
                                  {{"0.00", "0.00"},
                                   {"1.00", "20.00"},
                                   {"2.00", "80.00"},
                                   {"3.00", "200.00"},
                                   {"4.00", "420.00"},
                                   {"5.00", "800.00"}});
double CurvedFlow(double v) {
  const double s[] = {0, 1, 2, 3, 4, 5}, f[] = {0, 20, 80, 200, 420, 800};
  int i = std::clamp(static_cast<int>(v), 0, 4);
  return f[i] + (v - s[i]) * (f[i + 1] - f[i]) / (s[i + 1] - s[i]);
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
  struct Case {
    const char* what;
    Drive drive;
    SignalUnit unit;
    std::optional<MeterRecord> meter;
  };
  const std::vector<Case> cases = {
      {"trims, in proportion", {held, truth, perEntry}, SignalUnit::Volts, std::nullopt},
      {"wideband", {held, truth, perEntry, true}, SignalUnit::Volts, std::nullopt},
      {"trims, through the meter",
       {held, truth, perEntry, false, CurvedFlow},
       SignalUnit::Volts,
       kCurved},
      {"g/s, through the meter",
       {held, truth, perEntry, false, CurvedFlow},
       SignalUnit::GramsPerSecond,
       kCurved},
  };
  for (const Case& c : cases) {
    std::vector<CorrectionSample> samples = DriveSamples(c.drive, kFordCs);
    if (c.unit == SignalUnit::GramsPerSecond)
      for (CorrectionSample& s : samples)
        s.signal = CurvedFlow(s.signal) * static_cast<double>(kKgPerLb) / 3.6;
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
  const CorrectionSample good{2.0, 3, 14.7, 14.7, 90};
  struct Case {
    CorrectionSample sample;
    CorrectionSource source;
    std::optional<CorrectionGate> gate;  // nothing: the sample is used
  };
  const std::vector<Case> cases = {
      {good, CorrectionSource::Trims, std::nullopt},
      {{nan, 3, nan, nan, 90}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, nan, nan, nan, 90}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, 3, nan, nan, nan}, CorrectionSource::Trims, CorrectionGate::Unreadable},
      {{2.0, 3, nan, nan, 69.9}, CorrectionSource::Trims, CorrectionGate::ColdEngine},
      {{2.0, 50.5, nan, nan, 90}, CorrectionSource::Trims, CorrectionGate::TrimRange},
      {{2.0, -51, nan, nan, 90}, CorrectionSource::Trims, CorrectionGate::TrimRange},
      {{2.11, 3, nan, nan, 90}, CorrectionSource::Trims, CorrectionGate::Unsteady},
      {{2.09, 3, nan, nan, 90}, CorrectionSource::Trims, std::nullopt},
      {{2.0, nan, 0, 14.7, 90}, CorrectionSource::Wideband, CorrectionGate::WidebandRange},
      {{2.0, nan, 23, 14.7, 90}, CorrectionSource::Wideband, CorrectionGate::WidebandRange},
      {{2.0, nan, 12.5, 7.5, 90}, CorrectionSource::Wideband, CorrectionGate::WidebandRange},
      {{2.0, nan, 12.5, 12.8, 90}, CorrectionSource::Wideband, std::nullopt},
  };
  std::vector<int> counts;
  for (int k = 0; k < kTableEntries; ++k)
    counts.push_back(25 * k);
  for (const Case& c : cases) {
    CorrectionSettings settings;
    settings.source = c.source;
    settings.useCoolant = true;
    const CorrectionResult r =
        CorrectTable({good, c.sample}, settings, ImageOf(counts), kFordCs, std::nullopt);
    std::array<int, kCorrectionGates> removed{};
    if (c.gate) ++removed[static_cast<int>(*c.gate)];
    EXPECT_EQ(r.removed, removed) << "signal " << c.sample.signal << " trim " << c.sample.trim
                                  << " afr " << c.sample.afr;
    EXPECT_EQ(r.used, c.gate ? 1 : 2);
  }
}

// A table the controller wants 10 % richer at entries 4 and 5, just below entry 6.
TEST(TableCorrection, ClampAndKeepRising) {
  std::vector<int> held, perEntry(kTableEntries, 0);
  for (int k = 0; k < kTableEntries; ++k)
    held.push_back(100 + 20 * k);
  held[6] = 205;
  std::vector<int> truth = held;
  for (int k : {4, 5}) {
    truth[k] = static_cast<int>(std::lround(held[k] * 1.1));
    perEntry[k] = 20;
  }
  struct Case {
    double clamp;
    bool keepRising;
    std::vector<int> entries4to7;
  };
  const std::vector<Case> cases = {
      {5, false, {189, 210, 205, 240}},
      {2, false, {184, 204, 205, 240}},
      {20, false, {198, 220, 205, 240}},
      {5, true, {189, 210, 210, 240}},
  };
  for (const Case& c : cases) {
    CorrectionSettings settings;
    settings.clampPercent = c.clamp;
    settings.keepRising = c.keepRising;
    settings.steadyPercent = 100;
    const CorrectionResult r = CorrectTable(DriveSamples({held, truth, perEntry}, kFordCs),
                                            settings, ImageOf(held), kFordCs, std::nullopt);
    std::vector<int> got;
    for (int k = 4; k <= 7; ++k)
      got.push_back(r.image.Entry(k));
    EXPECT_EQ(got, c.entries4to7) << "clamp " << c.clamp << " keep rising " << c.keepRising;
  }
}

TEST(TableCorrection, RefusesUnitsTheTableCannotBeReadIn) {
  const EepromImage volts = NewImage(kFord);
  const MeterRecord hertzMeter = Meter(true, false, {{" 1000", "10.00"}, {" 9000", "900.00"}});
  struct Case {
    SignalUnit unit;
    std::optional<MeterRecord> meter;
    const char* message;
  };
  const std::vector<Case> cases = {
      {SignalUnit::Hertz, std::nullopt,
       "The log's signal is in hertz, the table's output in volts"},
      {SignalUnit::GramsPerSecond, hertzMeter,
       "A signal in g/s needs the meter to match, of the table's output kind: the project has "
       "none that reads"},
  };
  for (const Case& c : cases) {
    CorrectionSettings settings;
    settings.unit = c.unit;
    try {
      CorrectTable({}, settings, volts, kFordCs, c.meter);
      ADD_FAILURE() << c.message;
    } catch (const CorrectionError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace vyk::test

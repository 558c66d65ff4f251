#pragma once
// Correcting the table from what the engine controller reported while driving: its fuel trims
// (closed loop) or a wideband's air-fuel ratio against the ratio it commanded (open loop). A
// positive trim says the controller added fuel: it saw less air than there was, so the signal
// the Box gave it should have stood for that much more air. The samples are sorted to the
// table entry whose output gave their signal, and each entry with enough of them is moved by
// their mean, a few percent a pass at most.
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "meters/meter_record.h"
#include "model/conversions.h"
#include "model/eeprom_image.h"

namespace vyk {

// One row of the log; NaN where the log has no value (or the column is not used).
struct CorrectionSample {
  double signal;    // the signal the controller saw, in the settings' unit
  double trim;      // short and long term trims added, %
  double afr;       // wideband reading: air-fuel ratio or lambda
  double target;    // the ratio (or lambda) the controller commanded
  double coolant;   // deg C
  double throttle;  // % open
};

enum class SignalUnit { Hertz, Volts, GramsPerSecond };
enum class CorrectionSource { Trims, Wideband };

struct CorrectionSettings {
  SignalUnit unit = SignalUnit::Volts;
  CorrectionSource source = CorrectionSource::Trims;
  int minSamples = 20;              // fewer in an entry: the entry stays as it is
  double clampPercent = 5;          // the most an entry moves in one pass
  bool keepRising = false;          // each corrected entry at least the one before
  bool useCoolant = false;          // the log has a coolant column: gate on a warm engine
  double warmCoolant = 70;          // deg C
  double steadyPercent = 5;         // the signal may change this much from the sample before
  bool useThrottle = false;         // the log has a throttle column: gate on a steady throttle
  double steadyThrottle = 5;        // % open it may change from the sample before
  double afrLow = 8, afrHigh = 22;  // a wideband's air-fuel ratio outside: no reading to trust
  double lambdaLow = 0.55, lambdaHigh = 1.5;
  bool hasTarget = true;  // the log has the commanded ratio's column; a lambda without: 1.0
  double maxTrim = 50;    // a total trim beyond this is no reading to trust
  int maxCount = 1023;    // the highest output count the table may take
};

// The gates, in the order a sample meets them: each removed sample is counted by the first
// that turned it away.
enum class CorrectionGate {
  Unreadable,
  ColdEngine,
  WidebandRange,
  TrimRange,
  Unsteady,
  ThrottleMoving,
  Count
};
inline constexpr int kCorrectionGates = static_cast<int>(CorrectionGate::Count);
// "no reading", "cold engine", ...: the gate as the user sees it named.
std::string CorrectionGateName(CorrectionGate gate);

struct EntryCorrection {
  int oldCount = 0;
  int newCount = 0;
  int samples = 0;
  double meanError = 0;  // % more air than the controller saw, the entry's samples' mean
  double spread = 0;     // standard deviation of the samples' errors, %
  bool enough = false;   // samples enough to correct the entry
  bool changed = false;
  bool inProportion = false;  // moved in proportion: the meter to match gives no flow there
};

struct CorrectionResult {
  std::array<EntryCorrection, kTableEntries> entries{};
  std::array<int, kCorrectionGates> removed{};
  int outside = 0;            // samples whose signal the table never gives
  int used = 0;               // samples sorted to an entry
  bool throughMeter = false;  // the correction went through the meter to match's curve
  bool lambda = false;        // the wideband readings are lambda, not air-fuel ratios
  EepromImage image;          // the corrected image
};

// A unit the table cannot be read in (hertz against a table in volts, g/s without the meter
// the controller expects), or settings that make no sense.
class CorrectionError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Air-fuel ratios from the wideband without the ratio the controller commanded.
class NoTargetError : public CorrectionError {
  using CorrectionError::CorrectionError;
};

// The correction of the image's table (its output read in the image's output kind with the
// project's constants). `meterToMatch`, when of the table's output kind, carries the flow the
// controller reads from a signal. Throws CorrectionError.
CorrectionResult CorrectTable(const std::vector<CorrectionSample>& samples,
                              const CorrectionSettings& settings, const EepromImage& image,
                              const ConversionSettings& cs,
                              const std::optional<MeterRecord>& meterToMatch);

}  // namespace vyk

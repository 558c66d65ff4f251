#include "match/table_correction.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "meters/meter_tools.h"
#include "model/text/number.h"

namespace vyk {

namespace {

constexpr double kKgPerHourPerGramPerSecond = 3.6;
// Petrol's stoichiometric ratio: a lambda and an air-fuel ratio are compared at it.
constexpr double kStoichiometricAfr = 14.7;

// The meter to match's curve, as the controller reads a flow from a signal.
struct ControllerCurve {
  std::vector<CurvePoint> points;
  bool metric = false;

  static std::optional<ControllerCurve> Of(const MeterRecord& meter) {
    ControllerCurve curve;
    try {
      curve.points = MeterCurve(meter);
    } catch (const std::exception&) {
      return std::nullopt;  // a meter that does not read is reported where it is opened
    }
    if (curve.points.size() < 2) return std::nullopt;
    curve.metric = meter.IsMetric();
    return curve;
  }

  // The flow at a signal within the meter's points; nothing outside them or where the flow is
  // not above 0, where the lines' extension says nothing a correction can scale.
  std::optional<double> FlowWithin(double signal) const {
    if (signal < points.front().signal || signal > points.back().signal) return std::nullopt;
    const std::optional<double> flow = FlowAtSignal(points, signal);
    if (!flow || *flow <= 0) return std::nullopt;
    return flow;
  }
};

bool FrequencyOutput(const EepromImage& image) {
  return (image.Byte(kModeByte) & kOutputKindMask) == kFrequencyOutput;
}

// Whether a column's readings are lambda rather than air-fuel ratios: no ratio of a running
// engine is below 3, and no lambda above it. Nothing when the column has no reading.
std::optional<bool> LambdaScale(const std::vector<CorrectionSample>& samples,
                                double CorrectionSample::*column) {
  std::vector<double> readings;
  for (const CorrectionSample& s : samples)
    if (std::isfinite(s.*column) && s.*column != 0) readings.push_back(s.*column);
  if (readings.empty()) return std::nullopt;
  std::nth_element(readings.begin(), readings.begin() + readings.size() / 2, readings.end());
  return readings[readings.size() / 2] < 3;
}

}  // namespace

std::string CorrectionGateName(CorrectionGate gate) {
  switch (gate) {
    case CorrectionGate::Unreadable:
      return "no reading";
    case CorrectionGate::ColdEngine:
      return "cold engine";
    case CorrectionGate::WidebandRange:
      return "wideband out of range";
    case CorrectionGate::TrimRange:
      return "trim beyond limit";
    case CorrectionGate::Unsteady:
      return "signal not steady";
    case CorrectionGate::ThrottleMoving:
      return "throttle moving";
    case CorrectionGate::Count:
      break;
  }
  return "";
}

CorrectionResult CorrectTable(const std::vector<CorrectionSample>& samples,
                              const CorrectionSettings& settings, const EepromImage& image,
                              const ConversionSettings& cs,
                              const std::optional<MeterRecord>& meterToMatch) {
  if (!cs.IsSet()) throw CorrectionError("The project's group sets no conversion yet");
  if (settings.minSamples < 1) throw CorrectionError("At least one sample an entry is needed");
  if (!(settings.clampPercent >= 0)) throw CorrectionError("The clamp cannot be negative");
  if (!(settings.afrLow < settings.afrHigh) || !(settings.lambdaLow < settings.lambdaHigh))
    throw CorrectionError("The wideband's range is empty: its low end must be below its high end");

  const bool hertz = FrequencyOutput(image);
  std::optional<ControllerCurve> curve;
  if (meterToMatch && meterToMatch->IsFrequency() == hertz)
    curve = ControllerCurve::Of(*meterToMatch);
  switch (settings.unit) {
    case SignalUnit::Hertz:
    case SignalUnit::Volts:
      if ((settings.unit == SignalUnit::Hertz) != hertz)
        throw CorrectionError(std::string("The log's signal is in ") + (hertz ? "volts" : "hertz") +
                              ", the table's output in " + (hertz ? "hertz" : "volts"));
      break;
    case SignalUnit::GramsPerSecond:
      if (!curve)
        throw CorrectionError(
            "A signal in g/s needs the meter to match, of the table's output kind: the project "
            "has none that reads");
      break;
  }

  // The table's outputs as signals, and back.
  auto signalOf = [&](long double count) -> long double {
    return hertz ? count * cs.HertzPerCount : count / cs.OutputCountsPerVolt;
  };
  auto countOf = [&](long double signal) -> long double {
    return hertz ? signal / cs.HertzPerCount : signal * cs.OutputCountsPerVolt;
  };
  // The signal the Box gave for a sample, in the output's unit.
  auto outputSignal = [&](double logged) -> double {
    if (settings.unit != SignalUnit::GramsPerSecond) return logged;
    double flow = logged * kKgPerHourPerGramPerSecond;
    if (!curve->metric) flow /= static_cast<double>(kKgPerLb);
    return SignalAtFlow(curve->points, flow).value_or(std::nan(""));
  };

  CorrectionResult result;
  result.image = image;
  result.throughMeter = curve.has_value();
  const bool wideband = settings.source == CorrectionSource::Wideband;
  // Each column on its own scale: a lambda wideband may be logged against a commanded AFR.
  bool targetLambda = false;
  if (wideband) {
    result.lambda = LambdaScale(samples, &CorrectionSample::afr).value_or(true);
    if (!settings.hasTarget && !result.lambda)
      throw NoTargetError(
          "The wideband column reads air-fuel ratios: choose the commanded AFR column");
    targetLambda = settings.hasTarget
                       ? LambdaScale(samples, &CorrectionSample::target).value_or(result.lambda)
                       : true;
  }
  auto inRange = [&](double v, bool lambda) {
    return v != 0 && (lambda ? v >= settings.lambdaLow && v <= settings.lambdaHigh
                             : v >= settings.afrLow && v <= settings.afrHigh);
  };
  auto asLambda = [](double v, bool lambda) { return lambda ? v : v / kStoichiometricAfr; };

  std::array<int, kTableEntries> oldCounts{};
  std::array<long double, kTableEntries> outputs{};
  for (int k = 0; k < kTableEntries; ++k) {
    oldCounts[k] = image.Entry(k);
    outputs[k] = signalOf(oldCounts[k]);
  }

  std::array<std::vector<double>, kTableEntries> errors{};
  double previous = std::nan("");
  double previousThrottle = std::nan("");
  for (const CorrectionSample& s : samples) {
    const double before = std::exchange(previous, s.signal);
    const double throttleBefore = std::exchange(previousThrottle, s.throttle);
    // A lambda logged without the commanded ratio is held against 1.
    const double target = settings.hasTarget ? s.target : 1.0;
    auto gate = [&]() -> std::optional<CorrectionGate> {
      if (!std::isfinite(s.signal) || (settings.useCoolant && !std::isfinite(s.coolant)) ||
          (settings.useThrottle && !std::isfinite(s.throttle)) ||
          (wideband ? !std::isfinite(s.afr) || !std::isfinite(target) : !std::isfinite(s.trim)))
        return CorrectionGate::Unreadable;
      if (settings.useCoolant && s.coolant < settings.warmCoolant)
        return CorrectionGate::ColdEngine;
      if (wideband && (!inRange(s.afr, result.lambda) || !inRange(target, targetLambda)))
        return CorrectionGate::WidebandRange;
      if (!wideband && std::abs(s.trim) > settings.maxTrim) return CorrectionGate::TrimRange;
      if (std::isfinite(before) &&
          std::abs(s.signal - before) > settings.steadyPercent / 100 * std::abs(s.signal))
        return CorrectionGate::Unsteady;
      // A throttle on the move brings the controller's transient fuelling, which no trim of
      // the table should follow.
      if (settings.useThrottle && std::isfinite(throttleBefore) &&
          std::abs(s.throttle - throttleBefore) > settings.steadyThrottle)
        return CorrectionGate::ThrottleMoving;
      return std::nullopt;
    }();
    if (gate) {
      ++result.removed[static_cast<int>(*gate)];
      continue;
    }

    // The entry whose output gave the signal: on the first stretch of the table that holds it,
    // read in counts. A signal logged with a few digits lies a hair off the count it came
    // from, and up to about a count past the table's lowest and highest output (5.00 V logged
    // for 4.995 V): the ends are given that much when no stretch holds the count.
    const long double count = countOf(outputSignal(s.signal));
    int entry = -1;
    for (const long double slack : {1e-3L, 1.5L}) {
      for (int k = 0; k + 1 < kTableEntries && entry < 0; ++k) {
        const long double a = oldCounts[k], b = oldCounts[k + 1];
        if (count < std::min(a, b) - slack || count > std::max(a, b) + slack) continue;
        const long double position =
            a == b ? k : std::clamp(k + (count - a) / (b - a), k + 0.0L, k + 1.0L);
        entry = static_cast<int>(std::floor(position + 0.5L));
      }
      if (entry >= 0) break;
    }
    if (entry < 0) {
      ++result.outside;
      continue;
    }
    ++result.used;
    const double factor = wideband ? asLambda(s.afr, result.lambda) / asLambda(target, targetLambda)
                                   : 1 + s.trim / 100;
    errors[entry].push_back((factor - 1) * 100);
  }

  const int highest = std::min(settings.maxCount, 1023);
  for (int k = 0; k < kTableEntries; ++k) {
    EntryCorrection& e = result.entries[k];
    const std::vector<double>& errs = errors[k];
    e.oldCount = e.newCount = oldCounts[k];
    e.samples = static_cast<int>(errs.size());
    if (!errs.empty()) {
      double sum = 0;
      for (double x : errs)
        sum += x;
      e.meanError = sum / errs.size();
      double squares = 0;
      for (double x : errs)
        squares += (x - e.meanError) * (x - e.meanError);
      e.spread = errs.size() > 1 ? std::sqrt(squares / (errs.size() - 1)) : 0;
    }
    e.enough = e.samples >= settings.minSamples;
    if (!e.enough) continue;
    const long double factor = 1 + e.meanError / 100;
    const long double old = outputs[k];
    // Below the meter's first point its lines can run to a flow of 0 or less, where scaling
    // the flow would move the entry the wrong way: there, and past its last point, the
    // correction goes in proportion to the output.
    const std::optional<double> flow =
        curve ? curve->FlowWithin(static_cast<double>(old)) : std::nullopt;
    e.inProportion = curve && !flow;
    const long double corrected =
        flow ? SignalAtFlow(curve->points, *flow * static_cast<double>(factor)).value_or(0)
             : old * factor;
    const long double step = settings.clampPercent / 100;
    long double count =
        std::clamp(countOf(corrected), oldCounts[k] * (1 - step), oldCounts[k] * (1 + step));
    count = std::clamp(RoundHalfEven(count), 0.0L, static_cast<long double>(highest));
    e.newCount = static_cast<int>(count);
  }
  // Only corrected entries are raised: the others stay as they were.
  if (settings.keepRising)
    for (int k = 1; k < kTableEntries; ++k)
      if (result.entries[k].enough)
        result.entries[k].newCount =
            std::max(result.entries[k].newCount, result.entries[k - 1].newCount);
  for (int k = 0; k < kTableEntries; ++k) {
    EntryCorrection& e = result.entries[k];
    e.changed = e.newCount != e.oldCount;
    if (e.changed) result.image.SetEntry(k, e.newCount);
  }
  return result;
}

}  // namespace vyk

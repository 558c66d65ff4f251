#include "match/table_correction.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/text/number.h"

namespace vyk {

namespace {

constexpr double kKgPerHourPerGramPerSecond = 3.6;

// A meter's flow against its signal, read on the straight lines between its points (and on
// the first and last line's extension beyond them).
class MeterCurve {
 public:
  static std::optional<MeterCurve> Of(const MeterRecord& meter) {
    MeterCurve curve;
    try {
      for (int i = 1; i <= meter.UsablePoints(); ++i)
        curve.points_.emplace_back(TextToFloat(meter.SignalText(i)),
                                   TextToFloat(meter.FlowText(i)));
    } catch (const std::exception&) {
      return std::nullopt;  // a meter that does not read is reported where it is opened
    }
    if (curve.points_.size() < 2) return std::nullopt;
    curve.metric_ = meter.IsMetric();
    return curve;
  }

  double FlowAt(double signal) const { return Along(points_, signal, false); }
  double SignalAt(double flow) const { return Along(points_, flow, true); }
  bool Metric() const { return metric_; }

 private:
  using Points = std::vector<std::pair<double, double>>;  // signal, flow

  // Reads the other coordinate of `points` at `at`, given as the signal or (inverse) the flow.
  static double Along(Points points, double at, bool inverse) {
    if (inverse)
      for (auto& p : points)
        std::swap(p.first, p.second);
    std::stable_sort(points.begin(), points.end());
    size_t i = 1;
    while (i + 1 < points.size() && at > points[i].first)
      ++i;
    const auto& [x0, y0] = points[i - 1];
    const auto& [x1, y1] = points[i];
    if (x1 == x0) return y1;
    return y0 + (at - x0) * (y1 - y0) / (x1 - x0);
  }

  Points points_;
  bool metric_ = false;
};

bool FrequencyOutput(const EepromImage& image) {
  return (image.Byte(kModeByte) & kOutputKindMask) == kFrequencyOutput;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
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

  const bool hertz = FrequencyOutput(image);
  std::optional<MeterCurve> curve;
  if (meterToMatch && meterToMatch->IsFrequency() == hertz) curve = MeterCurve::Of(*meterToMatch);
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
    if (!curve->Metric()) flow /= static_cast<double>(kKgPerLb);
    return curve->SignalAt(flow);
  };

  CorrectionResult result;
  result.image = image;
  result.throughMeter = curve.has_value();
  if (settings.source == CorrectionSource::Wideband) {
    std::vector<double> readings;
    for (const CorrectionSample& s : samples)
      if (std::isfinite(s.afr) && s.afr != 0) readings.push_back(s.afr);
    // No air-fuel ratio of a running engine is below 3, and no lambda above it.
    result.lambda = Median(readings) < 3;
  }
  const double low = result.lambda ? 0.55 : 8, high = result.lambda ? 1.5 : 22;
  auto inRange = [&](double v) { return v != 0 && v >= low && v <= high; };

  std::array<int, kTableEntries> oldCounts{};
  std::array<long double, kTableEntries> outputs{};
  for (int k = 0; k < kTableEntries; ++k) {
    oldCounts[k] = image.Entry(k);
    outputs[k] = signalOf(oldCounts[k]);
  }

  std::array<std::vector<double>, kTableEntries> errors{};
  double previous = std::nan("");
  for (const CorrectionSample& s : samples) {
    const double before = std::exchange(previous, s.signal);
    auto gate = [&]() -> std::optional<CorrectionGate> {
      const bool wideband = settings.source == CorrectionSource::Wideband;
      const double target = wideband && result.lambda && std::isnan(s.target) ? 1.0 : s.target;
      if (!std::isfinite(s.signal) || (settings.useCoolant && !std::isfinite(s.coolant)) ||
          (wideband ? !std::isfinite(s.afr) || !std::isfinite(target) : !std::isfinite(s.trim)))
        return CorrectionGate::Unreadable;
      if (settings.useCoolant && s.coolant < settings.warmCoolant)
        return CorrectionGate::ColdEngine;
      if (wideband && (!inRange(s.afr) || !inRange(target))) return CorrectionGate::WidebandRange;
      if (!wideband && std::abs(s.trim) > settings.maxTrim) return CorrectionGate::TrimRange;
      if (std::isfinite(before) &&
          std::abs(s.signal - before) > settings.steadyPercent / 100 * std::abs(s.signal))
        return CorrectionGate::Unsteady;
      return std::nullopt;
    }();
    if (gate) {
      ++result.removed[static_cast<int>(*gate)];
      continue;
    }

    // The entry whose output gave the signal: on the first stretch of the table that holds it,
    // read in counts (a signal logged with a few digits lies a hair off the count it came from).
    const long double count = countOf(outputSignal(s.signal));
    constexpr long double kHair = 1e-3L;
    int entry = -1;
    for (int k = 0; k + 1 < kTableEntries && entry < 0; ++k) {
      const long double a = oldCounts[k], b = oldCounts[k + 1];
      if (count < std::min(a, b) - kHair || count > std::max(a, b) + kHair) continue;
      const long double position =
          a == b ? k : std::clamp(k + (count - a) / (b - a), k + 0.0L, k + 1.0L);
      entry = static_cast<int>(std::floor(position + 0.5L));
    }
    if (entry < 0) {
      ++result.outside;
      continue;
    }
    ++result.used;
    const double factor = settings.source == CorrectionSource::Wideband
                              ? s.afr / (std::isnan(s.target) ? 1.0 : s.target)
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
    const long double corrected =
        curve ? curve->SignalAt(curve->FlowAt(old) * factor) : old * factor;
    const long double step = settings.clampPercent / 100;
    long double count =
        std::clamp(countOf(corrected), oldCounts[k] * (1 - step), oldCounts[k] * (1 + step));
    count = std::clamp(RoundHalfEven(count), 0.0L, static_cast<long double>(highest));
    e.newCount = static_cast<int>(count);
  }
  if (settings.keepRising)
    for (int k = 1; k < kTableEntries; ++k)
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

#include "meters/meter_tools.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "model/errors.h"
#include "model/text/number.h"

namespace vyk {

namespace {

constexpr double kBigAreaRatio = 1.45;
constexpr long double kMaxFlow = 9999.99L;  // the most the editor's flow column takes

std::string Fixed(double value, int decimals) {
  return FormatFixed(value, 0, decimals);
}

std::string Signed(double value, int decimals) {
  return (value >= 0 ? "+" : "") + Fixed(value, decimals);
}

// Writes the flows as the editor writes a cell: the text, and its value beside it.
void StoreFlows(MeterRecord& record, const std::vector<long double>& flows) {
  for (long double flow : flows) {
    if (flow > kMaxFlow)
      throw VykError("The new meter's flows would reach " + Fixed(static_cast<double>(flow), 2) +
                     ", past the 9999.99 a meter's flow holds.");
  }
  for (size_t i = 0; i < flows.size(); ++i) {
    const int point = static_cast<int>(i + 1);
    const std::string text = FlowValueText(std::max(0.0L, flows[i]));
    record.SetFlowText(point, text);
    record.SetFlowValue(point, TextToFloat(text));
  }
}

std::string SignalTextOf(bool frequency, double signal) {
  return frequency ? HertzSignalText(static_cast<float>(signal))
                   : VoltsSignalText(static_cast<float>(signal));
}

// Flows rounded to the meter's two decimals can meet (a large cut, or a blend that turns back):
// the match needs the flow to rise with the signal, so say where it stops.
void WarnWhereFlowStops(ToolResult& result) {
  const MeterRecord& m = result.meter;
  const std::string unit = m.IsMetric() ? " kg/hr" : " lb/hr";
  const std::vector<CurvePoint> curve = MeterCurve(m);
  for (size_t i = 1; i < curve.size(); ++i) {
    if (curve[i].flow > curve[i - 1].flow) continue;
    result.warnings.push_back("The new meter's flow does not rise from " +
                              Trim(SignalTextOf(m.IsFrequency(), curve[i - 1].signal)) + " to " +
                              Trim(SignalTextOf(m.IsFrequency(), curve[i].signal)) +
                              (m.IsFrequency() ? " Hz (" : " V (") +
                              Trim(FlowValueText(curve[i - 1].flow)) + ", then " +
                              Trim(FlowValueText(curve[i].flow)) + unit +
                              "): a match needs a flow that rises with the signal.");
    return;
  }
}

void NeedTwoPoints(const MeterRecord& m, const char* what) {
  if (m.UsablePoints() < 2)
    throw VykError(std::string("A meter to ") + what + " needs at least 2 points; " +
                   (m.PartNumber().empty() ? std::string("one") : m.PartNumber()) + " has " +
                   std::to_string(m.UsablePoints()) + ".");
}

ToolResult ScaledFlows(const MeterRecord& record, long double factor, const std::string& what) {
  ToolResult result{record, {}};
  std::vector<long double> flows;
  for (int i = 1; i <= record.UsablePoints(); ++i)
    flows.push_back(TextToExtended(record.FlowText(i)) * factor);
  StoreFlows(result.meter, flows);
  result.meter.SetPointCount(static_cast<int16_t>(record.UsablePoints()));
  result.meter.SetDescription2(what);
  WarnWhereFlowStops(result);
  return result;
}

}  // namespace

ToolResult ScaleMeter(const MeterRecord& record, double percent) {
  NeedTwoPoints(record, "scale");
  const double factor = 1 + percent / 100;
  if (!(factor > 0))
    throw VykError("A scale of " + Fixed(percent, 1) +
                   " % leaves no flow: the percentage must be above -100.");
  return ScaledFlows(record, factor, "Scaled by " + Signed(percent, 1) + " %");
}

double OpenArea(double diameter, double postArea) {
  return std::numbers::pi * diameter * diameter / 4 - postArea;
}

ToolResult RehouseMeter(const MeterRecord& record, const Housings& h) {
  const std::string unit = h.inches ? " in" : " mm";
  const std::string areaUnit = h.inches ? " in^2" : " mm^2";
  NeedTwoPoints(record, "rehouse");
  // Far past any housing, and an area that stays a number.
  const double most = h.inches ? 400 : 10000;
  for (double d : {h.fromDiameter, h.toDiameter}) {
    if (!(d > 0)) throw VykError("A housing's inner diameter must be more than 0" + unit + ".");
    if (!(d < most))
      throw VykError("A housing's inner diameter must be below " + Fixed(most, 0) + unit + ".");
  }
  for (double a : {h.fromPostArea, h.toPostArea}) {
    if (!(a >= 0))
      throw VykError("A sensor post's frontal area cannot be below 0" + areaUnit + ".");
    if (!std::isfinite(a)) throw VykError("A sensor post's frontal area must be a number.");
  }
  const std::pair<double, double> housings[] = {{h.fromDiameter, h.fromPostArea},
                                                {h.toDiameter, h.toPostArea}};
  for (const auto& [d, post] : housings) {
    if (!(OpenArea(d, post) > 0))
      throw VykError("A sensor post of " + Fixed(post, 1) + areaUnit +
                     " leaves no open area in a housing of " + Fixed(d, 2) + unit + " (" +
                     Fixed(OpenArea(d, 0), 1) + areaUnit + ").");
  }
  const double ratio =
      OpenArea(h.toDiameter, h.toPostArea) / OpenArea(h.fromDiameter, h.fromPostArea);
  const int decimals = h.inches ? 3 : 1;
  ToolResult result =
      ScaledFlows(record, ratio,
                  "Rehoused from " + Fixed(h.fromDiameter, decimals) + unit + " to " +
                      Fixed(h.toDiameter, decimals) + unit + ", flows x " + Fixed(ratio, 3));
  if (ratio >= kBigAreaRatio || ratio <= 1 / kBigAreaRatio) {
    result.warnings.push_back("The open area changes by a factor of " + Fixed(ratio, 2) +
                              ": measured housings fall short of the pure area rule at high "
                              "flow, so check the new meter's upper flows on a flow bench or "
                              "in a log.");
  }
  result.warnings.push_back(
      "Note: the area rule holds only for the same sensor element and a straight, clean inlet.");
  return result;
}

std::vector<CurvePoint> MeterCurve(const MeterRecord& record) {
  std::vector<CurvePoint> curve;
  for (int i = 1; i <= record.UsablePoints(); ++i) {
    curve.push_back({static_cast<double>(TextToExtended(record.SignalText(i))),
                     static_cast<double>(TextToExtended(record.FlowText(i)))});
  }
  std::stable_sort(curve.begin(), curve.end(),
                   [](const CurvePoint& a, const CurvePoint& b) { return a.signal < b.signal; });
  return curve;
}

std::vector<CurvePoint> MeterCurveIn(const MeterRecord& record, bool metric) {
  std::vector<CurvePoint> curve = MeterCurve(record);
  if (record.IsMetric() != metric) {
    for (CurvePoint& p : curve)
      p.flow =
          static_cast<double>(TextToExtended(metric ? LbToKgText(p.flow) : KgToLbText(p.flow)));
  }
  return curve;
}

std::optional<double> FlowAtSignal(const std::vector<CurvePoint>& curve, double signal) {
  if (curve.size() < 2) return std::nullopt;
  size_t upper = 1;
  while (upper + 1 < curve.size() && curve[upper].signal < signal)
    ++upper;
  const CurvePoint& a = curve[upper - 1];
  const CurvePoint& b = curve[upper];
  if (b.signal == a.signal) return std::max(0.0, signal < a.signal ? a.flow : b.flow);
  return std::max(0.0, a.flow + (signal - a.signal) * (b.flow - a.flow) / (b.signal - a.signal));
}

std::optional<double> SignalAtFlow(const std::vector<CurvePoint>& curve, double flow) {
  std::vector<CurvePoint> swapped;
  for (const CurvePoint& p : curve)
    swapped.push_back({p.flow, p.signal});
  std::stable_sort(swapped.begin(), swapped.end(),
                   [](const CurvePoint& a, const CurvePoint& b) { return a.signal < b.signal; });
  return FlowAtSignal(swapped, flow);
}

ToolResult BlendMeters(const MeterRecord& first, const MeterRecord& second, double belowFlow,
                       double aboveFlow) {
  if (belowFlow > aboveFlow)
    throw VykError("The flow where the blend starts (" + Fixed(belowFlow, 2) +
                   ") is above the flow where it ends (" + Fixed(aboveFlow, 2) + ").");
  if (first.IsFrequency() != second.IsFrequency())
    throw VykError("Only meters of the same signal kind blend: one reads volts, the other hertz.");
  NeedTwoPoints(first, "blend");
  NeedTwoPoints(second, "blend");
  const std::vector<CurvePoint> one = MeterCurve(first);
  const std::vector<CurvePoint> two = MeterCurveIn(second, first.IsMetric());

  // Both meters' signals, merged where they read the same as text.
  const bool frequency = first.IsFrequency();
  std::set<std::string> seen;
  std::vector<double> signals;
  auto add = [&](double signal) {
    const std::string text = SignalTextOf(frequency, signal);
    if (seen.insert(text).second) signals.push_back(TextToExtended(text));
  };
  for (const std::vector<CurvePoint>* curve :
       {&one, static_cast<const std::vector<CurvePoint>*>(&two)}) {
    for (const CurvePoint& p : *curve)
      add(p.signal);
  }
  std::sort(signals.begin(), signals.end());
  if (signals.size() > static_cast<size_t>(kMaxMeterPoints)) {
    const double low = signals.front();
    const double high = signals.back();
    signals.clear();
    seen.clear();
    for (int i = 0; i < kMaxMeterPoints; ++i)
      add(low + (high - low) * i / (kMaxMeterPoints - 1));
  }

  ToolResult result{first, {}};
  std::vector<long double> flows;
  for (size_t i = 0; i < signals.size(); ++i) {
    const double f1 = *FlowAtSignal(one, signals[i]);
    const double f2 = *FlowAtSignal(two, signals[i]);
    double weight = f1 >= aboveFlow ? 1 : 0;
    if (aboveFlow > belowFlow)
      weight = std::clamp((f1 - belowFlow) / (aboveFlow - belowFlow), 0.0, 1.0);
    flows.push_back(f1 + weight * (f2 - f1));
    const int point = static_cast<int>(i + 1);
    const std::string text = SignalTextOf(frequency, signals[i]);
    result.meter.SetSignalText(point, text);
    result.meter.SetSignalValue(point, TextToFloat(text));
  }
  StoreFlows(result.meter, flows);
  result.meter.SetPointCount(static_cast<int16_t>(signals.size()));
  const std::string unit = first.IsMetric() ? " kg/hr" : " lb/hr";
  result.meter.SetDescription2(
      "Blended with " + (second.PartNumber().empty() ? "another meter" : second.PartNumber()) +
      " from " + Fixed(belowFlow, 2) + " to " + Fixed(aboveFlow, 2) + unit);
  WarnWhereFlowStops(result);
  return result;
}

Saturation SaturationFlow(const MeterRecord& record, double signalLimit) {
  const std::vector<CurvePoint> curve = MeterCurve(record);
  for (size_t i = 0; i < curve.size(); ++i) {
    if (curve[i].signal < signalLimit) continue;
    if (i == 0) return {true, false, curve[0].flow};
    return {true, false, *FlowAtSignal({curve[i - 1], curve[i]}, signalLimit)};
  }
  // Past the last point, along the last segment, when that still rises.
  if (curve.size() < 2 || !(curve.back().signal > curve[curve.size() - 2].signal)) return {};
  return {true, true, *FlowAtSignal(curve, signalLimit)};
}

}  // namespace vyk

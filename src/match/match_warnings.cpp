#include "match/match_warnings.h"

#include <algorithm>
#include <optional>

#include "match/compute_match.h"
#include "model/text/number.h"

namespace vyk {

namespace {

struct Point {
  int number;  // 1..62, as the meter editor numbers its rows
  float signal;
  float flow;
};

std::vector<Point> Points(const MeterRecord& meter) {
  std::vector<Point> points;
  for (int i = 1; i <= meter.UsablePoints(); ++i)
    points.push_back({i, TextToFloat(meter.SignalText(i)), TextToFloat(meter.FlowText(i))});
  return points;
}

std::string FlowUnit(bool metric) {
  return metric ? "kg/hr" : "lb/hr";
}

std::string Flow(long double flow) {
  return FormatFixed(flow, 0, 2);
}

struct Range {
  float low;
  float high;
};

std::optional<Range> FlowRange(const std::vector<Point>& points, bool useMetric, bool matchMetric) {
  if (points.empty()) return std::nullopt;
  Range range{MatchUnitsFlow(points.front().flow, useMetric, matchMetric), 0};
  range.high = range.low;
  for (const Point& p : points) {
    const float flow = MatchUnitsFlow(p.flow, useMetric, matchMetric);
    range.low = std::min(range.low, flow);
    range.high = std::max(range.high, flow);
  }
  return range;
}

std::optional<MatchWarning> OverlapWarning(const MeterRecord& use, const MeterRecord& match) {
  const std::optional<Range> u = FlowRange(Points(use), use.IsMetric(), match.IsMetric());
  if (!u || !(u->high > u->low)) return std::nullopt;  // no range to compare
  const std::optional<Range> m = FlowRange(Points(match), match.IsMetric(), match.IsMetric());
  const long double useSpan = static_cast<long double>(u->high) - u->low;
  long double overlap = 0;
  if (m)
    overlap = std::max(
        0.0L, static_cast<long double>(std::min(u->high, m->high)) - std::max(u->low, m->low));
  if (overlap >= useSpan / 2) return std::nullopt;
  const std::string unit = FlowUnit(match.IsMetric());
  std::string text =
      "The flow ranges overlap by less than half of the meter to use's range: the meter to use "
      "reads " +
      Flow(u->low) + " to " + Flow(u->high) + " " + unit + ", the meter to match ";
  text += m ? Flow(m->low) + " to " + Flow(m->high) + " " + unit + "." : "has no points.";
  return MatchWarning{MatchWarningKind::FlowOverlap, text};
}

// Along rising signal the flow must rise too, and no two points may share a signal: the match
// reads a meter as one flow for each signal and one signal for each flow.
std::optional<MatchWarning> RisingWarning(const MeterRecord& meter, bool isUse) {
  std::vector<Point> points = Points(meter);
  std::stable_sort(points.begin(), points.end(),
                   [](const Point& a, const Point& b) { return a.signal < b.signal; });
  for (size_t i = 1; i < points.size(); ++i) {
    Point a = points[i - 1];
    Point b = points[i];
    if (b.signal > a.signal && b.flow > a.flow) continue;
    if (b.flow < a.flow) std::swap(a, b);  // named in order of flow: the signal falls
    auto named = [&](const Point& p) {
      return Trim(meter.SignalText(p.number)) + (meter.IsFrequency() ? " Hz" : " V") + " at " +
             Trim(meter.FlowText(p.number)) + " " + FlowUnit(meter.IsMetric()) + " (point " +
             std::to_string(p.number) + ")";
    };
    return MatchWarning{isUse ? MatchWarningKind::UseNotRising : MatchWarningKind::MatchNotRising,
                        std::string("The signals of the meter to ") + (isUse ? "use" : "match") +
                            " do not rise with flow: " + named(a) + ", then " + named(b) + "."};
  }
  return std::nullopt;
}

// A slot at the maximum output count, or with a count beyond the Box's 10 bits (a frequency
// placed by its meter, which Copy E2P limits to 1023).
std::optional<MatchWarning> LimitedWarning(const MeterRecord& use, const MatchTable& table,
                                           float hertzPerCount, int32_t maxOutputCount) {
  if (!table || use.UsablePoints() == 0) return std::nullopt;
  int low = kMatchSlots;
  int high = -1;
  for (const Point& p : Points(use)) {
    const int code = InputCode(p.signal, use.IsFrequency(), hertzPerCount);
    low = std::min(low, code);
    high = std::max(high, code);
  }
  int limited = 0;
  int first = -1;
  for (int code = low; code <= high; ++code) {
    const int32_t count = (*table)[code].outCount;
    if (count != maxOutputCount && count <= 1023) continue;
    ++limited;
    if (first < 0) first = code;
  }
  if (limited <= kLimitedSlotsWarned) return std::nullopt;
  return MatchWarning{MatchWarningKind::OutputLimited,
                      std::to_string(limited) +
                          " slots in the meter to use's range were limited to the maximum output "
                          "count " +
                          std::to_string(maxOutputCount) + " (more than " +
                          std::to_string(kLimitedSlotsWarned) + "; the first at input code " +
                          std::to_string(first) + ")."};
}

}  // namespace

std::vector<MatchWarning> MatchWarnings(const MeterRecord& use, const MeterRecord& match,
                                        const MatchTable& table, float hertzPerCount,
                                        int32_t maxOutputCount) {
  std::vector<MatchWarning> warnings;
  for (std::optional<MatchWarning> w :
       {OverlapWarning(use, match), RisingWarning(use, true), RisingWarning(match, false),
        LimitedWarning(use, table, hertzPerCount, maxOutputCount)})
    if (w) warnings.push_back(std::move(*w));
  return warnings;
}

const char* MatchWarningName(MatchWarningKind kind) {
  switch (kind) {
    case MatchWarningKind::FlowOverlap:
      return "flowOverlap";
    case MatchWarningKind::UseNotRising:
      return "useNotRising";
    case MatchWarningKind::MatchNotRising:
      return "matchNotRising";
    case MatchWarningKind::OutputLimited:
      break;
  }
  return "outputLimited";
}

}  // namespace vyk

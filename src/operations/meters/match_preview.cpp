#include "operations/meters/match_preview.h"

#include <algorithm>
#include <optional>

#include "match/compute_match.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"
#include "operations/meters/match_dialog.h"

namespace vyk {

namespace {

// The meter as the Match button would read it; throws VykError with the reason it cannot.
MeterRecord ReadListedMeter(const AppState& state, const std::string& name) {
  const HardwareGroup* group = FindGroup(state.header.Group());
  if (group == nullptr) throw VykError("Invalid data path");
  const std::string folder = state.appFolder + std::string(group->meterFolder) + kPathSeparator;
  const std::string stored = FindListedFile(folder, name);
  if (stored.empty()) throw VykError("File " + folder + name + " not found");
  MeterRecord record;
  ReadMeterFile(folder + stored, record);
  if (std::string problem = PointTextProblem(record, folder + name); !problem.empty())
    throw VykError(problem);
  return record;
}

std::vector<ChartPoint> Curve(const MeterRecord& meter, bool useMetric, bool matchMetric) {
  std::vector<ChartPoint> curve;
  for (int i = 1; i <= meter.UsablePoints(); ++i) {
    const float flow = MatchUnitsFlow(TextToFloat(meter.FlowText(i)), useMetric, matchMetric);
    curve.push_back({flow, TextToFloat(meter.SignalText(i))});
  }
  std::stable_sort(curve.begin(), curve.end(),
                   [](const ChartPoint& a, const ChartPoint& b) { return a.y < b.y; });
  return curve;
}

}  // namespace

MatchPreview PreviewMatch(const AppState& state, const MatchDialog& d) {
  MatchPreview p;
  if (d.useIndex < 0 || d.matchIndex < 0) return p;
  try {
    const MeterRecord use = ReadListedMeter(state, d.useList.at(d.useIndex));
    const MeterRecord match = ReadListedMeter(state, d.matchList.at(d.matchIndex));
    const ConversionSettings& cs = state.conversion;
    MatchTable table;
    ComputeMatch(use, match, cs.HertzPerCount, cs.MaxOutputCount, table);
    p.useIsFrequency = use.IsFrequency();
    p.matchIsFrequency = match.IsFrequency();
    p.metric = match.IsMetric();
    p.useCurve = Curve(use, use.IsMetric(), match.IsMetric());
    p.matchCurve = Curve(match, match.IsMetric(), match.IsMetric());
    for (int code = 0; code < kMatchSlots; ++code) {
      const int32_t count = (*table)[code].outCount;
      if (count < 0) continue;
      const long double in = p.useIsFrequency ? code * kFrequencyCountsPerCode * cs.HertzPerCount
                                              : code / static_cast<long double>(kInputCodesPerVolt);
      const long double out = p.matchIsFrequency
                                  ? count * static_cast<long double>(cs.HertzPerCount)
                                  : count / static_cast<long double>(kInputCountsPerVolt);
      p.transfer.push_back({static_cast<float>(in), static_cast<float>(out)});
    }
    p.warnings = MatchWarnings(use, match, table, cs.HertzPerCount, cs.MaxOutputCount);
  } catch (const VykError& e) {
    p = MatchPreview{};
    p.problem = e.what();
  }
  return p;
}

}  // namespace vyk

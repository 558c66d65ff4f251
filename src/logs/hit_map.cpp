#include "logs/hit_map.h"

#include <algorithm>

namespace vyk {

namespace {

constexpr double kLongestStay = 1.0;  // seconds; a longer gap between readings is a pause

double Stay(double from, double to) {
  return std::clamp(to - from, 0.0, kLongestStay);
}

}  // namespace

double HitMap::Share(int entry) const {
  return total > 0 ? seconds.at(entry) / total : 0;
}

HitMap HitMapOf(const std::vector<LogReading>& readings) {
  HitMap map;
  const size_t n = readings.size();
  for (size_t i = 0; i < n; ++i) {
    double stay = kLongestStay;
    if (i + 1 < n)
      stay = Stay(readings[i].seconds, readings[i + 1].seconds);
    else if (n > 1)
      stay = Stay(readings[n - 2].seconds, readings[n - 1].seconds);
    map.seconds[LogEntry(readings[i].input)] += stay;
    map.total += stay;
  }
  return map;
}

LogSummary Summarize(const LogFile& log) {
  LogSummary s;
  const auto& readings = log.readings;
  s.readings = static_cast<long>(readings.size());
  s.hits = HitMapOf(readings);
  if (readings.empty()) return s;
  s.seconds = readings.back().seconds - readings.front().seconds;
  if (s.seconds > 0) s.readingsPerSecond = (s.readings - 1) / s.seconds;
  auto values = [](const LogReading& r) {
    return std::array<double, kSummaryColumns>{r.seconds,
                                               static_cast<double>(r.input),
                                               r.inputValue,
                                               static_cast<double>(r.output),
                                               r.outputValue,
                                               double(r.offsets[0]),
                                               double(r.offsets[1]),
                                               double(r.offsets[2]),
                                               double(r.offsets[3])};
  };
  const auto first = values(readings.front());
  for (int c = 0; c < kSummaryColumns; ++c)
    s.columns[c] = {first[c], first[c]};
  for (const LogReading& r : readings) {
    const auto v = values(r);
    for (int c = 0; c < kSummaryColumns; ++c) {
      s.columns[c].min = std::min(s.columns[c].min, v[c]);
      s.columns[c].max = std::max(s.columns[c].max, v[c]);
    }
  }
  return s;
}

}  // namespace vyk

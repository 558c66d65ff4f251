#pragma once
// Where on the table a live log spent its time, and the figures `vyk log summary` prints.
#include <array>
#include <vector>

#include "logs/live_log.h"
#include "model/eeprom_image.h"

namespace vyk {

// Where the engine spent its time: seconds per table entry.
struct HitMap {
  std::array<double, kTableEntries> seconds{};
  double total = 0;
  double Share(int entry) const;  // seconds[entry] / total; 0 when total is 0
};

// Each reading counts for the time to the next one, at most 1 s (a longer gap is a pause, not
// time spent there); the last reading counts as long as the one before it (capped the same); a
// log of one reading gives that reading 1 s. The entry is LogEntry(input).
HitMap HitMapOf(const std::vector<LogReading>& readings);

struct ColumnRange {
  double min = 0, max = 0;
};

// The columns of ColumnRange in LogSummary::columns, in the file's order.
inline constexpr int kSummaryColumns = 9;

struct LogSummary {
  long readings = 0;
  double seconds = 0;            // last time - first time
  double readingsPerSecond = 0;  // (readings - 1) / seconds; 0 when seconds is 0
  // time, input count, input (file units), output count, output (file units), offset 1..4
  std::array<ColumnRange, kSummaryColumns> columns{};
  HitMap hits;
};
LogSummary Summarize(const LogFile& log);

}  // namespace vyk

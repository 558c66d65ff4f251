#pragma once
// The log viewer's logic: opening a live log, the log in the project's units, the cursor's
// text, and the hit map as the table grid shows it.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "operations/project/session.h"

namespace vyk {

// A log open in the viewer.
struct OpenLog {
  std::string path;
  LogFile file;
  HitMap hits;
};

// File > Open Log: asks for a live log and reads it. A file that is not one gives an error box
// and nothing; a log with a bad line opens with the readings before it, after a warning that
// names the line.
std::optional<OpenLog> OpenLogClick(Session& s);

// A log as the viewer draws it: time against input and output in the units of the project's
// kinds, through its conversions (a log of another group or unit then lies on this project's
// chart); without a project, in the file's own units.
struct LogTrace {
  std::vector<double> seconds, input, output;
  std::vector<int> entry;  // the table entry of each reading
  bool inputHertz = false, outputHertz = false;
  std::string inputTitle = "V In", outputTitle = "V Out";
  std::array<double, kTableEntries> entryInput{};  // the input at each table entry
};
LogTrace LogTraceOf(const LogFile& log, const AppState& st);

// "t = 12.345 s  in = 2.350 V  out = 3.120 V  entry 16" for reading `i`.
std::string LogCursorText(const LogTrace& trace, size_t i);
// A value with its unit: volts with 3 decimals, hertz with 1.
std::string UnitText(double value, bool hertz);

// "Entry 16: 41.0 % of the log's time (12.3 s)".
std::string HitShareText(int entry, double share, double seconds);
// How strongly an entry's row is coloured, 0..1: the busiest entry of the log fully.
double HitColourLevel(double share, double largestShare);
double LargestShare(const HitMap& hits);

// The entries the log spent time in, in order.
struct HitRow {
  int entry;
  double input;  // in the trace's units
  double seconds;
  double share;
};
std::vector<HitRow> HitRows(const HitMap& hits, const LogTrace& trace);

// For drawing a long series only: the first and last point and, in each of `columns` equal
// slices of x, the lowest and highest point in the order they come, so every peak stays.
std::vector<std::pair<double, double>> MinMaxColumns(const std::vector<double>& x,
                                                     const std::vector<double>& y, int columns);

}  // namespace vyk

#include "operations/logs/log_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "model/conversions.h"
#include "operations/logs/live_recording.h"
#include "operations/project/main_controls.h"

namespace vyk {

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::optional<OpenLog> OpenLogClick(Session& s) {
  FileDialogRequest request;
  request.filter = "Live logs (*.csv)|*.csv|All files (*)|*";
  request.folder = LogsFolder(s.dataFolder);
  const std::optional<std::string> path = s.dialogs.OpenFileName(request);
  if (!path) return std::nullopt;
  OpenLog log;
  log.path = *path;
  try {
    log.file = ReadLog(*path);
  } catch (const LogError& e) {
    s.dialogs.Error(e.what());
    return std::nullopt;
  }
  log.hits = HitMapOf(log.file.readings);
  if (!log.file.problem.empty()) {
    const size_t n = log.file.readings.size();
    s.dialogs.WarningOk(
        std::filesystem::path(*path).filename().string() + ": " + log.file.problem + ". The " +
        std::to_string(n) +
        (n == 1 ? " reading before it is shown." : " readings before it are shown."));
  }
  return log;
}

LogTrace LogTraceOf(const LogFile& log, const AppState& st) {
  LogTrace t;
  const size_t n = log.readings.size();
  t.seconds.reserve(n);
  t.input.reserve(n);
  t.output.reserve(n);
  t.entry.reserve(n);
  const bool project = st.projectState != ProjectState::NoProject;
  if (project) {
    t.inputHertz = st.controls.inputRGrp == kFrequency;
    t.outputHertz = st.controls.outputRGrp == kFrequency;
  } else {
    t.inputHertz = log.inputHertz;
    t.outputHertz = log.outputHertz;
  }
  t.inputTitle = t.inputHertz ? "F In" : "V In";
  t.outputTitle = t.outputHertz ? "F Out" : "V Out";
  // Without a project the hertz of an entry come from the file's own ratio of hertz to counts,
  // taken at its largest input, where the written decimals weigh least.
  double hertzPerCount = ConversionSettings().HertzPerCount;
  int largest = 0;
  for (const LogReading& r : log.readings) {
    t.seconds.push_back(r.seconds);
    t.entry.push_back(LogEntry(r.input));
    if (project) {
      const ChartPoint p = OperatingPoint(st, r.input, r.output);
      t.input.push_back(p.x);
      t.output.push_back(p.y);
    } else {
      t.input.push_back(r.inputValue);
      t.output.push_back(r.outputValue);
      if (r.input > largest) {
        largest = r.input;
        hertzPerCount = r.inputValue / r.input;
      }
    }
  }
  for (int k = 0; k < kTableEntries; ++k) {
    if (project) {
      t.entryInput[k] = OperatingPoint(st, 32 * k, 0).x;
    } else {
      t.entryInput[k] = t.inputHertz ? 32 * k * hertzPerCount : RowInputVolts(k);
    }
  }
  return t;
}

std::string UnitText(double value, bool hertz) {
  return hertz ? Format("%.1f Hz", value) : Format("%.3f V", value);
}

std::string LogCursorText(const LogTrace& trace, size_t i) {
  if (i >= trace.seconds.size()) return {};
  return "t = " + Format("%.3f", trace.seconds[i]) +
         " s  in = " + UnitText(trace.input[i], trace.inputHertz) +
         "  out = " + UnitText(trace.output[i], trace.outputHertz) + "  entry " +
         std::to_string(trace.entry[i]);
}

std::string HitShareText(int entry, double share, double seconds) {
  return "Entry " + std::to_string(entry) + ": " + Format("%.1f", share * 100) +
         " % of the log's time (" + Format("%.1f", seconds) + " s)";
}

double HitColourLevel(double share, double largestShare) {
  if (!(largestShare > 0) || !(share > 0)) return 0;
  return std::min(1.0, share / largestShare);
}

double LargestShare(const HitMap& hits) {
  double largest = 0;
  for (int k = 0; k < kTableEntries; ++k)
    largest = std::max(largest, hits.Share(k));
  return largest;
}

std::vector<HitRow> HitRows(const HitMap& hits, const LogTrace& trace) {
  std::vector<HitRow> rows;
  for (int k = 0; k < kTableEntries; ++k)
    if (hits.seconds[k] > 0)
      rows.push_back({k, trace.entryInput[k], hits.seconds[k], hits.Share(k)});
  return rows;
}

std::vector<std::pair<double, double>> MinMaxColumns(const std::vector<double>& x,
                                                     const std::vector<double>& y, int columns) {
  const size_t n = std::min(x.size(), y.size());
  std::vector<std::pair<double, double>> points;
  if (columns < 1 || n <= 4 * static_cast<size_t>(columns)) {
    for (size_t i = 0; i < n; ++i)
      points.emplace_back(x[i], y[i]);
    return points;
  }
  points.reserve(2 * columns + 2);
  const double first = x.front();
  const double width = (x[n - 1] - first) / columns;
  points.emplace_back(x[0], y[0]);
  size_t i = 1;
  while (i + 1 < n) {
    // One slice of x: from i up to the first point past its end.
    const double column = width > 0 ? std::floor((x[i] - first) / width) : 0;
    size_t low = i, high = i, end = i;
    while (end + 1 < n && (width > 0 ? std::floor((x[end] - first) / width) : 0) == column) {
      if (y[end] < y[low]) low = end;
      if (y[end] > y[high]) high = end;
      ++end;
    }
    points.emplace_back(x[std::min(low, high)], y[std::min(low, high)]);
    if (low != high) points.emplace_back(x[std::max(low, high)], y[std::max(low, high)]);
    i = end;
  }
  points.emplace_back(x[n - 1], y[n - 1]);
  return points;
}

}  // namespace vyk

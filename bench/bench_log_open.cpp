// A one-hour live log (65,000 readings, 18 a second): the time to record it row by row, and to
// open it as the log viewer does (read, hit map, summary), best of 5.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "model/groups.h"

namespace {

constexpr int kReadings = 65000;
constexpr int kRuns = 5;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A drive: the input sweeps up and down the table, the output follows it.
vyk::LogReading Reading(int n) {
  vyk::LogReading r;
  r.seconds = n * 3600.0 / kReadings;
  r.input = static_cast<int>(512 + 480 * std::sin(n / 900.0));
  r.output = r.input * 4 / 5;
  r.offsets = {n % 7 - 3, 0, -2, 1};
  return r;
}

}  // namespace

int main() {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("vyk-bench-log-" + std::to_string(::getpid()) + ".csv");
  const vyk::LogUnits units{false, false, vyk::ConversionSettings::ForGroup(vyk::kFord)};

  auto start = std::chrono::steady_clock::now();
  {
    vyk::LogWriter writer(path.string(), units);
    for (int n = 0; n < kReadings; ++n)
      writer.Append(Reading(n));
  }
  const double writing = SecondsSince(start);
  std::printf("log: %d readings, %.2f MB\n", kReadings, std::filesystem::file_size(path) / 1e6);
  std::printf("recording (one write to the system per row): %.3f s, %.1f us a row\n", writing,
              writing / kReadings * 1e6);

  double best = 1e9;
  long entries = 0;
  for (int run = 0; run < kRuns; ++run) {
    start = std::chrono::steady_clock::now();
    const vyk::LogFile log = vyk::ReadLog(path.string());
    const vyk::HitMap map = vyk::HitMapOf(log.readings);
    const vyk::LogSummary summary = vyk::Summarize(log);
    best = std::min(best, SecondsSince(start));
    entries = 0;
    for (double s : map.seconds)
      entries += s > 0;
    if (summary.readings != kReadings || !log.problem.empty())
      std::fprintf(stderr, "the log did not read whole: %s\n", log.problem.c_str());
  }
  std::printf("opening (read + hit map + summary), best of %d: %.3f s (%d entries with time)\n",
              kRuns, best, static_cast<int>(entries));
  std::filesystem::remove(path);
  return 0;
}

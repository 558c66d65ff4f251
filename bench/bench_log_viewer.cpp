// A one-hour live log (65,000 readings) opened in the log viewer as File > Open Log does: read,
// hit map, the readings in the project's units, the window built, shown and drawn; best of 5.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "model/groups.h"
#include "operations/logs/log_view.h"
#include "ui/logs/log_viewer.h"

namespace {

constexpr int kReadings = 65000;
constexpr int kRuns = 5;

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("vyk-bench-viewer-" + std::to_string(::getpid()) + ".csv");
  {
    vyk::LogWriter writer(path.string(),
                          {false, false, vyk::ConversionSettings::ForGroup(vyk::kFord)});
    for (int n = 0; n < kReadings; ++n) {
      vyk::LogReading r;
      r.seconds = n * 3600.0 / kReadings;
      r.input = static_cast<int>(512 + 480 * std::sin(n / 900.0));
      r.output = r.input * 4 / 5;
      writer.Append(r);
    }
  }
  vyk::AppState state;  // no project: the file's own units
  double best = 1e9, bestWindow = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    QElapsedTimer all;
    all.start();
    const vyk::LogFile log = vyk::ReadLog(path.string());
    const vyk::HitMap hits = vyk::HitMapOf(log.readings);
    QElapsedTimer window;
    window.start();
    vyk::ui::LogViewer viewer(nullptr);
    viewer.Show("bench.csv", vyk::LogTraceOf(log, state), hits, false);
    viewer.show();
    viewer.grab();  // drawn once, as the screen would
    QApplication::processEvents();
    viewer.SetCursor(kReadings / 2);
    viewer.grab();
    best = std::min(best, all.nsecsElapsed() / 1e9);
    bestWindow = std::min(bestWindow, window.nsecsElapsed() / 1e9);
  }
  std::printf(
      "log viewer, %d readings: open %.3f s (of which the window built, drawn and its "
      "cursor moved %.3f s), best of %d\n",
      kReadings, best, bestWindow, kRuns);
  std::filesystem::remove(path);
  return 0;
}

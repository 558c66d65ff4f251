#include "operations/logs/live_recording.h"

#include <filesystem>

#include "model/records/box_history.h"
#include "storage/path_text.h"

namespace vyk {

std::string LogsFolder(const std::string& dataFolder) {
  return PathText(PathOf(dataFolder) / "logs");
}

std::string NewLogPath(const std::string& dataFolder, std::time_t now) {
  namespace fs = std::filesystem;
  const fs::path folder = PathOf(LogsFolder(dataFolder));
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw LogError("The folder " + PathText(folder) + " could not be made: " + ec.message());
  const std::string stem = LocalTimeText(now, "%Y-%m-%d_%H-%M-%S");
  fs::path path = folder / PathOf(stem + ".csv");
  for (int n = 2; fs::exists(path, ec); ++n)
    path = folder / PathOf(stem + "_" + std::to_string(n) + ".csv");
  return PathText(path);
}

std::optional<std::string> RecordingPath(Session& s, bool pick) {
  if (!pick) return NewLogPath(s.dataFolder, s.now());
  FileDialogRequest request;
  request.filter = "Live logs (*.csv)|*.csv";
  request.confirmOverwrite = true;
  request.defaultExtension = "csv";
  request.folder = LogsFolder(s.dataFolder);
  return s.dialogs.SaveFileName(request);
}

LogReading LogReadingOf(const LiveReading& live, double seconds) {
  LogReading r;
  r.seconds = seconds;
  r.input = live.reading.input;
  r.offsets = live.reading.offsets;
  r.output = live.reading.output;
  return r;
}

LogUnits LogUnitsOf(const AppState& state) {
  return {state.controls.inputRGrp == kFrequency, state.controls.outputRGrp == kFrequency,
          state.conversion};
}

void LiveRecording::Start(const std::string& path, const LogUnits& units) {
  writer_.reset();
  clock_.Reset();
  rows_ = 0;
  path_ = path;
  writer_.emplace(path, units);
}

std::optional<std::string> LiveRecording::Add(const LiveReading& live) {
  if (!writer_) return std::nullopt;
  try {
    writer_->Append(LogReadingOf(live, clock_.SecondsOf(live)));
    rows_ = writer_->Rows();
  } catch (const LogError& e) {
    writer_.reset();
    return std::string(e.what());
  }
  return std::nullopt;
}

}  // namespace vyk

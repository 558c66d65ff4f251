#pragma once
// Recording the live view: every reading a row of a log, from Record until Stop, a full disk
// or the end of the live view.
#include <ctime>
#include <optional>
#include <string>

#include "logs/live_log.h"
#include "model/app_state.h"
#include "operations/box/live_readings.h"
#include "operations/project/session.h"

namespace vyk {

// The folder of the recordings in the user's data folder.
std::string LogsFolder(const std::string& dataFolder);
// A new log's path in it, named by date and time ("2026-12-09_08-41-07.csv", a number added
// when that is taken); the folder is made. Throws LogError.
std::string NewLogPath(const std::string& dataFolder, std::time_t now);

// Where Record writes: a new log in the logs folder, or, when `pick`, the file the user
// names; nothing when they cancel. Throws LogError.
std::optional<std::string> RecordingPath(Session& s, bool pick);

// A live reading as a log's row has it, `seconds` from the start.
LogReading LogReadingOf(const LiveReading& live, double seconds);

// The units the project shows its readings in.
LogUnits LogUnitsOf(const AppState& state);

class LiveRecording {
 public:
  // Starts a new log; a running one ends first. Throws LogError.
  void Start(const std::string& path, const LogUnits& units);
  // Adds a reading, timed from the recording's first. A write that fails (a full disk) ends
  // the recording: its message then, else nothing.
  std::optional<std::string> Add(const LiveReading& live);
  void Stop() { writer_.reset(); }
  bool Active() const { return writer_.has_value(); }
  // The last log's path and rows, also after it ended.
  const std::string& Path() const { return path_; }
  long Rows() const { return rows_; }

 private:
  std::optional<LogWriter> writer_;
  LiveClock clock_;
  std::string path_;
  long rows_ = 0;
};

}  // namespace vyk

#pragma once
// Live logs: the readings of a drive as a CSV file, written row by row while the Box streams
// them and read back for the viewer, the hit map and `vyk log summary`.
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/conversions.h"

namespace vyk {

// One reading of a live log, as the Box sent it.
struct LogReading {
  double seconds = 0;            // from the start of the recording
  int input = 0;                 // input count (16-bit signed, as the Box sent it)
  std::array<int, 4> offsets{};  // the four pot offsets
  int output = 0;                // output count
  double inputValue = 0;         // the input and output in the file's units (V or Hz), as written
  double outputValue = 0;
};

// The units the volts/hertz columns are written in: the project's kinds and conversions.
struct LogUnits {
  bool inputHertz = false;  // false: volts
  bool outputHertz = false;
  ConversionSettings conversion;
};

// The table entry (0..32) nearest an input count: entry k sits at count 32k (counts below 0 ->
// 0, above 1024 -> 32; a half rounds up: 16 -> 1).
int LogEntry(int inputCount);
// Input count in the file's units: volts = count / 32 / kRowsPerVolt (the table curve's input
// axis); hertz = count * HertzPerCount. Output: volts = count / OutputCountsPerVolt, hertz =
// count * HertzPerCount.
double LogInputValue(const LogUnits& units, int inputCount);
double LogOutputValue(const LogUnits& units, int outputCount);

// The columns as the header row names them, and the unit the units row gives each.
inline constexpr std::array<std::string_view, 10> kLogColumns = {
    "time",     "input count", "input",    "output count", "output",
    "offset 1", "offset 2",    "offset 3", "offset 4",     "entry"};
std::string_view LogColumnUnit(bool inputHertz, bool outputHertz, int column);

// The two head rows and one reading's row, each without its line end.
std::string LogHeaderRow();
std::string LogUnitsRow(const LogUnits& units);
// Time with 3 decimals, volts with 3, hertz with 1; the values come from the counts (the
// reading's inputValue and outputValue are not looked at).
std::string LogRow(const LogReading& r, const LogUnits& units);

// A log file that could not be opened, written, or is not a live log of this program.
class LogError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Writes a live log: creates the file (replacing one of that name), writes the two head rows,
// then one row per Append, each handed to the system at once, so a crash or a pulled cable
// keeps every row written before it. Lines end with "\r\n": spreadsheets on Windows read it
// too. Throws LogError naming the file and the system's reason; once a write failed (a full
// disk), every later Append throws the same.
class LogWriter {
 public:
  LogWriter(const std::string& path, const LogUnits& units);
  void Append(const LogReading& r);
  const std::string& Path() const { return path_; }
  long Rows() const { return rows_; }  // readings appended

 private:
  void Write(const std::string& line);

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::string path_;
  LogUnits units_;
  std::unique_ptr<std::FILE, Closer> file_;
  long rows_ = 0;
  std::string failure_;  // the message of the write that failed
};

// A live log as read: every reading up to the first bad row.
struct LogFile {
  std::vector<LogReading> readings;
  bool inputHertz = false, outputHertz = false;  // from the units row
  // Empty when the whole file was read; otherwise names the line (the header row is line 1)
  // and what is wrong with it.
  std::string problem;
};

// Throws LogError when the file cannot be read, or is not a live log of this program ("<file>
// is not a Vyk Edit live log"). A UTF-8 byte order mark and "\r\n" or "\n" line ends are
// accepted; a file of the head rows alone is a log of no readings.
LogFile ReadLog(const std::string& path);
LogFile ParseLog(std::string_view text, const std::string& name);  // the same, on text

}  // namespace vyk

#include "logs/live_log.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "model/eeprom_image.h"
#include "storage/errors.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

constexpr int kFields = kLogColumns.size();
constexpr const auto& kColumns = kLogColumns;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendFixed(std::string& out, double value, int decimals) {
  char buffer[400];  // room for the largest double in full
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  out.append(buffer, result.ptr);
}

void AppendInt(std::string& out, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

std::string_view UnitName(bool hertz) {
  return hertz ? "Hz" : "V";
}

// Splits a line at its commas into exactly kFields fields; the number found otherwise.
int SplitFields(std::string_view line, std::array<std::string_view, kFields>& fields) {
  int count = 0;
  size_t start = 0;
  while (true) {
    const size_t comma = line.find(',', start);
    const std::string_view field = line.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (count < kFields) fields[count] = field;
    ++count;
    if (comma == std::string_view::npos) return count;
    start = comma + 1;
  }
}

bool ReadDouble(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool ReadInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

// What is wrong with a reading's row, or nothing when it reads into `r`.
std::string ParseRow(std::string_view line, LogReading& r) {
  std::array<std::string_view, kFields> f;
  const int found = SplitFields(line, f);
  if (found != kFields)
    return "expected " + std::to_string(kFields) + " fields, found " + std::to_string(found);
  auto notNumber = [](int column) {
    return "the " + std::string(kColumns[column]) + " is not a number";
  };
  if (!ReadDouble(f[0], r.seconds)) return notNumber(0);
  if (!ReadDouble(f[2], r.inputValue)) return notNumber(2);
  if (!ReadDouble(f[4], r.outputValue)) return notNumber(4);
  // The counts and offsets are the Box's 16-bit words; the entry one of the table's.
  int* counts[] = {&r.input,      nullptr,       &r.output,     nullptr,
                   &r.offsets[0], &r.offsets[1], &r.offsets[2], &r.offsets[3]};
  for (int column = 1; column < kFields; ++column) {
    if (column == 2 || column == 4) continue;
    int value = 0;
    if (!ReadInt(f[column], value)) return notNumber(column);
    const bool entry = column == kFields - 1;
    const int low = entry ? 0 : std::numeric_limits<int16_t>::min();
    const int high = entry ? kTableEntries - 1 : std::numeric_limits<int16_t>::max();
    if (value < low || value > high)
      return "the " + std::string(kColumns[column]) + " " + std::string(f[column]) +
             " is out of range";
    if (!entry) *counts[column - 1] = value;
  }
  return "";
}

// The next line of `text` from `at` without its line end; `ended` tells whether it had one.
std::string_view NextLine(std::string_view text, size_t& at, bool& ended) {
  const size_t newline = text.find('\n', at);
  ended = newline != std::string_view::npos;
  std::string_view line = text.substr(at, ended ? newline - at : std::string_view::npos);
  at = ended ? newline + 1 : text.size();
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string LineProblem(long number, const std::string& what) {
  return "Line " + std::to_string(number) + what;
}

}  // namespace

int LogEntry(int inputCount) {
  const int count = std::clamp(inputCount, 0, (kTableEntries - 1) * 32);
  return (count + 16) / 32;
}

double LogInputValue(const LogUnits& units, int inputCount) {
  if (units.inputHertz) return CountOutputHertz(units.conversion, inputCount);
  return static_cast<float>(inputCount / (32.0L * kRowsPerVolt));
}

double LogOutputValue(const LogUnits& units, int outputCount) {
  return units.outputHertz ? CountOutputHertz(units.conversion, outputCount)
                           : CountOutputVolts(units.conversion, outputCount);
}

std::string LogHeaderRow() {
  std::string row;
  for (std::string_view column : kColumns) {
    if (!row.empty()) row += ',';
    row += column;
  }
  return row;
}

std::string_view LogColumnUnit(bool inputHertz, bool outputHertz, int column) {
  switch (column) {
    case 0:
      return "s";
    case 2:
      return UnitName(inputHertz);
    case 4:
      return UnitName(outputHertz);
    case kFields - 1:
      return "entry";
    default:
      return "count";
  }
}

std::string LogUnitsRow(const LogUnits& units) {
  std::string row;
  for (int column = 0; column < kFields; ++column) {
    if (column > 0) row += ',';
    row += LogColumnUnit(units.inputHertz, units.outputHertz, column);
  }
  return row;
}

std::string LogRow(const LogReading& r, const LogUnits& units) {
  std::string row;
  row.reserve(64);
  AppendFixed(row, r.seconds, 3);
  row += ',';
  AppendInt(row, r.input);
  row += ',';
  AppendFixed(row, LogInputValue(units, r.input), units.inputHertz ? 1 : 3);
  row += ',';
  AppendInt(row, r.output);
  row += ',';
  AppendFixed(row, LogOutputValue(units, r.output), units.outputHertz ? 1 : 3);
  for (int offset : r.offsets) {
    row += ',';
    AppendInt(row, offset);
  }
  row += ',';
  AppendInt(row, LogEntry(r.input));
  return row;
}

LogWriter::LogWriter(const std::string& path, const LogUnits& units) : path_(path), units_(units) {
  file_.reset(std::fopen(path.c_str(), "wb"));
  if (!file_) throw LogError("Cannot create " + path + ": " + std::strerror(errno));
  // Unbuffered: each row goes to the system in the write that Append makes.
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
  Write(LogHeaderRow());
  Write(LogUnitsRow(units));
}

void LogWriter::Append(const LogReading& r) {
  Write(LogRow(r, units_));
  ++rows_;
}

void LogWriter::Write(const std::string& line) {
  if (!failure_.empty()) throw LogError(failure_);
  std::string text = line;
  text += kLineEnd;
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), file_.get()) == text.size() &&
                       std::fflush(file_.get()) == 0;
  if (!written) {
    failure_ = "Error writing " + path_ + ": " + std::strerror(errno != 0 ? errno : EIO);
    throw LogError(failure_);
  }
}

LogFile ParseLog(std::string_view text, const std::string& name) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());
  size_t at = 0;
  bool ended = false;
  if (NextLine(text, at, ended) != LogHeaderRow())
    throw LogError(name + " is not a Vyk Edit live log");

  LogFile log;
  const std::string_view units = NextLine(text, at, ended);
  std::array<std::string_view, kFields> f;
  const bool unitsRead = SplitFields(units, f) == kFields && (f[2] == "V" || f[2] == "Hz") &&
                         (f[4] == "V" || f[4] == "Hz") &&
                         LogUnitsRow({f[2] == "Hz", f[4] == "Hz", {}}) == units;
  if (!unitsRead) {
    log.problem = LineProblem(2, ended ? ": expected the units row" : " is cut short");
    return log;
  }
  log.inputHertz = f[2] == "Hz";
  log.outputHertz = f[4] == "Hz";

  log.readings.reserve(text.size() / 48);
  for (long number = 3; at < text.size(); ++number) {
    const std::string_view line = NextLine(text, at, ended);
    LogReading r;
    std::string problem = ParseRow(line, r);
    if (problem.empty() && !log.readings.empty() && r.seconds < log.readings.back().seconds)
      problem = "the time goes back";
    if (!problem.empty()) {
      // A last line that stops without its line end is one the writer did not finish.
      log.problem = LineProblem(number, ended ? ": " + problem : " is cut short");
      return log;
    }
    log.readings.push_back(r);
  }
  return log;
}

LogFile ReadLog(const std::string& path) {
  std::string text;
  try {
    RegularFile file(path, RegularFile::Access::Read);
    text = file.ReadAt(0, file.Size());
  } catch (const InOutError& e) {
    throw LogError(e.what());
  }
  return ParseLog(text, path);
}

}  // namespace vyk

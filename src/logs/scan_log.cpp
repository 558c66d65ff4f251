#include "logs/scan_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/errors.h"
#include "model/text/number.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

// A day of logging at 50 rows a second is a few hundred megabytes: far beyond that is no log.
constexpr size_t kMaxLogBytes = size_t{512} * 1024 * 1024;

// The lines of the text, without their ends ("\r\n", "\n" or a lone "\r").
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The separator of the header row: the most frequent of tab, semicolon and comma outside
// quotes (a tie goes to the rarer character in numbers: tab, then semicolon).
char DetectSeparator(std::string_view header) {
  int tabs = 0, semicolons = 0, commas = 0;
  bool quoted = false;
  for (char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    tabs += c == '\t';
    semicolons += c == ';';
    commas += c == ',';
  }
  if (tabs > 0 && tabs >= semicolons && tabs >= commas) return '\t';
  if (semicolons > 0 && semicolons >= commas) return ';';
  return ',';
}

// The cells of a line; a quoted cell may hold the separator, and "" stands for one quote.
std::vector<std::string> Cells(std::string_view line, char separator) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == separator && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

double CellValue(std::string_view cell, bool decimalComma) {
  std::string text(TrimBlanks(cell));
  if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      !std::isfinite(value))
    return std::nan("");
  return value;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

ScanLog ParseScanLog(std::string_view text, const std::string& name) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::vector<std::string_view> lines = Lines(text);
  size_t at = 0;
  while (at < lines.size() && TrimBlanks(lines[at]).empty())
    ++at;
  if (at == lines.size()) throw ScanLogError(name + " has no header row");

  ScanLog log;
  log.separator = DetectSeparator(lines[at]);
  log.decimalComma = log.separator != ',';
  for (const std::string& cell : Cells(lines[at], log.separator))
    log.columns.emplace_back(TrimBlanks(cell));
  const bool named = std::any_of(log.columns.begin(), log.columns.end(), [&](const std::string& c) {
    return !c.empty() && std::isnan(CellValue(c, log.decimalComma));
  });
  if (!named) throw ScanLogError(name + " has no header row: its first row holds no column names");

  for (++at; at < lines.size(); ++at) {
    if (TrimBlanks(lines[at]).empty()) continue;
    const std::vector<std::string> cells = Cells(lines[at], log.separator);
    std::vector<double> row(log.columns.size(), std::nan(""));
    bool reads = false;
    for (size_t c = 0; c < row.size() && c < cells.size(); ++c) {
      row[c] = CellValue(cells[c], log.decimalComma);
      reads = reads || !std::isnan(row[c]);
    }
    if (reads) {
      log.rows.push_back(std::move(row));
    } else {
      ++log.skipped;
    }
  }
  if (log.rows.empty()) throw ScanLogError(name + " has no row of numbers under its header");
  return log;
}

ScanLog ReadScanLog(const std::string& path) {
  std::string text;
  try {
    text = ReadSmallFile(path, kMaxLogBytes, "a log");
  } catch (const InOutError& e) {
    throw ScanLogError(e.what());
  }
  return ParseScanLog(text, path);
}

int FindScanLogColumn(const ScanLog& log, std::string_view nameOrNumber) {
  const std::string wanted = Lower(TrimBlanks(nameOrNumber));
  for (size_t c = 0; c < log.columns.size(); ++c)
    if (Lower(log.columns[c]) == wanted) return static_cast<int>(c);
  int number = 0;
  const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
  if (!wanted.empty() && error == std::errc() && end == wanted.data() + wanted.size() &&
      number >= 1 && number <= static_cast<int>(log.columns.size()))
    return number - 1;
  return -1;
}

std::string ScanLogHeaderKey(const ScanLog& log) {
  // FNV-1a over the names, each ended by a byte no name holds: stable across runs and builds.
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const std::string& column : log.columns) {
    for (char c : Lower(column) + '\x1f') {
      hash ^= static_cast<unsigned char>(c);
      hash *= 0x100000001b3ULL;
    }
  }
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
  return key;
}

}  // namespace vyk

#include "logs/scan_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/errors.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

// A day of logging at 50 rows a second is a few hundred megabytes: far beyond that is no log.
constexpr size_t kMaxLogBytes = size_t{512} * 1024 * 1024;
// A day at 50 rows a second is 4,320,000 rows.
constexpr size_t kMaxLogRows = 5'000'000;
// Scan tools log a few dozen channels. A header far wider is no log, and each row would be
// sized to it.
constexpr size_t kMaxLogColumns = 1000;

// The next line of the text from `at`, without its end ("\r\n", "\n" or a lone "\r"); `at`
// moves past it. Read one at a time: a file of line ends makes no vector of empty lines.
std::string_view NextLine(std::string_view text, size_t& at) {
  const size_t start = at;
  const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
  at = end + 1;
  if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++at;
  return text.substr(start, end - start);
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
  size_t at = 0;
  std::string_view header;
  while (at < text.size() && TrimBlanks(header).empty())
    header = NextLine(text, at);
  if (TrimBlanks(header).empty()) throw ScanLogError(name + " has no header row");

  ScanLog log;
  log.separator = DetectSeparator(header);
  log.decimalComma = log.separator != ',';
  std::vector<std::string> names = Cells(header, log.separator);
  if (names.size() > kMaxLogColumns)
    throw ScanLogError(name + " has " + std::to_string(names.size()) +
                       " columns in its header row: a log of more than " +
                       std::to_string(kMaxLogColumns) + " is not read");
  // Names as the windows and the command line take them: a header that is not UTF-8 was
  // written on Windows.
  const bool utf8 = IsUtf8(header);
  for (const std::string& cell : names)
    log.columns.emplace_back(utf8 ? std::string(TrimBlanks(cell)) : Cp1252ToUtf8(TrimBlanks(cell)));
  const bool named = std::any_of(log.columns.begin(), log.columns.end(), [&](const std::string& c) {
    return !c.empty() && std::isnan(CellValue(c, log.decimalComma));
  });
  if (!named) throw ScanLogError(name + " has no header row: its first row holds no column names");

  while (at < text.size()) {
    const std::string_view line = NextLine(text, at);
    if (TrimBlanks(line).empty()) continue;
    const std::vector<std::string> cells = Cells(line, log.separator);
    // The row up to its last number only: a short row under a wide header costs no more
    // than its text.
    std::vector<double> row;
    for (size_t c = 0; c < log.columns.size() && c < cells.size(); ++c) {
      const double value = CellValue(cells[c], log.decimalComma);
      if (std::isnan(value)) continue;
      row.resize(c + 1, std::nan(""));
      row[c] = value;
    }
    if (row.empty()) {
      ++log.skipped;
      continue;
    }
    if (log.rows.size() == kMaxLogRows)
      throw ScanLogError(name + " has more than " + std::to_string(kMaxLogRows) +
                         " rows of numbers: a log that long is not read");
    log.rows.push_back(std::move(row));
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

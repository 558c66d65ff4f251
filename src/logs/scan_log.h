#pragma once
// Logs from a scan tool or a wideband logger: a CSV file with a header row, as the tools write
// them in different countries (comma, semicolon or tab between cells; a decimal comma where
// the cells are not separated by commas; quoted cells). The program's own live logs read as
// well: their units row is one of the rows that do not read.
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

struct ScanLog {
  std::vector<std::string> columns;  // as the header row names them, blanks cut, in UTF-8
  // One value a column up to the row's last number; NaN for an empty or bad cell, and every
  // column past the row's end has none (ScanLogCell).
  std::vector<std::vector<double>> rows;
  int skipped = 0;  // rows after the header with no number in them
  char separator = ',';
  bool decimalComma = false;
};

// A row's value in a column: NaN where the row has none.
inline double ScanLogCell(const std::vector<double>& row, int column) {
  return column >= 0 && static_cast<size_t>(column) < row.size()
             ? row[column]
             : std::numeric_limits<double>::quiet_NaN();
}

// A log that cannot be read, has no header row, no row of numbers, or is far larger than any
// log (more than 1000 columns or 5,000,000 rows).
class ScanLogError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws ScanLogError naming the file and what is wrong.
ScanLog ReadScanLog(const std::string& path);
ScanLog ParseScanLog(std::string_view text, const std::string& name);

// The column a user names: its header text (letter case aside) or its number from 1. -1 when
// the log has no such column.
int FindScanLogColumn(const ScanLog& log, std::string_view nameOrNumber);

// A short key for the header row, the same for every log of that layout: the choice of
// columns is remembered under it.
std::string ScanLogHeaderKey(const ScanLog& log);

}  // namespace vyk

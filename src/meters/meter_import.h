#pragma once
// Builds a meter from a plain text file: five header lines (part number, signal kind, flow
// units, two description lines), then one point per line as "signal flow".
#include <cstddef>
#include <string>
#include <string_view>

#include "meters/meter_record.h"

namespace vyk {

// A meter text file holds five header lines and at most 62 point lines: anything larger than
// this is not one (and reading it whole could take all the memory there is).
inline constexpr size_t kMaxMeterTextBytes = 1 << 20;

// The characters that separate the fields of a point line: blank and tab.
inline constexpr std::string_view kFieldDelimiters = " \t";

// The next token of `line`. `position` is 1-based, starts at 1 for each line and is left on
// the character after the token, so successive calls walk the line; runs of delimiters count
// as one separator. An empty line, or nothing left, gives an empty token.
std::string ExtractToken(std::string_view line, std::string_view delimiters, int& position);

// Reads the text file into `record`: PointCount starts at 0 and both descriptions empty,
// header lines that are missing or too short leave their fields as they were, and every
// other byte of the record keeps its value. The record is changed only when the whole file
// has been read: a 63rd point line throws RangeError and a file that cannot be read throws
// InOutError, both with `record` untouched. A folder, pipe or device, and a file larger than
// kMaxMeterTextBytes before its end-of-file character, are refused with InOutError, and so is
// a file of which no line sets anything (empty, blank, junk such as NUL bytes).
void ImportMeterText(const std::string& path, MeterRecord& record);

}  // namespace vyk

#include "operations/table/grid_clipboard.h"

#include <vector>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/text/hex_text.h"
#include "model/text/number.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"
#include "operations/table/image_grids.h"

namespace vyk {

namespace {

// The lines of a pasted text, without their line ends and without the empty lines at its end
// (a spreadsheet ends its last row with a line end).
std::vector<std::string> PastedLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && Trim(lines.back()).empty())
    lines.pop_back();
  return lines;
}

// The values of a line of the byte grid's paste: separated by tabs or blanks.
std::vector<std::string> ByteFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : line + ' ') {
    if (c == ' ' || c == '\t') {
      if (!field.empty()) fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  return fields;
}

bool Refuse(Session& s, size_t line, const std::string& cell, const std::string& text,
            const std::string& reason) {
  s.dialogs.Error("Line " + std::to_string(line + 1) + " of the paste, for " + cell + ": '" + text +
                  "' " + reason + ". Nothing was pasted.");
  return false;
}

}  // namespace

std::string CopyCells(const AppState& state, ImageGrid grid, const CellRange& range) {
  std::string text;
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int column = range.left; column <= range.right; ++column) {
      if (column > range.left) text += '\t';
      text += Trim(grid == ImageGrid::Table ? TableGridCellText(state, column, row)
                                            : EepromGridCellText(state, column, row));
    }
    text += '\n';
  }
  return text;
}

std::optional<std::string> OutputTextFault(const AppState& state, std::string_view text) {
  if (text.empty()) return std::nullopt;
  try {
    // The conversions read with this same reader; they cannot tell no number from -1.
    if (!ReadNumber(text)) return "is not a number";
    if (state.controls.outputRGrp == kVoltage && VoltsTextToCount(state.conversion, text) < 0)
      return "is below 0 V";
    if (state.controls.outputRGrp != kVoltage) FrequencyTextToCount(state.conversion, text);
  } catch (const std::exception& e) {
    return std::string("cannot be stored (") + e.what() + ")";
  }
  return std::nullopt;
}

std::optional<std::string> ByteTextFault(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string digits = Trim(text);
  // The grid would store 0 for it: a mistake, not a value.
  if (digits.empty() || HexDigitValue(digits[0]) < 0) return "is not a hexadecimal number";
  try {
    ReadHexByte(text);
  } catch (const RangeError&) {
    return "is above FF";
  }
  return std::nullopt;
}

bool TableGridPaste(Session& s, int row, const std::string& text) {
  if (row < 1 || row >= kTableGridRows) throw RangeError();
  if (RefusedDuringExchange(s)) return false;
  AppState& st = s.state;
  const std::vector<std::string> lines = PastedLines(text);
  const int room = kTableGridRows - row;
  if (static_cast<int>(lines.size()) > room) {
    s.dialogs.Error("The paste has " + std::to_string(lines.size()) + " lines, but entries " +
                    std::to_string(row - 1) + "..32 are only " + std::to_string(room) +
                    " rows. Nothing was pasted.");
    return false;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string cell = "entry " + std::to_string(row - 1 + static_cast<int>(i));
    if (lines[i].find('\t') != std::string::npos)
      return Refuse(s, i, cell, lines[i], "holds more than one column");
    if (auto fault = OutputTextFault(st, lines[i])) return Refuse(s, i, cell, lines[i], *fault);
  }
  ProjectChange change(s, "Paste");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const int k = row - 1 + static_cast<int>(i);
    st.projectModified = true;
    StoreEntryOutput(st, k, lines[i]);
    SetChartPoint(s, k, EntryOutputText(st, k));
  }
  RefreshWindow(s);
  return true;
}

bool EepromGridPaste(Session& s, int column, int row, const std::string& text) {
  if (column < 1 || column >= kEepromGridColumns || row < 1 || row >= kEepromGridRows)
    throw RangeError();
  if (RefusedDuringExchange(s)) return false;
  const std::vector<std::string> lines = PastedLines(text);
  std::vector<std::vector<std::string>> values;
  for (size_t i = 0; i < lines.size(); ++i) {
    values.push_back(ByteFields(lines[i]));
    const int lastRow = row + static_cast<int>(i);
    const int lastColumn = column + static_cast<int>(values.back().size()) - 1;
    if (lastRow >= kEepromGridRows || lastColumn >= kEepromGridColumns) {
      s.dialogs.Error("Line " + std::to_string(i + 1) +
                      " of the paste reaches past the edge of the byte grid. Nothing was pasted.");
      return false;
    }
    for (size_t j = 0; j < values.back().size(); ++j) {
      const int address = (lastRow - 1) * 16 + column - 1 + static_cast<int>(j);
      const std::string& value = values.back()[j];
      if (auto fault = ByteTextFault(value))
        return Refuse(s, i, "byte " + FormatHex(static_cast<uint32_t>(address), 2), value, *fault);
    }
  }
  ProjectChange change(s, "Paste");
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t j = 0; j < values[i].size(); ++j) {
      const int address = (row - 1 + static_cast<int>(i)) * 16 + column - 1 + static_cast<int>(j);
      s.state.projectModified = true;
      s.state.image.SetByte(address, static_cast<uint8_t>(ReadHexByte(values[i][j])));
    }
  }
  RefreshWindow(s);
  return true;
}

}  // namespace vyk

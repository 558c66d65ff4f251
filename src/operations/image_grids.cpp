#include "operations/image_grids.h"

#include <cstdio>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/number.h"
#include "operations/main_controls.h"

namespace vyk {

namespace {

std::string HexText(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

int ByteAddress(int column, int row) {
  if (column < 1 || column >= kEepromGridColumns || row < 1 || row >= kEepromGridRows)
    throw RangeError();
  return (row - 1) * 16 + (column - 1);
}

void MarkModified(Session& s) {
  if (s.state.projectModified) return;
  s.state.projectModified = true;
  RefreshWindow(s);  // enables File > Save
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string TableGridCellText(const AppState& state, int column, int row) {
  if (column < 0 || column >= kTableGridColumns || row < 0 || row >= kTableGridRows)
    throw RangeError();
  bool gmFrequencyIn = state.header.Group() == kGM && state.controls.inputRGrp == kFrequency;
  if (row == 0) {
    if (column == 0) return gmFrequencyIn ? "F in" : "V in";
    return state.controls.outputRGrp == kVoltage ? "V Out" : "F Out";
  }
  if (column == 0) {
    int count = 32 * (row - 1);
    return gmFrequencyIn ? FrequencyText(state.conversion, state.header.Group(), count)
                         : InputVoltsText(state.conversion, count);
  }
  return EntryOutputText(state, row - 1);
}

void TableGridSetEditText(Session& s, int column, int row, const std::string& text) {
  if (column != 1 || row < 1 || row >= kTableGridRows) throw RangeError();
  if (text.empty()) return;
  MarkModified(s);
  int k = row - 1;
  StoreEntryOutput(s.state, k, text);
  SetChartPoint(s, k, EntryOutputText(s.state, k));
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

std::string EepromGridCellText(const AppState& state, int column, int row) {
  if (column < 0 || column >= kEepromGridColumns || row < 0 || row >= kEepromGridRows)
    throw RangeError();
  if (row == 0 && column == 0) return "";
  if (row == 0) return HexText(" %1.1X ", column - 1);
  if (column == 0) return HexText(" %2.2X ", (row - 1) * 16);
  return HexText(" %2.2X ", state.image.Byte(ByteAddress(column, row)));
}

std::string EepromGridGetEditText(const AppState& state, int column, int row) {
  return HexText(" %2.2X ", state.image.Byte(ByteAddress(column, row)));
}

int ReadHexByte(std::string_view text) {
  std::string trimmed = Trim(text);
  int value = 0;
  for (char c : trimmed) {
    int digit = HexDigit(c);
    if (digit < 0) break;
    value = value * 16 + digit;
    if (value > 0xFF) throw RangeError();
  }
  return value;
}

void EepromGridSetEditText(Session& s, int column, int row, const std::string& text) {
  int address = ByteAddress(column, row);
  if (text.empty()) return;
  MarkModified(s);
  s.state.image.SetByte(address, static_cast<uint8_t>(ReadHexByte(text)));
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

void SetChartPoint(Session& s, int k, const std::string& text) {
  auto& series = s.state.chart.series1;
  if (k < 0 || k >= kCurvePoints || k >= static_cast<int>(series.size())) return;
  auto value = ReadNumber(Trim(text));
  if (!value) return;
  series[k].y = *value;
  s.view.ChartChanged();
}

}  // namespace vyk

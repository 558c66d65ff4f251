#include "operations/table/image_grids.h"

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/hex_text.h"
#include "model/text/number.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"

namespace vyk {

namespace {

// A hexadecimal cell: the digits framed by blanks.
std::string HexCell(int value, int digits) {
  return " " + FormatHex(static_cast<uint32_t>(value), digits) + " ";
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
  if (state.projectState == ProjectState::NoProject) return "";  // no table to show
  return EntryOutputText(state, row - 1);
}

void TableGridSetEditText(Session& s, int column, int row, const std::string& text) {
  if (column != 1 || row < 1 || row >= kTableGridRows) throw RangeError();
  if (text.empty() || RefusedDuringExchange(s)) return;
  int k = row - 1;
  ProjectChange change(s, "Table Entry " + std::to_string(k));
  MarkModified(s);
  StoreEntryOutput(s.state, k, text);
  SetChartPoint(s, k, EntryOutputText(s.state, k));
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

std::string EepromGridCellText(const AppState& state, int column, int row) {
  if (column < 0 || column >= kEepromGridColumns || row < 0 || row >= kEepromGridRows)
    throw RangeError();
  if (row == 0 && column == 0) return "";
  if (row == 0) return HexCell(column - 1, 1);
  if (column == 0) return HexCell((row - 1) * 16, 2);
  if (state.projectState == ProjectState::NoProject) return "";  // no image to show
  return HexCell(state.image.Byte(ByteAddress(column, row)), 2);
}

std::string EepromGridGetEditText(const AppState& state, int column, int row) {
  return HexCell(state.image.Byte(ByteAddress(column, row)), 2);
}

void EepromGridSetEditText(Session& s, int column, int row, const std::string& text) {
  int address = ByteAddress(column, row);
  if (text.empty() || RefusedDuringExchange(s)) return;
  ProjectChange change(s, "Byte " + FormatHex(static_cast<uint32_t>(address), 2));
  MarkModified(s);
  s.state.image.SetByte(address, static_cast<uint8_t>(ReadHexByte(text)));
  RefreshWindow(s);  // repaints both grids, and a pot box shows its byte
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

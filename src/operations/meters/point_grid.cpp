#include "operations/meters/point_grid.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "meters/meter_record.h"
#include "model/errors.h"
#include "model/text/number.h"

namespace vyk {

namespace {

const std::string kMetricCaption = "Data Table (kg/hr)";
const std::string kEnglishCaption = "Data Table (lb/hr)";

std::string Format(float value, NumberFormat format) {
  return FormatFixed(value, format.width, format.decimals);
}

// The cell's number as a float, the column's limit applied when `limited`. Compared before it
// becomes a float, so a number too large for one is limited like any other.
float Limited(const std::string& cell, float limit, bool limited) {
  const long double value = TextToExtended(cell);
  return limited && value > limit ? limit : ToFloat(value);
}

// A cell's number for the chart, which draws a number too large for a float (typed, not yet
// limited) at the largest float.
float ChartValue(const std::string& cell) {
  constexpr long double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(TextToExtended(cell), -kLargest, kLargest));
}

}  // namespace

PointGrid::PointGrid(Dialogs& dialogs) : dialogs_(dialogs), groupCaption_(kMetricCaption) {
  rows_.resize(2);
  SetLimitsAndFormats();
  SetHeaders();
}

void PointGrid::CheckCell(int row, int col) const {
  if (row < 0 || row >= RowCount() || col < 0 || col > 1) throw RangeError();
}

const std::string& PointGrid::Cell(int row, int col) const {
  CheckCell(row, col);
  return rows_[row][col];
}

void PointGrid::SetCell(int row, int col, const std::string& text) {
  CheckCell(row, col);
  rows_[row][col] = text;
}

void PointGrid::AppendRow() {
  rows_.emplace_back();
}

void PointGrid::Clear() {
  rows_.resize(2);
  rows_[1] = Row{};
  ClampCurrent();
}

void PointGrid::DeleteRow(int row) {
  rows_.erase(rows_.begin() + row);
  ClampCurrent();
}

void PointGrid::ClampCurrent() {
  row_ = std::clamp(row_, 1, RowCount() - 1);
}

void PointGrid::SetLimitsAndFormats() {
  maxFlow_ = 9999.99f;
  maxVolts_ = 6.0f;
  maxFreq_ = 13500.0f;
  flowFormat_ = {4, 2};
  voltsFormat_ = {1, 2};
  freqFormat_ = {5, 0};
}

bool PointGrid::KeyAccepted(char key) {
  return (key >= '0' && key <= '9') || key == '.' || key == 8 || key == 13 || key == 127;
}

void PointGrid::SetEditText(int row, int col, const std::string& text) {
  if (row < 1) throw RangeError();
  SetCell(row, col, text);
  row_ = row;
  col_ = col;
  modified_ = true;
  if (BothFilled(rows_[row]) && LastRow(row)) AppendRow();
  if (col == kFlowColumn && rows_[row][kFlowColumn].empty() &&
      std::all_of(rows_.begin() + row + 1, rows_.end(), BothEmpty))
    rows_.resize(row + 1);
  if (BothEmpty(rows_[row]) && !LastRow(row)) DeleteRow(row);
  UpdateGraph();
}

bool PointGrid::SelectCell(int row, int col) {
  if (row < 1) throw RangeError();
  CheckCell(row, col);
  if (row == row_ && col == col_) return true;  // no move, nothing to leave
  const int leaving = row_;
  const bool valid = ValidateGrid();
  if (valid && !rows_[row_][kSignalColumn].empty()) BubbleSort();
  // Also after a refusal: validation may have reformatted the row.
  UpdateGraph();
  if (!valid) return false;
  // Validation may have deleted a row, and the sort may have moved the one being left.
  row_ = row == leaving ? row_ : std::min(row, RowCount() - 1);
  col_ = col;
  return true;
}

void PointGrid::Exit() {
  if (!ValidateGrid()) return;
  BubbleSort();
  UpdateGraph();
}

void PointGrid::EnterKey() {
  ValidateGrid();
}

bool PointGrid::ValidateGrid() {
  Row& cells = rows_[row_];
  std::string& signal = cells[kSignalColumn];
  std::string& flow = cells[kFlowColumn];
  if (!signal.empty()) {
    const float limit = frequency_ ? maxFreq_ : maxVolts_;
    const NumberFormat format = frequency_ ? freqFormat_ : voltsFormat_;
    signal = Format(Limited(signal, limit, col_ == kSignalColumn), format);
  }
  if (!flow.empty()) flow = Format(Limited(flow, maxFlow_, col_ == kFlowColumn), flowFormat_);
  if ((signal.empty() || flow.empty()) && !LastRow(row_)) {
    if (dialogs_.Warning("This cell must not be empty.  Delete row?", QuestionButtons::YesNo) !=
        Answer::Yes)
      return false;
    DeleteRow(row_);
    return true;
  }
  // An entry row without a flow has entered nothing that could repeat another row's.
  if (flow.empty()) return true;
  for (int k = 1; k <= RowCount() - 2; ++k) {
    if (k != row_ && rows_[k][kFlowColumn] == flow) {
      dialogs_.Information("The value entered already exists.");
      return false;
    }
  }
  return true;
}

bool PointGrid::BubbleSort() {
  const std::string remembered = rows_[row_][kSignalColumn];
  const int n = RowCount() - 2;
  for (int i = 1; i <= n; ++i) {
    for (int j = n; j >= i + 1; --j) {
      const float lower = TextToFloat(rows_[j][kSignalColumn]);
      const float upper = TextToFloat(rows_[j - 1][kSignalColumn]);
      if (lower == upper) {
        dialogs_.Error("Duplicate entry: " + rows_[j][kSignalColumn]);
        return false;
      }
      if (lower < upper) std::swap(rows_[j], rows_[j - 1]);
    }
  }
  for (int r = 1; r < RowCount(); ++r) {
    if (rows_[r][kSignalColumn] == remembered) {
      row_ = r;
      break;
    }
  }
  return true;
}

void PointGrid::UpdateGraph() {
  std::vector<GraphPoint> points;
  for (int r = 1; r < RowCount(); ++r) {
    const Row& cells = rows_[r];
    if (!BothFilled(cells)) continue;
    points.push_back(
        {ChartValue(cells[kFlowColumn]), ChartValue(cells[kSignalColumn]), cells[kFlowColumn]});
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const GraphPoint& a, const GraphPoint& b) { return a.x < b.x; });
  graph_ = std::move(points);
}

std::vector<std::string> PointGrid::ConvertedFlows(bool metric) const {
  std::vector<std::string> flows;
  for (int r = 1; r <= RowCount() - 2; ++r) {
    // The number as typed: rounding it to a float first puts a few flows in a hundred 0.01 off.
    const long double flow = TextToExtended(rows_[r][kFlowColumn]);
    flows.push_back(metric ? LbToKgText(flow) : KgToLbText(flow));
  }
  return flows;
}

void PointGrid::ConvertValues() {
  // Every flow is read before any is written, so a cell that is no number leaves the whole
  // column in one unit.
  const std::vector<std::string> flows = ConvertedFlows(metricShown_);
  for (int r = 1; r <= RowCount() - 2; ++r)
    rows_[r][kFlowColumn] = flows[r - 1];
}

void PointGrid::UnitsClick(bool metric) {
  // Converted before the unit changes, so a failed conversion leaves the unit and the flows
  // in agreement.
  const std::vector<std::string> flows = ConvertedFlows(metric);
  metricShown_ = metric;
  groupCaption_ = metric ? kMetricCaption : kEnglishCaption;
  for (int r = 1; r <= RowCount() - 2; ++r)
    rows_[r][kFlowColumn] = flows[r - 1];
  modified_ = true;
  UpdateGraph();
}

void PointGrid::FrequencyClick(bool checked) {
  frequency_ = checked;
  SetHeaders();
  modified_ = true;
}

void PointGrid::SetHeaders() {
  rows_[0][kSignalColumn] = frequency_ ? "Freq" : "Volts";
  rows_[0][kFlowColumn] = "Flow";
}

}  // namespace vyk

#pragma once
// The meter editor's point grid as a table of cell texts: column 0 the signals, column 1 the
// flows; row 0 the headers, rows 1 .. RowCount - 2 the points, the last row the entry row
// (empty or partly typed, never saved). The window only mirrors these texts and forwards its
// grid events here; the response chart is the point list this model keeps.
//
// Cells are parsed and written with "." as the decimal separator whatever the locale: the
// key filter admits no other, and the texts go to .maf files that must read the same on any
// machine.
#include <array>
#include <string>
#include <vector>

#include "operations/project/dialogs.h"

namespace vyk {

inline constexpr int kSignalColumn = 0;
inline constexpr int kFlowColumn = 1;

// A fixed-point text form, as "%<width>.<decimals>f" writes it.
struct NumberFormat {
  int width = 0;
  int decimals = 0;
  bool operator==(const NumberFormat&) const = default;
};

// One point of the response chart: flow across, signal up, labelled with the flow text.
struct GraphPoint {
  float x = 0;
  float y = 0;
  std::string label;
  bool operator==(const GraphPoint&) const = default;
};

class PointGrid {
 public:
  explicit PointGrid(Dialogs& dialogs);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Row 0..RowCount-1, column 0..1; anything else throws RangeError.
  const std::string& Cell(int row, int col) const;
  // From code: no handler runs.
  void SetCell(int row, int col, const std::string& text);
  // Adds an empty row at the end: the old entry row becomes a point row.
  void AppendRow();
  // Empties rows 1 .. RowCount - 1 and leaves the headers and one empty entry row.
  void Clear();

  int CurrentRow() const { return row_; }
  int CurrentCol() const { return col_; }

  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool MetricShown() const { return metricShown_; }
  bool Frequency() const { return frequency_; }
  // The caption of the box around the grid, naming the flow unit.
  const std::string& GroupCaption() const { return groupCaption_; }
  void SetGroupCaption(const std::string& caption) { groupCaption_ = caption; }

  float MaxFlow() const { return maxFlow_; }
  float MaxVolts() const { return maxVolts_; }
  float MaxFreq() const { return maxFreq_; }
  NumberFormat FlowFormat() const { return flowFormat_; }
  NumberFormat VoltsFormat() const { return voltsFormat_; }
  NumberFormat FreqFormat() const { return freqFormat_; }
  // The limits 9999.99, 6.0 and 13500.0 and the formats "%4.2f", "%1.2f" and "%5.0f".
  void SetLimitsAndFormats();

  // The response chart, ordered by flow.
  const std::vector<GraphPoint>& Graph() const { return graph_; }
  void ClearGraph() { graph_.clear(); }

  // Whether a character typed into a cell gets in: digits, ".", Backspace, Enter and 127.
  static bool KeyAccepted(char key);

  // The cell being edited (which becomes the current one) now holds `text`: marks the meter
  // modified, grows a new entry row when the entry row is filled, drops emptied rows, and
  // redraws the chart.
  void SetEditText(int row, int col, const std::string& text);
  // The selection is to move to (row, col). Validates the cell being left and refuses the
  // move when that fails; otherwise sorts the points and redraws the chart. A move within
  // the edited row follows that row to where the sort put it.
  bool SelectCell(int row, int col);
  // The grid loses the focus.
  void Exit();
  // Enter pressed in the grid.
  void EnterKey();

  // Formats the current row's cells (the limit of the current column applied), and checks
  // that a point row is complete and its flow not already in another row. May ask whether to
  // delete a half-empty row.
  bool ValidateGrid();
  // Puts the point rows in ascending order of signal and selects the row that was current.
  // Two equal signals stop the sort with an error box; then the result is false.
  bool BubbleSort();
  // Rebuilds the chart from every row with both cells filled.
  void UpdateGraph();
  // Converts every point row's flow to the unit MetricShown names.
  void ConvertValues();
  // The Units selection changed: Metric (true) or English.
  void UnitsClick(bool metric);
  // The Frequency box changed.
  void FrequencyClick(bool checked);
  // The header row names the signal kind and the flow.
  void SetHeaders();

 private:
  using Row = std::array<std::string, 2>;

  void CheckCell(int row, int col) const;
  void DeleteRow(int row);
  void ClampCurrent();
  bool LastRow(int row) const { return row == RowCount() - 1; }
  static bool BothEmpty(const Row& row) { return row[0].empty() && row[1].empty(); }
  static bool BothFilled(const Row& row) { return !row[0].empty() && !row[1].empty(); }
  std::vector<std::string> ConvertedFlows(bool metric) const;

  Dialogs& dialogs_;
  std::vector<Row> rows_;
  int row_ = 1;
  int col_ = kSignalColumn;
  bool modified_ = false;
  bool metricShown_ = true;  // the Units selection starts on Metric
  bool frequency_ = false;
  std::string groupCaption_;
  float maxFlow_ = 0;
  float maxVolts_ = 0;
  float maxFreq_ = 0;
  NumberFormat flowFormat_;
  NumberFormat voltsFormat_;
  NumberFormat freqFormat_;
  std::vector<GraphPoint> graph_;
};

}  // namespace vyk

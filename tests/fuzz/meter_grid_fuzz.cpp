// Keystrokes, moves and switches in the meter editor's point grid, as its window forwards
// them. After every event the grid keeps its shape (two header texts, at least one point row
// or the entry row, no emptied point row left, an entry row never complete), the chart stays
// ordered by flow, a row that validates holds its numbers in the column's format and limit, a
// sort that completes leaves the signals ascending, and a flow switched to the other unit and
// back comes back within one step of the other unit.
#include <cmath>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/text/number.h"
#include "operations/meters/point_grid.h"
#include "support/fuzz_support.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

void CheckShape(const PointGrid& grid) {
  Require(grid.RowCount() >= 2, "the grid keeps its header and entry rows");
  Require(grid.Cell(0, kSignalColumn) == (grid.Frequency() ? "Freq" : "Volts") &&
              grid.Cell(0, kFlowColumn) == "Flow",
          "the header row names the signal kind and the flow");
  const int last = grid.RowCount() - 1;
  Require(grid.Cell(last, kSignalColumn).empty() || grid.Cell(last, kFlowColumn).empty(),
          "the entry row is never complete");
  for (int r = 1; r < last; ++r)
    Require(!grid.Cell(r, kSignalColumn).empty() || !grid.Cell(r, kFlowColumn).empty(),
            "an emptied point row does not stay");
  Require(grid.CurrentRow() >= 1 && grid.CurrentRow() <= last, "the current row is a grid row");
  const auto& graph = grid.Graph();
  for (size_t i = 1; i < graph.size(); ++i)
    Require(graph[i - 1].x <= graph[i].x, "the chart is ordered by flow");
}

// The cell holds a number as the column writes it: formatting it again changes nothing.
bool Formatted(const std::string& cell, NumberFormat format) {
  try {
    return FormatFixed(TextToExtended(cell), format.width, format.decimals) == cell;
  } catch (const VykError&) {
    return false;
  }
}

void CheckValidatedRow(const PointGrid& grid) {
  const int r = grid.CurrentRow();
  const std::string& signal = grid.Cell(r, kSignalColumn);
  const std::string& flow = grid.Cell(r, kFlowColumn);
  const NumberFormat signalFormat = grid.Frequency() ? grid.FreqFormat() : grid.VoltsFormat();
  Require(signal.empty() || Formatted(signal, signalFormat), "a validated signal is formatted");
  Require(flow.empty() || Formatted(flow, grid.FlowFormat()), "a validated flow is formatted");
  if (!signal.empty() && grid.CurrentCol() == kSignalColumn)
    Require(TextToFloat(signal) <= (grid.Frequency() ? grid.MaxFreq() : grid.MaxVolts()),
            "a validated signal is within its limit");
  if (!flow.empty() && grid.CurrentCol() == kFlowColumn)
    Require(TextToFloat(flow) <= grid.MaxFlow(), "a validated flow is within its limit");
}

void CheckSorted(const PointGrid& grid) {
  for (int r = 2; r <= grid.RowCount() - 2; ++r)
    Require(TextToFloat(grid.Cell(r - 1, kSignalColumn)) < TextToFloat(grid.Cell(r, kSignalColumn)),
            "a completed sort leaves the signals ascending");
}

// Both ways and back: kg/hr -> lb/hr -> kg/hr moves a flow by at most 0.01, lb/hr -> kg/hr ->
// lb/hr by at most 0.02 (one hundredth of a kilogram is 0.022 lb). Only flows as the grid
// writes them, of a size whose hundredths a long double still holds.
void CheckUnitsRoundTrip(PointGrid& grid) {
  std::vector<long double> before;
  for (int r = 1; r <= grid.RowCount() - 2; ++r) {
    const std::string& flow = grid.Cell(r, kFlowColumn);
    if (!Formatted(flow, grid.FlowFormat()) || std::fabs(TextToExtended(flow)) > 1e9L) return;
    before.push_back(TextToExtended(flow));
  }
  const bool metric = grid.MetricShown();
  grid.UnitsClick(!metric);
  grid.UnitsClick(metric);
  const long double step = metric ? 0.0101L : 0.0201L;
  for (int r = 1; r <= grid.RowCount() - 2; ++r)
    Require(std::fabs(TextToExtended(grid.Cell(r, kFlowColumn)) - before[r - 1]) <= step,
            "a flow switched to the other unit and back is within one step");
}

// The text the cell editor holds after each key: digits and "." go in, Backspace and 127 take
// the last character out; what the grid's key filter drops never arrives.
void Type(PointGrid& grid, int row, int col, std::string_view keys, bool fromCell) {
  std::string text = fromCell ? grid.Cell(row, col) : "";
  for (char key : keys) {
    if (!PointGrid::KeyAccepted(key) || key == 13) continue;
    if (key == 8 || key == 127) {
      if (text.empty()) continue;
      text.pop_back();
    } else {
      text += key;
    }
    grid.SetEditText(row, col, text);
    if (grid.RowCount() <= row) return;  // the row went: the editor closes
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  QuietDialogs dialogs;
  dialogs.answer = Answer::No;
  PointGrid grid(dialogs);
  grid.SetLimitsAndFormats();
  grid.SetHeaders();
  for (int events = 0; !in.Empty() && events < 200; ++events) {
    const uint8_t op = in.Byte();
    const int rowPick = in.Byte();
    const int row = 1 + rowPick % (grid.RowCount() - 1);
    const int col = op >> 7;
    try {
      switch (op & 7) {
        case 0:  // typing, into the cell the selection could move to
        case 1:
          if (grid.SelectCell(row, col))
            Type(grid, row, col, in.Until('\n'), op & 1);
          else
            in.Until('\n');
          break;
        case 2:  // a paste through the editor's menu, which no key filter sees
          if (grid.SelectCell(row, col)) grid.SetEditText(row, col, std::string(in.Until('\n')));
          break;
        case 3:  // the sort the editor runs after a move, a focus loss, an open or a convert
          if (grid.BubbleSort()) CheckSorted(grid);
          break;
        case 4: {  // Enter
          const int rows = grid.RowCount();
          if (grid.ValidateGrid() && grid.RowCount() == rows) CheckValidatedRow(grid);
          break;
        }
        case 5:
          grid.Exit();
          break;
        case 6:
          if (rowPick & 1)
            grid.FrequencyClick(!grid.Frequency());
          else
            CheckUnitsRoundTrip(grid);
          break;
        case 7:
          dialogs.answer = rowPick & 1 ? Answer::Yes : Answer::No;
          break;
      }
    } catch (const VykError&) {
      // A cell that is no number, or a number beyond a float: the window shows the message.
    }
    CheckShape(grid);
  }
  return 0;
}

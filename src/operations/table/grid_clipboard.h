#pragma once
// Copy and paste in the two grids of the image. A copy gives the selected cells' texts as
// spreadsheets take them; a paste types each value into its cell by the grid's own rules,
// and a value the grid would not take refuses the whole paste.
#include <optional>
#include <string>
#include <string_view>

#include "operations/project/session.h"

namespace vyk {

enum class ImageGrid { Table, Bytes };

// A rectangle of cells in grid rows and columns (row 0 and column 0 are the headers).
struct CellRange {
  int top = 1;
  int left = 1;
  int bottom = 1;
  int right = 1;
};

// The cells' texts without their framing blanks: a line per row, a tab between cells.
std::string CopyCells(const AppState& state, ImageGrid grid, const CellRange& range);

// Why typing `text` into an output cell of the table would not store it ("is not a number",
// "is below 0 V", an overflow), or nothing when it would. An empty text is never stored and
// never a fault: the grid ignores it.
std::optional<std::string> OutputTextFault(const AppState& state, std::string_view text);
// The same for a cell of the byte grid.
std::optional<std::string> ByteTextFault(std::string_view text);

// Ctrl+V in the table grid: one value a line, into the output column from grid row `row`
// down; an empty line leaves its row as it is. In the byte grid: a line per grid row from
// (`column`, `row`), the values of a line separated by tabs or blanks. Either is one change,
// made whole or not at all: a value the grid would not take, or a paste that reaches past the
// grid, is refused in an error box that names its line, and nothing changes. True when pasted.
bool TableGridPaste(Session& s, int row, const std::string& text);
bool EepromGridPaste(Session& s, int column, int row, const std::string& text);

}  // namespace vyk

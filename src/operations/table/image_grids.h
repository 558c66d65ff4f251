#pragma once
// The two grids of the image: the transfer table in volts or hertz (2 columns, 34 rows) and
// all 256 bytes in hexadecimal (17 x 17). Cells are painted from the image, and a cell's
// text is taken only when its editor closes.
#include <string>

#include "operations/project/session.h"

namespace vyk {

inline constexpr int kTableGridColumns = 2;
inline constexpr int kTableGridRows = 34;
inline constexpr int kEepromGridColumns = 17;
inline constexpr int kEepromGridRows = 17;

std::string TableGridCellText(const AppState& state, int column, int row);
// The closed editor's text for a cell of column 1; an empty text is ignored, and so is any
// text while an exchange with the Box runs (as in the byte grid).
void TableGridSetEditText(Session& s, int column, int row, const std::string& text);

std::string EepromGridCellText(const AppState& state, int column, int row);
// The text the byte grid's editor starts with.
std::string EepromGridGetEditText(const AppState& state, int column, int row);
// The closed editor's text: hexadecimal, an empty text is ignored, above FF is refused with
// RangeError after the project is marked modified.
void EepromGridSetEditText(Session& s, int column, int row, const std::string& text);

// Moves curve point k (0..31) to the number in the text; a text that is no number is ignored.
void SetChartPoint(Session& s, int k, const std::string& text);

}  // namespace vyk

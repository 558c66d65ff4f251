#pragma once
// Edits on a range of the table's output column: scale by a percentage, add an offset, set a
// value, interpolate between the first and last rows, smooth. Each is one change to undo;
// the counts it computes are kept within what the grid lets a typed value store.
#include <string>

#include "operations/project/session.h"

namespace vyk {

enum class RangeEditKind { Scale, Offset, Set, Interpolate, Smooth };

struct RangeEditResult {
  bool applied = false;
  int cells = 0;        // rows of the range
  int clamped = 0;      // rows whose computed count lay beyond the grid's limits
  std::string summary;  // what was done, for the dialog
};

// The counts a typed output can store: 0 up to the count of 4.995 V or of the highest
// frequency; below 2 counts a frequency stores 0.
int LowestOutputCount(const AppState& state);
int HighestOutputCount(const AppState& state);

// Applies the edit to entries first..last (either order). `value` is the percentage (Scale:
// 5 makes each output 5 % higher, -5 5 % lower), the offset or the value in the output's unit;
// Interpolate and Smooth take none and need three rows at least (the first and the last keep
// their values). A value that is no number, or too few rows, is refused in an error box and
// changes nothing.
RangeEditResult ApplyRangeEdit(Session& s, RangeEditKind kind, int first, int last,
                               const std::string& value);

// The name of an edit as its undo step and its dialog call it.
std::string RangeEditName(RangeEditKind kind);

}  // namespace vyk

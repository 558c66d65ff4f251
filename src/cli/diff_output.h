#pragma once
// What `vyk project diff` and `vyk box diff` print, and how they end.
#include "operations/compare/compare.h"

namespace vyk::cli {

// Prints the differences (nothing when there are none, as diff(1)) or, with `json`, the whole
// comparison; then ends the program: 0 when equal, 1 when different.
[[noreturn]] void PrintComparison(const Comparison& comparison, bool json);

}  // namespace vyk::cli

#pragma once
// The transfer table as comma-separated lines for spreadsheets, and outputs read back from them.
#include <cstddef>
#include <string>

#include "operations/project/session.h"

namespace vyk {

// A table CSV file holds 33 rows of a few numbers each: one far larger than this is none.
inline constexpr size_t kMaxTableCsvBytes = 1 << 20;

// A header line "entry,count,input,output", then the 33 rows: entry, count, and the input and
// output texts the table grid shows, without their framing blanks.
std::string TableCsv(const AppState& state);

// Sets table outputs from `text`: lines of `entry,output`, or lines under a header line that
// names an "entry" and an "output" column among others (as TableCsv writes). Each output is
// typed into its row as into the grid; an empty one leaves the row as it is. A line that is
// not such a row, names an entry twice or holds an output the grid would not take refuses the
// whole text in an error box naming `name` and the line, and nothing changes; so does a text
// without a row that sets an output (empty, blank, a header alone). One change to undo. True
// when set.
bool SetTableFromCsv(Session& s, const std::string& text, const std::string& name);

}  // namespace vyk

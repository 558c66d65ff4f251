// A meter file as the meter editor, the match and `vyk meter show` read it. A file that reads
// writes back byte for byte (its first 2176 bytes; a shorter one over what the record held).
// A meter whose point texts all read opens in the editor with every point in the grid, and
// matches against itself, with the warnings about the pair.
#include <algorithm>
#include <vector>

#include "match/compute_match.h"
#include "match/match_warnings.h"
#include "meters/meter_record.h"
#include "model/errors.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzedFile file("meter.maf", data, size);
  const std::string& path = file.path;

  MeterRecord record;
  record.Bytes().fill(0x5A);
  const MeterRecord before = record;
  ReadMeterFile(path, record);
  const std::string copy = file.Beside("copy.maf");
  WriteMeterFile(copy, record);
  Require(
      ReadBytes(copy) == file.ReadOver(before.Bytes(), std::min<size_t>(size, kMeterRecordSize)),
      "a meter that reads writes back byte for byte");

  const std::string problem = PointTextProblem(record, path);
  if (!problem.empty()) {
    Require(problem.find(path + ", point ") == 0, "a bad point text is named with its file");
    return 0;
  }
  const int points = record.PointCount();
  if (points < 0 || points > kMaxMeterPoints) return 0;  // refused with a range error

  QuietMeterForm editor;
  editor.dialogs.fileName = path;
  editor.form.Open();
  const PointGrid& grid = editor.form.Grid();
  Require(grid.RowCount() == points + 2, "the editor shows every point and an entry row");
  std::vector<std::string> shown, stored;
  for (int i = 1; i <= points; ++i) {
    shown.push_back(grid.Cell(i, kSignalColumn) + '\n' + grid.Cell(i, kFlowColumn));
    stored.push_back(record.SignalText(i) + '\n' + record.FlowText(i));
  }
  std::sort(shown.begin(), shown.end());
  std::sort(stored.begin(), stored.end());
  Require(shown == stored, "the editor shows the file's point texts");

  MatchTable table;
  try {
    ComputeMatch(record, record, 2.8822f, 853, table);
    MatchWarnings(record, record, table, 2.8822f, 853);
  } catch (const RangeError&) {
    // A signal whose count does not fit 32 bits: the match says so.
  }
  return 0;
}

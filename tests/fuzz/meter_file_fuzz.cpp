// A meter file as the meter editor, the match and `vyk meter show` read it. A file that reads
// writes back byte for byte (its first 2176 bytes; a shorter one over what the record held).
// A meter whose point texts all read opens in the editor with every point in the grid, and
// matches against itself, with the warnings about the pair.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "match/compute_match.h"
#include "match/match_warnings.h"
#include "meters/meter_record.h"
#include "model/errors.h"
#include "operations/meters/meter_form.h"

using namespace vyk;
using namespace vyk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFolder folder;
  const std::string path = folder.File("meter.maf");
  const std::string input(reinterpret_cast<const char*>(data), size);
  WriteBytes(path, input);

  MeterRecord record;
  record.Bytes().fill(0x5A);
  const MeterRecord before = record;
  ReadMeterFile(path, record);
  const size_t held = std::min<size_t>(size, kMeterRecordSize);
  std::string expected = input.substr(0, held);
  expected.append(reinterpret_cast<const char*>(before.Bytes().data()) + held,
                  kMeterRecordSize - held);
  const std::string copy = folder.File("copy.maf");
  WriteMeterFile(copy, record);
  Require(ReadBytes(copy) == expected, "a meter that reads writes back byte for byte");

  const std::string problem = PointTextProblem(record, path);
  if (!problem.empty()) {
    Require(problem.find(path + ", point ") == 0, "a bad point text is named with its file");
    return 0;
  }
  const int points = record.PointCount();
  if (points < 0 || points > kMaxMeterPoints) return 0;  // refused with a range error

  QuietDialogs dialogs;
  AppState state;
  MeterForm form(dialogs, state);
  form.FormActivate();
  dialogs.fileName = path;
  form.Open();
  const PointGrid& grid = form.Grid();
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

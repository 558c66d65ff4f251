// Texts typed into the table grid's output column, in every group and output kind. Each text
// that names a number stores a count within one count of it; the cell then shows a text that,
// typed back, stores the same count; and the curve's point follows the cell.
#include "model/entry_text.h"
#include "operations/table/image_grids.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  FuzzSession f(in.Byte());
  AppState& st = f.state;
  while (!in.Empty()) {
    const int row = 1 + in.Byte() % (kTableGridRows - 1);
    const int k = row - 1;
    const std::string text(in.Until('\n'));
    const int before = st.image.Entry(k);
    try {
      TableGridSetEditText(f.session, 1, row, text);
    } catch (const VykError&) {
      // "Floating point overflow" or "Range check error" in an error box.
      Require(st.image.Entry(k) == before, "a text refused with an error changes nothing");
      continue;
    }
    const int after = st.image.Entry(k);
    if (text.empty()) {
      Require(after == before, "an empty text is ignored");
      continue;
    }
    CheckTypedCount(st, text, before, after);

    const std::string shown = Trim(EntryOutputText(st, k));
    if (k < kCurvePoints) {
      const std::optional<float> y = ReadNumber(shown);
      Require(!y || st.chart.series1.at(k).y == *y, "the curve's point shows the cell's value");
    }
    TableGridSetEditText(f.session, 1, row, shown);
    Require(st.image.Entry(k) == CountTypedBack(st, after),
            "the cell's text typed back stores the same count");
  }
  return 0;
}

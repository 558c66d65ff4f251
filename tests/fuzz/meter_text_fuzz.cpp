// A meter text file imported as the meter editor's Convert and `vyk meter import` do. An
// import gives at most 62 points whose texts all read as numbers and show their values (to the
// format's last digit, where the text was not cut to seven characters); the editor shows every
// point; and what `vyk meter import` then saves reads back with the same points.
#include <cmath>

#include "meters/meter_import.h"
#include "model/errors.h"
#include "model/text/number.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

void CheckPointText(const std::string& text, float value, long double halfStep) {
  Require(!text.empty() && text.size() <= kPointTextCapacity, "a point text has 1..7 characters");
  const long double read = TextToExtended(text);  // throws when it is no number
  const std::string whole = halfStep < 0.1L ? FormatFixed(value, 1, 2) : FormatFixed(value, 5, 0);
  if (whole.size() <= kPointTextCapacity)
    Require(std::fabs(read - value) <= halfStep * 1.0001L + std::fabs(value) * 1e-6L,
            "a point text shows its value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzedFile file("meter.txt", data, size);
  const std::string& path = file.path;

  MeterRecord record;
  try {
    ImportMeterText(path, record);
  } catch (const RangeError&) {
    Require(record == MeterRecord(), "a refused import leaves the meter as it was");
    return 0;  // a 63rd point
  } catch (const InOutError&) {
    Require(record == MeterRecord(), "a refused import leaves the meter as it was");
    return 0;  // no line of it sets anything
  }
  const int points = record.PointCount();
  Require(points >= 0 && points <= kMaxMeterPoints, "an import gives 0..62 points");
  Require(PointTextProblem(record, path).empty(), "every imported point text reads");
  for (int i = 1; i <= points; ++i) {
    CheckPointText(record.SignalText(i), record.SignalValue(i),
                   record.IsFrequency() ? 0.5L : 0.005L);
    CheckPointText(record.FlowText(i), record.FlowValue(i), 0.005L);
  }

  // Convert, then Save under a new name, as `vyk meter import` runs them.
  QuietMeterForm editor;
  QuietDialogs& dialogs = editor.dialogs;
  MeterForm& form = editor.form;
  dialogs.answer = Answer::No;
  dialogs.fileName = path;
  form.Convert();
  Require(form.Grid().RowCount() == points + 2, "the editor shows every imported point");
  if (dialogs.errors > 0) return 0;  // two equal signals: the sort stopped and said so
  const std::string saved = file.Beside("meter.maf");
  dialogs.fileName = saved;
  std::filesystem::remove(saved);
  form.Save();
  if (dialogs.errors > 0 || form.MeterFileName() != saved) return 0;  // refused, and said why
  MeterRecord stored;
  ReadMeterFile(saved, stored);
  Require(stored.PointCount() == points, "the saved meter has every imported point");
  Require(PointTextProblem(stored, saved).empty(), "every saved point text reads");
  return 0;
}

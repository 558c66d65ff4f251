#pragma once
// The program's state as the fuzz targets drive it: with no project, or with a project of a
// group as File > New leaves it and the output kind its window shows (a project's mode byte
// can give either, whatever the group); and the meter editor's form as it opens.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "model/errors.h"
#include "model/text/number.h"
#include "operations/meters/meter_form.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "support/fuzz_support.h"

namespace vyk::fuzz {

// A program's state with no project, its boxes answered by QuietDialogs.
struct QuietSession {
  AppState state;
  QuietDialogs dialogs;
  MainView view;
  Session session{state, dialogs, view, {}, [] { return 45000; }};
};

struct FuzzSession : QuietSession {
  // `pick` chooses the group (Ford, GM or Import) and the output kind.
  explicit FuzzSession(uint8_t pick) {
    ProjectSetup setup;
    setup.group = static_cast<uint8_t>(pick % 3);
    dialogs.setup = setup;
    FileNewClick(session);
    SetOutputRGrp(session, (pick / 3) % 2 == 0 ? kVoltage : kFrequency);
    dialogs.setup.reset();
  }
};

// The meter editor's form as its window opens, its boxes answered by QuietDialogs.
struct QuietMeterForm {
  QuietDialogs dialogs;
  AppState state;
  MeterForm form{dialogs, state};

  QuietMeterForm() { form.FormActivate(); }
};

// What typing `text` may have done to an entry that held `before` and now holds `after`: a
// number becomes a count within one count of its value in the output unit (volts clamped to
// the highest output voltage, hertz to the scale's top, counts kept in 0..1023, frequencies
// under two counts stored as 0); a text that is no number leaves a voltage entry as it was and
// zeroes a frequency one.
inline void CheckTypedCount(const AppState& st, std::string_view text, int before, int after) {
  std::optional<float> value;
  try {
    value = ReadNumber(text);
  } catch (const OverflowError&) {
    Fail("a number beyond a float was stored");  // the store throws, and the caller checks
  }
  const ConversionSettings& cs = st.conversion;
  if (st.controls.outputRGrp == kVoltage) {
    if (!value) return Require(after == before, "a voltage that is no number changes nothing");
    const long double ideal =
        std::min(*value, kMaxOutputVolts) * static_cast<long double>(cs.OutputCountsPerVolt);
    if (ideal < -0.5L) return Require(after == before, "a negative voltage changes nothing");
    if (ideal > -0.5L)
      Require(std::fabs(after - ideal) <= 1, "a voltage is stored within one count");
    return;
  }
  if (!value) return Require(after == 0, "a frequency that is no number stores 0");
  const float hertz = std::min(*value, cs.MaxFrequency);
  if (hertz < kMinFrequency) return Require(after == 0, "a frequency under 6 Hz stores 0");
  const long double ideal = hertz / static_cast<long double>(cs.HertzPerCount);
  Require((after == 0 && ideal < 2.5L) || std::fabs(after - std::min(ideal, 1023.0L)) <= 1,
          "a frequency is stored within one count");
}

// The count that typing the entry's own text (trimmed) back stores: the same, except that
// voltage texts reach no count above the highest output voltage and a frequency under two
// counts comes back as 0.
inline int CountTypedBack(const AppState& st, int count) {
  const ConversionSettings& cs = st.conversion;
  if (st.controls.outputRGrp == kVoltage) {
    const int top = static_cast<int>(
        RoundHalfEven(kMaxOutputVolts * static_cast<long double>(cs.OutputCountsPerVolt)));
    return std::min(count, top);
  }
  return count < 2 ? 0 : count;
}

}  // namespace vyk::fuzz

#include "operations/table/range_edits.h"

#include <algorithm>
#include <vector>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/text/number.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"

namespace vyk {

namespace {

bool VoltageOutput(const AppState& state) {
  return state.controls.outputRGrp == kVoltage;
}

// Output counts per volt or per hertz.
long double CountsPerUnit(const AppState& state) {
  return VoltageOutput(state) ? static_cast<long double>(state.conversion.OutputCountsPerVolt)
                              : 1.0L / state.conversion.HertzPerCount;
}

}  // namespace

int LowestOutputCount(const AppState& state) {
  return VoltageOutput(state) ? 0 : 2;
}

int HighestOutputCount(const AppState& state) {
  if (!VoltageOutput(state)) return 1023;
  // The count a typed 4.995 V stores.
  return static_cast<int>(RoundHalfEven(static_cast<long double>(kMaxOutputVolts) *
                                        state.conversion.OutputCountsPerVolt));
}

std::string RangeEditName(RangeEditKind kind) {
  switch (kind) {
    case RangeEditKind::Scale:
      return "Scale";
    case RangeEditKind::Offset:
      return "Offset";
    case RangeEditKind::Set:
      return "Set";
    case RangeEditKind::Interpolate:
      return "Interpolate";
    case RangeEditKind::Smooth:
      return "Smooth";
  }
  return "";
}

RangeEditResult ApplyRangeEdit(Session& s, RangeEditKind kind, int first, int last,
                               const std::string& value) {
  RangeEditResult result;
  if (first > last) std::swap(first, last);
  if (first < 0 || last >= kTableEntries) throw RangeError();
  if (RefusedDuringExchange(s)) return result;
  AppState& st = s.state;
  const std::string name = RangeEditName(kind);
  const int rows = last - first + 1;

  long double number = 0;
  const bool takesValue =
      kind == RangeEditKind::Scale || kind == RangeEditKind::Offset || kind == RangeEditKind::Set;
  if (takesValue) {
    std::optional<float> read;
    try {
      read = ReadNumber(Trim(value));
    } catch (const std::exception& e) {
      s.dialogs.Error(name + ": '" + value + "' cannot be used (" + e.what() + ")");
      return result;
    }
    if (!read) {
      s.dialogs.Error(name + ": '" + value + "' is not a number");
      return result;
    }
    number = *read;
  } else if (rows < 3) {
    s.dialogs.Error(name + " needs three rows or more: select them in the table first");
    return result;
  }

  std::vector<int> old;
  for (int k = first; k <= last; ++k)
    old.push_back(st.image.Entry(k));
  std::vector<long double> computed(old.begin(), old.end());
  for (int i = 0; i < rows; ++i) {
    switch (kind) {
      case RangeEditKind::Scale:
        computed[i] = old[i] * (100 + number) / 100;
        break;
      case RangeEditKind::Offset:
        computed[i] = old[i] + number * CountsPerUnit(st);
        break;
      case RangeEditKind::Set:
        computed[i] = number * CountsPerUnit(st);
        break;
      case RangeEditKind::Interpolate:
        computed[i] = old[0] + static_cast<long double>(old[rows - 1] - old[0]) * i / (rows - 1);
        break;
      case RangeEditKind::Smooth:
        if (i > 0 && i < rows - 1) computed[i] = (old[i - 1] + old[i] + old[i + 1]) / 3.0L;
        break;
    }
  }

  const int low = LowestOutputCount(st);
  const int high = HighestOutputCount(st);
  ProjectChange change(s, name);
  for (int i = 0; i < rows; ++i) {
    long double count = RoundHalfEven(computed[i]);
    // Below the lowest count the grid stores 0 (a frequency of 1 count gives 0 Hz).
    if (count < low && count != 0) {
      count = 0;
      ++result.clamped;
    } else if (count > high) {
      count = high;
      ++result.clamped;
    }
    st.image.SetEntry(first + i, static_cast<int>(count));
  }
  st.projectModified = true;
  PlotTable(s);
  RefreshWindow(s);

  result.applied = true;
  result.cells = rows;
  result.summary = name + ": entries " + std::to_string(first) + ".." + std::to_string(last) +
                   " (" + std::to_string(rows) + (rows == 1 ? " row)" : " rows)") + "; ";
  if (result.clamped == 0) {
    result.summary += "no cell was clamped.";
  } else {
    result.summary += std::to_string(result.clamped) +
                      (result.clamped == 1 ? " cell was" : " cells were") + " clamped to " +
                      OutputCountText(st, 0) + " .. " + OutputCountText(st, high) + " " +
                      OutputUnit(st) + ".";
  }
  return result;
}

}  // namespace vyk

#include "match/compute_match.h"

#include <cmath>
#include <limits>

#include "model/conversions.h"
#include "model/errors.h"
#include "model/text/number.h"

namespace vyk {

namespace {

// Rounds half to even into a 32-bit integer; a value that does not fit is a range error.
int32_t RoundToInt32(long double value) {
  long double rounded = RoundHalfEven(value);
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max()))
    throw RangeError();
  return static_cast<int32_t>(rounded);
}

int32_t AtMost(int32_t value, int32_t limit) {
  return value > limit ? limit : value;
}

void PlaceUsePoints(const MeterRecord& use, const MeterRecord& match, float hertzPerCount,
                    std::array<MatchSlot, kMatchSlots>& slots) {
  for (int i = 1; i <= use.UsablePoints(); ++i) {
    float signal = TextToFloat(use.SignalText(i));
    MatchSlot& slot = slots[InputCode(signal, use.IsFrequency(), hertzPerCount)];
    slot.useSignal = signal;
    slot.outCount = -1;
    slot.flow = MatchUnitsFlow(TextToFloat(use.FlowText(i)), use.IsMetric(), match.IsMetric());
  }
}

// Between known slots the signal and flow are interpolated; below the lowest the signal
// follows a line through zero and the flow rises from 0; above the highest both are held.
void FillUseSide(std::array<MatchSlot, kMatchSlots>& slots) {
  auto known = [&](int code) { return slots[code].useSignal != -1.0f; };
  int p = 0;
  while (p < kMatchSlots && !known(p))
    ++p;
  if (p >= kMatchSlots - 1) return;
  int last = -1;
  bool belowPending = true;
  for (int s = p + 1; s < kMatchSlots; ++s) {
    if (!known(s)) continue;
    int g = s - p;
    if (g > 1) {
      const MatchSlot a = slots[p];
      const MatchSlot b = slots[s];
      float signalStep = b.useSignal - a.useSignal;
      float flowStep = b.flow - a.flow;
      for (int k = 1; k < g; ++k) {
        slots[p + k].useSignal =
            static_cast<float>(a.useSignal + k * static_cast<long double>(signalStep) / g);
        slots[p + k].flow = static_cast<float>(a.flow + k * static_cast<long double>(flowStep) / g);
      }
      if (belowPending && p > 0) {
        for (int k = 0; k < p; ++k) {
          slots[k].useSignal = static_cast<float>(k * static_cast<long double>(signalStep) / g);
          slots[k].flow = static_cast<float>(k * static_cast<long double>(a.flow) / p);
        }
        belowPending = false;
      }
    }
    p = s;
    last = s;
  }
  if (last > 0) {
    for (int k = last + 1; k < kMatchSlots; ++k) {
      slots[k].useSignal = slots[last].useSignal;
      slots[k].flow = slots[last].flow;
    }
  }
}

// The slot whose flow is nearest the match point's flow, walking from code 128 without
// turning; -1 when the flow lies outside the table.
int WalkToFlow(const std::array<MatchSlot, kMatchSlots>& slots, float flowWanted) {
  const float f0 = flowWanted;
  auto distance = [&](int code) {
    return std::fabs(static_cast<long double>(slots[code].flow) - f0);
  };
  int s = 128;
  bool found = false;
  while (!found && s >= 0 && s < kMatchSlots) {
    float f = slots[s].flow;
    if (f0 == f) {
      found = true;
    } else if (f0 < f) {
      if (s > 0 && slots[s - 1].flow < f0) {
        found = true;
        if (distance(s - 1) < distance(s)) s = s - 1;
      }
      if (!found) --s;
    } else {
      if (s < kMatchSlots - 1 && slots[s + 1].flow > f0) {
        if (distance(s + 1) < distance(s)) s = s + 1;
        found = true;
      }
      if (!found) ++s;
    }
  }
  return found ? s : -1;
}

void PlaceMatchPoints(const MeterRecord& match, float hertzPerCount, int32_t maxOutputCount,
                      std::array<MatchSlot, kMatchSlots>& slots) {
  for (int j = 1; j <= match.UsablePoints(); ++j) {
    int s = WalkToFlow(slots, TextToFloat(match.FlowText(j)));
    if (s < 0) continue;
    slots[s].outCount = OutputCount(TextToFloat(match.SignalText(j)), match.IsFrequency(),
                                    hertzPerCount, maxOutputCount);
  }
}

// One extrapolated count: v moves by step and keeps its clamped value for the next slot.
int32_t ExtrapolatedCount(float& v, int32_t maxOutputCount) {
  if (RoundToInt32(v) > 1023) v = 1023.0f;
  if (RoundToInt32(v) < 0) v = 0.0f;
  return AtMost(RoundToInt32(v), maxOutputCount);
}

// Between known outputs the count is interpolated; beyond them it is extrapolated with the
// slope of the first (below) and the latest (above) gap wider than one slot.
void FillOutputSide(std::array<MatchSlot, kMatchSlots>& slots, int32_t maxOutputCount) {
  auto known = [&](int code) { return slots[code].outCount > 0; };
  int p = 0;
  while (p < kMatchSlots && !known(p))
    ++p;
  if (p >= kMatchSlots - 1) return;
  int last = -1;
  bool belowPending = true;
  float step = 0.0f;
  for (int s = p + 1; s < kMatchSlots; ++s) {
    if (!known(s)) continue;
    int g = s - p;
    if (g > 1) {
      const int32_t a = slots[p].outCount;
      float d = static_cast<float>(static_cast<long double>(slots[s].outCount) - a);
      step = static_cast<float>(d / static_cast<long double>(g));
      for (int k = 1; k < g; ++k) {
        slots[p + k].outCount = AtMost(
            RoundToInt32(RoundHalfEven(k * static_cast<long double>(d) / g) + a), maxOutputCount);
      }
      if (belowPending) {
        float v = static_cast<float>(a);
        for (int k = p - 1; k >= 0; --k) {
          v = v - step;
          slots[k].outCount = ExtrapolatedCount(v, maxOutputCount);
        }
        belowPending = false;
      }
    }
    p = s;
    last = s;
  }
  if (last > 0) {
    float v = static_cast<float>(slots[last].outCount);
    for (int k = last + 1; k < kMatchSlots; ++k) {
      v = v + step;
      slots[k].outCount = ExtrapolatedCount(v, maxOutputCount);
    }
  }
}

}  // namespace

float MatchUnitsFlow(float flow, bool useMetric, bool matchMetric) {
  if (useMetric && !matchMetric) return static_cast<float>(flow / kMatchKgPerLb);
  if (!useMetric && matchMetric) return static_cast<float>(flow * kMatchKgPerLb);
  return flow;
}

MatchOutcome MatchLabels(const MeterRecord& use, const MeterRecord& match) {
  MatchOutcome outcome;
  outcome.useIsFrequency = use.IsFrequency();
  outcome.matchIsFrequency = match.IsFrequency();
  outcome.useHeader = outcome.useIsFrequency ? "F Use" : "V Use";
  outcome.outHeader = outcome.matchIsFrequency ? "F Out" : "V Out";
  outcome.flowUnits = match.IsMetric() ? "Kg / Hour" : "Lbs / Hour";
  return outcome;
}

int InputCode(float signal, bool frequency, float hertzPerCount) {
  int32_t code =
      frequency
          ? RoundToInt32(signal / static_cast<long double>(hertzPerCount) / kFrequencyCountsPerCode)
          : RoundToInt32(signal * static_cast<long double>(kInputCodesPerVolt));
  if (code >= 255) return 255;
  if (code < 0) return 0;
  return code;
}

int32_t OutputCount(float signal, bool frequency, float hertzPerCount, int32_t maxOutputCount) {
  if (frequency) return RoundToInt32(signal / static_cast<long double>(hertzPerCount));
  return AtMost(RoundToInt32(signal * static_cast<long double>(kInputCountsPerVolt)),
                maxOutputCount);
}

void ComputeMatch(const MeterRecord& use, const MeterRecord& match, float hertzPerCount,
                  int32_t maxOutputCount, MatchTable& table) {
  ResetMatchTable(table);
  auto& slots = *table;
  PlaceUsePoints(use, match, hertzPerCount, slots);
  if (use.UsablePoints() >= 3) FillUseSide(slots);
  PlaceMatchPoints(match, hertzPerCount, maxOutputCount, slots);
  if (match.UsablePoints() >= 3) FillOutputSide(slots, maxOutputCount);
}

}  // namespace vyk

#pragma once
// The meter match: for every input code the Box can read from the meter fitted (the meter to
// use), the output that makes the controller see what the meter it expects (the meter to
// match) would give at the same air flow.
#include <cstdint>
#include <string>

#include "meters/meter_record.h"
#include "model/match_table.h"

namespace vyk {

inline constexpr float kInputCodesPerVolt = 42.666668f;  // 256 codes over 6 V
inline constexpr long double kFrequencyCountsPerCode = 4.0L;
// Flows of a use meter in the other unit: 0.454 kg to the pound, not the editor's kKgPerLb.
// The Box maker's match tables were computed with 0.454, and a match has to give the same
// counts as theirs for the same pair of meters.
inline constexpr long double kMatchKgPerLb = 0.454L;

struct MatchOutcome {
  bool useIsFrequency = false;
  bool matchIsFrequency = false;
  std::string useHeader = "V In";   // column 1 of the match grid
  std::string outHeader = "V Out";  // column 2
  std::string flowUnits = "Units";
};

// The kinds and labels of a pair of meters.
MatchOutcome MatchLabels(const MeterRecord& use, const MeterRecord& match);

// Fills the table from the two meters with the project's HertzPerCount and MaxOutputCount.
// A point text that is no number throws ConvertError and a count beyond 32 bits RangeError;
// the table then keeps what was written so far.
void ComputeMatch(const MeterRecord& use, const MeterRecord& match, float hertzPerCount,
                  int32_t maxOutputCount, MatchTable& table);

// A flow of the meter to use in the units of the meter to match.
float MatchUnitsFlow(float flow, bool useMetric, bool matchMetric);

// The input code of a signal of the meter to use, 0..255.
int InputCode(float signal, bool frequency, float hertzPerCount);
// The output count of a signal of the meter to match.
int32_t OutputCount(float signal, bool frequency, float hertzPerCount, int32_t maxOutputCount);

}  // namespace vyk

#pragma once
// Warnings about a pair of meters and the table their match gives: a match is still made, but
// the user should know before copying it that the table may not be what the engine needs.
#include <cstdint>
#include <string>
#include <vector>

#include "meters/meter_record.h"
#include "model/match_table.h"

namespace vyk {

// More slots than this at the maximum output count, between the lowest and the highest input
// code of the meter to use's points, are worth a warning: eight slots are one entry of the
// transfer table, so more mean a flat stretch of the table where the engine runs. Slots beyond
// the meter's points do not count: a match is extrapolated there and often reaches the ceiling
// at inputs the meter never gives.
inline constexpr int kLimitedSlotsWarned = 8;

enum class MatchWarningKind { FlowOverlap, UseNotRising, MatchNotRising, OutputLimited };

struct MatchWarning {
  MatchWarningKind kind;
  std::string text;
  bool operator==(const MatchWarning&) const = default;
};

// The warnings for two meters and the table ComputeMatch made of them with the same
// `hertzPerCount` and `maxOutputCount`, in the order of MatchWarningKind:
// - the flow ranges overlap by less than half of the meter to use's range;
// - a meter's signals do not rise with its flow (one warning for each meter);
// - more than kLimitedSlotsWarned slots in the meter to use's range were limited to the
//   maximum output count.
// Throws ConvertError for a point text that is no number, as ComputeMatch does.
std::vector<MatchWarning> MatchWarnings(const MeterRecord& use, const MeterRecord& match,
                                        const MatchTable& table, float hertzPerCount,
                                        int32_t maxOutputCount);

// The name of a kind for machine-readable output: "flowOverlap", "useNotRising",
// "matchNotRising", "outputLimited".
const char* MatchWarningName(MatchWarningKind kind);

}  // namespace vyk

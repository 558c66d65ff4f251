#pragma once
// The meter match's result: for each of the 256 input codes, the flow, the signal of the meter
// fitted and the output count that reproduces the meter the controller expects.
#include <array>
#include <cstdint>
#include <optional>

namespace vyk {

inline constexpr int kMatchSlots = 256;

struct MatchSlot {
  float flow = 0.0f;
  float useSignal = -1.0f;  // -1: no signal
  int32_t outCount = -1;    // -1: no output
  bool operator==(const MatchSlot&) const = default;
};

// No slots until the match dialog or a computation first needs them.
using MatchTable = std::optional<std::array<MatchSlot, kMatchSlots>>;

// Creates the slots when missing and puts every one in its reset state.
inline void ResetMatchTable(MatchTable& table) {
  table.emplace();
  table->fill(MatchSlot{});
}

}  // namespace vyk

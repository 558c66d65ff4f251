#pragma once
// The check of the project's table before an Update and for `vyk project check`.
#include <optional>
#include <string>
#include <vector>

#include "meters/meter_record.h"
#include "model/app_state.h"

namespace vyk {

// The meter the engine controller expects, as the project knows it: the one its table was
// made from when it keeps it, else the meter-to-match file of its last match in its group's
// folder; nothing when there is none or it does not read.
std::optional<MeterRecord> ProjectMeterToMatch(const AppState& state);

// What to warn of before the table goes into the Box (empty when nothing).
std::vector<std::string> ProjectTableWarnings(const AppState& state);

}  // namespace vyk

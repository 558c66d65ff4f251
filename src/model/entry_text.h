#pragma once
// The texts of the image's entries at the current project's constants, and their stores.
#include <string>
#include <string_view>

#include "model/app_state.h"

namespace vyk {

std::string EntryVoltsText(const AppState& state, int k);
std::string EntryFrequencyText(const AppState& state, int k);
// The entry's text in the current output kind (volts or hertz).
std::string EntryOutputText(const AppState& state, int k);
// Any output count's text in the current output kind, without padding: "2.971", "4100".
std::string OutputCountText(const AppState& state, int count);
// The unit the table's outputs are shown and typed in: "V" or "Hz".
std::string OutputUnit(const AppState& state);

// Writes entry k from a voltage text; a text that is no number or a count outside 0..1023
// leaves the entry as it was.
void StoreEntryVolts(AppState& state, int k, std::string_view text);
// Writes entry k from a frequency text: 0 below 2 counts (and for no number), 0x3FF above.
void StoreEntryFrequency(AppState& state, int k, std::string_view text);
// Stores by the current output kind.
void StoreEntryOutput(AppState& state, int k, std::string_view text);

}  // namespace vyk

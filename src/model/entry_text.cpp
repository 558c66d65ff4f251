#include "model/entry_text.h"

#include "model/conversions.h"
#include "model/text/number.h"

namespace vyk {

std::string EntryVoltsText(const AppState& state, int k) {
  return OutputVoltsText(state.conversion, state.image.Entry(k));
}

std::string EntryFrequencyText(const AppState& state, int k) {
  return FrequencyText(state.conversion, state.header.Group(), state.image.Entry(k));
}

std::string EntryOutputText(const AppState& state, int k) {
  return state.controls.outputRGrp == kVoltage ? EntryVoltsText(state, k)
                                               : EntryFrequencyText(state, k);
}

std::string OutputCountText(const AppState& state, int count) {
  return Trim(state.controls.outputRGrp == kVoltage
                  ? OutputVoltsText(state.conversion, count)
                  : FrequencyText(state.conversion, state.header.Group(), count));
}

std::string OutputUnit(const AppState& state) {
  return state.controls.outputRGrp == kVoltage ? "V" : "Hz";
}

void StoreEntryVolts(AppState& state, int k, std::string_view text) {
  state.image.Entry(k);  // range-check k before anything is read
  int count = VoltsTextToCount(state.conversion, text);
  if (count >= 0 && count <= 1023) state.image.SetEntry(k, count);
}

void StoreEntryFrequency(AppState& state, int k, std::string_view text) {
  state.image.Entry(k);
  int count = FrequencyTextToCount(state.conversion, text);
  if (count < 2) {
    state.image.SetEntry(k, 0);
  } else if (count > 1023) {
    state.image.SetEntry(k, 0x03FF);
  } else {
    state.image.SetEntry(k, count);
  }
}

void StoreEntryOutput(AppState& state, int k, std::string_view text) {
  if (state.controls.outputRGrp == kVoltage) {
    StoreEntryVolts(state, k, text);
  } else {
    StoreEntryFrequency(state, k, text);
  }
}

}  // namespace vyk

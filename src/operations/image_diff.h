#pragma once
// What differs between two EEPROM images, as the user reads them: the table's entries in the
// project's units, the mode, the pots, the limit, and any other byte.
#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/conversions.h"
#include "model/eeprom_image.h"

namespace vyk {

struct ImageDifference {
  std::string label;    // "Entry 5 (V in 0.938)", "Mode", "Pot 2", "Limit", "Byte 4A"
  std::string oldText;  // as the first image has it
  std::string newText;  // as the second image has it
  bool operator==(const ImageDifference&) const = default;
};

// The units the texts are given in: the main window's (its group's constants, and the input
// and output kinds its radio groups show).
struct DiffUnits {
  ConversionSettings conversion;
  uint8_t group = kFord;
  bool frequencyInput = false;
  bool frequencyOutput = false;
};
DiffUnits UnitsOf(const AppState& state);

// The differences of bytes 0..byteCount-1 (the 80 the Box holds, or all 256), in address
// order; none when they are equal. An entry whose texts are equal although its bytes are not
// shows the words as well.
std::vector<ImageDifference> DiffImages(const EepromImage& before, const EepromImage& after,
                                        const DiffUnits& units, int byteCount = kBoxBytes);

}  // namespace vyk

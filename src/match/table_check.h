#pragma once
// What to look at before a table goes into the Box: an output that falls where the meter the
// engine controller expects rises (the controller would see less air for more), and an output
// outside the signals that meter ever gives. Warnings only: a tuner may mean it.
#include <optional>
#include <string>
#include <vector>

#include "meters/meter_record.h"
#include "model/conversions.h"
#include "model/eeprom_image.h"

namespace vyk {

// The warnings for the image's table (entries 0..32), its outputs read in the image's output
// kind with the project's constants. Against `meterToMatch` when there is one: the table must
// rise where its signal rises (fall where it falls) and stay inside its lowest and highest
// signal, when it is of the table's output kind. Without it the table must rise.
std::vector<std::string> CheckTable(const EepromImage& image, const ConversionSettings& cs,
                                    const std::optional<MeterRecord>& meterToMatch);

}  // namespace vyk

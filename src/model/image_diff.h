#pragma once
// What differs between two projects, or a project and what a Box holds: the header's fields,
// the 33 table entries, the mode byte, the pots, the limit and the bytes that carry no meaning
// of their own. Each difference is one plain line: what it is, and its text on either side.
#include <string>
#include <vector>

#include "model/eeprom_image.h"
#include "model/project_header.h"

namespace vyk {

struct ImageDifference {
  std::string label;  // "Name", "Entry 5", "Mode", "Pot 1", "Limit", "Byte 4A", ...
  std::string a;      // the text on side A
  std::string b;      // the text on side B
  bool operator==(const ImageDifference&) const = default;
};

// One side of a comparison: a project's header and image.
struct ImageSide {
  const ProjectHeader& header;
  const EepromImage& image;
};

// The differences, in the order of the header, the table, the settings and the bytes; empty
// when the two are equal. Entries are compared by their counts; each side's text shows them
// in that side's own units (volts or hertz at its group's scale) with the count, and when the
// two units differ that is a difference of its own ("Table units"). The dates of creation and
// of the last save tell when, not what: they are left out.
std::vector<ImageDifference> DiffImages(const ImageSide& a, const ImageSide& b);

// How a side's entries read: "volts, 5 V full scale" or "hertz, 2.8822 Hz per count".
std::string TableUnitsText(const ImageSide& side);
// Entry k as the side shows it: "2.500 V (512)", "1234 Hz (428)".
std::string EntryText(const ImageSide& side, int k);
// The mode byte and what it means: "0A: frequency input, frequency output".
std::string ModeText(uint8_t mode);

}  // namespace vyk

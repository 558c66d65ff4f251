#pragma once
// The three hardware groups and everything a group decides: its name (shown in the window and
// in messages), the folder its meters live in, the letter its Box answers "Q" with, its
// conversion constants and its name on the command line. A project file may hold a group byte
// that names no group; the lookups say so and each caller decides what such a byte means.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/conversions.h"

namespace vyk {

// The project header's group byte.
inline constexpr uint8_t kFord = 0;
inline constexpr uint8_t kGM = 1;
inline constexpr uint8_t kImport = 2;

struct HardwareGroup {
  uint8_t byte;
  std::string_view name;
  std::string_view meterFolder;  // beside the program
  char boxLetter;                // the third character of the Box's answer to "Q"
  ConversionSettings conversion;
  std::string_view cliName;
};

inline constexpr std::array<HardwareGroup, 3> kGroups{{
    {kFord, "Ford", "Ford", 'V', {2.8822f, 3000.0f, 204.8f, 853}, "ford"},
    {kGM, "GM", "GM", 'G', {13.19648f, 13500.0f, 170.66667f, 1023}, "gm"},
    {kImport, "Import", "Import", 'I', {2.8822f, 3000.0f, 204.8f, 853}, "import"},
}};

// Radio groups and loops take a group's position in the table for its byte.
static_assert(kGroups[kFord].byte == kFord && kGroups[kGM].byte == kGM &&
              kGroups[kImport].byte == kImport);

// The group a byte names, or nullptr.
const HardwareGroup* FindGroup(uint8_t byte);
// The group a byte names; throws RangeError for any other byte.
const HardwareGroup& GroupOf(uint8_t byte);
// The group a command-line name names; throws RangeError for any other text.
const HardwareGroup& GroupOfCliName(std::string_view cliName);

// "Ford", "GM" or "Import"; throws RangeError for any other byte.
std::string GroupName(uint8_t group);
// The same, or "unknown (N)" for any other byte: for showing what a file holds.
std::string GroupText(uint8_t group);
// "ford", "gm", "import", in the order of the group bytes.
std::vector<std::string> GroupCliNames();

}  // namespace vyk

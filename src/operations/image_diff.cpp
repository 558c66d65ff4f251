#include "operations/image_diff.h"

#include "model/hex_text.h"
#include "model/number.h"
#include "operations/main_controls.h"

namespace vyk {

namespace {

constexpr int kLimitByte = 2 * kLimitEntry;  // 72, 73

std::string EntryText(const DiffUnits& u, int count) {
  return u.frequencyOutput ? FrequencyText(u.conversion, u.group, count)
                           : OutputVoltsText(u.conversion, count);
}

std::string EntryLabel(const DiffUnits& u, int k) {
  const int count = 32 * k;
  const bool hertz = u.group == kGM && u.frequencyInput;
  return "Entry " + std::to_string(k) + " (" + (hertz ? "F in " : "V in ") +
         Trim(hertz ? FrequencyText(u.conversion, u.group, count)
                    : InputVoltsText(u.conversion, count)) +
         ")";
}

std::string ModeText(uint8_t mode) {
  std::string text = FormatHex(mode, 2) + " (";
  text += (mode & kFrequencyInput) != 0 ? "F in, " : "V in, ";
  text += (mode & kOutputKindMask) == kFrequencyOutput ? "F out" : "V out";
  if ((mode & kInvertLimit) != 0) text += ", limit inverted";
  return text + ")";
}

// Two words whose texts are the same (both over the range, say) still differ.
void AddWord(std::vector<ImageDifference>& out, const std::string& label, const DiffUnits& u,
             int before, int after) {
  std::string a = Trim(EntryText(u, before));
  std::string b = Trim(EntryText(u, after));
  if (a == b) {
    a += " (" + FormatHex(static_cast<uint32_t>(before), 4) + ")";
    b += " (" + FormatHex(static_cast<uint32_t>(after), 4) + ")";
  }
  out.push_back({label, a, b});
}

}  // namespace

DiffUnits UnitsOf(const AppState& state) {
  return {state.conversion, state.header.Group(), state.controls.inputRGrp == kFrequency,
          state.controls.outputRGrp == kFrequency};
}

std::vector<ImageDifference> DiffImages(const EepromImage& before, const EepromImage& after,
                                        const DiffUnits& units, int byteCount) {
  std::vector<ImageDifference> out;
  auto differs = [&](int address) {
    return address < byteCount && before.Byte(address) != after.Byte(address);
  };
  for (int address = 0; address < byteCount && address < kImageSize; ++address) {
    if (!differs(address)) continue;
    if (address < 2 * kTableEntries) {
      const int k = address / 2;
      AddWord(out, EntryLabel(units, k), units, before.Entry(k), after.Entry(k));
      address = 2 * k + 1;  // the entry's second byte is told with it
    } else if (address == kModeByte) {
      out.push_back({"Mode", ModeText(before.Byte(address)), ModeText(after.Byte(address))});
    } else if (address >= kFirstPotByte && address < kFirstPotByte + 4) {
      out.push_back({"Pot " + std::to_string(address - kFirstPotByte + 1),
                     PotText(before.Byte(address)), PotText(after.Byte(address))});
    } else if (address == kLimitByte || address == kLimitByte + 1) {
      AddWord(out, "Limit", units, before.Entry(kLimitEntry), after.Entry(kLimitEntry));
      address = kLimitByte + 1;
    } else {
      out.push_back({"Byte " + FormatHex(static_cast<uint32_t>(address), 2),
                     FormatHex(before.Byte(address), 2), FormatHex(after.Byte(address), 2)});
    }
  }
  return out;
}

}  // namespace vyk

#include "model/image_diff.h"

#include <array>
#include <charconv>

#include "model/conversions.h"
#include "model/groups.h"
#include "model/text/hex_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"

namespace vyk {

namespace {

bool FrequencyOutput(const ImageSide& side) {
  return (side.image.Byte(kModeByte) & kOutputKindMask) == kFrequencyOutput;
}

std::string MeterText(const ProjectHeader& h, const FileText& name, int groupOffset) {
  const uint8_t group = h.ByteAt(groupOffset);
  std::string text = Cp1252ToUtf8(name.Bytes());
  if (group != kNoMeterGroup) text += " (" + GroupText(group) + ")";
  return text;
}

std::string VersionText(int16_t tenths) {
  return FormatFixed(tenths / 10.0L, 0, 1);
}

// The header fields a user chose or a match set, as pairs of label and text.
std::vector<std::pair<std::string, std::string>> HeaderFields(const ProjectHeader& h) {
  return {
      {"Name", Cp1252ToUtf8(h.Name().Bytes())},
      {"Description", Cp1252ToUtf8(h.Description().Bytes())},
      {"Group", GroupText(h.Group())},
      {"Units", h.Units() != 0 ? "Metric" : "English"},
      {"Meter to use", MeterText(h, h.UseMeterName(), ProjectHeader::kUseMeterGroup)},
      {"Meter to match", MeterText(h, h.MatchMeterName(), ProjectHeader::kMatchMeterGroup)},
      {"Box version", VersionText(h.RequiredVersion())},
  };
}

// Bytes the entries, the mode byte, the pots and the limit do not cover.
bool PlainByte(int address) {
  const bool entry = address < 2 * kTableEntries;
  const bool setting = address >= kModeByte && address < kFirstPotByte + 4;
  const bool limit = address == 2 * kLimitEntry || address == 2 * kLimitEntry + 1;
  return !entry && !setting && !limit;
}

}  // namespace

std::string TableUnitsText(const ImageSide& side) {
  const ConversionSettings cs = ConversionSettings::ForGroup(side.header.Group());
  if (FrequencyOutput(side)) {
    // The constant as it is written: the shortest text that reads back as the same float.
    std::array<char, 32> buffer{};
    auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), cs.HertzPerCount).ptr;
    return "hertz, " + std::string(buffer.data(), end) + " Hz per count";
  }
  return "volts, " + FormatFixed(1024.0L / cs.OutputCountsPerVolt, 0, 0) + " V full scale";
}

std::string EntryText(const ImageSide& side, int k) {
  const ConversionSettings cs = ConversionSettings::ForGroup(side.header.Group());
  const int count = side.image.Entry(k);
  const std::string text = FrequencyOutput(side)
                               ? Trim(FrequencyText(cs, side.header.Group(), count)) + " Hz"
                               : Trim(OutputVoltsText(cs, count)) + " V";
  return text + " (" + std::to_string(count) + ")";
}

std::string ModeText(uint8_t mode) {
  std::string output;
  switch (mode & kOutputKindMask) {
    case kVoltageOutput:
      output = "voltage output";
      break;
    case kFrequencyOutput:
      output = "frequency output";
      break;
    default:  // the window takes any other pair of bits for voltage
      output = "voltage output (bits " + std::to_string(mode & kOutputKindMask) + ")";
  }
  std::string text = FormatHex(mode, 2) + ": " +
                     ((mode & kFrequencyInput) != 0 ? "frequency" : "voltage") + " input, " +
                     output;
  if ((mode & kInvertLimit) != 0) text += ", limit inverted";
  return text;
}

std::vector<ImageDifference> DiffImages(const ImageSide& a, const ImageSide& b) {
  std::vector<ImageDifference> out;
  auto add = [&](const std::string& label, const std::string& ta, const std::string& tb) {
    if (ta != tb) out.push_back({label, ta, tb});
  };
  const auto fieldsA = HeaderFields(a.header);
  const auto fieldsB = HeaderFields(b.header);
  for (size_t i = 0; i < fieldsA.size(); ++i)
    add(fieldsA[i].first, fieldsA[i].second, fieldsB[i].second);
  add("Table units", TableUnitsText(a), TableUnitsText(b));

  auto addEntry = [&](const std::string& label, int k) {
    if (a.image.Entry(k) != b.image.Entry(k))
      out.push_back({label, EntryText(a, k), EntryText(b, k)});
  };
  for (int k = 0; k < kTableEntries; ++k)
    addEntry("Entry " + std::to_string(k), k);
  add("Mode", ModeText(a.image.Byte(kModeByte)), ModeText(b.image.Byte(kModeByte)));
  for (int pot = 0; pot < 4; ++pot) {
    auto potText = [pot](const ImageSide& side) {
      return std::to_string(static_cast<int8_t>(side.image.Byte(kFirstPotByte + pot)));
    };
    add("Pot " + std::to_string(pot + 1), potText(a), potText(b));
  }
  addEntry("Limit", kLimitEntry);
  for (int address = 0; address < kImageSize; ++address) {
    if (!PlainByte(address)) continue;
    add("Byte " + FormatHex(static_cast<uint32_t>(address), 2), FormatHex(a.image.Byte(address), 2),
        FormatHex(b.image.Byte(address), 2));
  }
  return out;
}

}  // namespace vyk

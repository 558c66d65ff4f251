#include "model/eeprom_image.h"

#include <algorithm>

#include "model/conversions.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"

namespace vyk {

uint8_t EepromImage::Byte(int address) const {
  if (address < 0 || address >= kImageSize) throw RangeError();
  return bytes_[address];
}

void EepromImage::SetByte(int address, uint8_t value) {
  if (address < 0 || address >= kImageSize) throw RangeError();
  bytes_[address] = value;
}

int EepromImage::Entry(int k) const {
  if (k < 0 || 2 * k + 1 >= kImageSize) throw RangeError();
  return bytes_[2 * k] * 256 + bytes_[2 * k + 1];
}

void EepromImage::SetEntry(int k, int value) {
  if (k < 0 || 2 * k + 1 >= kImageSize || value < 0 || value > 0xFFFF) throw RangeError();
  bytes_[2 * k] = static_cast<uint8_t>(value / 256);
  bytes_[2 * k + 1] = static_cast<uint8_t>(value % 256);
}

EepromImage NewImage(uint8_t group) {
  EepromImage image;
  const ConversionSettings ford = ConversionSettings::ForGroup(kFord);
  for (int k = 0; k < kCurvePoints; ++k) {
    if (group == kFord) {
      // The voltage k * 0.1875 V, stored as a typed voltage would be at the 5 V scale.
      float volts = static_cast<float>(k / static_cast<long double>(kRowsPerVolt));
      if (volts > kMaxOutputVolts) volts = kMaxOutputVolts;
      image.SetEntry(k, static_cast<int>(RoundHalfEven(static_cast<long double>(volts) *
                                                       ford.OutputCountsPerVolt)));
    } else {
      image.SetEntry(k, 32 * k);
    }
  }
  image.SetEntry(32, 0x03FF);
  image.SetByte(kModeByte, group == kGM ? kFrequencyOutput | kFrequencyInput : kVoltageOutput);
  for (int pot = 0; pot < 4; ++pot)
    image.SetByte(kFirstPotByte + pot, 0);
  image.SetEntry(kLimitEntry, 0x03FF);
  return image;
}

int AdjustedEntry(const EepromImage& image, const std::array<int, 4>& p, int x) {
  int a;
  if (x < 4) {
    a = p[0] * x / 4;
  } else if (x < 28) {
    const int segment = (x - 4) / 8;  // 4..11, 12..19, 20..27
    const int j = x - 4 - 8 * segment;
    a = p[segment] + (p[segment + 1] - p[segment]) * j / 8;
  } else {
    a = p[3] * (4 - (x - 28)) / 4;
  }
  return std::clamp(image.Entry(x) + a, 0, 1023);
}

std::vector<int> AdjustedCounts(const EepromImage& image, const std::array<int, 4>& p) {
  std::vector<int> counts;
  for (int x = 0; x < kCurvePoints; ++x)
    counts.push_back(AdjustedEntry(image, p, x));
  return counts;
}

int BoxOutputCount(const EepromImage& image, const std::array<int, 4>& offsets, int input) {
  constexpr int kStep = 32;  // input counts between two entries
  const int in = std::clamp(input, 0, (kTableEntries - 1) * kStep);
  const int x = std::min(in / kStep, kTableEntries - 2);
  const int low = AdjustedEntry(image, offsets, x);
  const int high = AdjustedEntry(image, offsets, x + 1);
  return low + (high - low) * (in - x * kStep) / kStep;
}

}  // namespace vyk

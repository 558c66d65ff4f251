#pragma once
// The program's copy of the Box's 256-byte EEPROM. Words are big-endian.
#include <array>
#include <cstdint>
#include <vector>

namespace vyk {

inline constexpr int kImageSize = 256;
inline constexpr int kTableEntries = 33;  // entries 0..32, entry k for input count 32k
inline constexpr int kCurvePoints = 32;   // entries 0..31 have a point on the table curve
inline constexpr int kModeByte = 66;
inline constexpr int kFirstPotByte = 67;  // pots 1..4 at bytes 67..70
inline constexpr int kLimitEntry = 36;    // bytes 72..73
inline constexpr int kBoxBytes = 80;      // bytes 0..79 are exchanged with the Box

// Mode byte bits.
inline constexpr uint8_t kOutputKindMask = 0x03;
inline constexpr uint8_t kVoltageOutput = 0x01;
inline constexpr uint8_t kFrequencyOutput = 0x02;
inline constexpr uint8_t kFrequencyInput = 0x08;
inline constexpr uint8_t kInvertLimit = 0x10;

class EepromImage {
 public:
  EepromImage() { bytes_.fill(0xFF); }

  // Range-checked byte access: an address outside 0..255 throws RangeError.
  uint8_t Byte(int address) const;
  void SetByte(int address, uint8_t value);

  // Entry k is the word at bytes 2k (high) and 2k+1 (low); k outside 0..127 throws RangeError.
  int Entry(int k) const;
  void SetEntry(int k, int value);  // value must be 0..0xFFFF

  std::array<uint8_t, kImageSize>& Bytes() { return bytes_; }
  const std::array<uint8_t, kImageSize>& Bytes() const { return bytes_; }
  bool operator==(const EepromImage&) const = default;

 private:
  std::array<uint8_t, kImageSize> bytes_;
};

// The image of a new project of the group (pots and the rest as the Box expects them).
EepromImage NewImage(uint8_t group);

// Table entry x (0..32) as the Box adjusts it with the four pot offsets of a reading: no
// change at entry 0, the offsets at entries 4, 12, 20 and 28, straight lines between them and
// back to none at entry 32; the count is kept in 0..1023.
int AdjustedEntry(const EepromImage& image, const std::array<int, 4>& offsets, int x);
// The whole curve of AdjustedEntry: one count for each of its points.
std::vector<int> AdjustedCounts(const EepromImage& image, const std::array<int, 4>& offsets);

// The output count the Box drives for an input count: its adjusted table, read on the
// straight line between the two entries around the input.
int BoxOutputCount(const EepromImage& image, const std::array<int, 4>& offsets, int input);

}  // namespace vyk

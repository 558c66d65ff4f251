#pragma once
// The 512-byte project header, kept in memory exactly as it lies in the project file.
// Every field is read and written through its byte offset (integers little-endian).
#include <array>
#include <cstdint>
#include <string>

#include "model/text/text_encoding.h"

namespace vyk {

inline constexpr int kHeaderSize = 512;
inline constexpr uint8_t kNoMeterGroup = 255;

class ProjectHeader {
 public:
  // Offsets of the fields.
  static constexpr int kCreated = 0;
  static constexpr int kSaved = 4;
  static constexpr int kFileRecords = 8;
  static constexpr int kHeaderRecords = 10;
  static constexpr int kMagic11 = 12;
  static constexpr int kRequiredVersion = 14;
  static constexpr int kGroup = 16;
  static constexpr int kIoCode = 17;
  static constexpr int kUnits = 18;
  static constexpr int kUseMeterGroup = 19;
  static constexpr int kMatchMeterGroup = 20;
  static constexpr int kName = 64;             // capacity 63
  static constexpr int kDescription = 128;     // capacity 63
  static constexpr int kUseMeterName = 192;    // capacity 31
  static constexpr int kMatchMeterName = 224;  // capacity 31

  ProjectHeader() { bytes_.fill(0); }

  int32_t Int32At(int offset) const;
  void SetInt32At(int offset, int32_t value);
  int16_t Int16At(int offset) const;
  void SetInt16At(int offset, int16_t value);
  uint8_t ByteAt(int offset) const;
  void SetByteAt(int offset, uint8_t value);
  // A short string: a length byte, then the characters, in a field of `capacity` + 1 bytes.
  // A length byte above the capacity reads only the capacity. Setting writes the length and
  // the characters (cut to the capacity) and leaves the rest of the field as it was.
  std::string ShortStringAt(int offset, int capacity) const;
  void SetShortStringAt(int offset, int capacity, const std::string& text);

  int32_t Created() const { return Int32At(kCreated); }
  int32_t Saved() const { return Int32At(kSaved); }
  int16_t FileRecords() const { return Int16At(kFileRecords); }
  int16_t HeaderRecords() const { return Int16At(kHeaderRecords); }
  int16_t RequiredVersion() const { return Int16At(kRequiredVersion); }
  uint8_t Group() const { return ByteAt(kGroup); }
  void SetGroup(uint8_t group) { SetByteAt(kGroup, group); }
  uint8_t IoCode() const { return ByteAt(kIoCode); }
  uint8_t Units() const { return ByteAt(kUnits); }
  // The names are Windows-1252 texts, cut to their capacity when set.
  FileText Name() const { return FileTextAt(kName, 63); }
  void SetName(const FileText& text) { SetShortStringAt(kName, 63, text.Bytes()); }
  FileText Description() const { return FileTextAt(kDescription, 63); }
  void SetDescription(const FileText& text) { SetShortStringAt(kDescription, 63, text.Bytes()); }
  FileText UseMeterName() const { return FileTextAt(kUseMeterName, 31); }
  void SetUseMeterName(const FileText& text) { SetShortStringAt(kUseMeterName, 31, text.Bytes()); }
  FileText MatchMeterName() const { return FileTextAt(kMatchMeterName, 31); }
  void SetMatchMeterName(const FileText& text) {
    SetShortStringAt(kMatchMeterName, 31, text.Bytes());
  }

  // The fixed values every save writes: 48 file records, 32 header records, 11, version 10.
  void SetFixedFields();

  std::array<uint8_t, kHeaderSize>& Bytes() { return bytes_; }
  const std::array<uint8_t, kHeaderSize>& Bytes() const { return bytes_; }
  bool operator==(const ProjectHeader&) const = default;

 private:
  FileText FileTextAt(int offset, int capacity) const {
    return FileText(ShortStringAt(offset, capacity));
  }

  std::array<uint8_t, kHeaderSize> bytes_;
};

// Whole days since 30 December 1899 of a local calendar date, and back.
int32_t DayNumber(int year, unsigned month, unsigned day);
std::string DayNumberText(int32_t dayNumber);  // "YYYY-MM-DD"
// Today's local date as a day number.
int32_t TodayDayNumber();

}  // namespace vyk

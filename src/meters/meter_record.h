#pragma once
// One mass-air meter: 2176 bytes, the whole content of a .maf file. Every field is read and
// written through its byte offset; bytes the program gives no meaning keep what they held.
#include <array>
#include <cstdint>
#include <string>

#include "model/provenance.h"

namespace vyk {

inline constexpr int kMeterRecordSize = kMeterImageSize;
inline constexpr int kMaxMeterPoints = 62;
inline constexpr int kPartNumberCapacity = 26;
inline constexpr int kDescriptionCapacity = 63;
inline constexpr int kPointTextCapacity = 7;

class MeterRecord {
 public:
  static constexpr int kIsMetric = 4;
  static constexpr int kPartNumber = 5;
  static constexpr int kPointCount = 32;
  static constexpr int kIsFrequency = 42;
  static constexpr int kPoints = 64;  // point i (1..62) at kPoints + 32 (i - 1)
  static constexpr int kPointSize = 32;
  static constexpr int kDescription1 = 2048;
  static constexpr int kDescription2 = 2112;
  // Inside a point slot.
  static constexpr int kSignalText = 0;
  static constexpr int kSignalValue = 8;
  static constexpr int kFlowText = 12;
  static constexpr int kFlowValue = 20;

  MeterRecord() { bytes_.fill(0); }
  // A record from its image, such as the meters a project keeps of how its table was made.
  explicit MeterRecord(const std::array<uint8_t, kMeterRecordSize>& bytes) : bytes_(bytes) {}

  bool IsMetric() const { return bytes_[kIsMetric] != 0; }
  void SetIsMetric(bool metric) { bytes_[kIsMetric] = metric ? 1 : 0; }
  bool IsFrequency() const { return bytes_[kIsFrequency] != 0; }
  void SetIsFrequency(bool frequency) { bytes_[kIsFrequency] = frequency ? 1 : 0; }
  std::string PartNumber() const;
  void SetPartNumber(const std::string& text);  // cut to 26 characters
  int16_t PointCount() const;
  void SetPointCount(int16_t count);
  // The points in use: PointCount limited to 0..62, so no reader goes past the record.
  int UsablePoints() const;
  std::string Description1() const;
  void SetDescription1(const std::string& text);  // cut to 63 characters
  std::string Description2() const;
  void SetDescription2(const std::string& text);

  // Point i is 1..62; any other index throws RangeError. Texts are cut to 7 characters.
  std::string SignalText(int i) const;
  void SetSignalText(int i, const std::string& text);
  float SignalValue(int i) const;
  void SetSignalValue(int i, float value);
  std::string FlowText(int i) const;
  void SetFlowText(int i, const std::string& text);
  float FlowValue(int i) const;
  void SetFlowValue(int i, float value);

  std::array<uint8_t, kMeterRecordSize>& Bytes() { return bytes_; }
  const std::array<uint8_t, kMeterRecordSize>& Bytes() const { return bytes_; }
  bool operator==(const MeterRecord&) const = default;

 private:
  int PointOffset(int i, int field) const;
  std::array<uint8_t, kMeterRecordSize> bytes_;
};

// Copies the file's bytes, at most 2176, over the start of the record; the rest of the record
// keeps what it held. Throws InOutError when the file cannot be opened or read.
void ReadMeterFile(const std::string& path, MeterRecord& record);

// Writes the 2176 bytes, replacing the file safely. Throws InOutError.
void WriteMeterFile(const std::string& path, const MeterRecord& record);

// The first text among points 1..UsablePoints that is no number, or a number beyond a 32-bit
// float, as a message that names the file, the point and its column and quotes the text with
// its odd bytes escaped; empty when every point reads.
std::string PointTextProblem(const MeterRecord& record, const std::string& file);

// Text forms of values, as the editor grid and the text import write them.
std::string VoltsSignalText(float volts);     // "%1.2f"
std::string HertzSignalText(float hertz);     // "%5.0f"
std::string FlowValueText(long double flow);  // "%4.2f"

// The meter editor's units switch: lb/hr times kKgPerLb is kg/hr. The pound to seven digits,
// applied at extended precision to the flow as typed: these are the user's own figures, and
// each is converted as exactly as its two decimals can show. The meter match uses the Box
// maker's coarser factor instead (kMatchKgPerLb).
inline constexpr long double kKgPerLb = 0.4535925L;
std::string LbToKgText(long double lbPerHour);
std::string KgToLbText(long double kgPerHour);

}  // namespace vyk

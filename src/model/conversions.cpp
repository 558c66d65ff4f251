#include "model/conversions.h"

#include <limits>

#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"

namespace vyk {

namespace {

int CheckCount(int count) {
  if (count < 0 || count > 0xFFFF) throw RangeError();
  return count;
}

// " %5.3f " of count / divisor, or "?" before any project, or "****" above full scale.
std::string VoltsText(const ConversionSettings& cs, int count, float divisor) {
  CheckCount(count);
  if (!cs.IsSet()) return "?";
  if (count > 1024) return "****";
  return " " + FormatFixed(static_cast<long double>(count) / divisor, 5, 3) + " ";
}

}  // namespace

ConversionSettings ConversionSettings::ForGroup(uint8_t group) {
  const HardwareGroup* named = FindGroup(group);
  return (named != nullptr ? *named : kGroups[kFord]).conversion;
}

std::string InputVoltsText(const ConversionSettings& cs, int count) {
  return VoltsText(cs, count, kInputCountsPerVolt);
}

std::string OutputVoltsText(const ConversionSettings& cs, int count) {
  return VoltsText(cs, count, cs.OutputCountsPerVolt);
}

std::string FrequencyText(const ConversionSettings& cs, uint8_t group, int count) {
  CheckCount(count);
  if (!cs.IsSet()) return "?";
  if (count < 2) return "0    ";
  if (count > 1023) return group == kGM ? " 13500" : "3000";
  return " " + FormatFixed(static_cast<long double>(count) * cs.HertzPerCount, 4, 0) + " ";
}

int VoltsTextToCount(const ConversionSettings& cs, std::string_view text) {
  auto volts = ReadNumber(text);
  if (!volts) return -1;
  float v = *volts > kMaxOutputVolts ? kMaxOutputVolts : *volts;  // no lower clamp
  long double count = RoundHalfEven(static_cast<long double>(v) * cs.OutputCountsPerVolt);
  if (count < std::numeric_limits<int32_t>::min()) throw RangeError();
  return static_cast<int>(count);
}

int FrequencyTextToCount(const ConversionSettings& cs, std::string_view text) {
  auto hertz = ReadNumber(text);
  if (!hertz) return -1;
  float f = *hertz > cs.MaxFrequency ? cs.MaxFrequency : *hertz;
  if (f < kMinFrequency) return 0;
  return static_cast<int>(RoundHalfEven(static_cast<long double>(f) / cs.HertzPerCount));
}

float RowInputVolts(int row) {
  return static_cast<float>(row / static_cast<long double>(kRowsPerVolt));
}

float RowInputHertz(const ConversionSettings& cs, int row) {
  return static_cast<float>(static_cast<long double>(row) * cs.HertzPerCount * 32.0f);
}

float CountOutputVolts(const ConversionSettings& cs, int count) {
  return static_cast<float>(count / static_cast<long double>(cs.OutputCountsPerVolt));
}

float CountOutputHertz(const ConversionSettings& cs, int count) {
  return static_cast<float>(static_cast<long double>(count) * cs.HertzPerCount);
}

}  // namespace vyk

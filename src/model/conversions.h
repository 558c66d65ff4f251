#pragma once
// Conversions between the Box's 10-bit counts and the volt and hertz texts the user sees.
// The constants are 32-bit floats on purpose: the results depend on their exact float values.
#include <cstdint>
#include <string>
#include <string_view>

namespace vyk {

inline constexpr float kInputCountsPerVolt = 170.66667f;  // 1024 counts = 6.000 V
inline constexpr float kRowsPerVolt = 5.3333335f;         // table rows per input volt
inline constexpr float kMaxOutputVolts = 4.995f;          // highest output voltage read from text
inline constexpr float kMinFrequency = 6.0f;              // lowest frequency giving a count

struct ConversionSettings {
  float HertzPerCount = 1.0f;  // exactly 1.0: no project has set the constants yet
  float MaxFrequency = 1.0f;
  float OutputCountsPerVolt = 204.8f;
  int32_t MaxOutputCount = 1023;

  // The constants of the group a byte names (model/groups.h); a byte that names no group gets
  // Ford's.
  static ConversionSettings ForGroup(uint8_t group);
  bool IsSet() const { return HertzPerCount != 1.0f; }
  bool operator==(const ConversionSettings&) const = default;
};

// Counts to text. Counts are unsigned 16-bit values: anything else throws RangeError.
std::string InputVoltsText(const ConversionSettings& cs, int count);
std::string OutputVoltsText(const ConversionSettings& cs, int count);
// `group` is the project's group: it picks the over-range text.
std::string FrequencyText(const ConversionSettings& cs, uint8_t group, int count);

// Text to counts: -1 when the text is no number. Throw OverflowError for a number beyond a
// 32-bit float, and VoltsTextToCount throws RangeError when the count does not fit 32 bits.
int VoltsTextToCount(const ConversionSettings& cs, std::string_view text);
int FrequencyTextToCount(const ConversionSettings& cs, std::string_view text);

// Numeric forms for the chart and the live readings, each stored as a 32-bit float.
float RowInputVolts(int row);
float RowInputHertz(const ConversionSettings& cs, int row);
float CountOutputVolts(const ConversionSettings& cs, int count);
float CountOutputHertz(const ConversionSettings& cs, int count);

}  // namespace vyk

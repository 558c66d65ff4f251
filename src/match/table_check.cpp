#include "match/table_check.h"

#include <algorithm>

#include "model/provenance.h"
#include "model/text/number.h"

namespace vyk {

namespace {

// The meter's lowest and highest signal, and whether its signal rises with the flow (its
// points kept in the editor's order, by signal; the flow tells the direction).
struct MeterSpan {
  float low, high;
  bool rising;
};

std::optional<MeterSpan> SpanOf(const MeterRecord& meter) {
  const int n = meter.UsablePoints();
  if (n < 2) return std::nullopt;
  try {
    float low = TextToFloat(meter.SignalText(1)), high = low;
    for (int i = 2; i <= n; ++i) {
      const float s = TextToFloat(meter.SignalText(i));
      low = std::min(low, s);
      high = std::max(high, s);
    }
    // Signal and flow of the first and last point: a meter whose signal falls as the air
    // grows pairs the lowest flow with the highest signal.
    const float s1 = TextToFloat(meter.SignalText(1)), sn = TextToFloat(meter.SignalText(n));
    const float f1 = TextToFloat(meter.FlowText(1)), fn = TextToFloat(meter.FlowText(n));
    return MeterSpan{low, high, (sn - s1) * (fn - f1) >= 0};
  } catch (const std::exception&) {
    return std::nullopt;  // a meter that does not read is reported where it is opened
  }
}

}  // namespace

std::vector<std::string> CheckTable(const EepromImage& image, const ConversionSettings& cs,
                                    const std::optional<MeterRecord>& meterToMatch) {
  const bool frequency = (image.Byte(kModeByte) & kOutputKindMask) == kFrequencyOutput;
  std::optional<MeterSpan> span;
  if (meterToMatch) span = SpanOf(*meterToMatch);
  const bool rising = !span || span->rising;
  std::vector<std::string> warnings;

  std::vector<int> wrongWay;
  for (int k = 1; k < kTableEntries; ++k) {
    const int step = image.Entry(k) - image.Entry(k - 1);
    if (rising ? step < 0 : step > 0) wrongWay.push_back(k);
  }
  if (!wrongWay.empty())
    warnings.push_back(
        std::string(wrongWay.size() == 1 ? "Entry " : "Entries ") + EntryRangesText(wrongWay) +
        (rising ? ": the output falls" : ": the output rises") + " from the entry before" +
        (!span    ? std::string()
         : rising ? ", where the meter to match's signal rises"
                  : ", where the meter to match's signal falls"));

  if (!span) return warnings;
  if (meterToMatch->IsFrequency() != frequency) {
    warnings.push_back(std::string("The table's output is in ") + (frequency ? "hertz" : "volts") +
                       ", the meter to match's signal in " + (frequency ? "volts" : "hertz"));
    return warnings;
  }
  // A count either side of the range is the table's own rounding.
  auto signalOf = [&](int count) {
    return frequency ? CountOutputHertz(cs, count) : CountOutputVolts(cs, count);
  };
  const float slack = signalOf(1) - signalOf(0);
  std::vector<int> below, above;
  for (int k = 0; k < kTableEntries; ++k) {
    const float signal = signalOf(image.Entry(k));
    if (signal < span->low - slack) below.push_back(k);
    if (signal > span->high + slack) above.push_back(k);
  }
  auto signalText = [&](float s) {
    return frequency ? FormatFixed(s, 0, 0) + " Hz" : FormatFixed(s, 0, 2) + " V";
  };
  if (!below.empty())
    warnings.push_back(std::string(below.size() == 1 ? "Entry " : "Entries ") +
                       EntryRangesText(below) + ": below the meter to match's lowest signal (" +
                       signalText(span->low) + ")");
  if (!above.empty())
    warnings.push_back(std::string(above.size() == 1 ? "Entry " : "Entries ") +
                       EntryRangesText(above) + ": above the meter to match's highest signal (" +
                       signalText(span->high) + ")");
  return warnings;
}

}  // namespace vyk

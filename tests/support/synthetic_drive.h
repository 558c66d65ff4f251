#pragma once
// A drive logged by a scan tool, made up from a table the Box holds and the table the engine
// controller really wants: at each entry's output the controller's trims (or a wideband
// against its commanded ratio) tell how much more air there was than it saw.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "match/table_correction.h"
#include "model/conversions.h"
#include "model/text/number.h"

namespace vyk::test {

struct Drive {
  std::vector<int> held, truth;  // counts of entries 0..32
  std::vector<int> perEntry;     // samples logged at each entry
  bool wideband = false;         // an AFR against 14.7 instead of trims
  // The flow the controller reads from a signal (volts); empty: in proportion to the signal.
  std::function<double(double)> flowOf = nullptr;
};

inline std::vector<CorrectionSample> DriveSamples(const Drive& d, const ConversionSettings& cs) {
  std::vector<CorrectionSample> samples;
  for (size_t k = 0; k < d.held.size(); ++k) {
    const double seen = d.held[k] / cs.OutputCountsPerVolt;
    const double wanted = d.truth[k] / cs.OutputCountsPerVolt;
    const double more = d.flowOf ? d.flowOf(wanted) / d.flowOf(seen) : wanted / seen;
    for (int i = 0; i < d.perEntry[k]; ++i) {
      const double nan = std::nan("");
      samples.push_back(d.wideband ? CorrectionSample{seen, nan, 14.7 * more, 14.7, 90}
                                   : CorrectionSample{seen, (more - 1) * 100, nan, nan, 90});
    }
  }
  return samples;
}

// The samples of a trims drive as a scan tool's CSV: "MAF (V);STFT;LTFT;ECT (C)" with decimal
// commas, the trim split between the two trims.
inline std::string DriveCsv(const std::vector<CorrectionSample>& samples) {
  auto cell = [](double v) {
    std::string text = FormatFixed(v, 0, 4);
    for (char& c : text)
      if (c == '.') c = ',';
    return text;
  };
  std::string csv = "\"MAF (V)\";STFT;LTFT;ECT (C)\r\n";
  for (const CorrectionSample& s : samples)
    csv += cell(s.signal) + ";" + cell(s.trim / 2) + ";" + cell(s.trim / 2) + ";" +
           cell(s.coolant) + "\r\n";
  return csv;
}

}  // namespace vyk::test

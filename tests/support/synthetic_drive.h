#pragma once
// A drive logged by a scan tool, made up from a table the Box holds and the table the engine
// controller really wants: at each entry's output the controller's trims (or a wideband
// against its commanded ratio) tell how much more air there was than it saw.
#include <cmath>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "match/table_correction.h"

namespace vyk::test {

struct Drive {
  std::vector<int> held, truth, perEntry;  // counts of entries 0..32; samples at each
  bool wideband = false;                   // an AFR against 14.7 instead of trims
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
      samples.push_back(d.wideband ? CorrectionSample{seen, nan, 14.7 * more, 14.7, 90, nan}
                                   : CorrectionSample{seen, (more - 1) * 100, nan, nan, 90, nan});
    }
  }
  return samples;
}

// The drive as a scan tool writes it: the signal in volts, the trims split in two, coolant.
inline std::string DriveLog(const Drive& d, const ConversionSettings& cs) {
  std::ostringstream out;
  out << "Time,MAF (V),STFT (%),LTFT (%),ECT (C)\n" << std::setprecision(8);
  int row = 0;
  for (const CorrectionSample& s : DriveSamples(d, cs))
    out << 0.1 * row++ << ',' << s.signal << ',' << s.trim / 2 << ',' << s.trim / 2 << ','
        << s.coolant << '\n';
  return out.str();
}

}  // namespace vyk::test

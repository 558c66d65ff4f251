#pragma once
// Small meters built in memory for the match tests.
#include <vector>

#include "meters/meter_record.h"

namespace vyk::test {

struct MeterPointText {
  const char* signal;
  const char* flow;
};

inline MeterRecord Meter(bool frequency, bool metric, const std::vector<MeterPointText>& points) {
  MeterRecord m;
  m.SetIsFrequency(frequency);
  m.SetIsMetric(metric);
  m.SetPointCount(static_cast<int16_t>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    m.SetSignalText(static_cast<int>(i + 1), points[i].signal);
    m.SetFlowText(static_cast<int>(i + 1), points[i].flow);
  }
  return m;
}

}  // namespace vyk::test

// How the table grid shows a log's hit map: each entry's colour and tooltip from its share.
#include "operations/logs/log_view.h"

#include <gtest/gtest.h>

namespace vyk {
namespace {

TEST(LogView, HitSharesGiveTheRowsColourAndTooltip) {
  const struct {
    int entry;
    double share, largest, seconds;
    double level;  // 0 uncoloured .. 1 the busiest entry
    const char* tooltip;
  } cases[] = {
      {16, 0.41, 0.41, 12.3, 1.0, "Entry 16: 41.0 % of the log's time (12.3 s)"},
      {3, 0.205, 0.41, 6.0, 0.5, "Entry 3: 20.5 % of the log's time (6.0 s)"},
      {32, 0.0004, 0.41, 0.05, 0.0004 / 0.41, "Entry 32: 0.0 % of the log's time (0.1 s)"},
      {0, 0, 0.41, 0, 0, "Entry 0: 0.0 % of the log's time (0.0 s)"},
      {7, 1, 1, 90, 1, "Entry 7: 100.0 % of the log's time (90.0 s)"},
      {5, 0, 0, 0, 0, "Entry 5: 0.0 % of the log's time (0.0 s)"},  // a log of no time
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tooltip);
    EXPECT_DOUBLE_EQ(HitColourLevel(c.share, c.largest), c.level);
    EXPECT_EQ(HitShareText(c.entry, c.share, c.seconds), c.tooltip);
  }
}

}  // namespace
}  // namespace vyk

// The Qt event-loop pump, which carries the simulated Box's bytes to the program.
#include <gtest/gtest.h>

#include <QTest>

#include "link/qt/qt_pump.h"

namespace vyk {
namespace {

// The simulated Box posts each byte for the time it arrives; on a loaded machine that time may
// already be past, and the byte must still come.
TEST(QtPump, WorkPostedForATimePastOrToComeRuns) {
  QtPump pump;
  for (double ms : {-5.0, 2.5}) {
    bool ran = false;
    pump.Post(ms, [&ran] { ran = true; });
    EXPECT_TRUE(QTest::qWaitFor([&ran] { return ran; }, 1000)) << ms;
  }
}

}  // namespace
}  // namespace vyk

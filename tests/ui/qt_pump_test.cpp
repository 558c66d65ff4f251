// Waiting in the Qt event loop.
#include <gtest/gtest.h>

#include "link/qt/qt_pump.h"

namespace vyk {
namespace {

// A machine that falls behind asks for work at a time already past: it must still run, or
// the simulated Box's bytes are lost mid-transfer.
TEST(QtPump, WorkPostedForATimeAlreadyPastRunsAtOnce) {
  QtPump pump;
  int ran = 0;
  pump.Post(-5.5, [&] { ++ran; });
  pump.Post(0, [&] { ++ran; });
  bool fired = false;
  pump.StartTimer(-1, [&] { fired = true; });
  bool later = false;  // wakes the wait even when the others never run
  pump.Post(50, [&] { later = true; });
  while (!later)
    pump.WaitAndProcess();
  EXPECT_EQ(ran, 2);
  EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace vyk

#include "cli/box/stop_signals.h"

// Without POSIX signals a Box command runs to its end; Ctrl+C ends the process as the console
// does.
namespace vyk::cli {

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {}
StopSignals::~StopSignals() = default;
int StopSignals::Received() const {
  return 0;
}

}  // namespace vyk::cli

#pragma once
// Ctrl+C and SIGTERM during a Box command end it the way Abort ends an exchange in the window:
// the first asks the exchange in progress to stop (it finishes, and the records are written),
// a second ends the program at once.
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vyk::cli {

class StopSignals {
 public:
  // Needs the Qt application. `stop` runs inside the event loop's next wait, once, after the
  // first signal.
  explicit StopSignals(std::function<void()> stop);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The signal that arrived (SIGINT, SIGTERM), 0 while none did; known at once, also outside
  // the event loop.
  int Received() const;
  // The exit status that says the command was stopped: 128 + the signal's number.
  int ExitStatus() const { return 128 + Received(); }

 private:
  std::function<void()> stop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vyk::cli

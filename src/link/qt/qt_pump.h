#pragma once
// Waiting inside the Qt event loop: a wait processes window events, serial-port events and
// timers as they come, and sleeps in between.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "link/port.h"

namespace vyk {

// Call before the application object is made: Qt's own event dispatcher wakes the program
// with about half the system calls of the GLib one, which matters at one event per byte.
void UseLeanEventDispatcher();

// Ends the pump's wait once something it may be waiting for has happened (a byte, a timer, posted
// work): Windows' event dispatcher goes on waiting after it has sent posted events.
void EndTheWait();

class QtPump : public Pump {
 public:
  QtPump();
  void ProcessPending() override;
  void WaitAndProcess() override;
  void StartTimer(double ms, std::function<void()> fired) override;
  void StopTimer() override;
  void Post(double ms, std::function<void()> work) override;
  double NowMs() const override;

 private:
  QTimer timer_;
  std::function<void()> fired_;
  QElapsedTimer clock_;
};

}  // namespace vyk

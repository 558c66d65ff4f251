#pragma once
// Waiting inside the Qt event loop: a wait processes window events, serial-port events and
// timers as they come, and sleeps in between.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "link/port.h"

namespace vyk {

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

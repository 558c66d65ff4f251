#pragma once
// A pump on a virtual clock: waiting jumps straight to the next event, so a one-second
// time-out costs no real time. For tests and for measuring exchanges by their line time.
#include <functional>
#include <map>
#include <stdexcept>

#include "link/port.h"

namespace vyk {

class VirtualPump : public Pump {
 public:
  void ProcessPending() override { RunDue(); }

  void WaitAndProcess() override {
    if (events_.empty()) throw std::logic_error("waiting with nothing left to happen");
    now_ = events_.begin()->first;
    RunDue();
  }

  void StartTimer(double ms, std::function<void()> fired) override {
    StopTimer();
    timer_ = events_.emplace(now_ + ms, [this, fired = std::move(fired)] {
      timer_ = events_.end();
      fired();
    });
  }

  void StopTimer() override {
    if (timer_ != events_.end()) events_.erase(timer_);
    timer_ = events_.end();
  }

  void Post(double ms, std::function<void()> work) override {
    events_.emplace(now_ + ms, std::move(work));
  }

  double NowMs() const override { return now_; }

  // Runs everything up to `ms` from now, as an idle window would.
  void RunFor(double ms) {
    double end = now_ + ms;
    while (!events_.empty() && events_.begin()->first <= end) {
      now_ = events_.begin()->first;
      RunDue();
    }
    now_ = end;
  }

 private:
  using Events = std::multimap<double, std::function<void()>>;

  void RunDue() {
    while (!events_.empty() && events_.begin()->first <= now_) {
      auto it = events_.begin();
      auto work = std::move(it->second);
      if (it == timer_) timer_ = events_.end();
      events_.erase(it);
      work();
    }
  }

  Events events_;
  Events::iterator timer_ = events_.end();
  double now_ = 0;
};

}  // namespace vyk

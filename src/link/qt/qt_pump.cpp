#include "link/qt/qt_pump.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace vyk {

namespace {

// A time already past means at the next dispatch: Qt refuses a negative interval with a
// warning and never runs the work, and a busy machine can be late by more than a byte time.
int IntervalMs(double ms) {
  return static_cast<int>(std::ceil(std::max(ms, 0.0)));
}

}  // namespace

void UseLeanEventDispatcher() {
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

QtPump::QtPump() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (fired_) fired_();
  });
  clock_.start();
}

void QtPump::ProcessPending() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPump::WaitAndProcess() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtPump::StartTimer(double ms, std::function<void()> fired) {
  fired_ = std::move(fired);
  timer_.start(static_cast<int>(std::lround(ms)));
}

void QtPump::StopTimer() {
  timer_.stop();
  fired_ = nullptr;
}

void QtPump::Post(double ms, std::function<void()> work) {
  QTimer::singleShot(IntervalMs(ms), Qt::PreciseTimer, QCoreApplication::instance(),
                     std::move(work));
}

double QtPump::NowMs() const {
  return static_cast<double>(clock_.nsecsElapsed()) / 1e6;
}

}  // namespace vyk

#include "link/qt/qt_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace vyk {

void UseLeanEventDispatcher() {
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

void EndTheWait() {
#if defined(Q_OS_WIN)
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->interrupt();
#endif
}

QtPump::QtPump() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (fired_) fired_();
    EndTheWait();
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
  timer_.start(static_cast<int>(std::max(0L, std::lround(ms))));
}

void QtPump::StopTimer() {
  timer_.stop();
  fired_ = nullptr;
}

void QtPump::Post(double ms, std::function<void()> work) {
  // A time already past (the machine fell behind) runs at once: Qt drops a timer with a
  // negative interval, and with it the work.
  QTimer::singleShot(static_cast<int>(std::max(0.0, std::ceil(ms))), Qt::PreciseTimer,
                     QCoreApplication::instance(), [work = std::move(work)] {
                       work();
                       EndTheWait();
                     });
}

double QtPump::NowMs() const {
  return static_cast<double>(clock_.nsecsElapsed()) / 1e6;
}

}  // namespace vyk

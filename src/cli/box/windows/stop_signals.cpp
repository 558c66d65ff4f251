#include "cli/box/stop_signals.h"

#include <windows.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <csignal>

// Ctrl+C and Ctrl+Break reach a console program on a thread of their own: the first is handed
// to the event loop, as a signal is on POSIX; a second is left to the system, which ends the
// program at once.
namespace vyk::cli {

namespace {

std::atomic<int> received{0};
std::function<void()>* stopNow = nullptr;  // the command's stop, while one is installed

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  int none = 0;
  if (!received.compare_exchange_strong(none, event == CTRL_C_EVENT ? SIGINT : SIGTERM))
    return FALSE;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [] {
        if (stopNow != nullptr && *stopNow) (*stopNow)();
      },
      Qt::QueuedConnection);
  return TRUE;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
  stopNow = &stop_;
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopSignals::~StopSignals() {
  ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  stopNow = nullptr;
}

int StopSignals::Received() const {
  return received;
}

}  // namespace vyk::cli

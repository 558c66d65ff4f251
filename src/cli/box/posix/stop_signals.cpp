#include "cli/box/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <stdexcept>

namespace vyk::cli {

namespace {

volatile sig_atomic_t received = 0;
int wakeUp[2] = {-1, -1};  // the handler writes, the event loop reads
struct sigaction previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void OnSignal(int signal) {
  if (received != 0) {
    // The second: the user does not want to wait for the exchange.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    return;
  }
  received = signal;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeUp[1], &byte, 1);
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
  if (::pipe(wakeUp) != 0) throw std::runtime_error("Cannot make a pipe for the stop signals");
  for (int fd : wakeUp) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  notifier_ = std::make_unique<QSocketNotifier>(wakeUp[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char byte;
    while (::read(wakeUp[0], &byte, 1) == 1) {
    }
    notifier_->setEnabled(false);
    if (stop_) stop_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 2; ++i)
    ::sigaction(kSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 2; ++i)
    ::sigaction(kSignals[i], &previous[i], nullptr);
  notifier_.reset();
  for (int& fd : wakeUp) {
    ::close(fd);
    fd = -1;
  }
}

int StopSignals::Received() const {
  return received;
}

}  // namespace vyk::cli

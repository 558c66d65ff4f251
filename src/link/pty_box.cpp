#include "link/pty_box.h"

#if defined(__unix__)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace vyk {

namespace {

using Nanos = int64_t;
constexpr Nanos kNever = std::numeric_limits<Nanos>::max();

Nanos Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<Nanos>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

Nanos FromMs(double ms) {
  return ms > 0 ? std::llround(ms * 1e6) : 0;
}

[[noreturn]] void Fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

void SetFlags(int fd, bool nonBlocking) {
  if (fcntl(fd, F_SETFD, FD_CLOEXEC) < 0) Fail("fcntl");
  if (nonBlocking && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) < 0) Fail("fcntl");
}

// A byte and the moment it arrives (at the Box, or at the client).
struct Timed {
  Nanos at;
  uint8_t byte;
};

// Wake-ups a fraction of a millisecond apart need less than the default 50 us of slack.
class FineTimers {
 public:
#if defined(__linux__)
  FineTimers() : old_(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0)) {
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  }
  ~FineTimers() {
    if (old_ > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(old_), 0, 0, 0);
  }

 private:
  int old_;
#endif
};

// The stop pipe of the runner that holds SIGINT and SIGTERM.
std::atomic<int> gSignalStopFd{-1};
struct sigaction gOldInt {};
struct sigaction gOldTerm {};

extern "C" void OnStopSignal(int) {
  int saved = errno;
  int fd = gSignalStopFd.load();
  if (fd >= 0) {
    char c = 1;
    ssize_t written = write(fd, &c, 1);
    (void)written;
  }
  errno = saved;
}

}  // namespace

PtyBox::PtyBox(SimBoxConfig config) : box_(std::move(config)) {
  box_.clockMs = [] { return static_cast<double>(Now()) / 1e6; };
  try {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) Fail("posix_openpt");
    SetFlags(master_, true);
    if (grantpt(master_) < 0) Fail("grantpt");
    if (unlockpt(master_) < 0) Fail("unlockpt");
#if defined(__linux__)
    char name[256];
    if (ptsname_r(master_, name, sizeof name) != 0) Fail("ptsname");
    devicePath_ = name;
#else
    const char* name = ptsname(master_);
    if (name == nullptr) Fail("ptsname");
    devicePath_ = name;
#endif
    slave_ = open(devicePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) Fail(devicePath_.c_str());
    SetFlags(slave_, false);
    // Raw, so the line discipline neither echoes what the Box sends nor edits what the
    // client sends; clients that set their own modes replace this.
    termios mode{};
    if (tcgetattr(slave_, &mode) < 0) Fail("tcgetattr");
    cfmakeraw(&mode);
    if (tcsetattr(slave_, TCSANOW, &mode) < 0) Fail("tcsetattr");
    if (pipe(stopPipe_) < 0) Fail("pipe");
    SetFlags(stopPipe_[0], true);
    SetFlags(stopPipe_[1], true);
  } catch (...) {
    CloseTerminal();
    for (int& fd : stopPipe_)
      if (fd >= 0) close(fd);
    throw;
  }
}

PtyBox::~PtyBox() {
  if (holdsSignals_) {
    sigaction(SIGINT, &gOldInt, nullptr);
    sigaction(SIGTERM, &gOldTerm, nullptr);
    gSignalStopFd.store(-1);
  }
  CloseTerminal();
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

void PtyBox::CloseTerminal() noexcept {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

void PtyBox::Stop() noexcept {
  char c = 1;
  ssize_t written = write(stopPipe_[1], &c, 1);  // a full pipe already holds a stop
  (void)written;
}

void PtyBox::StopOnSignals() {
  if (holdsSignals_) return;
  int expected = -1;
  if (!gSignalStopFd.compare_exchange_strong(expected, stopPipe_[1]))
    throw std::logic_error("another simulated Box already stops on signals");
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &gOldInt);
  sigaction(SIGTERM, &action, &gOldTerm);
  holdsSignals_ = true;
}

PtyBoxEnd PtyBox::Serve() {
  if (master_ < 0) return PtyBoxEnd::LineClosed;
  [[maybe_unused]] FineTimers fineTimers;
  const Nanos byteTime = FromMs(box_.ByteTimeMs());
  std::deque<Timed> toBox;     // read from the client, still on the line
  std::deque<Timed> toClient;  // sent by the Box, delivered at `at`
  Nanos lastArrival = 0;       // when the last byte from the client reaches the Box
  Nanos lineFree = 0;          // when the Box's side of the line is free
  uint8_t buffer[256];

  for (;;) {
    const Nanos now = Now();

    // The Box takes the bytes that have arrived, in order, and schedules its answers from
    // their ideal times, so a late wake-up never shifts what follows.
    while (!toBox.empty() && toBox.front().at <= now) {
      const Timed in = toBox.front();
      toBox.pop_front();
      const auto answer = box_.Receive(in.byte);
      if (box_.LineClosed()) {
        // A hang-up discards whatever the client has not read yet, as a pulled cable would.
        CloseTerminal();
        return PtyBoxEnd::LineClosed;
      }
      Nanos ready = in.at;
      for (const SimOutput& out : answer) {
        ready += FromMs(out.delayMs);
        lineFree = std::max(ready, lineFree) + byteTime;
        toClient.push_back({lineFree, out.byte});
      }
    }

    // Everything due goes to the client in one write.
    size_t due = 0;
    while (due < toClient.size() && due < sizeof buffer && toClient[due].at <= now) {
      buffer[due] = toClient[due].byte;
      ++due;
    }
    bool blocked = false;
    if (due > 0) {
      const ssize_t n = write(master_, buffer, due);
      if (n < 0 && errno != EAGAIN && errno != EINTR) Fail("write to the pseudo-terminal");
      if (n > 0) toClient.erase(toClient.begin(), toClient.begin() + n);
      blocked = n < static_cast<ssize_t>(due);
    }

    Nanos next = toBox.empty() ? kNever : toBox.front().at;
    if (!blocked && !toClient.empty()) next = std::min(next, toClient.front().at);
    timespec timeout{};
    timespec* timeoutPtr = nullptr;
    if (next != kNever) {
      const Nanos wait = std::max<Nanos>(0, next - Now());
      timeout.tv_sec = static_cast<time_t>(wait / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(wait % 1'000'000'000);
      timeoutPtr = &timeout;
    }
    pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                     {stopPipe_[0], POLLIN, 0}};
    if (ppoll(fds, 2, timeoutPtr, nullptr) < 0) {
      if (errno == EINTR) continue;
      Fail("ppoll");
    }
    if (fds[1].revents & POLLIN) {
      while (read(stopPipe_[0], buffer, sizeof buffer) > 0) {
      }
      return PtyBoxEnd::Stopped;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n < 0 && errno != EAGAIN && errno != EINTR) Fail("read from the pseudo-terminal");
      const Nanos readAt = Now();
      for (ssize_t i = 0; i < n; ++i) {
        lastArrival = std::max(readAt, lastArrival) + byteTime;
        toBox.push_back({lastArrival, buffer[i]});
      }
    } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
      // Cannot happen while the slave is held open; never spin on it if it does.
      errno = EIO;
      Fail("pseudo-terminal hung up");
    }
  }
}

}  // namespace vyk

#endif

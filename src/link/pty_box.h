#pragma once
// Serves a simulated Box on a pseudo-terminal, so a program that opens the terminal's device
// path talks to it as to a Box on a serial line. Timing at a baud rate B > 0, with
// T = 10000 / B ms a byte:
// - a byte the client sends arrives T after the runner reads it, and not before the byte
//   sent ahead of it has arrived plus T (the line carries one byte at a time);
// - the Box works through its answer to a byte as soon as that byte arrives: each byte it
//   sends is ready its delayMs after the one before it was ready (the first, after the
//   arrival), whatever the line is doing, as a UART with a queue in front of it would;
// - each byte starts on the line when it is ready and the line is free, and reaches the
//   client T later. A lone echo so arrives 2T after its byte was sent.
// This is the timing of the in-process simulator port as well.
// At baud 0 the Box answers at once, after its own delays only.
#if defined(__unix__)

#include <string>

#include "link/sim_box.h"

namespace vyk {

enum class PtyBoxEnd {
  Stopped,     // Stop() was called (or a stop signal arrived)
  LineClosed,  // the line-closing fault fired: the terminal is gone
};

class PtyBox {
 public:
  // Opens the pseudo-terminal; throws std::system_error when it cannot.
  explicit PtyBox(SimBoxConfig config = {});
  ~PtyBox();
  PtyBox(const PtyBox&) = delete;
  PtyBox& operator=(const PtyBox&) = delete;

  // The device path a client opens, such as /dev/pts/7.
  const std::string& DevicePath() const { return devicePath_; }

  // Serves clients one after another until Stop() or the line-closing fault; run it on one
  // thread at a time. Throws std::system_error on a failure of the terminal itself.
  PtyBoxEnd Serve();

  // Makes Serve() return soon; a Stop() before Serve() makes it return at once. Safe from
  // any thread and from a signal handler.
  void Stop() noexcept;

  // Until this runner is destroyed, SIGINT and SIGTERM call Stop() on it. Only one runner
  // in the process can hold the signals.
  void StopOnSignals();

  // The Box being served. Not to be touched from another thread while Serve() runs.
  SimBox& Box() { return box_; }
  const SimBox& Box() const { return box_; }

 private:
  void CloseTerminal() noexcept;

  SimBox box_;
  std::string devicePath_;
  int master_ = -1;
  int slave_ = -1;  // held open so that a client closing does not hang up the line
  int stopPipe_[2] = {-1, -1};
  bool holdsSignals_ = false;
};

}  // namespace vyk

#endif

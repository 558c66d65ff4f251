#pragma once
// The serial conversation with the Box: received bytes gathered in a ring, and the few
// primitives every Box operation is built from (write a byte and wait for its echo, collect a
// reply up to a terminator, send a whole command line).
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "link/port.h"
#include "model/app_state.h"

namespace vyk {

inline constexpr double kReplyTimeoutMs = 1000;

class BoxLink {
 public:
  BoxLink(Port& port, Pump& pump, AppState& state);

  // Opens the port and wakes the Box (two CRs, nothing awaited). Throws PortError.
  void Open(const std::string& portName);
  // Lets the Box's answers to the wake-up arrive, so that the next operation's flush takes
  // them: events are processed until both prompts are in, for `ms` at most.
  void Settle(double ms = 150);
  bool IsOpen() const { return port_.IsOpen(); }
  const std::string& PortName() const { return portName_; }

  // Drops every unread byte, then purges the port's output and input.
  void FlushRx();
  // A received byte goes into the ring (and to the terminal's echo). A byte arriving while 198
  // are unread is dropped, so the unread ones are never lost.
  void StoreRxByte(uint8_t byte);
  bool ReadRxByte(uint8_t& byte);
  int Unread() const;

  void WriteRaw(uint8_t byte);
  // Milliseconds on the pump's clock.
  double NowMs() const { return pump_.NowMs(); }
  // Lets waiting window events run once.
  void PumpEvents() { pump_.ProcessPending(); }
  // Writes the byte and takes any one byte that arrives within 1000 ms as its echo.
  bool SendEchoed(uint8_t byte);
  // Collects bytes into ReplyText until `terminator` arrives, within 1000 ms of the start.
  bool WaitForChar(uint8_t terminator);
  // Sends the text and CR against the echoes, then waits for `terminator` (0: no reply is
  // awaited). False on a missing reply or a standing abort request.
  bool SendCommand(const std::string& text, uint8_t terminator);
  const std::string& ReplyText() const { return reply_; }
  // The last SendCommand failed because its reply did not come (not because of an abort the
  // user asked for).
  bool ReplyMissing() const { return replyMissing_; }
  // The user asked to stop (Abort, or closing the window) before the last SendCommand ended,
  // whether or not its reply came.
  bool Aborted() const { return aborted_; }

  // The line was lost during this run; waits end at once until the next Open.
  bool LineLost() const { return !lostReason_.empty(); }
  // Opens the lost line again by its device name (an adapter plugged back in comes back under
  // it) and lets the Box's wake-up answers arrive. Throws PortError.
  void Reopen() {
    Open(portName_);
    Settle();
  }
  const std::string& LostReason() const { return lostReason_; }

  // Closes the port: from then on writes go nowhere and nothing arrives.
  void Close() { port_.Close(); }

  // An exchange is running: a second operation must not start inside its waits. The flag is
  // the state's, so the project operations see it too.
  bool Busy() const { return state_.exchangeRunning; }
  void SetBusy(bool busy) { state_.exchangeRunning = busy; }

  std::function<void(uint8_t)> terminalEcho;         // every received byte
  std::function<void(const std::string&)> onStatus;  // the status label's caption
  std::function<void()> onLineLost;                  // after the state notes the loss

 private:
  void StartTimeout();
  void StopTimeout();
  int PromptsUnread() const;
  bool TimedOut() const;

  Port& port_;
  Pump& pump_;
  AppState& state_;
  std::string portName_;
  // Slots 1..200 as the Box firmware's ring is described; slot 0 unused, 200 never written,
  // so at most 198 bytes are unread.
  std::array<uint8_t, 201> ring_{};
  int writeIndex_ = 1;
  int readIndex_ = 1;
  bool timedOut_ = false;
  std::string reply_;
  bool replyMissing_ = false;
  bool aborted_ = false;
  std::string lostReason_;
};

}  // namespace vyk

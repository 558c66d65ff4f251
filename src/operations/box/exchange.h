#pragma once
// The steps the Box operations share: one exchange at a time, the reports of what failed, the
// reading of an "M" answer and the "C" commands of one byte.
#include <optional>
#include <string>

#include "link/box_link.h"
#include "operations/box/box_operations.h"
#include "operations/project/session.h"
#include "operations/project/window_look.h"

namespace vyk {

// Refuses a second operation while one waits for the Box, and marks the exchange running:
// while it runs the window takes only Abort, Help and Exit (LookOf), and the project
// operations refuse. The look is applied at both ends, as an exchange need not end with a
// refresh (the terminal's button).
class Exchange {
 public:
  Exchange(Session& s, BoxLink& link) : s_(s), link_(link) {
    if (link.Busy()) {
      s.dialogs.Error(kBusyMessage);
      return;
    }
    link.SetBusy(true);
    if (link.LineLost()) {
      // A new connection: whatever the lost Box held is not this one's.
      s.state.boxPartial = false;
      try {
        link.Reopen();
      } catch (const PortError& e) {
        link.SetBusy(false);
        s.state.boxMessage = e.what();
        s.dialogs.Error(e.what());
        return;
      }
    }
    owner_ = true;
    s.view.ApplyLook(LookOf(s.state));
  }
  ~Exchange() {
    if (!owner_) return;
    link_.SetBusy(false);
    s_.view.ApplyLook(LookOf(s_.state));
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;
  bool Started() const { return owner_; }

 private:
  Session& s_;
  BoxLink& link_;
  bool owner_ = false;
};

extern const std::string kNotFound;

// A failure message; when the line itself is gone, saying so is what helps the user. Not
// `shown`, it waits in boxMessage for the one box that also says what the Box was left with.
void Report(Session& s, BoxLink& link, const std::string& text, bool shown = true);
// An exchange failed: a missing reply or a fault in it is the Box's and is reported; one the
// user ended (Abort, or closing the window) ends quietly, whatever the Box answered.
void TransferFailed(Session& s, BoxLink& link, const std::string& text, bool shown = true);

// A byte as the "C" commands write it: two upper-case digits.
std::string Hex2(int value);

// The reading of an "M" answer, or nothing for a short answer or a field that is not four
// hexadecimal digits.
std::optional<MonitorReading> ReadingOf(const std::string& r);

// A read answer whose two characters before the "+" are hexadecimal digits; any other was
// garbled on the line and tells nothing of the byte.
bool Readable(const std::string& reply);
// The byte a readable answer gives: its two characters before the "+".
uint8_t ByteOf(const std::string& reply);
// A "C" command, awaiting its "+"; false when the Box did not acknowledge (reported) or the
// user aborted.
bool SendByteCommand(Session& s, BoxLink& link, const std::string& command, bool shown);
// Asks the Box for the byte at `a`, and once more when the answer is garbled. False when the
// Box did not acknowledge (reported) or the user aborted; `reply` is the last answer,
// `readable` whether it was.
bool ReadByte(Session& s, BoxLink& link, int a, std::string& reply, bool& readable,
              bool shown = true);

}  // namespace vyk

#pragma once
// The live view: readings of the Box one after another, as fast as the line allows, with the
// pots the user turns meanwhile written into the Box between two of them.
#include <functional>
#include <optional>

#include "link/box_link.h"
#include "operations/box/box_operations.h"
#include "operations/project/session.h"

namespace vyk {

struct LiveReading {
  double ms = 0;  // when it arrived, on the link's clock
  MonitorReading reading;
};

// Seconds from the first reading it was given: the time a log, a print-out or a strip chart
// shows.
class LiveClock {
 public:
  double SecondsOf(const LiveReading& live) {
    if (!startMs_) startMs_ = live.ms;
    return (live.ms - *startMs_) / 1000;
  }
  void Reset() { startMs_.reset(); }

 private:
  std::optional<double> startMs_;
};

struct LiveStatus {
  long readings = 0;
  long failed = 0;       // readings missing or garbled, each skipped
  double perSecond = 0;  // over the last two seconds
};

struct LiveHandlers {
  // Each reading, once the labels and the adjusted curve show it.
  std::function<void(const LiveReading&)> reading;
  // After every reading and every failed one.
  std::function<void(const LiveStatus&)> status;
};

enum class LiveEnd {
  Stopped,  // StopLive
  Aborted,  // Abort or closing the window
  Failed,   // the Box did not answer, three readings in a row failed, the line was lost, or a
            // pot was not written: said in an error box
};

// Runs the live view until it ends; the window stays usable meanwhile (every wait processes
// events). After the first prompt each "M" follows the prompt that ended the answer before
// it; a missing or garbled answer is counted and skipped, the prompt found again, and the
// third in a row ends the view with its message. The end is said once, in the status bar or
// an error box, and the window refreshed.
LiveEnd RunLive(Session& s, BoxLink& link, const LiveHandlers& handlers = {});

// Asks a running live view to end after the exchange in progress.
inline void StopLive(AppState& st) {
  if (st.liveRunning) st.liveStopRequest = true;
}

// "Live: 18.1 readings/s, 2 failed" for the status bar.
std::string LiveStatusText(const LiveStatus& status);

}  // namespace vyk

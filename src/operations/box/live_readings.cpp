#include "operations/box/live_readings.h"

#include <deque>
#include <optional>

#include "model/text/number.h"
#include "operations/box/exchange.h"
#include "operations/project/main_controls.h"

namespace vyk {

namespace {

constexpr int kFailuresInARow = 3;
constexpr double kRateWindowMs = 2000;

// The readings per second over the last two seconds.
class Rate {
 public:
  double Add(double ms) {
    times_.push_back(ms);
    while (times_.front() < ms - kRateWindowMs)
      times_.pop_front();
    const double span = times_.back() - times_.front();
    return span > 0 ? (static_cast<double>(times_.size()) - 1) * 1000 / span : 0;
  }

 private:
  std::deque<double> times_;
};

// Marks the live view running for as long as it lives: the main button aborts it, the pot
// arrows stay on, the rest of the window waits.
class LiveMark {
 public:
  explicit LiveMark(Session& s) : s_(s) {
    AppState& st = s.state;
    st.liveRunning = true;
    st.liveStopRequest = false;
    st.livePotWrites.clear();
    st.abortRequest = false;
    st.buttonMode = ButtonMode::Abort;
    s.view.ApplyLook(LookOf(st));
  }
  ~LiveMark() {
    AppState& st = s_.state;
    st.liveRunning = st.liveStopRequest = false;
    st.livePotWrites.clear();
  }
  LiveMark(const LiveMark&) = delete;
  LiveMark& operator=(const LiveMark&) = delete;

 private:
  Session& s_;
};

// Writes pot k's byte of the image into the Box and reads it back. The message of what went
// wrong, or nothing.
std::optional<std::string> WritePot(Session& s, BoxLink& link, int k) {
  const int address = kFirstPotByte + k - 1;
  const int value = s.state.image.Byte(address);
  if (!SendByteCommand(s, link, "C" + Hex2(address) + Hex2(value), false))
    return s.state.boxMessage;
  link.WaitForChar('>');
  if (s.state.abortRequest) return std::string();
  std::string reply;
  bool readable = false;
  if (!ReadByte(s, link, address, reply, readable, false)) return s.state.boxMessage;
  if (!readable || ByteOf(reply) != value) {
    Report(s, link, "Verify error: " + Hex2(value) + " " + reply, false);
    return s.state.boxMessage;
  }
  return std::nullopt;
}

}  // namespace

std::string LiveStatusText(const LiveStatus& status) {
  return "Live: " + FormatFixed(status.perSecond, 0, 1) + " readings/s, " +
         std::to_string(status.failed) + " failed";
}

LiveEnd RunLive(Session& s, BoxLink& link, const LiveHandlers& handlers) {
  AppState& st = s.state;
  LiveEnd end = LiveEnd::Stopped;
  LiveStatus status;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return LiveEnd::Failed;
    LiveMark mark(s);
    st.boxMessage.clear();
    Rate rate;
    bool prompted = false;
    int inARow = 0;
    // A failed reading: counted, and the third in a row ends the view. False then.
    auto failed = [&](const std::string& message) {
      ++status.failed;
      if (handlers.status) handlers.status(status);
      if (link.LineLost() || ++inARow == kFailuresInARow) {
        Report(s, link, message, false);
        end = LiveEnd::Failed;
        return false;
      }
      // The missing answer asked for an abort; only the user's stands.
      st.abortRequest = false;
      prompted = false;
      return true;
    };
    for (;;) {
      if (st.abortRequest || link.Aborted()) {
        end = LiveEnd::Aborted;
        break;
      }
      if (st.liveStopRequest) break;
      if (!prompted) {
        link.FlushRx();
        if (!link.SendCommand("", '>')) {
          if (link.Aborted()) continue;
          // No Box at the start is no reading to skip.
          if (status.readings == 0 && status.failed == 0 && !link.LineLost()) {
            Report(s, link, kNotFound, false);
            end = LiveEnd::Failed;
            break;
          }
          if (!failed(kNotFound)) break;
          continue;
        }
        prompted = true;
      }
      if (!st.livePotWrites.empty()) {
        const int k = st.livePotWrites.front();
        st.livePotWrites.erase(st.livePotWrites.begin());
        if (const std::optional<std::string> fault = WritePot(s, link, k)) {
          if (fault->empty() || link.Aborted()) {
            end = LiveEnd::Aborted;
          } else {
            st.boxMessage = "Pot " + std::to_string(k) + " was not written into the Box: " + *fault;
            end = LiveEnd::Failed;
          }
          break;
        }
        continue;
      }
      if (!link.SendCommand("M", 10)) {
        if (link.Aborted()) continue;
        if (!failed("Invalid response from hardware (error 1)")) break;
        continue;
      }
      // The prompt that ends the answer is the one the next "M" follows.
      prompted = link.WaitForChar('>');
      const std::string r = link.ReplyText();
      const std::optional<MonitorReading> sample = ReadingOf(r);
      if (!sample) {
        if (!failed("Invalid response from hardware (error 2)")) break;
        continue;
      }
      inARow = 0;
      ++status.readings;
      const double now = link.NowMs();
      status.perSecond = rate.Add(now);
      const MonitorReading& m = *sample;
      const std::optional<BoxReading> before = st.controls.reading;
      st.controls.reading = BoxReading{m.input, m.offsets, m.output};
      try {
        ShowReading(s);
      } catch (const std::exception&) {
        // A reading the conversions refuse is skipped like a garbled one.
        st.controls.reading = before;
        if (!failed("Range check error")) break;
        continue;
      }
      if (handlers.reading) handlers.reading({now, m});
      if (handlers.status) handlers.status(status);
    }
    link.FlushRx();
  }
  RefreshWindow(s);
  const std::string counted =
      std::to_string(status.readings) + " readings, " + std::to_string(status.failed) + " failed";
  if (end == LiveEnd::Failed) {
    s.dialogs.Error(st.boxMessage);
  } else {
    s.view.StatusMessage((end == LiveEnd::Aborted ? "Live view aborted: " : "Live view stopped: ") +
                         counted);
  }
  return end;
}

}  // namespace vyk

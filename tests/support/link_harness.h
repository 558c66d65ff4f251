#pragma once
// A Box link on a virtual clock, talking to the simulated Box or to a scripted one.
#include <deque>
#include <string>

#include "link/box_link.h"
#include "link/sim_port.h"
#include "model/app_state.h"
#include "support/virtual_pump.h"

namespace vyk::test {

// Echoes every byte at once and answers each CR with the next scripted reply.
class ScriptedPort : public Port {
 public:
  explicit ScriptedPort(Pump& pump) : pump_(pump) {}
  void Open(const std::string&) override { open = true; }
  bool IsOpen() const override { return open; }
  void Close() override { open = false; }
  void PurgeOutput() override {}
  void PurgeInput() override {}
  bool SetDtr() override { return false; }
  void WriteByte(uint8_t byte) override {
    written += static_cast<char>(byte);
    if (silent) return;
    Send(std::string(1, static_cast<char>(byte)), 1);
    if (byte == 13 && !replies.empty()) {
      Send(replies.front(), 2);
      replies.pop_front();
    }
  }
  void Send(const std::string& text, double ms) {
    for (char c : text)
      pump_.Post(ms, [this, c] { onByte(static_cast<uint8_t>(c)); });
  }

  bool open = false;
  bool silent = false;
  std::string written;
  std::deque<std::string> replies;

 private:
  Pump& pump_;
};

struct LinkState {
  AppState state;
};

// `Base` provides the state the link reads (the abort request): a bare one, or a whole
// session's.
template <typename P, typename Base = LinkState>
struct LinkHarness : Base {
  VirtualPump pump;
  P port;
  BoxLink link{port, pump, this->state};
  std::vector<std::string> commands;  // every command line sent, as the status label shows it

  template <typename... Args>
  explicit LinkHarness(Args&&... args) : port(pump, std::forward<Args>(args)...) {
    link.onStatus = [this](const std::string& text) { commands.push_back(text); };
    link.Open("test");
    pump.RunFor(100);
    link.FlushRx();  // the Box's answers to the two wake-up CRs
    commands.clear();
  }
};

}  // namespace vyk::test

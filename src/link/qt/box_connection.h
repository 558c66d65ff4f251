#pragma once
// The one place a port name becomes a Box link: "Simulator" is the simulated Box, anything
// else a serial device. The program and the command line both build their link here.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "link/box_link.h"
#include "link/sim_box.h"

namespace vyk {

class BoxConnection {
 public:
  // Starts on an unopened simulated Box, so writes go nowhere until Open.
  BoxConnection(Pump& pump, AppState& state);
  ~BoxConnection();

  // Builds the port for `portName` and a new link on it, keeping the link's callbacks, opens
  // it and lets the Box's answers to the wake-up arrive. An opening error throws PortError;
  // the link then stays unopened and every exchange times out.
  void Open(const std::string& portName, const SimBoxConfig& simulator = {});

  BoxLink& Link() { return *link_; }
  // The simulated Box, when the port is "Simulator".
  SimBox* Simulator();
  // The simulated Box answers as hardware of the group, so every project finds its Box; a
  // real Box is what it is.
  void AnswerAsGroup(uint8_t group);

 private:
  Pump& pump_;
  AppState& state_;
  std::unique_ptr<Port> port_;
  std::unique_ptr<BoxLink> link_;
  // The simulated Box's EEPROM while another port is in use: like a real Box's, it keeps
  // what was written into it for as long as the program runs.
  std::array<uint8_t, 256> simEeprom_;
};

}  // namespace vyk

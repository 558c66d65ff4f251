#pragma once
// The simulated Box as a port of the program: the port named "Simulator".
#include <memory>

#include "link/port.h"
#include "link/sim_box.h"

namespace vyk {

inline const std::string kSimulatorPortName = "Simulator";
// The simulated Box on an engine: its input follows a drive (SimBoxConfig::drive).
inline const std::string kDrivingSimulatorPortName = "Simulator:drive";

// Whether a port name is the simulated Box's: every place that names the Box as simulated asks
// this, so the window, the records and the questions never disagree.
inline bool IsSimulatorPort(const std::string& port) {
  return port == kSimulatorPortName || port == kDrivingSimulatorPortName;
}

class SimPort : public Port {
 public:
  SimPort(Pump& pump, SimBoxConfig config = {});

  void Open(const std::string& name) override;
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  void PurgeOutput() override {}
  void PurgeInput() override {}
  bool SetDtr() override { return true; }
  void WriteByte(uint8_t byte) override;

  SimBox& Box() { return box_; }

 private:
  Pump& pump_;
  SimBox box_;
  bool open_ = false;
  double lineFreeMs_ = 0;  // when the Box's sending line is next free
  // Bytes still on their way when the port goes are dropped: the pump may outlive the port.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vyk

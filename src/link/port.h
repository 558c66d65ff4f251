#pragma once
// The serial line as the Box link sees it: a real port, a pseudo-terminal or the in-process
// simulated Box.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace vyk {

// A serial device the system lists. Texts as the system gives them (UTF-8).
struct SerialDevice {
  std::string name;          // its path: /dev/ttyUSB0, \\.\COM3
  std::string description;   // what its driver calls it; may be empty
  std::string manufacturer;  // may be empty
  bool usb = false;          // a USB adapter
};

// The port could not be opened, or was lost; the text says which device and why.
class PortError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Port {
 public:
  virtual ~Port() = default;
  // Opens the device with the fixed line settings (9600 baud, 8 data bits, no parity, one stop
  // bit, no flow control). Throws PortError.
  virtual void Open(const std::string& name) = 0;
  virtual bool IsOpen() const = 0;
  // Closes the device; closing a closed port does nothing.
  virtual void Close() = 0;
  virtual void PurgeOutput() = 0;
  virtual void PurgeInput() = 0;
  // Raises DTR; false when the device refuses (a pseudo-terminal does).
  virtual bool SetDtr() = 0;
  // Queues one byte; never waits for the line. A closed port sends nothing.
  virtual void WriteByte(uint8_t byte) = 0;

  // Set by the Box link: every received byte, in order, delivered while events are pumped.
  std::function<void(uint8_t)> onByte;
  // Set by the Box link: the line is gone (a USB adapter pulled, the far end closed).
  std::function<void(const std::string& reason)> onLost;
};

// Waiting without a busy loop: everything a wait needs arrives as an event.
class Pump {
 public:
  virtual ~Pump() = default;
  // Dispatches the events already waiting, without blocking.
  virtual void ProcessPending() = 0;
  // Blocks until at least one event (a received byte, a timer, a user event) arrives, and
  // dispatches it.
  virtual void WaitAndProcess() = 0;
  // Runs `fired` once, `ms` milliseconds from now, from within a later dispatch.
  virtual void StartTimer(double ms, std::function<void()> fired) = 0;
  virtual void StopTimer() = 0;
  // Runs `work` `ms` milliseconds from now (used by the simulated Box to send its bytes).
  virtual void Post(double ms, std::function<void()> work) = 0;
  // Milliseconds on the pump's clock.
  virtual double NowMs() const = 0;
};

}  // namespace vyk

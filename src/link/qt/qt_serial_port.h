#pragma once
// A real serial port (or a pseudo-terminal) through QSerialPort: 9600 baud, 8 data bits, no
// parity, one stop bit, no flow control.
#include <QSerialPort>
#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "link/port.h"

namespace vyk {

class QtSerialPort : public Port {
 public:
  QtSerialPort();
  ~QtSerialPort() override;
  void Open(const std::string& name) override;
  bool IsOpen() const override { return port_.isOpen(); }
  void Close() override;
  void PurgeOutput() override;
  void PurgeInput() override;
  bool SetDtr() override;
  void WriteByte(uint8_t byte) override;

 private:
  void WatchForHangUp();
  // The device is gone: the port closes and the link hears of it once.
  void Lose(const std::string& reason);

  QSerialPort port_;
  // QSerialPort keeps reading nothing from a device that hung up until a write fails; the
  // hang-up itself wakes this one.
  std::unique_ptr<QSocketNotifier> hangUp_;
  std::string name_;
};

// The serial devices present now, each once, in the system's order.
std::vector<SerialDevice> PresentSerialDevices();

}  // namespace vyk

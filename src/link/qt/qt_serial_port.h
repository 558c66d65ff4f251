#pragma once
// A real serial port (or a pseudo-terminal) through QSerialPort: 9600 baud, 8 data bits, no
// parity, one stop bit, no flow control.
#include <QSerialPort>

#include "link/port.h"

namespace vyk {

class QtSerialPort : public Port {
 public:
  QtSerialPort();
  void Open(const std::string& name) override;
  bool IsOpen() const override { return port_.isOpen(); }
  void Close() override { port_.close(); }
  void PurgeOutput() override;
  void PurgeInput() override;
  bool SetDtr() override;
  void WriteByte(uint8_t byte) override;

 private:
  QSerialPort port_;
  std::string name_;
};

// How to get access to a device the user may not open: the group that owns it.
std::string PermissionHint(const std::string& device);

}  // namespace vyk

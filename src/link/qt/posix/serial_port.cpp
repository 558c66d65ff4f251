#include "link/qt/serial_port.h"
#include "link/qt/qt_serial_port.h"

namespace vyk {

std::unique_ptr<Port> MakeSerialPort() {
  return std::make_unique<QtSerialPort>();
}

}  // namespace vyk

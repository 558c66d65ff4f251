#pragma once
// The serial port of this system: QSerialPort where it reads reliably, a port of our own on
// Windows (see windows/serial_port.cpp).
#include <memory>

#include "link/port.h"

namespace vyk {

std::unique_ptr<Port> MakeSerialPort();

}  // namespace vyk

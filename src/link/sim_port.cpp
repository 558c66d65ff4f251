#include "link/sim_port.h"

#include <algorithm>

namespace vyk {

SimPort::SimPort(Pump& pump, SimBoxConfig config) : pump_(pump), box_(std::move(config)) {
  box_.clockMs = [&pump] { return pump.NowMs(); };
}

void SimPort::Open(const std::string&) {
  open_ = true;
  lineFreeMs_ = pump_.NowMs();
}

void SimPort::WriteByte(uint8_t byte) {
  if (!open_) return;
  // The byte reaches the Box one byte time later; each answer byte is sent when it is ready
  // and the line is free, and arrives one byte time after that.
  const double byteTime = box_.ByteTimeMs();
  double ready = pump_.NowMs() + byteTime;
  for (const SimOutput& out : box_.Receive(byte)) {
    ready += out.delayMs;
    double arrives = std::max(ready, lineFreeMs_) + byteTime;
    lineFreeMs_ = arrives;
    uint8_t b = out.byte;
    pump_.Post(arrives - pump_.NowMs(), [this, b, alive = std::weak_ptr<char>(alive_)] {
      if (!alive.expired() && open_ && onByte) onByte(b);
    });
  }
  if (box_.LineClosed()) {
    open_ = false;
    pump_.Post(0, [this, alive = std::weak_ptr<char>(alive_)] {
      if (!alive.expired() && onLost) onLost("the simulated Box closed the line");
    });
  }
}

}  // namespace vyk

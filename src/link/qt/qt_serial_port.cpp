#include "link/qt/qt_serial_port.h"

#include <QSerialPortInfo>
#include <cerrno>

#include "link/device_access.h"

#if defined(__unix__)
#include <poll.h>
#endif

namespace vyk {

QtSerialPort::QtSerialPort() {
  QObject::connect(&port_, &QSerialPort::readyRead, [this] {
    // Mostly one byte a wake-up: read into the stack, not a new array each time.
    char bytes[256];
    qint64 got;
    while ((got = port_.read(bytes, sizeof bytes)) > 0) {
      for (qint64 i = 0; i < got; ++i) {
        if (onByte) onByte(static_cast<uint8_t>(bytes[i]));
      }
    }
  });
  QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
    // Only a vanished device ends the line; a refused DTR or a purge error does not.
    if (e != QSerialPort::ResourceError || !port_.isOpen()) return;
    Lose(port_.errorString().toStdString());
  });
}

QtSerialPort::~QtSerialPort() {
  hangUp_.reset();  // before the port closes the descriptor it watches
}

void QtSerialPort::Open(const std::string& name) {
  name_ = name;
  Close();
  port_.setPortName(QString::fromStdString(name));
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (port_.open(QIODevice::ReadWrite)) {
#if defined(__unix__)
    AskLowLatency(static_cast<int>(port_.handle()));
#endif
    WatchForHangUp();
    return;
  }
  const auto error = port_.error();
  port_.clearError();
  if (std::string notADevice = NotADeviceText(name); !notADevice.empty())
    throw PortError(notADevice);
  // QSerialPort tells its own error kinds, not the system's; opening the device ourselves
  // does. When that works, what stopped QSerialPort is its lock: another program has it.
  int code = error == QSerialPort::DeviceNotFoundError ? ENOENT : TerminalOpenError(name);
  if (code == ENOENT) throw PortError("Specified device not found (" + name + ").");
  if (code == 0) code = error == QSerialPort::PermissionError ? EBUSY : EIO;
  throw PortError(OpenFailureText(name, code));
}

void QtSerialPort::WatchForHangUp() {
#if defined(__unix__)
  const auto fd = static_cast<int>(port_.handle());
  hangUp_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Exception);
  QObject::connect(hangUp_.get(), &QSocketNotifier::activated, [this, fd] {
    pollfd p{fd, 0, 0};
    if (::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
      Lose("the device hung up");
  });
#endif
}

void QtSerialPort::Close() {
  hangUp_.reset();
  if (port_.isOpen()) port_.close();
}

void QtSerialPort::Lose(const std::string& reason) {
  // Maybe called from the notifier's own signal: it is only silenced here, and goes with
  // the next Open or the port.
  if (hangUp_) hangUp_->setEnabled(false);
  if (port_.isOpen()) port_.close();
  if (onLost) onLost(reason);
}

void QtSerialPort::PurgeOutput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Output);
}

void QtSerialPort::PurgeInput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

bool QtSerialPort::SetDtr() {
  if (!port_.isOpen()) return false;
  bool ok = port_.setDataTerminalReady(true);
  if (!ok) port_.clearError();  // pseudo-terminals have no DTR line
  return ok;
}

void QtSerialPort::WriteByte(uint8_t byte) {
  if (!port_.isOpen()) return;
  const char c = static_cast<char>(byte);
  port_.write(&c, 1);
  port_.flush();  // out now, not at the next turn of the event loop
}

std::vector<SerialDevice> PresentSerialDevices() {
  std::vector<SerialDevice> devices;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    SerialDevice device{port.systemLocation().toStdString(), port.description().toStdString(),
                        port.manufacturer().toStdString(), port.hasVendorIdentifier()};
    bool listed = false;
    for (const SerialDevice& other : devices)
      listed = listed || other.name == device.name;
    if (!listed) devices.push_back(std::move(device));
  }
  return devices;
}

}  // namespace vyk

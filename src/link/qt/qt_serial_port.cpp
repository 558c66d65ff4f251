#include "link/qt/qt_serial_port.h"

#include <cerrno>
#include <cstring>

#if defined(__unix__)
#include <grp.h>
#include <sys/stat.h>
#endif

namespace vyk {

QtSerialPort::QtSerialPort() {
  QObject::connect(&port_, &QSerialPort::readyRead, [this] {
    const QByteArray bytes = port_.readAll();
    for (char c : bytes) {
      if (onByte) onByte(static_cast<uint8_t>(c));
    }
  });
  QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
    // Only a vanished device ends the line; a refused DTR or a purge error does not.
    if (e != QSerialPort::ResourceError || !port_.isOpen()) return;
    std::string reason = port_.errorString().toStdString();
    port_.close();
    if (onLost) onLost(reason);
  });
}

void QtSerialPort::Open(const std::string& name) {
  name_ = name;
  if (port_.isOpen()) port_.close();
  port_.setPortName(QString::fromStdString(name));
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (port_.open(QIODevice::ReadWrite)) return;
  const auto error = port_.error();
  const std::string reason = port_.errorString().toStdString();
  port_.clearError();
  if (error == QSerialPort::DeviceNotFoundError)
    throw PortError("Specified device not found (" + name + ").");
  int code = error == QSerialPort::PermissionError ? EACCES : static_cast<int>(error);
  std::string text = "Can't open specified device " + name + " (Error " + std::to_string(code) +
                     ", " + reason + ")";
  if (error == QSerialPort::PermissionError) text += PermissionHint(name);
  throw PortError(text);
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

std::string PermissionHint(const std::string& device) {
#if defined(__unix__)
  struct stat info {};
  if (::stat(device.c_str(), &info) == 0) {
    if (const group* g = ::getgrgid(info.st_gid)) {
      const std::string name = g->gr_name;
      return ". Your user must belong to the group \"" + name + "\" that owns " + device +
             ": run \"sudo usermod -aG " + name + " $USER\", then log out and in again.";
    }
  }
#endif
  (void)device;
  return "";
}

}  // namespace vyk

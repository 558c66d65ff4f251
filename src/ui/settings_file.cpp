#include "ui/settings_file.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vyk::ui {

namespace {

const QString kComPort = QStringLiteral("System/ComPort");
const QString kBaudRate = QStringLiteral("System/BaudRate");
const QString kPortName = QStringLiteral("System/PortName");
// Start, stop and resume addresses the Box maker's firmware tools read; always "0000" here.
const QString kFirmwareKeys[] = {QStringLiteral("User/EEResume"), QStringLiteral("User/EEStart"),
                                 QStringLiteral("User/EEStop")};

}  // namespace

SettingsFile::SettingsFile(const std::string& configDir) {
  QString folder = configDir.empty()
                       ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                       : QString::fromStdString(configDir);
  path_ = QDir(folder).filePath(QStringLiteral("vyk.ini"));
}

StoredSettings SettingsFile::Load() const {
  QSettings file(path_, QSettings::IniFormat);
  StoredSettings defaults;
  StoredSettings s;
  s.comPort = file.value(kComPort, defaults.comPort).toInt();
  s.baudRate = file.value(kBaudRate, defaults.baudRate).toInt();
  s.portName = file.value(kPortName, QString()).toString().toStdString();
  return s;
}

void SettingsFile::Save(const StoredSettings& s) const {
  QSettings file(path_, QSettings::IniFormat);
  file.setValue(kComPort, s.comPort);
  file.setValue(kBaudRate, s.baudRate);
  if (!s.portName.empty()) {
    file.setValue(kPortName, QString::fromStdString(s.portName));
  } else {
    file.remove(kPortName);
  }
  for (const QString& key : kFirmwareKeys)
    file.setValue(key, QStringLiteral("0000"));
  file.sync();
}

}  // namespace vyk::ui

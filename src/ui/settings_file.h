#pragma once
// vyk.ini: the port the program talks to, read at the first activation and written back when
// the main window closes. Every key of the file is named here and nowhere else.
#include <QString>
#include <string>

namespace vyk::ui {

struct StoredSettings {
  int comPort = 2;  // COM 1..4, used when no port name is stored
  int baudRate = 9600;
  std::string portName;  // a device or "Simulator"; empty: the COM port
};

class SettingsFile {
 public:
  // `configDir` empty: the platform's configuration folder for the program.
  explicit SettingsFile(const std::string& configDir);

  const QString& Path() const { return path_; }
  StoredSettings Load() const;
  // Writes the values over the file's; keys the program does not know are kept.
  void Save(const StoredSettings& settings) const;

 private:
  QString path_;
};

}  // namespace vyk::ui

#pragma once
// vyk.ini: the port the program talks to, shared by the window (read at its first activation,
// written back when it closes) and the command line (read only). Every key of the file is
// named here and nowhere else.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

inline constexpr size_t kRecentProjects = 8;

struct StoredSettings {
  int comPort = 2;  // COM 1..4, used when no port name is stored
  int baudRate = 9600;
  std::string portName;  // a device or "Simulator"; empty: the COM port
  // The file itself names the port ("PortName" or "ComPort"); false when only the defaults
  // stand in for it. Saving settings that name no port leaves the file's port keys alone.
  bool namesPort = false;
  // Section "Box": an Update backs the Box up first, and shows what it will change.
  bool backupBeforeUpdate = true;
  bool previewBeforeUpdate = true;
  // Section "Window": the main window's place and size as the window layer encodes them, and
  // the projects last opened or saved, the latest first.
  std::string windowGeometry{};
  std::vector<std::string> recentProjects{};
};

// An INI file kept as its lines, so that a save changes only the values it sets and every
// other section, key, comment and blank line stays as it was. Values are read and written as
// QSettings writes them (older versions of the program used it): backslash escapes, and
// double quotes around a value with blanks at either end or one of ",;=".
class IniText {
 public:
  explicit IniText(std::string_view text = {});

  // Sections and keys match whatever their letter case, as in the Windows profile files.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  void Remove(std::string_view section, std::string_view key);
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
  bool crlf_ = false;
  bool byteOrderMark_ = false;  // written back, so the file's lines stay the lines it had
};

class SettingsFile {
 public:
  // The file "vyk.ini" in `folder`.
  explicit SettingsFile(const std::string& folder);

  const std::string& Path() const { return path_; }
  // A missing or unreadable file gives the defaults.
  StoredSettings Load() const;
  // Writes the values over the file's, making its folder when missing. Throws InOutError.
  void Save(const StoredSettings& settings) const;

  // Section "LogColumns": the columns the user chose for logs of one header row, under the
  // header's key; each is written at once, since a later log of that layout wants it.
  std::optional<std::string> LogColumns(const std::string& headerKey) const;
  void SaveLogColumns(const std::string& headerKey, const std::string& value) const;

 private:
  void Write(const IniText& ini) const;

  std::string path_;
};

}  // namespace vyk

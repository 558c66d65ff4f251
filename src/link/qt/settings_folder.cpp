#include "link/qt/settings_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace vyk {

std::string SettingsFolder(const std::string& chosen) {
  if (!chosen.empty()) return chosen;
  // The application location is the generic one with the two names below it; built here so
  // that a program which has not set its names (the command line) finds the same folder.
  const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return QDir(generic)
      .filePath(QStringLiteral("%1/%2").arg(kOrganizationName, kApplicationName))
      .toStdString();
}

}  // namespace vyk

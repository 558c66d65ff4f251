#include "storage/data_folder.h"

#include <cstdlib>
#include <filesystem>

namespace vyk {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string DataFolder(const std::string& chosen) {
  namespace fs = std::filesystem;
  // In full: the backups' paths are written into the history and the index.
  if (!chosen.empty()) {
    std::error_code ec;
    const fs::path full = fs::absolute(chosen, ec);
    return ec ? chosen : full.string();
  }
#if defined(_WIN32)
  // The user's own application data, which follows them from machine to machine.
  for (const char* name : {"APPDATA", "LOCALAPPDATA"}) {
    const std::string folder = Environment(name);
    if (!folder.empty()) return (fs::path(folder) / "vyk-edit").string();
  }
#endif
  // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules ask.
  const std::string xdg = Environment("XDG_DATA_HOME");
  if (!xdg.empty() && fs::path(xdg).is_absolute()) return (fs::path(xdg) / "vyk-edit").string();
  const std::string home = Environment("HOME");
  if (home.empty()) return "";
  return (fs::path(home) / ".local" / "share" / "vyk-edit").string();
}

}  // namespace vyk

#include "storage/data_folder.h"
#include "storage/path_text.h"

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
    const fs::path full = fs::absolute(PathOf(chosen), ec);
    return ec ? chosen : PathText(full);
  }
#if defined(_WIN32)
  // The user's own application data, which follows them from machine to machine.
  for (const char* name : {"APPDATA", "LOCALAPPDATA"}) {
    const std::string folder = Environment(name);
    if (!folder.empty()) return PathText(PathOf(folder) / "vyk-edit");
  }
#endif
  // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules ask.
  const std::string xdg = Environment("XDG_DATA_HOME");
  if (!xdg.empty() && PathOf(xdg).is_absolute()) return PathText(PathOf(xdg) / "vyk-edit");
  const std::string home = Environment("HOME");
  if (home.empty()) return "";
  return PathText(PathOf(home) / ".local" / "share" / "vyk-edit");
}

}  // namespace vyk

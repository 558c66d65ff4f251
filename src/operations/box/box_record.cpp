#include "operations/box/box_record.h"

#include <algorithm>
#include <utility>

#include "operations/box/box_operations.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"

namespace vyk {

std::vector<BackupInfo> BoxBackups(const Session& s) {
  if (s.dataFolder.empty()) return {};
  return ListBackups(s.dataFolder);
}

std::vector<HistoryEntry> BoxHistory(const Session& s) {
  if (s.dataFolder.empty()) return {};
  std::vector<HistoryEntry> entries;
  ReadHistoryNewestFirst(s.dataFolder, kHistoryWindowEntries,
                         [&](const HistoryEntry& e) { entries.push_back(e); });
  return entries;
}

bool RestoreBackup(Session& s, const std::string& path) {
  if (RefusedDuringExchange(s)) return false;
  if (!QuerySaveChanges(s)) return false;
  AppState& st = s.state;
  OpenProjectFile(s, path);
  if (st.projectFileName != path || st.projectState != ProjectState::StoredProject) return false;
  // A new project: Save asks for a name, so the backup itself stays as it was taken.
  st.projectState = ProjectState::NewProject;
  st.projectFileName = kNewProjectName;
  st.projectOnDisk.reset();
  st.projectModified = true;
  RefreshWindow(s);
  return true;
}

bool WriteBackupToBox(Session& s, BoxLink& link, const std::string& path,
                      const TransferProgress& progress, const TransferProgress& readProgress) {
  // The Update identifies the Box right before it writes: opening the backup does not as well.
  auto connectBox = std::exchange(s.connectBox, nullptr);
  bool restored = false;
  try {
    restored = RestoreBackup(s, path);
  } catch (...) {
    s.connectBox = std::move(connectBox);
    throw;
  }
  s.connectBox = std::move(connectBox);
  return restored && BoxUpdateClick(s, link, progress, nullptr, readProgress);
}

}  // namespace vyk

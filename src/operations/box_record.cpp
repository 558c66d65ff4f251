#include "operations/box_record.h"

#include "operations/box_operations.h"
#include "operations/main_controls.h"
#include "operations/project_commands.h"

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

bool WriteBackupToBox(Session& s, BoxLink& link, const std::string& path) {
  if (!RestoreBackup(s, path)) return false;
  return BoxUpdateClick(s, link);
}

}  // namespace vyk

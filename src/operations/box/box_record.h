#pragma once
// Box > Backups and Box > History: the backups an Update kept of what the Box held, and the
// record of every transfer, both in the session's data folder.
#include <string>
#include <vector>

#include "link/box_link.h"
#include "model/records/box_backups.h"
#include "model/records/box_history.h"
#include "operations/box/box_operations.h"
#include "operations/project/session.h"

namespace vyk {

// Newest first; none without a data folder.
std::vector<BackupInfo> BoxBackups(const Session& s);
// The history's newest entries, as many as a window's list is of use for.
inline constexpr size_t kHistoryWindowEntries = 1000;
std::vector<HistoryEntry> BoxHistory(const Session& s);

// Opens a backup in the window as a new project that has not been saved (after the question
// about unsaved changes of the one open). True when it was opened.
bool RestoreBackup(Session& s, const std::string& path);
// Opens a backup as RestoreBackup does and writes it into the Box with Update EEPROM (which
// asks first, and backs up what the Box holds now). True when the Box holds it.
bool WriteBackupToBox(Session& s, BoxLink& link, const std::string& path,
                      const TransferProgress& progress = {},
                      const TransferProgress& readProgress = {});

}  // namespace vyk

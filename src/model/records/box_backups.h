#pragma once
// The Box's backups: what a Box held before an Update wrote over it, kept as project files in
// the "backups" folder of the user's data folder, named by the time, the Box's group letter
// and its version ("2026-12-08_08-30-05_G1.0.VYK"). The project each was replaced by is kept
// in the folder's "index.tsv", one appended line per backup (file name, tab, project path):
// a project path may be longer than a header's texts hold.
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "model/eeprom_image.h"
#include "model/project_header.h"

namespace vyk {

struct BackupInfo {
  std::string path;
  std::string fileName;
  std::string time;        // "2026-12-08 08:30:05", local time, from the name
  std::string letter;      // the Box's group letter, from the name
  std::string version;     // its version, from the name
  std::string project;     // the project written over it; empty when the index does not say
  bool simulated = false;  // taken of the simulated Box: "_sim" after the version
};

std::string BackupsFolder(const std::string& dataFolder);
// The index of the backups folder.
std::string IndexPath(const std::string& backupsFolder);

// Saves a backup taken at `when` (through the atomic writer, making the folder when missing)
// and, unless `project` is empty, notes the project it is replaced by. A second backup within
// the same second gets "_2", "_3", ... after its version (and after "_sim" for the simulated
// Box). Returns its path. Throws InOutError.
std::string SaveBackup(const std::string& dataFolder, std::time_t when, const std::string& letter,
                       const std::string& version, const ProjectHeader& header,
                       const EepromImage& image, const std::string& project,
                       bool simulated = false);

// Notes in the index that the backup at `path` was replaced by `project`: only once the Box
// holds all of it, so a write that stopped part-way claims nothing. Throws InOutError.
void NoteBackupReplaced(const std::string& dataFolder, const std::string& path,
                        const std::string& project);

// Every backup in the folder, newest first. A line of the index that cannot be read is passed
// over and counted in `skippedLines`; a folder, pipe or device in the index's place throws
// InOutError.
std::vector<BackupInfo> ListBackups(const std::string& dataFolder, size_t* skippedLines = nullptr);

}  // namespace vyk

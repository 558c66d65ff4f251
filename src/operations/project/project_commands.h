#pragma once
// The File menu and Edit > Project: creating, opening, saving and closing projects.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "operations/project/session.h"

namespace vyk {

// Shows the Project Setup dialog; on OK sets the header's group and the group label. With
// `provenance` (Edit > Project) its Provenance page lists how the table was made.
bool ShowProjectSetup(
    Session& s, ProjectSetup& setup,
    const std::optional<std::vector<std::pair<std::string, std::string>>>& provenance = {});

// Reads the file named by the project file name. On any failure it reports the error and
// leaves the project in memory as it was.
bool LoadProjectFile(Session& s);

// Writes header and image to the project file name; a project that has no file yet asks for
// one as Save As does. A file that has changed on disk since this project was read from it or
// saved into it is overwritten only when the user says so. False when nothing was saved
// because the user cancelled or said No.
bool SaveProjectFile(Session& s);

// The image and header of a new project of the group (part of File > New).
void InitNewImage(Session& s, uint8_t group);

// The menu commands do nothing (Save and Save As return false) while an exchange with the Box
// runs: its waits let the window's events through, and the exchange works on this project.
void FileNewClick(Session& s);
void FileOpenClick(Session& s);
// Opens the project file at `path` as File > Open does once a file is chosen.
void OpenProjectFile(Session& s, const std::string& path);
// File's list of recent projects: asks to save the project on screen, then opens `path`.
void OpenRecentClick(Session& s, const std::string& path);
bool FileSaveClick(Session& s);
bool FileSaveAsClick(Session& s);
void FileCloseClick(Session& s);
void EditProjectClick(Session& s);

// Before New, Open, Close or the main window's closing would drop unsaved changes: asks "Save
// E2P file first ?". Yes saves (asking for a name when the project has no file yet), No drops
// them. True when the command may go on: not after Cancel, nor when the save was cancelled.
bool QuerySaveChanges(Session& s);

}  // namespace vyk

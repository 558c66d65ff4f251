#pragma once
// The user's data folder, where the Box's backups and the history of Box transfers are kept,
// for the window and the command line alike.
#include <string>

namespace vyk {

// `chosen` (the --data folder) when given, else $XDG_DATA_HOME/vyk-edit, else
// ~/.local/share/vyk-edit (on Windows %APPDATA%\vyk-edit). Empty when none of them is
// known (no home at all).
std::string DataFolder(const std::string& chosen);

}  // namespace vyk

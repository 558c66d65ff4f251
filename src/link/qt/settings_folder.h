#pragma once
// Where vyk.ini lives, for the window and the command line alike.
#include <string>

namespace vyk {

// The names the program gives itself; its configuration folder is made from them.
inline constexpr char kOrganizationName[] = "Vyk";
inline constexpr char kApplicationName[] = "VykEdit";

// `chosen` (the --config folder) when given, else the program's configuration folder: Qt's
// application configuration location for the names above, whichever program asks.
std::string SettingsFolder(const std::string& chosen);

}  // namespace vyk

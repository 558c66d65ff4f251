#pragma once
// The state the main window starts with.
#include <string>

#include "operations/project/session.h"

namespace vyk {

// Sets the start values: the program's folder and the meter folder, the three group folders
// made when missing, the start-up conversion constants, both radio groups on Voltage and
// disabled, the chart shown, no project, every image byte 0xFF. `appFolder` ends with the
// path separator. Throws InOutError when a group folder cannot be made.
void FormCreate(Session& s, const std::string& appFolder);

}  // namespace vyk

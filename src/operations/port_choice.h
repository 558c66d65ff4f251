#pragma once
// Which device the Box link opens, and the choice of COM port for the next start.
#include <string>

#include "operations/session.h"

namespace vyk {

// COM1..COM4 as the settings file numbers them: "\\.\COMn" on Windows, /dev/ttyS(n-1)
// elsewhere.
std::string PortNameFor(int portNumber);

// The port this run uses: the command line's, else the settings' "PortName", else the
// settings' port number.
std::string ChoosePortName(int portNumber, const std::string& settingPortName,
                           const std::string& optionPort);

// Box > Options: picks COM 1..4 for the next start of the program.
void BoxOptionsClick(Session& s);

}  // namespace vyk

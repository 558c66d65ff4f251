#pragma once
// Which device a port number names on this system.
#include <string>

namespace vyk {

// COM1..COM4 as the settings file numbers them: "\\.\COMn" on Windows, /dev/ttyS(n-1)
// elsewhere.
std::string PortNameFor(int portNumber);

}  // namespace vyk

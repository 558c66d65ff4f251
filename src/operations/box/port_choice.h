#pragma once
// Which device the Box link opens: at the start, and when Box > Options chooses another.
#include <string>
#include <vector>

#include "operations/project/session.h"

namespace vyk {

// COM1..COM4 as the settings file numbers them: "\\.\COMn" on Windows, /dev/ttyS(n-1)
// elsewhere.
std::string PortNameFor(int portNumber);

// The port this run uses: the command line's, else the settings' "PortName", else the
// settings' port number.
std::string ChoosePortName(int portNumber, const std::string& settingPortName,
                           const std::string& optionPort);

// One item of the port setup dialog.
struct PortItem {
  std::string text;    // as the list shows it (UTF-8, as the system describes its devices)
  std::string device;  // the device behind it, or "Simulator"
  int comNumber = 0;   // 1..4 for the items "COM 1".."COM 4", else 0
};

// "COM 1".."COM 4" with their devices, every other device present, the device in use and the
// configured one when they are none of those (a pseudo-terminal, an adapter unplugged since it
// was chosen), and the simulated Box: each device once.
std::vector<PortItem> PortItems(const std::vector<SerialDevice>& present, const std::string& inUse,
                                const std::string& configured);

// Opens the Box link on `device`. A device that does not open is reported in an error box and
// named in the window's status with the way to choose another; the link then has no port.
bool OpenBoxPort(Session& s, const std::string& device);

// The first activation, with the settings in the state: the command line's port, else the
// settings' port. With no port named at all: the only USB serial adapter present (which the
// settings then keep), else COM 2 when it is present, else no port, and the status says which
// port is missing and where to choose one.
void OpenStartPort(Session& s, const std::string& optionPort);

// Box > Options: the port for the Box, preselecting the one in use, and whether an Update
// backs the Box up and shows its preview first (applied on OK whatever the port). Unless an
// exchange runs, the link moves to the chosen port at once and the open project's Box is identified
// there.
void BoxOptionsClick(Session& s);

}  // namespace vyk

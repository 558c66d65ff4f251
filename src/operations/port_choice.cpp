#include "operations/port_choice.h"

namespace vyk {

std::string PortNameFor(int portNumber) {
#if defined(_WIN32)
  return "\\\\.\\COM" + std::to_string(portNumber);
#else
  return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

std::string ChoosePortName(int portNumber, const std::string& settingPortName,
                           const std::string& optionPort) {
  if (!optionPort.empty()) return optionPort;
  if (!settingPortName.empty()) return settingPortName;
  return PortNameFor(portNumber);
}

void BoxOptionsClick(Session& s) {
  int& port = s.state.portNumber;
  int index = port > 4 ? 3 : port - 1;  // below 1: no item selected
  std::string name = s.state.portName;
  if (!s.dialogs.AskPortSetup(index, name)) return;
  s.state.portName = name;
  if (name.empty()) port = index + 1;
  s.dialogs.Information("Changes will be effective at next program execution");
}

}  // namespace vyk

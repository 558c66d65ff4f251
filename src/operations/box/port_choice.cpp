#include "operations/box/port_choice.h"

#include <algorithm>

#include "link/sim_port.h"
#include "operations/project/main_controls.h"

namespace vyk {

namespace {

constexpr int kComItems = 4;
constexpr int kDefaultPortNumber = 2;
const std::string kDash = " \u2014 ";

std::vector<SerialDevice> Present(Session& s) {
  return s.listPorts ? s.listPorts() : std::vector<SerialDevice>();
}

const SerialDevice* Find(const std::vector<SerialDevice>& devices, const std::string& name) {
  auto it = std::find_if(devices.begin(), devices.end(),
                         [&](const SerialDevice& d) { return d.name == name; });
  return it != devices.end() ? &*it : nullptr;
}

// The driver's description, and the maker when the description does not name it.
std::string Describe(const SerialDevice& device) {
  std::string text = device.description;
  if (!device.manufacturer.empty() && text.find(device.manufacturer) == std::string::npos)
    text += text.empty() ? device.manufacturer : " (" + device.manufacturer + ")";
  return text;
}

// "COM 2 (/dev/ttyS1)" for the device of a COM item, else the device.
std::string PortLabel(const std::string& device) {
  for (int n = 1; n <= kComItems; ++n)
    if (PortNameFor(n) == device) return "COM " + std::to_string(n) + " (" + device + ")";
  return device;
}

std::string NoPortNotice(const std::string& what) {
  return "No Box port: " + what + ". Choose the Box's port in Box > Options.";
}

}  // namespace

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

std::vector<PortItem> PortItems(const std::vector<SerialDevice>& present, const std::string& inUse,
                                const std::string& configured) {
  std::vector<PortItem> items;
  auto listed = [&](const std::string& device) {
    return std::any_of(items.begin(), items.end(),
                       [&](const PortItem& item) { return item.device == device; });
  };
  for (int n = 1; n <= kComItems; ++n) {
    const std::string device = PortNameFor(n);
    const SerialDevice* found = Find(present, device);
    std::string text = PortLabel(device);
    if (found == nullptr && device != inUse) {
      text += kDash + "not present";
    } else if (found != nullptr && !Describe(*found).empty()) {
      text += kDash + Describe(*found);
    }
    items.push_back({text, device, n});
  }
  for (const SerialDevice& device : present) {
    if (listed(device.name)) continue;
    const std::string description = Describe(device);
    items.push_back(
        {description.empty() ? device.name : device.name + kDash + description, device.name, 0});
  }
  for (const std::string& device : {inUse, configured}) {
    if (device.empty() || IsSimulatorPort(device) || listed(device)) continue;
    items.push_back({device == inUse ? device : device + kDash + "not present", device, 0});
  }
  items.push_back({kSimulatorPortName, kSimulatorPortName, 0});
  items.push_back(
      {kDrivingSimulatorPortName + kDash + "on a simulated drive", kDrivingSimulatorPortName, 0});
  return items;
}

bool OpenBoxPort(Session& s, const std::string& device) {
  AppState& st = s.state;
  st.boxConnected = false;
  st.boxPartial = false;  // what the Box on the old connection holds is not known here
  st.portInUse.clear();
  st.portNotice.clear();
  try {
    if (s.openPort) s.openPort(device);
  } catch (const PortError& e) {
    const bool present = IsSimulatorPort(device) || Find(Present(s), device) != nullptr;
    st.portNotice =
        NoPortNotice(PortLabel(device) + (present ? " could not be opened" : " is not present"));
    s.dialogs.Error(e.what());
    return false;
  }
  st.portInUse = device;
  return true;
}

void OpenStartPort(Session& s, const std::string& optionPort) {
  AppState& st = s.state;
  if (!optionPort.empty() || st.portChosen) {
    OpenBoxPort(s, ChoosePortName(st.portNumber, st.portName, optionPort));
    return;
  }
  // A first start: a message about a port nobody chose would greet an empty window.
  const std::vector<SerialDevice> present = Present(s);
  const auto adapters =
      std::count_if(present.begin(), present.end(), [](const SerialDevice& d) { return d.usb; });
  if (adapters == 1) {
    st.portName = std::find_if(present.begin(), present.end(), [](const SerialDevice& d) {
                    return d.usb;
                  })->name;
    st.portChosen = true;
    OpenBoxPort(s, st.portName);
    return;
  }
  const std::string fallback = PortNameFor(kDefaultPortNumber);
  if (Find(present, fallback) != nullptr) {
    OpenBoxPort(s, fallback);
    return;
  }
  std::string missing = PortLabel(fallback) + " is not present";
  if (adapters > 1) missing += " and " + std::to_string(adapters) + " USB serial adapters are";
  st.boxConnected = false;
  st.portInUse.clear();
  st.portNotice = NoPortNotice(missing);
}

void BoxOptionsClick(Session& s) {
  AppState& st = s.state;
  const std::string configured = st.portChosen && !st.portName.empty() ? st.portName : "";
  const std::vector<PortItem> items = PortItems(Present(s), st.portInUse, configured);
  std::vector<std::string> texts;
  int selected = -1;
  const std::string& shown = !st.portInUse.empty() ? st.portInUse : configured;
  for (size_t i = 0; i < items.size(); ++i) {
    texts.push_back(items[i].text);
    if (!shown.empty() && items[i].device == shown) selected = static_cast<int>(i);
  }
  // A COM number from the settings: one above 4 shows COM 4, one below 1 none.
  if (shown.empty() && st.portChosen && st.portNumber >= 1)
    selected = std::min(st.portNumber, kComItems) - 1;
  UpdateSafety safety{st.backupBeforeUpdate, st.previewBeforeUpdate};
  if (!s.dialogs.AskPortSetup(texts, selected, safety)) return;
  st.backupBeforeUpdate = safety.backupBeforeUpdate;
  st.previewBeforeUpdate = safety.previewBeforeUpdate;

  st.portChosen = true;
  if (selected < 0 || selected >= static_cast<int>(items.size())) {
    st.portNumber = 0;  // as the settings have always stored an empty choice
    st.portName.clear();
    s.dialogs.Information("Changes will be effective at next program execution");
    return;
  }
  const PortItem& item = items[static_cast<size_t>(selected)];
  if (item.comNumber > 0) {
    st.portNumber = item.comNumber;
    st.portName.clear();
  } else {
    st.portName = item.device;
  }
  // The exchange's waits run below this dialog on the stack and use the link.
  if (st.exchangeRunning) {
    s.dialogs.Information("Changes will be effective at next program execution");
    return;
  }
  // The port in use is kept, unless its line was lost: then OK tries it again.
  if (item.device == st.portInUse && !st.lineLost) return;
  if (OpenBoxPort(s, item.device) && st.projectState != ProjectState::NoProject && s.connectBox) {
    s.connectBox(s, st.header.Group());
  }
  RefreshWindow(s);
}

}  // namespace vyk

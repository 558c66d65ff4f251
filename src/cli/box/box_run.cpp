#include "cli/box/box_run.h"

#include "cli/printing.h"
#include "link/qt/settings_folder.h"
#include "link/sim_port.h"
#include "model/records/settings_file.h"
#include "operations/box/port_choice.h"

namespace vyk::cli {

// The options with the port filled in from the settings file when --port is not given. A
// Box command never falls back on the simulated Box, also not when the window's settings
// chose it: reading it would fill a project with its blank EEPROM, and writing it would report
// success with nothing programmed. It answers only to --port Simulator.
BoxOptions WithPort(BoxOptions o) {
  if (!o.port.empty()) return o;
  const SettingsFile file(SettingsFolder(o.configDir));
  const StoredSettings stored = file.Load();
  if (!stored.namesPort)
    throw UsageError("No port for the Box: give one with --port DEVICE (--port " +
                     kSimulatorPortName + " for the simulated Box), or choose one in Vyk Edit's " +
                     "Box > Options, which keeps it in " + file.Path());
  o.port = ChoosePortName(stored.comPort, stored.portName, "");
  if (IsSimulatorPort(o.port))
    throw UsageError("The settings file " + file.Path() + " names the simulated Box (" +
                     kSimulatorPortName + "), which a Box command uses only when --port " +
                     kSimulatorPortName + " is given: name the Box's real port with --port " +
                     "DEVICE (such as /dev/ttyUSB0), or choose it in Vyk Edit's Box > Options");
  return o;
}

void Print(const BoxOptions& o, const nlohmann::json& j, const std::string& text) {
  if (o.json) {
    PrintJson(j);
  } else {
    std::cout << TerminalText(text);
  }
}

void AddCommonBoxOptions(CLI::App* cmd, BoxOptions& o) {
  cmd->add_option("--port", o.port,
                  "Serial device, pseudo-terminal or \"Simulator\"; default: the port the "
                  "settings file names (never the simulated Box); Ctrl+C or SIGTERM stops "
                  "after the exchange in progress, with exit status 130 or 143");
  cmd->add_option("--config", o.configDir, "Folder of the settings file vyk.ini");
  cmd->add_option("--data", o.dataDir,
                  "Folder of the Box's backups and history (default: the user's data folder)");
  cmd->add_option("--group", o.group, "Hardware group")->check(CLI::IsMember(GroupCliNames()));
  cmd->add_flag("--json", o.json, "Print JSON");
}

}  // namespace vyk::cli

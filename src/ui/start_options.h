#pragma once
// How the program is started: what its command line says. No Qt here, so the program's entry
// point needs no window headers.
#include <functional>
#include <string>

#include "operations/project/dialogs.h"

namespace vyk::ui {

struct StartOptions {
  std::string port;            // --port: this run only
  std::string configDir;       // --config: where vyk.ini lives
  std::string dataDir;         // --data: where the Box's backups and history go
  std::string appFolder;       // where the group folders go; empty: decided at start-up
  int simulatorBaud = 9600;    // how fast the simulated Box answers
  Dialogs* dialogs = nullptr;  // answers the boxes in place of the real ones (tests)
};

class Program;

// Creates the application and every window in the start-up order, opens `project` when one is
// given, runs `started` (when given) and then the message loop.
int RunProgram(int argc, char** argv, const StartOptions& options, const std::string& project,
               const std::function<void(Program&)>& started = {});

}  // namespace vyk::ui

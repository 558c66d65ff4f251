#pragma once
// Everything an operation works on: the state, the dialogs it may ask, the window it tells,
// the Box identification that New and Open run, and the serial ports.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "link/port.h"
#include "model/app_state.h"
#include "model/project_header.h"
#include "operations/project/dialogs.h"
#include "operations/project/main_view.h"
#include "operations/project/undo_history.h"

namespace vyk {

struct Session {
  AppState& state;
  Dialogs& dialogs;
  MainView& view;
  // Identifies the Box for a group and tells whether it answered as it should; without a
  // Box link nothing is connected.
  std::function<bool(Session&, uint8_t group)> connectBox;
  std::function<int32_t()> today = TodayDayNumber;
  // The serial devices present now; without it, none.
  std::function<std::vector<SerialDevice>()> listPorts = nullptr;
  // Closes the Box link and opens it on a device or "Simulator". Throws PortError.
  std::function<void(const std::string& device)> openPort = nullptr;
  // What Edit > Undo and Redo take back and make again.
  UndoHistory history{};
  // The user's data folder: the Box's backups and the history of transfers go there. Empty:
  // neither is kept, and an Update neither reads the Box first nor shows a preview.
  std::string dataFolder = {};
  // The wall clock, for the backups' names and the history's times.
  std::function<std::time_t()> now = [] { return std::time(nullptr); };
};

// True while an exchange with the Box runs: an operation that would change the project then
// does nothing, and the window shows the state again in case a widget already shows the
// change.
inline bool RefusedDuringExchange(Session& s) {
  if (!s.state.exchangeRunning) return false;
  s.view.ControlsChanged();
  return true;
}

// True with no project open: the project's controls then change nothing, as there is no
// project to change and a closed one must not come back through Save.
inline bool RefusedWithoutProject(Session& s) {
  if (s.state.projectState != ProjectState::NoProject) return false;
  s.view.ControlsChanged();
  return true;
}

}  // namespace vyk

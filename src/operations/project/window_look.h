#pragma once
// What the main window shows of the project state and the connection: its caption, which
// menu entries and controls are enabled, the main button and the status labels.
#include <string>

#include "model/app_state.h"
#include "vyk_version.h"

namespace vyk {

inline const std::string kProgramTitle =
    std::string("Vyk Edit (6v) , V") + kVersion + " " + kReleaseDateShown + "  ";

struct WindowLook {
  std::string caption;  // the title, the project file name and "*" for unsaved changes
  // Off only while an exchange with the Box runs, which leaves Abort, Help and Exit.
  bool fileNew = true;
  bool fileOpen = true;
  bool otherCommands = true;  // Edit Meter, Box Options, Box Terminal, Help About
  bool modeControls = true;   // the invert box, and the radio groups where their group allows
  bool fileSave = false;
  bool fileSaveAs = false;
  bool fileClose = false;
  bool editProject = false;
  bool editMatch = false;
  bool editRematch = false;  // the project keeps how its table was made
  bool editLearn = false;
  bool boxUpdate = false;
  bool boxRetrieve = false;
  bool projectControls = false;  // pots, limit, Hex box, both grids, chart
  bool potArrows = false;        // the projectControls, and in the live view as well
  // The live view's toggle (Box > Live, F8): "Live" starts it, "Stop" ends it; Record only
  // while it runs.
  bool live = false;
  std::string liveCaption = "Live";
  bool record = false;
  bool abortBtnEnabled = false;
  bool abortBtnVisible = false;
  std::string abortBtnCaption = "Monitor";
  std::string sioLabel;
  // The Box on the port in use is the simulated one: the window marks it wherever it names
  // the Box, so that it never passes for hardware.
  bool simulatedBox = false;
  std::string vInLabel;
  std::string vOutLabel;
  // Why the window is locked, what a stopped update left in the Box, or why there is no Box
  // port; empty: nothing.
  std::string notice;
  bool operator==(const WindowLook&) const = default;
};

// Brings the state in line with the project state and the connection (clears the abort
// request, sets the button mode and the file name the state implies) and returns the look.
WindowLook RefreshWindowState(AppState& state);

// The look of a state, without changing it.
WindowLook LookOf(const AppState& state);

// "Idle" and the like say "(simulated)" after them for the simulated Box.
inline const std::string kSimulatedMark = " (simulated)";

// What a stopped Box > Update EEPROM left in the Box, for a message or the command line;
// empty when the Box holds no partial image (AppState::boxPartial).
std::string PartialImageText(const AppState& state);

}  // namespace vyk

#pragma once
// What the main window shows of the project state and the connection: its caption, which
// menu entries and controls are enabled, the main button and the status labels.
#include <string>

#include "model/app_state.h"

namespace vyk {

inline const std::string kProgramTitle = "Vyk Edit (6v) , V1.2b 6/10/2003  ";

struct WindowLook {
  std::string caption;
  bool fileSave = false;
  bool fileSaveAs = false;
  bool fileClose = false;
  bool editProject = false;
  bool editMatch = false;
  bool editLearn = false;
  bool boxUpdate = false;
  bool boxRetrieve = false;
  bool projectControls = false;  // pots, limit, Hex box, both grids, chart
  bool abortBtnEnabled = false;
  bool abortBtnVisible = false;
  std::string abortBtnCaption = "Monitor";
  std::string sioLabel;
  std::string vInLabel;
  std::string vOutLabel;
  bool operator==(const WindowLook&) const = default;
};

// Brings the state in line with the project state and the connection (clears the abort
// request, sets the button mode and the file name the state implies) and returns the look.
WindowLook RefreshWindowState(AppState& state);

// The look of a state, without changing it.
WindowLook LookOf(const AppState& state);

}  // namespace vyk

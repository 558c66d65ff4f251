#pragma once
// What the operations tell the main window. The window repaints itself from AppState; a
// command line or a test uses this empty default.
#include <string>

#include "operations/project/window_look.h"

namespace vyk {

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void ApplyLook(const WindowLook&) {}
  virtual void RepaintTableGrid() {}
  virtual void RepaintEepromGrid() {}
  virtual void ControlsChanged() {}  // radio groups, limit text, invert box, pots, labels
  virtual void ChartChanged() {}
  virtual void HistoryChanged() {}  // what Edit > Undo and Redo would do
  // How a Box operation ended, for the status bar: where it looked, what it wrote.
  virtual void StatusMessage(const std::string&) {}
};

}  // namespace vyk

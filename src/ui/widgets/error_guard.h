#pragma once
// The top-level handler: an error the core raises ("Range check error", a file error) ends the
// command it came from, is shown in an error box, and the program goes on.
#include <exception>

#include "operations/project/dialogs.h"

namespace vyk::ui {

template <typename F>
void Guarded(Dialogs& dialogs, F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    dialogs.Error(e.what());
  }
}

}  // namespace vyk::ui

#pragma once
// Enter on a focused push button or tool button presses it, in every window of the program, as
// Space does; a dialog's default button answers Enter only when no other button has the focus.

namespace vyk::ui {

// Installs the key once for the application; later calls do nothing.
void InstallEnterKey();

}  // namespace vyk::ui

#include "operations/window_look.h"

namespace vyk {

namespace {

std::string Cut(const std::string& text, size_t length) {
  return text.size() > length ? text.substr(0, length) : text;
}

}  // namespace

WindowLook RefreshWindowState(AppState& state) {
  state.abortRequest = false;
  switch (state.projectState) {
    case ProjectState::NoProject:
      state.boxConnected = false;
      state.buttonMode = ButtonMode::Connect;
      state.controls.groupLabel.clear();
      state.projectFileName.clear();
      break;
    case ProjectState::NewProject:
      state.projectFileName = kNewProjectName;
      [[fallthrough]];
    case ProjectState::StoredProject:
      state.buttonMode = state.boxConnected ? ButtonMode::Monitor : ButtonMode::Connect;
      break;
  }
  return LookOf(state);
}

WindowLook LookOf(const AppState& state) {
  WindowLook look;
  look.caption = kProgramTitle + state.projectFileName;
  look.sioLabel = state.boxConnected ? "Idle" : "(not connected)";
  if (state.projectState == ProjectState::NoProject) {
    look.abortBtnCaption = "Monitor";
    return look;
  }
  bool stored = state.projectState == ProjectState::StoredProject;
  look.fileSave = stored && state.projectModified;
  look.fileSaveAs = look.fileClose = true;
  look.editProject = look.editMatch = true;
  look.boxUpdate = look.boxRetrieve = true;
  look.projectControls = true;
  look.abortBtnEnabled = look.abortBtnVisible = true;
  switch (state.buttonMode) {
    case ButtonMode::Connect:
      look.abortBtnCaption = "Connect";
      break;
    case ButtonMode::Monitor:
      look.abortBtnCaption = "Monitor";
      break;
    case ButtonMode::Abort:
      look.abortBtnCaption = "Abort";
      break;
  }
  const Controls& c = state.controls;
  look.vInLabel = Cut((c.inputRGrp == kVoltage ? "V In Meter: " : "F In Meter: ") +
                          state.header.UseMeterName().Bytes(),
                      43);
  look.vOutLabel = Cut((c.outputRGrp == kVoltage ? "V Out Meter: " : "F Out Meter: ") +
                           state.header.MatchMeterName().Bytes(),
                       44);
  return look;
}

}  // namespace vyk

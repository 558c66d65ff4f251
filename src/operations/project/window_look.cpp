#include "operations/project/window_look.h"

#include <algorithm>

#include "link/sim_port.h"
#include "model/text/hex_text.h"

namespace vyk {

namespace {

std::string Cut(const std::string& text, size_t length) {
  return text.size() > length ? text.substr(0, length) : text;
}

}  // namespace

WindowLook RefreshWindowState(AppState& state) {
  // An edit's refresh inside a running exchange must not take the Abort button away nor
  // forget a press of it: the exchange's own closing refresh does that.
  const bool keepButton = state.exchangeRunning;
  if (!keepButton) state.abortRequest = false;
  switch (state.projectState) {
    case ProjectState::NoProject:
      state.boxConnected = false;
      state.boxPartial = false;  // it was the closed project's to complete
      if (!keepButton) state.buttonMode = ButtonMode::Connect;
      state.controls.groupLabel.clear();
      state.projectFileName.clear();
      break;
    case ProjectState::NewProject:
      state.projectFileName = kNewProjectName;
      [[fallthrough]];
    case ProjectState::StoredProject:
      if (!keepButton)
        state.buttonMode = state.boxConnected ? ButtonMode::Monitor : ButtonMode::Connect;
      break;
  }
  return LookOf(state);
}

WindowLook LookOf(const AppState& state) {
  WindowLook look;
  look.caption = kProgramTitle + state.projectFileName;
  if (state.projectModified && state.projectState != ProjectState::NoProject) look.caption += "*";
  look.sioLabel = state.lineLost ? "(line lost)" : state.boxConnected ? "Idle" : "(not connected)";
  if (state.boxPartial && !state.lineLost) {  // the notice still tells it
    const int last = std::max(state.boxLastAddressWritten, state.boxUnsureAddress);
    look.sioLabel = "Partial 00.." + FormatHex(static_cast<uint32_t>(last & 0xFF), 2);
  }
  look.simulatedBox = IsSimulatorPort(state.portInUse);
  if (look.simulatedBox && state.boxConnected && !state.boxPartial) look.sioLabel += kSimulatedMark;
  look.notice = PartialImageText(state);
  if (look.notice.empty()) look.notice = state.portNotice;
  const bool locked = state.exchangeRunning;
  if (locked) {
    // Only a transfer lasts long enough to need saying; a reading or an identification would
    // just make the status bar flicker.
    if (state.liveRunning) {
      look.notice =
          "Live view running: press Stop (F8) to end it; the pot arrows turn the Box's pots, "
          "other editing waits.";
    } else if (state.buttonMode == ButtonMode::Abort) {
      look.notice = "Transfer with the Box running: press Abort to stop it; editing waits.";
    }
    look.fileNew = look.fileOpen = look.otherCommands = look.modeControls = false;
  }
  if (state.projectState == ProjectState::NoProject) {
    look.modeControls = false;  // they would edit a project that is not there
    look.abortBtnCaption = "Monitor";
    return look;
  }
  bool stored = state.projectState == ProjectState::StoredProject;
  // A project never saved saves by Save As.
  look.fileSave = (!stored || state.projectModified) && !locked;
  look.fileSaveAs = look.fileClose = !locked;
  look.editProject = look.editMatch = !locked;
  // As CanRematch: a newer version's record is offered too, for Rematch to say why it cannot.
  look.editRematch = !locked && (state.provenance.has_value() ||
                                 (state.damagedProvenance && state.damagedProvenance->newer));
  look.boxUpdate = look.boxRetrieve = !locked;
  look.projectControls = !locked;
  look.potArrows = !locked || state.liveRunning;
  // Pots are written into the Box in the live view: only into one identified as the project's.
  look.live = (!locked && state.boxConnected) || state.liveRunning;
  look.liveCaption = state.liveRunning ? "Stop" : "Live";
  look.record = state.liveRunning;
  look.abortBtnVisible = true;
  // During an identification or a reading the button cannot abort; a press would only start
  // a second exchange.
  look.abortBtnEnabled = !locked || state.buttonMode == ButtonMode::Abort;
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

std::string PartialImageText(const AppState& state) {
  if (!state.boxPartial) return "";
  const int last = state.boxLastAddressWritten;
  std::string held = last < 0    ? ""
                     : last == 0 ? "address 00 was written and verified"
                                 : "addresses 00.." + FormatHex(static_cast<uint32_t>(last), 2) +
                                       " were written and verified";
  if (state.boxUnsureAddress >= 0) {
    if (!held.empty()) held += ", ";
    held += "address " + FormatHex(static_cast<uint32_t>(state.boxUnsureAddress), 2) +
            " may have changed";
  }
  return "The Box holds a partial image: " + held + "; write the project again to complete it";
}

}  // namespace vyk

#include "operations/project/project_commands.h"

#include <algorithm>
#include <filesystem>

#include "model/conversions.h"
#include "model/groups.h"
#include "model/records/project_file.h"
#include "model/records/settings_file.h"
#include "operations/project/main_controls.h"
#include "operations/project/provenance_facts.h"
#include "operations/project/undo_history.h"
#include "storage/path_text.h"

namespace vyk {

namespace {

const std::string kProjectFilter = "*.VYK";
// A project saved without an extension is still listed.
const std::string kOpenFilter = "*.VYK|*.VYK|All files (*)|*";

// The meter folder of a group; a group byte that names no group leaves it where it is.
void SetMeterFolder(AppState& state, uint8_t group) {
  const HardwareGroup* named = FindGroup(group);
  if (named == nullptr) return;
  state.meterFolder = state.appFolder + std::string(named->meterFolder) + kPathSeparator;
}

// Puts a project file at the head of the recent list.
void RememberProject(AppState& state, const std::string& path) {
  auto& recent = state.recentProjects;
  recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
  recent.insert(recent.begin(), path);
  if (recent.size() > kRecentProjects) recent.resize(kRecentProjects);
}

// Projects live apart from the meters: the file dialogs start where the last project is.
std::string ProjectFolder(const AppState& state) {
  if (state.recentProjects.empty()) return state.meterFolder;
  const std::string folder = PathText(PathOf(state.recentProjects.front()).parent_path());
  return folder.empty() ? state.meterFolder : folder;
}

std::string GroupLabelText(uint8_t group) {
  const HardwareGroup* named = FindGroup(group);
  return named != nullptr ? std::string(named->name) : "?";
}

void ConnectBox(Session& s, uint8_t group) {
  if (s.connectBox) {
    s.connectBox(s, group);
  } else {
    s.state.boxConnected = false;
  }
}

// Something else (another program, a second window, an editor) may have written the file since
// this project was read from it or saved into it: its changes are not dropped unasked. A file
// that has gone loses nothing by the save.
bool MayOverwrite(Session& s) {
  const AppState& st = s.state;
  if (!st.projectOnDisk || st.projectOnDisk->path != st.projectFileName) return true;
  const auto now = FingerprintFile(st.projectFileName);
  if (!now || *now == st.projectOnDisk->fingerprint) return true;
  return s.dialogs.Question(st.projectFileName +
                                " has been changed on disk since it was read or last saved. "
                                "Overwrite it and lose those changes?",
                            QuestionButtons::YesNo) == Answer::Yes;
}

// What the file gets after the image: the record of how the table was made, with the entries
// edited by hand as they stand now; a damaged one only as it was read, when the user says so.
std::string AfterImage(Session& s) {
  AppState& st = s.state;
  if (st.provenance) return WriteProvenance(*st.provenance, st.image);
  if (!st.damagedProvenance || st.damagedProvenance->bytes.empty()) return "";
  if (!st.damagedProvenance->keep) {
    const Answer keep = s.dialogs.Question(
        "This project file holds a damaged record of how its table was made. Keep it in the "
        "file as it is? (No drops it.)",
        QuestionButtons::YesNo);
    if (keep != Answer::Yes) {
      st.damagedProvenance.reset();
      return "";
    }
    st.damagedProvenance->keep = true;
  }
  return st.damagedProvenance->bytes;
}

bool WriteProject(Session& s) {
  AppState& st = s.state;
  if (!MayOverwrite(s)) return false;
  st.header.SetInt32At(ProjectHeader::kSaved, s.today());
  st.header.SetFixedFields();
  const std::string afterImage = AfterImage(s);
  st.projectOnDisk = {st.projectFileName,
                      WriteProjectFile(st.projectFileName, st.header, st.image, afterImage)};
  RememberProject(st, st.projectFileName);
  s.dialogs.Information(st.projectFileName + " saved");
  st.projectState = ProjectState::StoredProject;
  st.projectModified = false;
  MarkProjectClean(s);
  RefreshWindow(s);
  return true;
}

}  // namespace

bool ShowProjectSetup(
    Session& s, ProjectSetup& setup,
    const std::optional<std::vector<std::pair<std::string, std::string>>>& provenance) {
  if (!(provenance ? s.dialogs.AskProjectEdit(setup, *provenance)
                   : s.dialogs.AskProjectSetup(setup)))
    return false;
  s.state.header.SetGroup(setup.group);
  s.state.controls.groupLabel = GroupLabelText(setup.group);
  s.view.ControlsChanged();
  return true;
}

bool LoadProjectFile(Session& s) {
  AppState& st = s.state;
  ProjectReadResult result = ReadProjectFile(st.projectFileName, st.header);
  if (result.status != ProjectReadStatus::Ok) {
    s.dialogs.Error(ProjectReadMessage(result.status, st.projectFileName));
    return false;
  }
  st.header = result.header;
  st.image = result.image;
  st.provenance = result.provenance.provenance;
  st.damagedProvenance.reset();
  if (result.provenance.status == ProvenanceStatus::Damaged) {
    st.damagedProvenance =
        AppState::DamagedProvenance{result.provenanceBytes, false, result.provenance.why};
    // A tail too long to have been read whole cannot be written back: no save keeps it.
    s.dialogs.WarningOk(
        "The table's record of how it was made is damaged (" + result.provenance.why +
        ") and is ignored; the table itself is read as it was saved." +
        (result.provenanceBytes.empty() ? " It is too long to keep: the next save drops it." : ""));
  } else if (result.provenance.status == ProvenanceStatus::Newer) {
    st.damagedProvenance = AppState::DamagedProvenance{result.provenanceBytes, true, "", true};
    s.dialogs.WarningOk(
        "The table's record of how it was made was written by a newer version of Vyk Edit: "
        "this version does not read it and keeps it in the file as it is.");
  }
  st.projectOnDisk = {st.projectFileName, result.fingerprint};
  st.projectState = ProjectState::StoredProject;
  for (int k = 1; k <= 4; ++k)
    AdjustPot(s, k, 0);
  st.projectModified = false;
  RememberProject(st, st.projectFileName);
  s.dialogs.Information(st.projectFileName + " loaded");
  return true;
}

bool SaveProjectFile(Session& s) {
  const std::string& name = s.state.projectFileName;
  if (name.empty() || name == kNewProjectName) return FileSaveAsClick(s);
  return WriteProject(s);
}

void InitNewImage(Session& s, uint8_t group) {
  AppState& st = s.state;
  st.image = NewImage(group);
  st.potWorkingCopies.fill(0);
  st.controls.potTexts.fill("0");
  st.projectModified = false;

  st.projectState = ProjectState::NewProject;
  st.projectFileName = kNewProjectName;
  st.projectOnDisk.reset();
  st.provenance.reset();
  st.damagedProvenance.reset();
  st.header = ProjectHeader();
  int32_t today = s.today();
  st.header.SetInt32At(ProjectHeader::kCreated, today);
  st.header.SetInt32At(ProjectHeader::kSaved, today);
  st.header.SetFixedFields();
  st.header.SetByteAt(ProjectHeader::kIoCode,
                      static_cast<uint8_t>(st.controls.inputRGrp * 2 + st.controls.outputRGrp));
  st.header.SetByteAt(ProjectHeader::kUseMeterGroup, kNoMeterGroup);
  st.header.SetByteAt(ProjectHeader::kMatchMeterGroup, kNoMeterGroup);
  st.header.SetUseMeterName(FileText("(none)"));
  st.header.SetMatchMeterName(FileText("(none)"));
  s.view.ControlsChanged();
}

void FileNewClick(Session& s) {
  if (RefusedDuringExchange(s)) return;
  if (!QuerySaveChanges(s)) return;
  AppState& st = s.state;
  ProjectSetup setup;  // the same defaults every time
  if (!ShowProjectSetup(s, setup)) return;
  uint8_t group = setup.group;
  InitNewImage(s, group);
  st.header.SetName(setup.name);
  st.header.SetDescription(setup.description);
  st.header.SetGroup(group);
  st.image.SetByte(kModeByte, group == kGM ? kFrequencyOutput | kFrequencyInput : kVoltageOutput);
  // The group's constants come first: the radio groups' handlers show the limit with them.
  ApplyGroupSettings(s, group);
  if (group == kGM) {
    ShowOutputRGrp(s, kFrequency);
  } else {
    ShowOutputRGrp(s, kVoltage);
    ShowInputRGrp(s, kVoltage);
  }
  ImageToControls(s);
  st.header.SetByteAt(ProjectHeader::kUnits, setup.metric ? 1 : 0);
  // A project that has never been saved exists nowhere but in this window: closing it
  // without the save question would lose it, Undo included.
  st.projectModified = true;
  ConnectBox(s, group);
  StartHistory(s);
  RefreshWindow(s);
  SetMeterFolder(st, group);
}

void FileOpenClick(Session& s) {
  if (RefusedDuringExchange(s)) return;
  if (!QuerySaveChanges(s)) return;
  AppState& st = s.state;
  auto path = s.dialogs.OpenFileName({ProjectFolder(st), kOpenFilter, kProjectFilter, false, ""});
  if (path) OpenProjectFile(s, *path);
}

void OpenRecentClick(Session& s, const std::string& path) {
  if (RefusedDuringExchange(s)) return;
  if (!QuerySaveChanges(s)) return;
  OpenProjectFile(s, path);
}

void OpenProjectFile(Session& s, const std::string& path) {
  if (RefusedDuringExchange(s)) return;
  AppState& st = s.state;
  std::string previousName = st.projectFileName;
  st.projectFileName = path;
  bool loaded = false;
  try {
    loaded = LoadProjectFile(s);
  } catch (...) {
    st.projectFileName = previousName;  // a system read error loaded nothing either
    throw;
  }
  if (!loaded) {
    // Nothing was loaded: the project on screen stays as it was, under its own name.
    st.projectFileName = previousName;
    return;
  }
  uint8_t group = st.header.Group();
  ApplyGroupSettings(s, group);
  st.controls.groupLabel = GroupLabelText(group);
  ImageToControls(s);
  st.projectModified = false;
  ConnectBox(s, group);
  StartHistory(s);
  RefreshWindow(s);
  SetMeterFolder(st, group);
}

bool FileSaveClick(Session& s) {
  if (RefusedDuringExchange(s)) return false;
  return SaveProjectFile(s);
}

bool FileSaveAsClick(Session& s) {
  if (RefusedDuringExchange(s)) return false;
  AppState& st = s.state;
  SetMeterFolder(st, st.header.Group());
  auto path =
      s.dialogs.SaveFileName({ProjectFolder(st), kProjectFilter, kProjectFilter, true, "VYK"});
  if (!path) return false;
  // The dialog adds ".VYK" to a name typed without an extension, which File > Open's "*.VYK"
  // would hide; a name given on the command line is kept as it is.
  st.projectFileName = *path;
  return WriteProject(s);
}

void FileCloseClick(Session& s) {
  if (RefusedDuringExchange(s)) return;
  if (!QuerySaveChanges(s)) return;
  s.state.projectState = ProjectState::NoProject;
  s.state.projectModified = false;
  StartHistory(s);
  ClearProjectView(s);
  RefreshWindow(s);
}

void EditProjectClick(Session& s) {
  if (RefusedDuringExchange(s)) return;
  AppState& st = s.state;
  ProjectSetup setup{st.header.Name(), st.header.Description(), st.header.Group(),
                     st.header.Units() != 0};
  ProjectHeader before = st.header;
  ProjectChange change(s, "Project Setup");
  if (!ShowProjectSetup(s, setup, ProvenanceLines(FactsOfProvenance(st)))) return;
  st.header.SetName(setup.name);
  st.header.SetDescription(setup.description);
  st.header.SetGroup(setup.group);
  st.header.SetByteAt(ProjectHeader::kUnits, setup.metric ? 1 : 0);
  // A changed name or group must not be lost at close without the save question.
  if (!(st.header == before)) {
    st.projectModified = true;
    // The Box identified was the old group's hardware: it must be connected again.
    if (st.header.Group() != before.Group()) st.boxConnected = false;
    RefreshWindow(s);
  }
}

bool QuerySaveChanges(Session& s) {
  if (!s.state.projectModified || s.state.projectState == ProjectState::NoProject) return true;
  switch (s.dialogs.Question("Save E2P file first ?", QuestionButtons::YesNoCancel)) {
    case Answer::Yes:
      return SaveProjectFile(s);
    case Answer::No:
      return true;
    default:
      return false;
  }
}

}  // namespace vyk

#include "operations/box/box_operations.h"

#include "operations/box/exchange.h"
#include "operations/meters/table_check.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

#include "link/sim_port.h"
#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/image_diff.h"
#include "model/records/box_backups.h"
#include "model/records/box_history.h"
#include "model/text/hex_text.h"
#include "model/text/number.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"
#include "storage/path_text.h"

namespace vyk {

namespace {

constexpr int kTransferBytes = kBoxBytes;  // 0x00..0x4F

bool Ask(Session& s, const std::string& question) {
  return s.dialogs.Question(question, QuestionButtons::YesNo) == Answer::Yes;
}

bool Simulated(const BoxLink& link) {
  return IsSimulatorPort(link.PortName());
}

// The Box's letter and version as the window names it: the simulated Box says what it is.
std::string BoxIdentity(const AppState& st, const BoxLink& link) {
  return (Simulated(link) ? "simulated " : "") + st.boxLetter + " " + st.boxVersion;
}

// The main button turns into Abort for the length of a transfer; true when the Box prompted.
bool StartTransfer(Session& s, BoxLink& link) {
  s.state.buttonMode = ButtonMode::Abort;
  s.view.ApplyLook(LookOf(s.state));
  s.state.abortRequest = false;
  link.FlushRx();
  if (link.SendCommand("", '>')) return true;
  TransferFailed(s, link, kNotFound);
  return false;
}

// The letter and version an answer to "Q" (at least 10 characters) gives.
void NoteIdentity(AppState& st, const std::string& reply) {
  st.boxLetter = reply.substr(2, 1);
  st.boxVersion = Trim(reply.substr(3, 3));
}

constexpr char kNoIdentity[] = "Invalid response from hardware (error 1)";

// Asks the Box "Q" and checks its letter against the group and its version against the
// project's. The message of what is wrong, or nothing when the Box is the project's hardware.
std::optional<std::string> IdentityFault(Session& s, BoxLink& link, uint8_t group) {
  AppState& st = s.state;
  if (!link.SendCommand("Q", '>')) return kNoIdentity;
  const std::string r = link.ReplyText();
  if (r.size() < 10) return "Invalid response from hardware (error 2)";
  NoteIdentity(st, r);
  const HardwareGroup* named = FindGroup(group);
  if (named != nullptr && r[2] != named->boxLetter)
    return std::string(named->name) + " version hardware not found";
  std::optional<float> version;
  try {
    version = ReadNumber(Trim(r.substr(3, 3)));
  } catch (const OverflowError&) {
    version.reset();
  }
  if (!version) return "Invalid response from hardware (error 4)";
  // Times ten at extended precision: 0.9 as a float gives 8, not 9.
  long double tenths = std::trunc(static_cast<long double>(*version) * 10);
  if (tenths != st.header.RequiredVersion()) return "Incorrect hardware version";
  return std::nullopt;
}

// The identification inside a transfer, right before its first byte is written or kept: the
// Box must be the project's hardware whatever happened since it was connected. A Box that did
// not answer because the user aborted is not reported.
bool TransferIdentifies(Session& s, BoxLink& link) {
  AppState& st = s.state;
  const std::optional<std::string> fault = IdentityFault(s, link, st.header.Group());
  if (!fault) {
    st.boxConnected = true;
    return true;
  }
  if (*fault == kNoIdentity) {
    TransferFailed(s, link, *fault);
  } else {
    st.boxConnected = false;
    Report(s, link, *fault);
  }
  return false;
}

}  // namespace

bool ConnectBox(Session& s, BoxLink& link, uint8_t group) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return false;
  AppState& st = s.state;
  st.boxConnected = false;
  st.boxPartial = false;  // the Box connected now may be another one
  st.boxLetter.clear();
  st.boxVersion.clear();
  link.FlushRx();
  auto fail = [&](const std::string& text) {
    TransferFailed(s, link, text);
    link.FlushRx();
    return false;
  };
  if (!link.SendCommand("", '>')) return fail(kNotFound);
  if (auto fault = IdentityFault(s, link, group)) return fail(*fault);
  st.boxConnected = true;
  return true;
}

bool MonitorSample(Session& s, BoxLink& link, MonitorReading* reading) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return false;
  AppState& st = s.state;
  link.FlushRx();
  if (!link.SendCommand("", '>')) {
    TransferFailed(s, link, kNotFound);
    return false;
  }
  if (!link.SendCommand("M", 10)) {
    TransferFailed(s, link, "Invalid response from hardware (error 1)");
    return false;
  }
  link.WaitForChar('>');
  const std::string r = link.ReplyText();
  link.FlushRx();
  const std::optional<MonitorReading> sample = ReadingOf(r);
  if (!sample) {
    Report(s, link, "Invalid response from hardware (error 2)");
    return false;
  }
  const MonitorReading& m = *sample;
  if (reading) *reading = m;
  const std::optional<BoxReading> before = st.controls.reading;
  st.controls.reading = BoxReading{m.input, m.offsets, m.output};
  try {
    ShowReading(s);
  } catch (...) {
    st.controls.reading = before;  // the labels still show that one
    throw;
  }
  return true;
}

void AbortBtnClick(Session& s, BoxLink& link) {
  switch (s.state.buttonMode) {
    case ButtonMode::Monitor:
      MonitorSample(s, link);
      RefreshWindow(s);
      break;
    case ButtonMode::Connect:
      ConnectBox(s, link, s.state.header.Group());
      RefreshWindow(s);
      break;
    case ButtonMode::Abort:
      s.state.abortRequest = true;
      break;
  }
}

void Button1Click(Session& s, BoxLink& link) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return;
  link.FlushRx();
  for (char c : std::string("C00*\r")) {
    link.SendEchoed(static_cast<uint8_t>(c));
    link.PumpEvents();
  }
}

namespace {

// Writes and verifies bytes 0x00..0x4F until one fails or the user aborts. True when all
// verified; `verified` counts the addresses written and read back, and `unsure` tells that the
// Box acknowledged the write of the next one, which was not verified. A garbled read-back is
// asked for once more: a byte is verified only by an answer that reads. A failure is kept in
// boxMessage for the Update's one box.
bool WriteBytes(Session& s, BoxLink& link, const TransferProgress& progress, int& verified,
                bool& unsure) {
  const AppState& st = s.state;
  for (int a = 0; a < kTransferBytes; ++a) {
    const int v = st.image.Byte(a);
    const bool acknowledged = SendByteCommand(s, link, "C" + Hex2(a) + Hex2(v), false);
    unsure = !link.ReplyMissing();  // an abort still waits for the "+"
    if (!acknowledged) return false;
    link.WaitForChar('>');
    if (st.abortRequest) return false;
    std::string r;
    bool readable = false;
    if (!ReadByte(s, link, a, r, readable, false)) return false;
    if (!readable || ByteOf(r) != v) {
      Report(s, link, "Verify error: " + Hex2(v) + " " + r, false);
      return false;
    }
    verified = a + 1;
    unsure = false;
    if (progress) progress(a + 1);
  }
  return true;
}

// Reads bytes 0x00..0x4F into `staged` until one fails or the user aborts; true when every
// byte arrived. An answer whose two characters before the "+" are not hexadecimal digits was
// garbled on the line: that address is asked once more, and a second garbled answer fails.
bool ReadBytes(Session& s, BoxLink& link, const TransferProgress& progress,
               std::array<uint8_t, kTransferBytes>& staged, int& at) {
  for (int a = 0; a < kTransferBytes; ++a) {
    at = a;
    std::string r;
    bool readable = false;
    if (!ReadByte(s, link, a, r, readable)) return false;
    if (!readable) {
      Report(s, link, "The Box answered address " + Hex2(a) + " with a garbled value twice");
      return false;
    }
    staged[a] = ByteOf(r);
    if (progress) progress(a + 1);
  }
  return true;
}

}  // namespace

namespace {

using BoxBytes = std::array<uint8_t, kTransferBytes>;

std::string HexAt(int address) {
  return Hex2(std::max(address, 0));
}

std::string Checksum(const uint8_t* bytes) {
  return Crc32Text(bytes, kTransferBytes);
}

// Reads the Box's 80 bytes into `box` (a copy of the project's image, so bytes 0x50.. are the
// project's), leaving the project as it is. After the identification, inside a running
// exchange. False (with `stoppedAt` set) when they did not arrive whole; failures are reported
// here, an abort is not.
bool ReadBoxInto(Session& s, BoxLink& link, EepromImage& box, const TransferProgress& progress,
                 std::string& stoppedAt) {
  BoxBytes staged{};
  int at = 0;
  if (!ReadBytes(s, link, progress, staged, at)) {
    stoppedAt = "read " + HexAt(at);
    return false;
  }
  box = s.state.image;
  for (int a = 0; a < kTransferBytes; ++a)
    box.SetByte(a, staged[a]);
  return true;
}

// The project's file as the history and the backups name it: in full, as a log is read later
// and elsewhere.
std::string ProjectPath(const AppState& st) {
  if (st.projectFileName.empty() || st.projectFileName == kNewProjectName)
    return st.projectFileName;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(PathOf(st.projectFileName), ec);
  return ec ? st.projectFileName : PathText(full);
}

// One line of the history for the transfer now ending. A history that cannot be written is a
// warning beside the transfer's outcome, which has been told already and stands.
void Record(Session& s, BoxLink& link, HistoryEntry entry, const std::string& outcome) {
  if (s.dataFolder.empty()) return;
  const AppState& st = s.state;
  entry.time = LocalTimeText(s.now());
  entry.port = link.PortName();
  entry.letter = st.boxLetter;
  entry.version = st.boxVersion;
  entry.project = ProjectPath(st);
  entry.outcome = outcome;
  if (outcome != kOutcomeOk && outcome != kOutcomeNoChange) entry.message = st.boxMessage;
  try {
    AppendHistory(s.dataFolder, entry);
  } catch (const std::exception& e) {
    s.dialogs.RecordWarning(std::string("The history of Box transfers was not written: ") +
                            e.what());
  }
}

// A project not saved yet goes by the name it was given, where it has one; empty otherwise.
std::string UnsavedProjectName(const AppState& st) {
  if (!st.projectFileName.empty() && st.projectFileName != kNewProjectName) return {};
  const std::string name = st.header.Name().Bytes();  // Name() gives a copy
  return name.empty() || name == "(none)" ? std::string() : Cp1252ToUtf8(name);
}

// A header text from UTF-8; characters Windows-1252 lacks become "?".
FileText HeaderText(const std::string& text) {
  if (auto converted = FileTextFromUtf8(text)) return *converted;
  std::string plain;
  for (char c : text)
    plain += static_cast<unsigned char>(c) < 0x80 ? c : '?';
  return FileText(plain);
}

// The backup's header: the project's group, units and version, named for the Box it came
// from and the project it is replaced by.
ProjectHeader BackupHeader(Session& s, const BoxLink& link) {
  const AppState& st = s.state;
  ProjectHeader h = st.header;
  const int32_t today = s.today();
  h.SetInt32At(ProjectHeader::kCreated, today);
  h.SetInt32At(ProjectHeader::kSaved, today);
  h.SetName(HeaderText((Simulated(link) ? "Simulated Box " : "Box ") + st.boxLetter + " " +
                       st.boxVersion + " " + LocalTimeText(s.now()).substr(0, 19)));
  std::string project = st.projectFileName;
  if (const size_t slash = project.find_last_of("/\\"); slash != std::string::npos)
    project.erase(0, slash + 1);
  if (const std::string name = UnsavedProjectName(st); !name.empty()) project = name;
  h.SetDescription(HeaderText("Replaced by " + project));
  h.SetByteAt(ProjectHeader::kUseMeterGroup, kNoMeterGroup);
  h.SetByteAt(ProjectHeader::kMatchMeterGroup, kNoMeterGroup);
  h.SetUseMeterName(FileText("(none)"));
  h.SetMatchMeterName(FileText("(none)"));
  h.SetFixedFields();
  return h;
}

enum class Guard { Write, NoChange, Stop };

// Before the write, inside its exchange: reads the Box, shows what will change (unless the
// user turned that off), and keeps the backup. Stop when the Update must not go on.
Guard GuardUpdate(Session& s, BoxLink& link, const TransferProgress& progress, HistoryEntry& entry,
                  const std::vector<std::string>& warnings, bool& previewed) {
  AppState& st = s.state;
  EepromImage box;
  if (!ReadBoxInto(s, link, box, progress, entry.stoppedAt)) {
    entry.stoppedAt = "backup " + entry.stoppedAt;
    if (!st.boxMessage.empty())
      s.dialogs.Error("The Box could not be read for its backup, so nothing was written to it");
    return Guard::Stop;
  }
  const std::vector<ImageDifference> changes = DiffImages({st.header, box}, {st.header, st.image});
  if (changes.empty()) {
    s.dialogs.Information(
        "No change: the Box already holds these 80 bytes, so nothing was "
        "written");
    return Guard::NoChange;
  }
  if (st.previewBeforeUpdate) {
    bool dontShowAgain = false;
    const bool ok = s.dialogs.PreviewUpdate(
        {st.projectFileName, link.PortName(), BoxIdentity(st, link), changes, warnings},
        dontShowAgain);
    previewed = true;
    if (dontShowAgain) st.previewBeforeUpdate = false;
    if (!ok) {
      entry.stoppedAt = "preview";
      return Guard::Stop;
    }
  }
  if (!st.backupBeforeUpdate) return Guard::Write;
  try {
    // The index names the project only once the Box holds all of it.
    entry.backup = SaveBackup(s.dataFolder, s.now(), st.boxLetter, st.boxVersion,
                              BackupHeader(s, link), box, "", Simulated(link));
  } catch (const std::exception& e) {
    st.boxMessage = e.what();
    s.dialogs.Error(std::string("The backup of the Box could not be saved, so nothing was "
                                "written to it: ") +
                    e.what());
    entry.stoppedAt = "backup";
    return Guard::Stop;
  }
  return Guard::Write;
}

}  // namespace

bool BoxUpdateClick(Session& s, BoxLink& link, const TransferProgress& progress,
                    UpdateReport* report, const TransferProgress& readProgress) {
  // The question of the simulated Box says so: its "success" writes no hardware.
  if (!Ask(s, Simulated(link) ? "Ok to update EEPROM data?\n\nThe Box on this port is the "
                                "simulated Box: no hardware is written."
                              : "Ok to update EEPROM data?"))
    return false;
  AppState& st = s.state;
  // The Box is read first for its backup or for the preview of what changes.
  const bool guarded = !s.dataFolder.empty() && (st.backupBeforeUpdate || st.previewBeforeUpdate);
  bool complete = false;
  HistoryEntry entry;
  entry.operation = "update";
  entry.checksum = Checksum(st.image.Bytes().data());
  std::string outcome = kOutcomeFailed;
  Guard guard = Guard::Write;
  // Never a reason to refuse: the tuner may mean a falling or out-of-range entry.
  const std::vector<std::string> warnings = ProjectTableWarnings(st);
  bool previewed = false;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    st.boxMessage.clear();
    int verified = 0;
    bool unsure = false;
    if (!StartTransfer(s, link)) {
      entry.stoppedAt = "prompt";
      guard = Guard::Stop;
    } else if (!TransferIdentifies(s, link)) {
      entry.stoppedAt = "identify";
      guard = Guard::Stop;
    } else if (guarded) {
      guard = GuardUpdate(s, link, readProgress, entry, warnings, previewed);
    }
    if (guard == Guard::Write) {
      complete = WriteBytes(s, link, progress, verified, unsure);
      if (!complete) entry.stoppedAt = "write " + HexAt(verified);
    }
    if (guard == Guard::NoChange) complete = true;
    if (complete) {
      st.boxPartial = false;
      st.boxLastAddressWritten = kTransferBytes - 1;
      st.boxUnsureAddress = -1;
    } else if (verified > 0 || unsure) {
      st.boxPartial = true;
      st.boxLastAddressWritten = verified - 1;
      st.boxUnsureAddress = unsure ? verified : -1;
    }
    outcome = complete ? (guard == Guard::NoChange ? kOutcomeNoChange : kOutcomeOk)
              : entry.stoppedAt == "preview" ? kOutcomeCancelled
              : st.boxMessage.empty()        ? kOutcomeAborted
                                             : kOutcomeFailed;
  }
  RefreshWindow(s);
  if (report) {
    report->outcome = outcome;
    report->backupPath = entry.backup;
    report->warnings = warnings;
  }
  // The outcome first, in one box with what the Box holds now; the records kept of it follow.
  // An abort has nothing to tell that the window does not show.
  if (!complete && guard == Guard::Write && !st.boxMessage.empty())
    s.dialogs.Error(st.boxMessage + "\n" +
                    (st.boxPartial ? PartialImageText(st)
                                   : "The Box stored nothing of this Update: it holds what it "
                                     "held before."));
  if (complete && !entry.backup.empty()) {
    try {
      const std::string name = UnsavedProjectName(st);
      NoteBackupReplaced(s.dataFolder, entry.backup, name.empty() ? ProjectPath(st) : name);
    } catch (const std::exception& e) {
      s.dialogs.RecordWarning(std::string("The index of the Box's backups was not written: ") +
                              e.what());
    }
  }
  if (outcome == kOutcomeOk) {
    std::string said = "Wrote and verified " + std::to_string(kTransferBytes) + " bytes to the " +
                       (Simulated(link) ? "simulated Box on " : "Box on ") + link.PortName();
    // Without the preview the check's warnings have no other place.
    if (!previewed && !warnings.empty())
      said +=
          "; the table check warns: " + warnings.front() +
          (warnings.size() > 1 ? " (and " + std::to_string(warnings.size() - 1) + " more)" : "");
    s.view.StatusMessage(said);
  }
  Record(s, link, entry, outcome);
  return complete;
}

bool ReadBoxImage(Session& s, BoxLink& link, EepromImage& box, const TransferProgress& progress) {
  bool read = false;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    s.state.boxMessage.clear();
    std::string stoppedAt;
    read = StartTransfer(s, link) && TransferIdentifies(s, link) &&
           ReadBoxInto(s, link, box, progress, stoppedAt);
  }
  RefreshWindow(s);
  return read;
}

bool BoxRetrieveClick(Session& s, BoxLink& link, const TransferProgress& progress,
                      const RetrieveOptions& options) {
  if (!Ask(s, "Ok to retrive EEPROM data?")) return false;
  BoxBytes staged{};
  bool prompted = false;
  bool identified = false;
  bool complete = false;
  HistoryEntry entry;
  entry.operation = "retrieve";
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    s.state.boxMessage.clear();
    prompted = StartTransfer(s, link);
    identified = prompted && (!options.identify || TransferIdentifies(s, link));
    int at = 0;
    if (identified) complete = ReadBytes(s, link, progress, staged, at);
    entry.stoppedAt = !prompted     ? "prompt"
                      : !identified ? "identify"
                      : complete    ? ""
                                    : "read " + HexAt(at);
  }
  const std::string outcome = complete                     ? kOutcomeOk
                              : s.state.boxMessage.empty() ? kOutcomeAborted
                                                           : kOutcomeFailed;
  if (!complete) {
    // Box bytes mixed with the user's unsaved edits would be neither: keep the project whole.
    RefreshWindow(s);
    if (identified && !s.state.boxMessage.empty())
      s.dialogs.Error(
          "Retrieve stopped before all 80 bytes were read: the project was not changed");
    Record(s, link, entry, outcome);
    return false;
  }
  entry.checksum = Checksum(staged.data());
  AppState& st = s.state;
  ProjectChange change(s, "Retrieve EEPROM");
  // The Box's bytes are not in the project's file yet: a retrieve that changed the image
  // leaves something to save, as do the edits made before it.
  const bool wasModified = st.projectModified;
  const EepromImage before = st.image;
  for (int a = 0; a < kTransferBytes; ++a)
    st.image.SetByte(a, staged[a]);
  ShowModeByte(s);
  for (int k = 1; k <= 4; ++k)
    AdjustPot(s, k, 0);
  ShowLimitText(s, Trim(EntryOutputText(st, kLimitEntry)));
  st.projectModified = wasModified || !(st.image == before);
  st.boxPartial = false;  // the project holds what the Box holds: nothing is left to complete
  RefreshWindow(s);
  if (options.keep && !options.keep()) {
    entry.stoppedAt = "save";
    Record(s, link, entry, s.state.boxMessage.empty() ? kOutcomeAborted : kOutcomeFailed);
    return false;
  }
  Record(s, link, entry, outcome);
  return true;
}

}  // namespace vyk

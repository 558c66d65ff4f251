#pragma once
// The program's whole state in one object: what the Box holds, what the project holds and
// what the main window shows. Owned by the main window (or by a command of the command
// line, or a test) and passed to every operation.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/conversions.h"
#include "model/eeprom_image.h"
#include "model/groups.h"
#include "model/match_table.h"
#include "model/project_header.h"
#include "model/provenance.h"
#include "storage/file_fingerprint.h"

namespace vyk {

enum class ProjectState { NoProject, NewProject, StoredProject };
enum class ButtonMode { Connect, Monitor, Abort };

inline constexpr int kVoltage = 0;    // radio group index
inline constexpr int kFrequency = 1;  // radio group index

inline const std::string kNewProjectName = "(new)";

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// What the Project Setup dialog holds.
struct ProjectSetup {
  FileText name{"(none)"};
  FileText description;
  uint8_t group = kFord;
  bool metric = false;
};

struct ChartPoint {
  float x = 0;
  float y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// The main window's chart: the table curve and the Box's adjusted curve.
struct Chart {
  std::string bottomTitle = "V In";
  std::string leftTitle = "V Out";
  std::string series1Title = "V Out";
  std::vector<ChartPoint> series1;  // table curve
  std::vector<ChartPoint> series2;  // adjusted curve
  bool operator==(const Chart&) const = default;
};

// One reading of the Box as it sent it: its input, its pots' offsets and its output.
struct BoxReading {
  int input = 0;  // 16-bit signed
  std::array<int, 4> offsets{};
  int output = 0;
};

// The values the main window's controls show; the logic reads them, the widgets mirror them.
struct Controls {
  int inputRGrp = kVoltage;
  int outputRGrp = kVoltage;
  bool inputRGrpEnabled = false;
  bool outputRGrpEnabled = false;
  bool invertLimit = false;
  std::string limitText;
  std::array<std::string, 4> potTexts{"0", "0", "0", "0"};
  bool showHex = false;  // the byte grid instead of the chart
  std::string groupLabel;
  std::string dataInLabel;
  std::string dataOutLabel;
  std::string learnLabel;
  // The reading the labels and the adjusted curve show, kept to show it again in other kinds.
  std::optional<BoxReading> reading;
};

struct AppState {
  EepromImage image;
  ProjectHeader header;
  ConversionSettings conversion;
  bool projectModified = false;
  ProjectState projectState = ProjectState::NoProject;
  std::string projectFileName;
  // The project file as it was when this project was read from it or last saved into it: a
  // save over a file that has changed since asks first. Nothing for a project not yet saved.
  std::optional<FileOnDisk> projectOnDisk;
  // How the table was made, when the project keeps it: the two meters whole, the match's
  // settings and the table it left (Copy E2P stores it, each save writes it after the image).
  // The stored meter to match as a record: `MeterRecord(state.provenance->match)`; the
  // entries edited by hand since: `EditedEntries(*state.provenance, state.image)`.
  std::optional<Provenance> provenance;
  // A block after the image that did not read (wrong length or checksum): its bytes, written
  // back at a save only when the user agrees. `keep` holds that answer once given. A whole
  // block of a newer version (`newer`) is no damage: it is kept unasked.
  struct DamagedProvenance {
    std::string bytes;
    bool keep = false;
    std::string why;  // what is wrong with it, as the warning on opening said
    bool newer = false;
    bool operator==(const DamagedProvenance&) const = default;
  };
  std::optional<DamagedProvenance> damagedProvenance;

  bool boxConnected = false;
  // The port's line went (an adapter pulled): the next exchange opens the device again.
  bool lineLost = false;
  bool abortRequest = false;
  ButtonMode buttonMode = ButtonMode::Connect;
  // An exchange with the Box is running. Its waits let other events run, so while this is set
  // the project and edit operations refuse and change nothing, and the refresh keeps the
  // Abort button and any abort request: only Abort, Help and Exit act.
  bool exchangeRunning = false;
  // The live view runs (an exchange of readings one after another). The pot arrows still act:
  // each pot they change is written into the Box between two readings, in this order (pots
  // 1..4, each once however often it was pressed). A stop request ends the view after the
  // exchange in progress.
  bool liveRunning = false;
  bool liveStopRequest = false;
  std::vector<int> livePotWrites;
  // What Box > Update EEPROM left in the Box. An update that stops part-way (abort, fault,
  // lost line) after its first acknowledged write sets `boxPartial`: the Box holds the new
  // bytes 0x00..boxLastAddressWritten (each acknowledged and verified; -1: none), perhaps a
  // changed byte at boxUnsureAddress (acknowledged, not verified; -1: none) and its old bytes
  // after them. A complete update clears it, and so do a new connection, a Retrieve and
  // closing the project; an update the Box stored nothing of leaves it.
  bool boxPartial = false;
  int boxLastAddressWritten = -1;
  int boxUnsureAddress = -1;
  // The Box's group letter and version text as it last told them (identification, or the
  // read before an Update); empty when unknown.
  std::string boxLetter;
  std::string boxVersion;
  // The last error a Box operation reported, for the history of transfers.
  std::string boxMessage;
  // Before an Update: read the Box and keep what it held as a backup; show what will change.
  // Both are settings, kept in vyk.ini.
  bool backupBeforeUpdate = true;
  bool previewBeforeUpdate = true;

  std::array<uint8_t, 4> potWorkingCopies{};  // pots 1..4
  MatchTable matchTable;
  Controls controls;
  Chart chart;

  std::string appFolder;    // the program's folder, with a trailing separator
  std::string meterFolder;  // appFolder, then appFolder + group name + separator
  int portNumber = 2;
  std::string portName;  // a device or "Simulator" chosen in place of COM n; empty: COM n
  // The settings name the Box's port: read from the file, picked at the first start or chosen
  // in Box > Options. Until then the settings file gets no port, so the next start looks again.
  bool portChosen = false;
  int baudRate = 9600;
  std::string portInUse;   // the device the Box link has open; empty: none
  std::string portNotice;  // why the Box link has no port, and what to do about it
  // The project files last opened or saved, the latest first: File's list, and where its
  // file dialogs start.
  std::vector<std::string> recentProjects;
};

}  // namespace vyk

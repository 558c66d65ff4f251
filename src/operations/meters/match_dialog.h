#pragma once
// The meter match dialog without its window: the two meter lists of the project's group, the
// Match button, the 256-row grid's texts and Copy E2P into the project.
#include <array>
#include <string>
#include <vector>

#include "match/compute_match.h"
#include "operations/meters/match_preview.h"
#include "operations/project/session.h"

namespace vyk {

struct MatchDialog {
  // Kept from one Match to the next.
  uint8_t useGroup = 0;
  std::string useFile;  // as listed
  uint8_t matchGroup = 0;
  std::string matchFile;
  MatchOutcome outcome;  // kinds of the last computation and the labels on show
  // The two meters of the last Match, which Copy E2P keeps in the project.
  MeterRecord useMeter;
  MeterRecord matchMeter;

  // The window's controls.
  std::vector<std::string> useList;  // sorted, as ListedMeterName gives them
  std::vector<std::string> matchList;
  int useIndex = -1;  // selected entry, -1 for none
  int matchIndex = -1;
  std::array<std::string, 3> headers{"Flow", "V In", "V Out"};
  std::string flowUnits = "Units";
  bool matchEnabled = false;
  bool copyEnabled = false;
  MatchPreview preview;  // of the meters selected in the lists
};

// Edit > Match before the dialog shows: lists "*.maf" of the meter folder in both lists and
// selects the project's meters where they are listed. With no meter there it says how to make
// one and returns false: the dialog does not show.
bool FillMeterLists(Session& s, MatchDialog& d);

// Each time the dialog is shown: headers back to "Flow", "V In", "V Out", the match table
// reset, Copy E2P disabled, the preview of the selected meters made.
void MatchFormActivate(Session& s, MatchDialog& d);

// Either list's selection changed.
void MeterComboChange(MatchDialog& d);

// Reads the meter file `name` (as listed) of the group's folder. `which` is 1 for the meter to
// use and 2 for the meter to match.
bool LoadMeter(Session& s, MatchDialog& d, int which, uint8_t group, MeterRecord& record,
               const std::string& name);

// Loads both meters, computes the table and shows its labels.
void MatchBtnClick(Session& s, MatchDialog& d);

// The text of a data cell (row 1..256, column 0..2); empty while the table has no slots.
std::string MatchGridCellText(const AppState& state, const MatchDialog& d, int column, int row);

// Copies every eighth slot into transfer-table entries 0..31, the kinds into the mode byte
// and the meters into the project header, and keeps how the table was made (both meters
// whole, the settings, the result) in the project, with the records of the one it replaces
// that this version does not read. A table with a sampled slot without output, or a
// file name the project file's character set cannot hold, is refused before anything changes;
// so is everything while an exchange with the Box runs.
void CopyE2PBtnClick(Session& s, MatchDialog& d);

// The input code of the first of the slots 0, 8, ..., 248 without an output value; -1 when
// every one has a value and the table can be copied.
int FirstUncopiableCode(const MatchTable& table);

// The error for such a table: "Input code N has no output value: " and what was not done.
std::string NoOutputValueText(int code, const std::string& notDone);

// The copy itself, shared by Copy E2P and Rematch: entries 0..31 from every eighth slot (a
// table that FirstUncopiableCode accepts), the kinds into the mode byte and the radio groups.
void TransferMatch(Session& s, const MatchTable& table, const MatchOutcome& outcome);

// The folder entry whose name, upper-cased and trimmed, is `listed`: on a file system that
// tells case apart the file may be stored in lower case. Empty when there is none.
std::string FindListedFile(const std::string& folder, const std::string& listed);

// The name a meter file is listed under: upper-cased (a..z only) and trimmed, otherwise as the
// file system spells it (UTF-8).
std::string ListedMeterName(const std::string& fileName);

}  // namespace vyk

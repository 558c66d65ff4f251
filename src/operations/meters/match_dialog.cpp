#include "operations/meters/match_dialog.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "model/conversions.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"
#include "storage/path_text.h"

namespace vyk {

namespace fs = std::filesystem;

namespace {

const std::string kMeterPattern = "*.maf";

bool IsMeterFileName(const std::string& name) {
  return name.size() >= 4 && UpperAscii(name.substr(name.size() - 4)) == ".MAF";
}

// Selects the first entry, or the entry that is exactly the project's meter name.
int Preselect(const std::vector<std::string>& list, const FileText& name) {
  if (list.empty()) return -1;
  auto it = std::find(list.begin(), list.end(), Cp1252ToUtf8(name.Bytes()));
  return it == list.end() ? 0 : static_cast<int>(it - list.begin());
}

// Hertz as a whole number in at least 5 characters, whatever the size of the float: a
// hand-made meter file may hold any value.
std::string HertzText(long double value) {
  long double rounded = RoundHalfEven(value);
  return FormatFixed(rounded == 0 ? 0.0L : rounded, 5, 0);  // never "-0"
}

// A listed file name in the project file's character set; one that has no place there is
// refused with an error.
std::optional<FileText> StorableName(Session& s, const std::string& name) {
  auto text = FileTextFromUtf8(name);
  if (!text) {
    s.dialogs.Error("The name " + name +
                    " cannot be stored in a project: it holds a character the project file's "
                    "character set lacks");
  }
  return text;
}

}  // namespace

std::string ListedMeterName(const std::string& fileName) {
  return Trim(UpperAscii(fileName));
}

bool FillMeterLists(Session& s, MatchDialog& d) {
  AppState& st = s.state;
  d.useList.clear();
  d.matchList.clear();
  std::error_code ec;
  for (fs::directory_iterator it(PathOf(st.meterFolder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = PathText(it->path().filename());
    if (!IsMeterFileName(name)) continue;
    std::string listed = ListedMeterName(name);
    d.useList.push_back(listed);
    d.matchList.push_back(listed);
  }
  std::sort(d.useList.begin(), d.useList.end());
  std::sort(d.matchList.begin(), d.matchList.end());
  if (d.useList.empty()) {
    // An empty dialog would leave the user nothing to do there: say where meters come from.
    s.dialogs.Information("There are no " + GroupName(st.header.Group()) + " meters in " +
                          st.meterFolder + " yet. Make one in Edit > Meter, or import a text " +
                          "file there with Convert; then choose Edit > Match again.");
    return false;
  }
  d.useIndex = Preselect(d.useList, st.header.UseMeterName());
  d.matchIndex = Preselect(d.matchList, st.header.MatchMeterName());
  return true;
}

void MatchFormActivate(Session& s, MatchDialog& d) {
  d.headers = {"Flow", "V In", "V Out"};
  ResetMatchTable(s.state.matchTable);
  d.copyEnabled = false;
  MeterComboChange(d);
  d.preview = PreviewMatch(s.state, d);
}

void MeterComboChange(MatchDialog& d) {
  d.matchEnabled = d.useIndex >= 0 && d.matchIndex >= 0;
}

std::string FindListedFile(const std::string& folder, const std::string& listed) {
  std::error_code ec;
  if (fs::exists(PathOf(folder) / PathOf(listed), ec)) return listed;
  std::vector<std::string> candidates;
  for (fs::directory_iterator it(PathOf(folder), ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = PathText(it->path().filename());
    if (ListedMeterName(name) == listed) candidates.push_back(name);
  }
  if (candidates.empty()) return "";
  return *std::min_element(candidates.begin(), candidates.end());
}

bool LoadMeter(Session& s, MatchDialog& d, int which, uint8_t group, MeterRecord& record,
               const std::string& name) {
  const HardwareGroup* named = FindGroup(group);
  if (named == nullptr) {
    s.dialogs.Error("Invalid data path");
    return false;
  }
  std::string folder = s.state.appFolder + std::string(named->meterFolder) + kPathSeparator;
  std::string path = folder + name;
  std::string stored = FindListedFile(folder, name);
  if (stored.empty()) {
    s.dialogs.Error("File " + path + " not found");
    return false;
  }
  ReadMeterFile(folder + stored, record);
  if (which == 1) {
    d.useGroup = group;
    d.useFile = name;
  } else {
    d.matchGroup = group;
    d.matchFile = name;
  }
  return true;
}

void MatchBtnClick(Session& s, MatchDialog& d) {
  if (d.useIndex < 0 || d.matchIndex < 0) return;
  uint8_t group = s.state.header.Group();
  MeterRecord use;
  if (!LoadMeter(s, d, 1, group, use, d.useList.at(d.useIndex))) return;
  MeterRecord match;
  if (!LoadMeter(s, d, 2, group, match, d.matchList.at(d.matchIndex))) return;
  d.outcome = MatchLabels(use, match);
  d.headers = {"Flow", d.outcome.useHeader, d.outcome.outHeader};
  d.flowUnits = d.outcome.flowUnits;
  const ConversionSettings& cs = s.state.conversion;
  ComputeMatch(use, match, cs.HertzPerCount, cs.MaxOutputCount, s.state.matchTable);
  d.useMeter = use;
  d.matchMeter = match;
  d.copyEnabled = true;
}

std::string MatchGridCellText(const AppState& state, const MatchDialog& d, int column, int row) {
  if (row < 1 || row > kMatchSlots || column < 0 || column > 2) throw RangeError();
  if (!state.matchTable) return "";
  const MatchSlot& slot = (*state.matchTable)[row - 1];
  switch (column) {
    case 0:
      return FormatFixed(slot.flow, 0, 2);
    case 1:
      if (slot.useSignal < 0) return "---";
      if (d.outcome.useIsFrequency) return HertzText(slot.useSignal);
      return FormatFixed(slot.useSignal, 5, 3);
    default:
      if (slot.outCount < 0) return "---";
      if (d.outcome.matchIsFrequency)
        return HertzText(slot.outCount * static_cast<long double>(state.conversion.HertzPerCount));
      return FormatFixed(slot.outCount / static_cast<long double>(kInputCountsPerVolt), 5, 3);
  }
}

int FirstUncopiableCode(const MatchTable& table) {
  for (int k = 0; k < kCurvePoints; ++k) {
    if (!table || (*table)[8 * k].outCount < 0) return 8 * k;
  }
  return -1;
}

std::string NoOutputValueText(int code, const std::string& notDone) {
  return "Input code " + std::to_string(code) + " has no output value: " + notDone;
}

void TransferMatch(Session& s, const MatchTable& table, const MatchOutcome& outcome) {
  AppState& st = s.state;
  const bool useFrequency = outcome.useIsFrequency;
  const bool matchFrequency = outcome.matchIsFrequency;
  for (int k = 0; k < kCurvePoints; ++k) {
    int64_t v = (*table)[8 * k].outCount;
    // Two voltage meters: rescale from 1024/6 counts per volt to 1024/5.
    if (!useFrequency && !matchFrequency) v = static_cast<int64_t>(v * 6 / 5.0);
    if (v > 1023) v = 1023;
    st.image.SetEntry(k, static_cast<int>(v));
  }

  uint8_t mode = st.image.Byte(kModeByte);
  mode = useFrequency ? static_cast<uint8_t>((mode & ~kOutputKindMask) | kFrequencyInput)
                      : static_cast<uint8_t>(mode & ~kFrequencyInput);
  st.image.SetByte(kModeByte, mode);
  SetInputRGrp(s, useFrequency ? kFrequency : kVoltage);
  mode = st.image.Byte(kModeByte);
  mode = static_cast<uint8_t>((mode & ~kOutputKindMask) |
                              (matchFrequency ? kFrequencyOutput : kVoltageOutput));
  st.image.SetByte(kModeByte, mode);
  SetOutputRGrp(s, matchFrequency ? kFrequency : kVoltage);
}

void CopyE2PBtnClick(Session& s, MatchDialog& d) {
  if (RefusedDuringExchange(s)) return;
  if (s.dialogs.Question("Ok to save E2P data in main table?", QuestionButtons::YesNo) !=
      Answer::Yes)
    return;
  AppState& st = s.state;
  // Every sampled slot needs an output: refuse before anything is written, so the transfer
  // table is never left half copied.
  if (const int code = FirstUncopiableCode(st.matchTable); code >= 0) {
    s.dialogs.Error(NoOutputValueText(code, "nothing was copied"));
    return;
  }
  const std::optional<FileText> useName = StorableName(s, d.useFile);
  if (!useName) return;
  const std::optional<FileText> matchName = StorableName(s, d.matchFile);
  if (!matchName) return;
  ProjectChange change(s, "Copy E2P");
  st.header.SetByteAt(ProjectHeader::kUseMeterGroup, d.useGroup);
  st.header.SetUseMeterName(*useName);
  st.header.SetByteAt(ProjectHeader::kMatchMeterGroup, d.matchGroup);
  st.header.SetMatchMeterName(*matchName);
  TransferMatch(s, st.matchTable, d.outcome);

  // What Rematch needs to make this table again, and what tells later edits apart from it.
  Provenance made;
  made.use = d.useMeter.Bytes();
  made.match = d.matchMeter.Bytes();
  made.settings = {st.header.Group(),
                   d.useGroup,
                   d.matchGroup,
                   st.conversion.HertzPerCount,
                   st.conversion.MaxOutputCount,
                   st.header.UseMeterName(),
                   st.header.MatchMeterName(),
                   s.today(),
                   static_cast<int64_t>(s.now())};
  made.result = TableEntriesOf(st.image);
  // Records a later version added stay with the new match.
  if (st.provenance) made.unknown = st.provenance->unknown;
  st.provenance = std::move(made);
  st.damagedProvenance.reset();

  PlotTable(s);
  st.projectModified = true;
  RefreshWindow(s);
}

}  // namespace vyk

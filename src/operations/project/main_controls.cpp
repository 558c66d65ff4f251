#include "operations/project/main_controls.h"

#include <algorithm>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"
#include "operations/project/undo_history.h"

namespace vyk {

namespace {

float ChartX(const AppState& st, int x) {
  return st.controls.inputRGrp == kFrequency ? RowInputHertz(st.conversion, x) : RowInputVolts(x);
}

float ChartY(const AppState& st, int y) {
  return st.controls.outputRGrp == kFrequency ? CountOutputHertz(st.conversion, y)
                                              : CountOutputVolts(st.conversion, y);
}

void SetIoCode(AppState& state) {
  state.header.SetByteAt(ProjectHeader::kIoCode, static_cast<uint8_t>(state.controls.inputRGrp * 2 +
                                                                      state.controls.outputRGrp));
}

std::string KindStepName(const char* control, int index) {
  return std::string(control) + (index == kFrequency ? " Frequency" : " Voltage");
}

int CheckIndex(int index) {
  if (index != kVoltage && index != kFrequency) throw RangeError();
  return index;
}

// The limit's text in the current output kind, as the limit box shows it.
std::string LimitDisplayText(const AppState& state) {
  return Trim(EntryOutputText(state, kLimitEntry));
}

void SetModeBits(AppState& state, uint8_t mask, uint8_t bits) {
  uint8_t mode = state.image.Byte(kModeByte);
  state.image.SetByte(kModeByte, static_cast<uint8_t>((mode & ~mask) | bits));
}

// The controls' handlers also run when the program shows an image; only a change of what
// the project holds makes it unsaved, so showing a project does not.
class ModifiedIfChanged {
 public:
  explicit ModifiedIfChanged(AppState& state)
      : state_(state), image_(state.image), header_(state.header.Bytes()) {}
  ~ModifiedIfChanged() {
    if (!(state_.image == image_) || state_.header.Bytes() != header_)
      state_.projectModified = true;
  }
  ModifiedIfChanged(const ModifiedIfChanged&) = delete;
  ModifiedIfChanged& operator=(const ModifiedIfChanged&) = delete;

 private:
  AppState& state_;
  const EepromImage image_;
  const std::array<uint8_t, kHeaderSize> header_;
};

void OutputRGrpClick(Session& s, bool store) {
  AppState& st = s.state;
  {
    ModifiedIfChanged changes(st);
    if (store) {
      SetModeBits(st, kOutputKindMask,
                  st.controls.outputRGrp == kFrequency ? kFrequencyOutput : kVoltageOutput);
    }
    // The text shows the stored limit, so it never stores a different one.
    ShowLimitText(s, LimitDisplayText(st));
    SetIoCode(st);
  }
  PlotTable(s);
  ShowReading(s);
  RefreshWindow(s);
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

void InputRGrpClick(Session& s) {
  AppState& st = s.state;
  {
    ModifiedIfChanged changes(st);
    SetModeBits(st, kFrequencyInput, st.controls.inputRGrp == kFrequency ? kFrequencyInput : 0);
    SetIoCode(st);
  }
  RefreshWindow(s);
  PlotTable(s);
  ShowReading(s);
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

void InvertCBoxClick(Session& s) {
  AppState& st = s.state;
  {
    ModifiedIfChanged changes(st);
    SetModeBits(st, kInvertLimit, st.controls.invertLimit ? kInvertLimit : 0);
  }
  RefreshWindow(s);
  s.view.RepaintEepromGrid();
}

void LimitEditChange(Session& s, bool store) {
  AppState& st = s.state;
  {
    ModifiedIfChanged changes(st);
    if (store) StoreEntryOutput(st, kLimitEntry, Trim(st.controls.limitText));
  }
  RefreshWindow(s);
  s.view.RepaintEepromGrid();
}

}  // namespace

void RefreshWindow(Session& s) {
  // The pot boxes and their arrows go by the image's bytes, whichever control or command
  // changed them (the byte grid, a paste, Undo).
  AppState& st = s.state;
  bool potsChanged = false;
  for (int k = 0; k < 4; ++k) {
    const uint8_t pot = st.image.Byte(kFirstPotByte + k);
    if (st.potWorkingCopies[k] == pot && st.controls.potTexts[k] == PotText(pot)) continue;
    st.potWorkingCopies[k] = pot;
    st.controls.potTexts[k] = PotText(pot);
    potsChanged = true;
  }
  if (potsChanged) s.view.ControlsChanged();
  WindowLook look = RefreshWindowState(s.state);
  s.view.ApplyLook(look);
  s.view.RepaintTableGrid();
  s.view.RepaintEepromGrid();
}

void ShowReading(Session& s) {
  AppState& st = s.state;
  if (!st.controls.reading) return;
  const BoxReading& m = *st.controls.reading;
  st.chart.series2.clear();
  std::vector<int> counts = AdjustedCounts(st.image, m.offsets);
  for (int x = 0; x < kCurvePoints; ++x)
    st.chart.series2.push_back({ChartX(st, x), ChartY(st, counts[x])});
  s.view.ChartChanged();

  // Both texts first: a reading the conversions refuse leaves both labels as they were.
  const uint8_t group = st.header.Group();
  std::string in = st.controls.inputRGrp == kVoltage
                       ? "V in = " + OutputVoltsText(st.conversion, m.input)
                       : "F in = " + FrequencyText(st.conversion, group, m.input);
  std::string out = st.controls.outputRGrp == kVoltage
                        ? "V Out = " + OutputVoltsText(st.conversion, m.output)
                        : "F Out = " + FrequencyText(st.conversion, group, m.output);
  st.controls.dataInLabel = in;
  st.controls.dataOutLabel = out;
  s.view.ControlsChanged();
}

ChartPoint OperatingPoint(const AppState& st, int input, int output) {
  // Table entry x sits at input count 32x.
  const float x = st.controls.inputRGrp == kFrequency
                      ? static_cast<float>(input * static_cast<double>(st.conversion.HertzPerCount))
                      : static_cast<float>(input / 32.0 / kRowsPerVolt);
  return {x, ChartY(st, output)};
}

void PlotTable(Session& s) {
  AppState& st = s.state;
  Chart& chart = st.chart;
  bool frequencyIn = st.controls.inputRGrp == kFrequency;
  bool frequencyOut = st.controls.outputRGrp == kFrequency;
  const std::string bottom = frequencyIn ? "F In" : "V In";
  const std::string left = frequencyOut ? "F Out" : "V Out";
  // Its points were computed in the old units: beside the new table they would mislead.
  if (bottom != chart.bottomTitle || left != chart.leftTitle) chart.series2.clear();
  chart.bottomTitle = bottom;
  chart.leftTitle = chart.series1Title = left;
  chart.series1.clear();
  for (int x = 0; x < kCurvePoints; ++x) {
    int y = st.image.Entry(x);
    chart.series1.push_back(
        {frequencyIn ? RowInputHertz(st.conversion, x) : RowInputVolts(x),
         frequencyOut ? CountOutputHertz(st.conversion, y) : CountOutputVolts(st.conversion, y)});
  }
  s.view.ChartChanged();
}

void ClearProjectView(Session& s) {
  AppState& st = s.state;
  st.image = EepromImage();
  st.potWorkingCopies.fill(0);
  Controls& c = st.controls;
  c.potTexts.fill("0");
  c.limitText.clear();
  c.dataInLabel.clear();
  c.dataOutLabel.clear();
  c.reading.reset();
  st.chart.series1.clear();
  st.chart.series2.clear();
  s.view.ControlsChanged();
  s.view.ChartChanged();
}

void ApplyGroupSettings(Session& s, uint8_t group) {
  AppState& st = s.state;
  st.conversion = ConversionSettings::ForGroup(group);
  st.controls.outputRGrpEnabled = false;
  st.controls.inputRGrpEnabled = group == kGM;
  s.view.ControlsChanged();
}

void ImageToControls(Session& s) {
  AppState& st = s.state;
  st.controls.dataInLabel.clear();
  st.controls.dataOutLabel.clear();
  st.controls.reading.reset();
  st.chart.series2.clear();  // with the reading's labels: it was taken on the image before
  s.view.ControlsChanged();
  ShowLimitText(s, LimitDisplayText(st));
  ShowModeByte(s);
  PlotTable(s);
}

void ShowModeByte(Session& s) {
  const uint8_t mode = s.state.image.Byte(kModeByte);
  ShowOutputRGrp(s, (mode & kOutputKindMask) == kFrequencyOutput ? kFrequency : kVoltage);
  ShowInputRGrp(s, (mode & kFrequencyInput) != 0 ? kFrequency : kVoltage);
  ShowInvertLimit(s, (mode & kInvertLimit) != 0);
}

void SetOutputRGrp(Session& s, int index) {
  if (RefusedDuringExchange(s) || RefusedWithoutProject(s)) return;
  if (s.state.controls.outputRGrp == CheckIndex(index)) return;
  ProjectChange change(s, KindStepName("Output", index));
  s.state.controls.outputRGrp = index;
  s.view.ControlsChanged();
  OutputRGrpClick(s, true);
}

void ShowOutputRGrp(Session& s, int index) {
  if (s.state.controls.outputRGrp == CheckIndex(index)) return;
  s.state.controls.outputRGrp = index;
  s.view.ControlsChanged();
  // Mode bits 00 and 11 show as Voltage: rewriting them as 01 would change the project.
  OutputRGrpClick(s, false);
}

void SetInputRGrp(Session& s, int index) {
  if (RefusedDuringExchange(s) || RefusedWithoutProject(s)) return;
  if (s.state.controls.inputRGrp == CheckIndex(index)) return;
  ProjectChange change(s, KindStepName("Input", index));
  s.state.controls.inputRGrp = index;
  s.view.ControlsChanged();
  InputRGrpClick(s);
}

// The input bit is the selection itself, so showing it stores the bit it already has.
void ShowInputRGrp(Session& s, int index) {
  SetInputRGrp(s, index);
}

void SetInvertLimit(Session& s, bool ticked) {
  if (RefusedDuringExchange(s) || RefusedWithoutProject(s)) return;
  if (s.state.controls.invertLimit == ticked) return;
  ProjectChange change(s, "Invert Limit Output");
  s.state.controls.invertLimit = ticked;
  s.view.ControlsChanged();
  InvertCBoxClick(s);
}

void ShowInvertLimit(Session& s, bool ticked) {
  SetInvertLimit(s, ticked);
}

void SetLimitText(Session& s, const std::string& text) {
  if (RefusedDuringExchange(s) || RefusedWithoutProject(s)) return;
  if (s.state.controls.limitText == text) return;
  // The box stores each key as it is typed: the keys in a row are one change.
  ProjectChange change(s, "Limit", true);
  s.state.controls.limitText = text;
  s.view.ControlsChanged();
  LimitEditChange(s, true);
}

void ShowLimitText(Session& s, const std::string& text) {
  if (s.state.controls.limitText == text) return;
  s.state.controls.limitText = text;
  s.view.ControlsChanged();
  // Storing the shown text back could change the limit: 5.994 V read back at the 6 V scale
  // stores 852, and "?" before any project stores 0 as a frequency.
  LimitEditChange(s, false);
}

void EndLimitEdit(Session& s) {
  EndMergedChange(s);
  if (s.state.projectState == ProjectState::NoProject) return;
  ShowLimitText(s, LimitDisplayText(s.state));
}

bool LimitKeyAccepted(char key) {
  return (key >= '0' && key <= '9') || key == '.' || key == 8 || key == 127;
}

std::string LimitPasteText(const std::string& text) {
  std::string kept;
  for (char c : text)
    if (LimitKeyAccepted(c) && c != 8 && c != 127) kept += c;  // those two are keys, not text
  return kept;
}

std::string PotText(uint8_t value) {
  return std::to_string(static_cast<int8_t>(value));
}

void AdjustPot(Session& s, int k, int step) {
  if (k < 1 || k > 4) throw RangeError();
  AppState& st = s.state;
  // In the live view a pot's arrows turn the Box's pot too: the view writes it between two
  // readings.
  const bool live = st.liveRunning && step != 0;
  if ((!live && RefusedDuringExchange(s)) || (step != 0 && RefusedWithoutProject(s))) return;
  if (live &&
      std::find(st.livePotWrites.begin(), st.livePotWrites.end(), k) == st.livePotWrites.end())
    st.livePotWrites.push_back(k);
  ProjectChange change(s, "Pot " + std::to_string(k));
  uint8_t& pot = st.potWorkingCopies[k - 1];
  int address = kFirstPotByte + k - 1;
  if (step == 0) {
    pot = st.image.Byte(address);
  } else {
    st.projectModified = true;
    if (step < 0 && pot > 0) --pot;
    if (step > 0 && pot < 99) ++pot;
    st.image.SetByte(address, pot);
  }
  st.controls.potTexts[k - 1] = PotText(pot);
  s.view.ControlsChanged();
  RefreshWindow(s);
  s.view.RepaintEepromGrid();
}

void ShowHexCBoxClick(Session& s, bool ticked) {
  s.state.controls.showHex = ticked;
  s.view.ControlsChanged();
}

}  // namespace vyk

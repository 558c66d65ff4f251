#include "operations/logs/correction_form.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/text/number.h"
#include "operations/logs/live_recording.h"

namespace vyk {

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Has(const std::string& lowerName, std::initializer_list<const char*> parts) {
  return std::any_of(parts.begin(), parts.end(),
                     [&](const char* part) { return lowerName.find(part) != std::string::npos; });
}

// "ect" as a word of its own: inside a word it is "correct" or "injector".
bool HasWord(const std::string& lowerName, const std::string& word) {
  for (size_t at = lowerName.find(word); at != std::string::npos;
       at = lowerName.find(word, at + 1)) {
    const size_t end = at + word.size();
    if ((at == 0 || !std::isalnum(static_cast<unsigned char>(lowerName[at - 1]))) &&
        (end == lowerName.size() || !std::isalnum(static_cast<unsigned char>(lowerName[end]))))
      return true;
  }
  return false;
}

bool IsCommanded(const std::string& n) {
  return Has(n, {"command", "target", "desired"});
}

// The first column whose name fits, as a choice (1 on); 0 when none does.
template <typename Fits>
int Guess(const ScanLog& log, Fits fits) {
  for (size_t c = 0; c < log.columns.size(); ++c)
    if (fits(Lower(log.columns[c]))) return static_cast<int>(c) + 1;
  return 0;
}

// Scan tools name the signal's unit in its column's name; without a hint the signal is in the
// unit the table's output is. Nothing for a name that gives a unit the correction does not
// read (a flow per minute or per hour, kg/s).
std::optional<SignalUnit> UnitOfName(const std::string& lowerName, bool hertzOutput) {
  if (Has(lowerName, {"kg/", "lb/", "mg/", "g/min", "g/h"})) return std::nullopt;
  if (Has(lowerName, {"g/s", "gps", "gram"})) return SignalUnit::GramsPerSecond;
  if (Has(lowerName, {"hz", "freq"})) return SignalUnit::Hertz;
  if (Has(lowerName, {"volt", "(v)", "[v]"})) return SignalUnit::Volts;
  if (Has(lowerName, {"(", "[", "/"})) return std::nullopt;
  return hertzOutput ? SignalUnit::Hertz : SignalUnit::Volts;
}

std::string Samples(int n) {
  return std::to_string(n) + (n == 1 ? " sample" : " samples");
}

}  // namespace

CorrectionForm::CorrectionForm(Session& s, std::string settingsFolder)
    : s_(s), settingsFolder_(std::move(settingsFolder)) {
  settings_.unit =
      s.state.controls.outputRGrp == kFrequency ? SignalUnit::Hertz : SignalUnit::Volts;
  Recompute();
}

bool CorrectionForm::OpenLog() {
  FileDialogRequest request;
  request.folder = LogsFolder(s_.dataFolder);
  request.filter = "Logs (*.csv *.txt)|*.csv;*.txt|All files (*)|*";
  const std::optional<std::string> path = s_.dialogs.OpenFileName(request);
  if (!path) return false;
  ScanLog log;
  try {
    log = ReadScanLog(*path);
  } catch (const ScanLogError& e) {
    s_.dialogs.Error(e.what());
    return false;
  }
  SetLog(std::move(log), *path);
  return true;
}

void CorrectionForm::SetLog(ScanLog log, const std::string& path) {
  log_ = std::move(log);
  logName_ = std::filesystem::path(path).filename().string();
  choices_.fill(0);
  auto choiceOf = [&](const std::string& name) {
    return name.empty() ? 0 : FindScanLogColumn(*log_, name) + 1;
  };
  if (auto kept = RememberedColumns(settingsFolder_, *log_)) {
    choices_[Index(CorrectionField::Signal)] = choiceOf(kept->signal);
    for (size_t t = 0; t < kept->trims.size() && t < 2; ++t)
      choices_[Index(t == 0 ? CorrectionField::ShortTrim : CorrectionField::LongTrim)] =
          choiceOf(kept->trims[t]);
    choices_[Index(CorrectionField::Wideband)] = choiceOf(kept->afr);
    choices_[Index(CorrectionField::Target)] = choiceOf(kept->target);
    choices_[Index(CorrectionField::Coolant)] = choiceOf(kept->coolant);
    choices_[Index(CorrectionField::Throttle)] = choiceOf(kept->throttle);
  } else {
    const ScanLog& l = *log_;
    choices_[Index(CorrectionField::Signal)] = Guess(l, [](const std::string& n) {
      return Has(n, {"maf", "mass air"});
    });
    choices_[Index(CorrectionField::ShortTrim)] = Guess(l, [](const std::string& n) {
      return Has(n, {"stft", "short"});
    });
    choices_[Index(CorrectionField::LongTrim)] = Guess(l, [](const std::string& n) {
      return Has(n, {"ltft", "long"});
    });
    // A wideband only for a log without trims: with them it would not be read.
    if (Choice(CorrectionField::ShortTrim) == 0 && Choice(CorrectionField::LongTrim) == 0) {
      choices_[Index(CorrectionField::Wideband)] = Guess(l, [](const std::string& n) {
        return Has(n, {"afr", "lambda", "wideband"}) && !IsCommanded(n);
      });
      choices_[Index(CorrectionField::Target)] = Guess(l, IsCommanded);
    }
    choices_[Index(CorrectionField::Coolant)] =
        Guess(l, [](const std::string& n) { return HasWord(n, "ect") || Has(n, {"coolant"}); });
    choices_[Index(CorrectionField::Throttle)] =
        Guess(l, [](const std::string& n) { return HasWord(n, "tps") || Has(n, {"throttle"}); });
  }
  const int signal = Choice(CorrectionField::Signal);
  unitChosen_ = true;
  if (signal > 0) {
    const auto unit =
        UnitOfName(Lower(log_->columns[signal - 1]), s_.state.controls.outputRGrp == kFrequency);
    unitChosen_ = unit.has_value();
    if (unit) settings_.unit = *unit;
  }
  Recompute();
}

std::string CorrectionForm::LogText() const {
  if (!log_) return "No log open: press Open Log";
  const size_t rows = log_->rows.size();
  std::string text = logName_ + ": " + std::to_string(rows) + (rows == 1 ? " row" : " rows");
  if (log_->skipped > 0) text += ", " + std::to_string(log_->skipped) + " without numbers skipped";
  return text;
}

std::vector<std::string> CorrectionForm::Choices() const {
  std::vector<std::string> choices{"(none)"};
  if (log_) choices.insert(choices.end(), log_->columns.begin(), log_->columns.end());
  return choices;
}

void CorrectionForm::SetChoice(CorrectionField field, int choice) {
  const int count = log_ ? static_cast<int>(log_->columns.size()) : 0;
  choices_[Index(field)] = std::clamp(choice, 0, count);
  Recompute();
}

void CorrectionForm::SetUnit(SignalUnit unit) {
  settings_.unit = unit;
  unitChosen_ = true;
  Recompute();
}

void CorrectionForm::SetSettings(const CorrectionSettings& settings) {
  const SignalUnit unit = settings_.unit;
  settings_ = settings;
  settings_.unit = unit;
  Recompute();
}

std::string CorrectionForm::ColumnName(int choice) const {
  if (!log_ || choice < 1) return "";
  // A name that an earlier column also has is taken by its number.
  const std::string& name = log_->columns[choice - 1];
  return FindScanLogColumn(*log_, name) == choice - 1 ? name : std::to_string(choice);
}

CorrectionColumns CorrectionForm::Columns() const {
  CorrectionColumns c;
  c.signal = ColumnName(Choice(CorrectionField::Signal));
  for (CorrectionField trim : {CorrectionField::ShortTrim, CorrectionField::LongTrim})
    if (Choice(trim) > 0) c.trims.push_back(ColumnName(Choice(trim)));
  if (c.trims.empty()) {
    c.afr = ColumnName(Choice(CorrectionField::Wideband));
    c.target = ColumnName(Choice(CorrectionField::Target));
  }
  c.coolant = ColumnName(Choice(CorrectionField::Coolant));
  c.throttle = ColumnName(Choice(CorrectionField::Throttle));
  return c;
}

void CorrectionForm::Recompute() {
  result_.reset();
  problem_.clear();
  if (!log_) {
    problem_ = "Open a log to correct the table from";
    return;
  }
  if (!unitChosen_) {
    problem_ =
        "The MAF signal's column names a unit the correction does not read: choose Hz, "
        "volts or g/s as the signal is logged";
    return;
  }
  try {
    result_ = CorrectProjectTable(s_.state, *log_, Columns(), settings_);
  } catch (const CorrectionError& e) {
    problem_ = e.what();
    return;
  }
  if (result_->used == 0) {
    problem_ = "No sample of the log is usable: see what the gates removed";
    return;
  }
  const bool any = std::any_of(result_->entries.begin(), result_->entries.end(),
                               [](const EntryCorrection& e) { return e.changed; });
  if (!any) problem_ = "No entry changes: none has enough samples that call for a change";
}

std::string CorrectionForm::OutputUnit() const {
  return vyk::OutputUnit(s_.state);
}

std::vector<CorrectionRow> CorrectionForm::Rows() const {
  const AppState& st = s_.state;
  auto output = [&](int count) { return OutputCountText(st, count); };
  std::vector<CorrectionRow> rows;
  for (int k = 0; k < kTableEntries; ++k) {
    CorrectionRow row;
    row.entry = std::to_string(k);
    const int old = st.image.Entry(k);
    row.oldOutput = output(old);
    if (result_) {
      const EntryCorrection& e = result_->entries[k];
      row.newOutput = output(e.newCount);
      row.enough = e.enough;
      row.changed = e.changed;
      if (e.samples > 0) {
        row.samples = std::to_string(e.samples);
        row.meanError = (e.meanError > 0 ? "+" : "") + Trim(FormatFixed(e.meanError, 0, 2));
        row.spread = Trim(FormatFixed(e.spread, 0, 2));
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> CorrectionForm::Notes() const {
  if (!result_) return {};
  std::vector<std::string> notes;
  for (int g = 0; g < kCorrectionGates; ++g) {
    std::string gate = CorrectionGateName(static_cast<CorrectionGate>(g));
    if (!gate.empty())
      gate[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(gate[0])));
    if (static_cast<CorrectionGate>(g) == CorrectionGate::ColdEngine && Columns().coolant.empty())
      notes.push_back(gate + ": off, no coolant column");
    else if (static_cast<CorrectionGate>(g) == CorrectionGate::ThrottleMoving &&
             Columns().throttle.empty())
      notes.push_back(gate + ": off, no throttle column");
    else
      notes.push_back(gate + ": " + Samples(result_->removed[g]) + " removed");
  }
  notes.push_back("Outside the table: " + Samples(result_->outside));
  notes.push_back("Used: " + Samples(result_->used));
  notes.push_back(CorrectionMethodText(*result_));
  return notes;
}

std::vector<ChartPoint> CorrectionForm::Curve(bool corrected) const {
  const AppState& st = s_.state;
  const bool hertzIn = st.controls.inputRGrp == kFrequency;
  const bool hertzOut = st.controls.outputRGrp == kFrequency;
  std::vector<ChartPoint> curve;
  if (corrected && !result_) return curve;
  for (int x = 0; x < kCurvePoints; ++x) {
    const int y = corrected ? result_->entries[x].newCount : st.image.Entry(x);
    curve.push_back(
        {hertzIn ? RowInputHertz(st.conversion, x) : RowInputVolts(x),
         hertzOut ? CountOutputHertz(st.conversion, y) : CountOutputVolts(st.conversion, y)});
  }
  return curve;
}

std::vector<ChartPoint> CorrectionForm::OldCurve() const {
  return Curve(false);
}

std::vector<ChartPoint> CorrectionForm::NewCurve() const {
  return Curve(true);
}

std::string CorrectionForm::InputTitle() const {
  return s_.state.controls.inputRGrp == kFrequency ? "F In" : "V In";
}

std::string CorrectionForm::OutputTitle() const {
  return s_.state.controls.outputRGrp == kFrequency ? "F Out" : "V Out";
}

bool CorrectionForm::Apply() {
  if (!CanApply() || !ApplyCorrection(s_, *result_)) return false;
  try {
    RememberColumns(settingsFolder_, *log_, Columns());
  } catch (const std::exception& e) {
    s_.dialogs.RecordWarning(e.what());
  }
  return true;
}

}  // namespace vyk

#include "operations/meters/meter_form.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "meters/meter_import.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"
#include "storage/path_text.h"

namespace vyk {

namespace {

const std::string kMetricCaption = "Data Table (kg/hr)";

// A Boolean byte is rewritten only when its meaning changes, so a file whose byte holds some
// other non-zero value is still written back as it was read.
void StoreFlag(MeterRecord& record, int offset, bool value) {
  uint8_t& byte = record.Bytes()[offset];
  if ((byte != 0) != value) byte = value ? 1 : 0;
}

}  // namespace

MeterForm::MeterForm(Dialogs& dialogs, const AppState& state)
    : dialogs_(dialogs), state_(state), grid_(dialogs) {}

void MeterForm::SetPartNumber(const std::string& text) {
  std::string cut = text.substr(0, kPartNumberEditLength);
  if (cut == partNumber_) return;
  partNumber_ = std::move(cut);
  SetModified(true);
}

void MeterForm::SetMetric(bool metric) {
  if (metric != grid_.MetricShown()) grid_.UnitsClick(metric);
}

void MeterForm::SetFrequency(bool checked) {
  if (checked != grid_.Frequency()) grid_.FrequencyClick(checked);
}

bool MeterForm::GroupValid() const {
  return FindGroup(state_.header.Group()) != nullptr;
}

FileDialogRequest MeterForm::MeterFileRequest() const {
  FileDialogRequest request;
  request.folder = state_.meterFolder;
  request.filter = "MAF files (*.maf)|*.maf";
  request.defaultExtension = "maf";
  return request;
}

void MeterForm::FormActivate() {
  grid_.SetLimitsAndFormats();
  grid_.SetHeaders();
  SetMetric(true);
  grid_.SetGroupCaption(kMetricCaption);
}

Answer MeterForm::QuerySave() {
  if (!Modified()) return Answer::Yes;
  Answer answer = dialogs_.Question("Save current meter data?", QuestionButtons::YesNoCancel);
  // A save the form refused has told the user what to fix; going on would drop the changes
  // the user just asked to keep.
  if (answer == Answer::Yes && SaveFile(false) == SaveResult::Refused) return Answer::Cancel;
  return answer;
}

void MeterForm::ClearForm() {
  description_ = {""};
  SetPartNumber("");
  // The grid is emptied before the units switch back, so no discarded flow is converted (and
  // none that is no number can stop the clearing half-way).
  grid_.Clear();
  SetMetric(true);
  SetFrequency(false);
  fileName_.clear();
  caption_ = kMeterEditorCaption;
  grid_.ClearGraph();
}

void MeterForm::RecordToForm() {
  description_ = {buffer_.Description1(), buffer_.Description2()};
  SetPartNumber(buffer_.PartNumber());
  SetMetric(buffer_.IsMetric());
  SetFrequency(buffer_.IsFrequency());
  for (int i = 1; i <= buffer_.PointCount(); ++i) {
    if (i > kMaxMeterPoints) throw RangeError();
    const int row = grid_.RowCount() - 1;
    grid_.SetCell(row, kSignalColumn, buffer_.SignalText(i));
    grid_.SetCell(row, kFlowColumn, buffer_.FlowText(i));
    grid_.AppendRow();
  }
}

bool MeterForm::FormToRecord() {
  focus_ = FormFocus::None;
  // Built on a copy: a refusal or an error part-way leaves the buffer as it was.
  MeterRecord record = buffer_;
  const bool memoEmpty =
      description_.empty() || (description_.size() == 1 && description_[0].empty());
  if (memoEmpty) {
    dialogs_.Error("Please enter a valid description.");
    focus_ = FormFocus::Description;
    return false;
  }
  record.SetDescription1(description_[0]);
  record.SetDescription2(description_.size() > 1 ? description_[1] : "");
  if (partNumber_.empty()) {
    dialogs_.Error("Please enter a valid part number.");
    focus_ = FormFocus::PartNumber;
    return false;
  }
  record.SetPartNumber(partNumber_);
  StoreFlag(record, MeterRecord::kIsMetric, Metric());
  const int count = grid_.RowCount() - 2;
  if (count > kMaxMeterPoints) throw RangeError();
  record.SetPointCount(static_cast<int16_t>(count));
  for (int i = 1; i <= count; ++i) {
    const std::string& signal = grid_.Cell(i, kSignalColumn);
    const std::string& flow = grid_.Cell(i, kFlowColumn);
    record.SetSignalText(i, signal);
    record.SetFlowText(i, flow);
    record.SetSignalValue(i, TextToFloat(signal));
    record.SetFlowValue(i, TextToFloat(flow));
  }
  StoreFlag(record, MeterRecord::kIsFrequency, Frequency());
  buffer_ = record;
  return true;
}

SaveResult MeterForm::SaveFile(bool newName) {
  if (!GroupValid()) {
    dialogs_.Error("Invalid mode");
    return SaveResult::Refused;
  }
  // A refused save keeps Modified set, so the changes are not dropped without a question.
  if (!FormToRecord()) return SaveResult::Refused;
  std::string path = fileName_;
  if (newName || path.empty()) {
    FileDialogRequest request = MeterFileRequest();
    request.confirmOverwrite = true;
    auto chosen = dialogs_.SaveFileName(request);
    if (!chosen || chosen->empty()) return SaveResult::Cancelled;
    path = *chosen;
  }
  WriteMeterFile(path, buffer_);
  // Named only once written, so a failed write does not retitle the meter.
  fileName_ = path;
  caption_ = kMeterEditorCaption + " - " + path;
  SetModified(false);
  return SaveResult::Saved;
}

void MeterForm::New() {
  if (QuerySave() != Answer::Cancel) ClearForm();
}

void MeterForm::Open() {
  if (QuerySave() == Answer::Cancel) return;
  if (!GroupValid()) {
    dialogs_.Error("Invalid mode");
    return;
  }
  auto chosen = dialogs_.OpenFileName(MeterFileRequest());
  if (!chosen || chosen->empty()) return;
  std::error_code error;
  if (!std::filesystem::exists(PathOf(*chosen), error)) {
    dialogs_.Error("The specified file was not found.");
    return;
  }
  Load(*chosen);
}

void MeterForm::Load(const std::string& path) {
  buffer_.SetDescription1("");
  buffer_.SetDescription2("");
  ReadMeterFile(path, buffer_);
  ClearForm();
  RecordToForm();
  fileName_ = path;
  caption_ = kMeterEditorCaption + " - " + path;
  grid_.BubbleSort();
  grid_.UpdateGraph();
  SetModified(false);
}

MeterRecord MeterForm::ShownMeter() const {
  MeterRecord record = buffer_;
  record.SetDescription1(description_.empty() ? "" : description_[0]);
  record.SetDescription2(description_.size() > 1 ? description_[1] : "");
  record.SetPartNumber(partNumber_);
  StoreFlag(record, MeterRecord::kIsMetric, Metric());
  StoreFlag(record, MeterRecord::kIsFrequency, Frequency());
  int count = 0;
  for (int row = 1; row < grid_.RowCount() - 1 && count < kMaxMeterPoints; ++row) {
    const std::string& signal = grid_.Cell(row, kSignalColumn);
    const std::string& flow = grid_.Cell(row, kFlowColumn);
    if (signal.empty() || flow.empty()) continue;
    ++count;
    record.SetSignalText(count, signal);
    record.SetFlowText(count, flow);
  }
  record.SetPointCount(static_cast<int16_t>(count));
  return record;
}

bool MeterForm::ShowSaved(const std::string& path) {
  if (QuerySave() == Answer::Cancel) return false;
  Load(path);
  return true;
}

void MeterForm::Save() {
  if (grid_.ValidateGrid()) SaveFile(false);
}

void MeterForm::Copy() {
  SaveFile(true);
}

void MeterForm::Convert() {
  if (QuerySave() == Answer::Cancel) return;
  FileDialogRequest request;
  request.folder = state_.appFolder;
  request.filter = "Text files (*.txt)|*.txt";
  request.defaultExtension = "txt";
  auto chosen = dialogs_.OpenFileName(request);
  if (!chosen || chosen->empty()) return;
  ImportMeterText(*chosen, buffer_);
  ClearForm();
  RecordToForm();
  grid_.BubbleSort();
  grid_.UpdateGraph();
}

bool MeterForm::Close() {
  return QuerySave() != Answer::Cancel;
}

}  // namespace vyk

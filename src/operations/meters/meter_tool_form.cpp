#include "operations/meters/meter_tool_form.h"

#include <filesystem>

#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"
#include "storage/path_text.h"

namespace vyk {

namespace {

std::string FlowUnit(bool metric) {
  return metric ? "kg/hr" : "lb/hr";
}

std::string SaturationLine(const MeterRecord& meter, double limit, const std::string& limitText,
                           const std::string& whose) {
  const std::string reaches =
      "the signal reaches " + limitText + ", the most " + whose + " input reads";
  const Saturation s = SaturationFlow(meter, limit);
  if (!s.reached) {
    if (meter.UsablePoints() < 2) return "Saturation: a meter of fewer than 2 points cannot tell.";
    return "Saturation: none found: the curve ends below " + limitText + ", the most " + whose +
           " input reads, and does not rise past its last point.";
  }
  return "Saturation: " + std::string(s.extrapolated ? "about " : "") + FormatFixed(s.flow, 0, 2) +
         " " + FlowUnit(meter.IsMetric()) + ", where " + reaches +
         (s.extrapolated ? " (extrapolated past the last point)." : ".");
}

std::vector<ChartPoint> ChartOf(const std::vector<CurvePoint>& curve) {
  std::vector<ChartPoint> points;
  for (const CurvePoint& p : curve)
    points.push_back({static_cast<float>(p.flow), static_cast<float>(p.signal)});
  return points;
}

}  // namespace

std::vector<ToolField> FieldsOf(MeterTool tool) {
  switch (tool) {
    case MeterTool::Scale:
      return {ToolField::Percent};
    case MeterTool::Rehouse:
      return {ToolField::FromDiameter, ToolField::ToDiameter, ToolField::FromPost,
              ToolField::ToPost};
    case MeterTool::Blend:
      return {ToolField::Below, ToolField::Above};
  }
  return {};
}

std::string FieldLabel(ToolField field, bool inches, bool metric) {
  const std::string length = inches ? " (in):" : " (mm):";
  const std::string area = inches ? " (in^2):" : " (mm^2):";
  const std::string flow = " (" + FlowUnit(metric) + "):";
  switch (field) {
    case ToolField::Percent:
      return "&Percent:";
    case ToolField::FromDiameter:
      return "&From diameter" + length;
    case ToolField::ToDiameter:
      return "&To diameter" + length;
    case ToolField::FromPost:
      return "From &post" + area;
    case ToolField::ToPost:
      return "To p&ost" + area;
    case ToolField::Below:
      return "&Below" + flow;
    case ToolField::Above:
      return "&Above" + flow;
  }
  return "";
}

std::vector<std::string> SaturationLines(const MeterRecord& meter, std::optional<uint8_t> group) {
  if (!meter.IsFrequency())
    return {SaturationLine(meter, kVoltageInputLimit, FormatFixed(kVoltageInputLimit, 0, 2) + " V",
                           "the Box's")};
  auto line = [&](const HardwareGroup& g, const std::string& whose) {
    const double limit = g.conversion.MaxFrequency;
    return SaturationLine(meter, limit, FormatFixed(limit, 0, 0) + " Hz", whose);
  };
  if (group && FindGroup(*group) != nullptr)
    return {line(GroupOf(*group), "a " + std::string(GroupOf(*group).name) + " Box's")};
  return {line(kGroups[kGM], "a GM Box's"), line(kGroups[kFord], "a Ford or Import Box's")};
}

MeterToolForm::MeterToolForm(MeterTool tool, const MeterRecord& meter, Dialogs& dialogs,
                             const AppState& state, std::optional<uint8_t> group)
    : tool_(tool), meter_(meter), dialogs_(dialogs), state_(state), group_(group) {
  Recompute();
}

std::string MeterToolForm::Title() const {
  switch (tool_) {
    case MeterTool::Scale:
      return "Scale Meter";
    case MeterTool::Rehouse:
      return "Rehouse Meter";
    case MeterTool::Blend:
      return "Blend Meters";
  }
  return "";
}

void MeterToolForm::SetText(ToolField field, const std::string& text) {
  texts_[Index(field)] = text;
  Recompute();
}

void MeterToolForm::SetInches(bool inches) {
  inches_ = inches;
  Recompute();
}

bool MeterToolForm::ChooseSecond() {
  FileDialogRequest request;
  request.folder = state_.meterFolder;
  request.filter = "MAF files (*.maf)|*.maf";
  request.defaultExtension = "maf";
  auto chosen = dialogs_.OpenFileName(request);
  if (!chosen || chosen->empty()) return false;
  std::error_code error;
  if (!std::filesystem::exists(PathOf(*chosen), error)) {
    dialogs_.Error("The specified file was not found.");
    return false;
  }
  MeterRecord second;
  ReadMeterFile(*chosen, second);
  SetSecond(second, *chosen);
  return true;
}

void MeterToolForm::SetSecond(const MeterRecord& meter, const std::string& name) {
  second_ = meter;
  secondName_ = name;
  Recompute();
}

double MeterToolForm::Number(ToolField field, bool optional) const {
  const std::string text = Trim(Text(field));
  if (text.empty()) {
    if (optional) return 0;
    std::string label = FieldLabel(field, inches_, meter_.IsMetric());
    std::erase(label, '&');
    label.pop_back();  // the colon
    throw VykError("Enter a number for " + label + ".");
  }
  return static_cast<double>(TextToExtended(text));
}

void MeterToolForm::Recompute() {
  result_.reset();
  problem_.clear();
  try {
    switch (tool_) {
      case MeterTool::Scale:
        result_ = ScaleMeter(meter_, Number(ToolField::Percent, false));
        break;
      case MeterTool::Rehouse:
        result_ = RehouseMeter(
            meter_, {Number(ToolField::FromDiameter, false), Number(ToolField::ToDiameter, false),
                     Number(ToolField::FromPost, true), Number(ToolField::ToPost, true), inches_});
        break;
      case MeterTool::Blend:
        if (!second_) throw VykError("Choose the meter to blend with.");
        result_ = BlendMeters(meter_, *second_, Number(ToolField::Below, false),
                              Number(ToolField::Above, false));
        break;
    }
  } catch (const VykError& e) {
    problem_ = e.what();
  }
}

std::vector<std::string> MeterToolForm::Notes() const {
  if (!result_) return {problem_};
  std::vector<std::string> notes;
  for (const std::string& warning : result_->warnings)
    notes.push_back((warning.starts_with("Note:") ? "" : "Warning: ") + warning);
  for (std::string& line : SaturationLines(result_->meter, group_))
    notes.push_back(std::move(line));
  return notes;
}

std::vector<ChartPoint> MeterToolForm::OldCurve() const {
  try {
    return ChartOf(MeterCurve(meter_));
  } catch (const VykError&) {
    return {};
  }
}

std::vector<ChartPoint> MeterToolForm::SecondCurve() const {
  if (!second_) return {};
  try {
    return ChartOf(MeterCurveIn(*second_, meter_.IsMetric()));
  } catch (const VykError&) {
    return {};
  }
}

std::vector<ChartPoint> MeterToolForm::NewCurve() const {
  return result_ ? ChartOf(MeterCurve(result_->meter)) : std::vector<ChartPoint>{};
}

std::optional<std::string> MeterToolForm::SaveAs() {
  if (!result_) return std::nullopt;
  FileDialogRequest request;
  request.folder = state_.meterFolder;
  request.filter = "MAF files (*.maf)|*.maf";
  request.defaultExtension = "maf";
  request.confirmOverwrite = true;
  auto chosen = dialogs_.SaveFileName(request);
  if (!chosen || chosen->empty()) return std::nullopt;
  WriteMeterFile(*chosen, result_->meter);
  return chosen;
}

}  // namespace vyk

#pragma once
// The meter tools' dialogs without their widgets: the inputs as the user typed them, the new
// meter they give (or why they give none), the texts shown under the preview, and the save of
// the new meter under a name of its own. The command line drives the same class with its
// options' texts, so both say the same things.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "meters/meter_tools.h"
#include "model/app_state.h"
#include "operations/project/dialogs.h"

namespace vyk {

enum class MeterTool { Scale, Rehouse, Blend };

enum class ToolField { Percent, FromDiameter, ToDiameter, FromPost, ToPost, Below, Above };
inline constexpr int kToolFieldCount = 7;

// The fields a tool asks for, in the order its dialog shows them.
std::vector<ToolField> FieldsOf(MeterTool tool);
// A field's label, with its unit where it has one: "&Percent:", "&Below (kg/hr):".
std::string FieldLabel(ToolField field, bool inches, bool metric);

// Where the Box's input runs out for a meter: one line per limit that applies. A voltage meter
// has one; a frequency meter has its group's, or both when no group is known.
std::vector<std::string> SaturationLines(const MeterRecord& meter, std::optional<uint8_t> group);

class MeterToolForm {
 public:
  // `meter` is the meter the tool starts from; `group` the project's hardware group, when
  // there is one.
  MeterToolForm(MeterTool tool, const MeterRecord& meter, Dialogs& dialogs, const AppState& state,
                std::optional<uint8_t> group);

  MeterTool Tool() const { return tool_; }
  // "Scale Meter", "Rehouse Meter", "Blend Meters".
  std::string Title() const;
  const std::string& Text(ToolField field) const { return texts_[Index(field)]; }
  void SetText(ToolField field, const std::string& text);
  bool Inches() const { return inches_; }
  void SetInches(bool inches);

  // Blend: picks the second meter with the open dialog in the meter folder; false when the
  // user cancels or the file cannot be read (an error box said why).
  bool ChooseSecond();
  void SetSecond(const MeterRecord& meter, const std::string& name);
  const std::string& SecondName() const { return secondName_; }

  // The new meter, or nothing while the inputs give none; then Problem() says why.
  const std::optional<ToolResult>& Result() const { return result_; }
  const std::string& Problem() const { return problem_; }
  // The warnings and the saturation flow of the new meter, for under the preview.
  std::vector<std::string> Notes() const;
  // Flow across, signal up, as the editor's chart draws a meter; the second meter's flows in
  // the first's unit.
  std::vector<ChartPoint> OldCurve() const;
  std::vector<ChartPoint> SecondCurve() const;
  std::vector<ChartPoint> NewCurve() const;
  const MeterRecord& Meter() const { return meter_; }

  // OK: the Save As dialog in the meter folder, then the file; the path written, or nothing
  // when there is no result or the user cancelled.
  std::optional<std::string> SaveAs();

 private:
  static size_t Index(ToolField field) { return static_cast<size_t>(field); }
  void Recompute();
  double Number(ToolField field, bool optional) const;

  MeterTool tool_;
  MeterRecord meter_;
  Dialogs& dialogs_;
  const AppState& state_;
  std::optional<uint8_t> group_;
  std::array<std::string, kToolFieldCount> texts_;
  bool inches_ = false;
  std::optional<MeterRecord> second_;
  std::string secondName_;
  std::optional<ToolResult> result_;
  std::string problem_;
};

}  // namespace vyk

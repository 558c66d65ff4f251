#pragma once
// The meter editor without its widgets: the values its controls show, the one record buffer
// and the file flows of its buttons. Setting the part number, the units or the Frequency box
// through this class runs that control's handler when the value changes, as a user's change
// would; the description memo has no handler.
#include <string>
#include <utility>
#include <vector>

#include "meters/meter_record.h"
#include "model/app_state.h"
#include "operations/meters/point_grid.h"
#include "operations/project/dialogs.h"

namespace vyk {

inline const std::string kMeterEditorCaption = "Mass Air Meter Editor";
inline constexpr int kPartNumberEditLength = 30;  // what the part number box lets in

// Where a refused save sends the focus, for the window to apply.
enum class FormFocus { None, Description, PartNumber };

enum class SaveResult {
  Saved,
  Refused,   // an error box said why; nothing was written
  Cancelled  // the user cancelled the file dialog
};

class MeterForm {
 public:
  // `state` gives the application and meter folders and the project's group; the form reads
  // them at each operation.
  MeterForm(Dialogs& dialogs, const AppState& state);

  const std::string& PartNumber() const { return partNumber_; }
  void SetPartNumber(const std::string& text);  // cut to 30 characters
  // The memo, one entry per line.
  const std::vector<std::string>& DescriptionLines() const { return description_; }
  void SetDescriptionLines(const std::vector<std::string>& lines) { description_ = lines; }
  bool Metric() const { return grid_.MetricShown(); }
  void SetMetric(bool metric);
  bool Frequency() const { return grid_.Frequency(); }
  void SetFrequency(bool checked);

  PointGrid& Grid() { return grid_; }
  const PointGrid& Grid() const { return grid_; }
  MeterRecord& MeterBuffer() { return buffer_; }
  const MeterRecord& MeterBuffer() const { return buffer_; }
  const std::string& MeterFileName() const { return fileName_; }
  const std::string& Caption() const { return caption_; }
  bool Modified() const { return grid_.Modified(); }
  void SetModified(bool modified) { grid_.SetModified(modified); }
  FormFocus Focus() const { return focus_; }
  // Where the last refused save sent the focus, once: the window moves the focus there after
  // the button that saved, and a later button that saves nothing must not move it again.
  FormFocus TakeFocus() { return std::exchange(focus_, FormFocus::None); }

  // Each time the window is shown: limits, headers and formats, and Metric selected.
  void FormActivate();
  // Asks "Save current meter data?" when there are changes and saves on Yes. The answer is
  // Yes without asking when there is nothing to save, and Cancel when a save was refused.
  Answer QuerySave();
  // An empty, untitled meter in kg/hr and volts. Changes Modified only through the handlers.
  void ClearForm();
  // Shows MeterBuffer on a cleared form. A PointCount above 62 throws RangeError once 62
  // points are shown.
  void RecordToForm();
  // Stores the form into MeterBuffer; false after an error box. MeterBuffer changes only when
  // the whole form is stored.
  bool FormToRecord();
  // Stores and writes the meter, asking for a file name when `newName` is set or the meter
  // is untitled.
  SaveResult SaveFile(bool newName);

  // The meter as the window shows it, unchecked and with its complete point rows: what the
  // meter tools start from.
  MeterRecord ShownMeter() const;
  // A meter tool saved a new meter at `path`: after the question about unsaved changes, shows
  // it as Open would. False when the user cancelled that question; the window is unchanged.
  bool ShowSaved(const std::string& path);

  // The buttons.
  void New();
  void Open();
  void Save();
  void Copy();
  void Convert();
  bool Close();  // whether the window may close

 private:
  bool GroupValid() const;
  void Load(const std::string& path);
  FileDialogRequest MeterFileRequest() const;

  Dialogs& dialogs_;
  const AppState& state_;
  PointGrid grid_;
  std::string partNumber_;
  std::vector<std::string> description_{""};
  MeterRecord buffer_;
  std::string fileName_;
  std::string caption_ = kMeterEditorCaption;
  FormFocus focus_ = FormFocus::None;
};

}  // namespace vyk

#pragma once
// Edit > Correct From Log's dialog without its widgets: the log opened, the columns and the
// settings chosen, the correction they give (recomputed on every change) and the texts, rows
// and curves the dialog shows of it, and Apply.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "operations/logs/log_correction.h"

namespace vyk {

// The columns the dialog asks for, in the order it shows them.
enum class CorrectionField { Signal, ShortTrim, LongTrim, Wideband, Target, Coolant, Throttle };
inline constexpr int kCorrectionFields = 7;

// One table entry as the dialog's table shows it; the texts are empty where the entry has no
// samples.
struct CorrectionRow {
  std::string entry, oldOutput, newOutput, samples, meanError, spread;
  bool enough = false;  // shown greyed without
  bool changed = false;
};

class CorrectionForm {
 public:
  // `settingsFolder` keeps the columns chosen per header row.
  CorrectionForm(Session& s, std::string settingsFolder);

  // Open Log: the open dialog in the logs folder, then the log read and its columns preset.
  // False when the user cancels or the log does not read (an error box said why).
  bool OpenLog();
  // A log read elsewhere: its columns preset as they were last chosen for its header row, else
  // guessed from their names.
  void SetLog(ScanLog log, const std::string& path);
  bool HasLog() const { return log_.has_value(); }
  // "drive.csv: 1200 rows", or a hint while no log is open.
  std::string LogText() const;

  // What a column's box offers: "(none)" and then the log's columns.
  std::vector<std::string> Choices() const;
  // The index in Choices(), 0 for none.
  int Choice(CorrectionField field) const { return choices_[Index(field)]; }
  void SetChoice(CorrectionField field, int choice);
  // Nothing while the signal column's name gives a unit the correction does not read and the
  // user has not chosen one.
  std::optional<SignalUnit> Unit() const {
    return unitChosen_ ? std::optional(settings_.unit) : std::nullopt;
  }
  void SetUnit(SignalUnit unit);
  const CorrectionSettings& Settings() const { return settings_; }
  // The number settings (samples, clamp, keep rising, warm engine, steady signal and throttle,
  // wideband range); the unit stays as chosen.
  void SetSettings(const CorrectionSettings& settings);
  // The columns as the correction reads them: the wideband's only without trims.
  CorrectionColumns Columns() const;

  const std::optional<CorrectionResult>& Result() const { return result_; }
  // Why Apply cannot run: no log, no unit for the signal, a log or a choice the correction
  // refuses, no usable sample, no entry that would change. Empty when it can.
  const std::string& Problem() const { return problem_; }
  bool CanApply() const { return result_.has_value() && problem_.empty(); }

  // The output's unit as the rows give it: "V" or "Hz".
  std::string OutputUnit() const;
  std::vector<CorrectionRow> Rows() const;
  // What each gate removed, the samples outside the table and the rows that did not read.
  std::vector<std::string> Notes() const;
  // The table curve as the main window's chart draws it, before and after; the titles of its
  // axes ("V In", "F Out").
  std::vector<ChartPoint> OldCurve() const;
  std::vector<ChartPoint> NewCurve() const;
  std::string InputTitle() const;
  std::string OutputTitle() const;

  // Apply: the correction as one change to undo, and the columns kept for the next log of
  // this header (a failure to keep them is only a warning). False when nothing was applied.
  bool Apply();

 private:
  static size_t Index(CorrectionField field) { return static_cast<size_t>(field); }
  void Recompute();
  std::string ColumnName(int choice) const;
  std::vector<ChartPoint> Curve(bool corrected) const;

  Session& s_;
  std::string settingsFolder_;
  std::optional<ScanLog> log_;
  std::string logName_;
  std::array<int, kCorrectionFields> choices_{};
  CorrectionSettings settings_;
  bool unitChosen_ = true;
  std::optional<CorrectionResult> result_;
  std::string problem_;
};

}  // namespace vyk

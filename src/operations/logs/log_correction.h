#pragma once
// Edit > Correct From Log and `vyk project correct`: a scan tool's log read into samples by
// the columns the user chose, the table's correction computed on the project, and applied as
// one change to undo.
#include <optional>
#include <string>
#include <vector>

#include "logs/scan_log.h"
#include "match/table_correction.h"
#include "operations/project/session.h"

namespace vyk {

// The log's columns by name (or number from 1); an empty name: not used.
struct CorrectionColumns {
  std::string signal;
  std::vector<std::string> trims;  // short and long term; their values are added
  std::string afr, target;         // wideband reading and commanded ratio (open loop)
  std::string coolant;
  std::string throttle;
  bool operator==(const CorrectionColumns&) const = default;
};

// The samples of the log. A column the log does not have, no signal column, neither trims nor
// a wideband column, or one trim column chosen twice throws CorrectionError.
std::vector<CorrectionSample> CorrectionSamples(const ScanLog& log,
                                                const CorrectionColumns& columns);

// The settings with what the columns say (trims or wideband, a coolant gate or none, a
// commanded ratio or none) and the project's highest output count.
CorrectionSettings SettingsForColumns(const AppState& state, const CorrectionColumns& columns,
                                      CorrectionSettings settings);

// The correction of the project's table by the log, through the meter the project matched to.
// Throws CorrectionError.
CorrectionResult CorrectProjectTable(const AppState& state, const ScanLog& log,
                                     const CorrectionColumns& columns,
                                     const CorrectionSettings& settings);

// "Corrected through the meter to match's curve" (naming the entries that went in proportion
// where the meter's points give no flow to scale) or "Corrected in proportion to the output".
std::string CorrectionMethodText(const CorrectionResult& result);

// Puts the corrected entries into the project as one change ("Correct From Log"). False,
// changing nothing, without a project, during an exchange with the Box or when no entry
// changes.
bool ApplyCorrection(Session& s, const CorrectionResult& result);

inline const std::string kCorrectionChangeName = "Correct From Log";

// The columns chosen for logs of a header, kept as one settings value, and read back; a value
// that does not read gives nothing.
std::string CorrectionColumnsText(const CorrectionColumns& columns);
std::optional<CorrectionColumns> CorrectionColumnsFromText(const std::string& text);

// The columns last chosen for logs of this log's header row, kept in vyk.ini in
// `settingsFolder`; nothing when none were kept, or they name columns the log lacks.
std::optional<CorrectionColumns> RememberedColumns(const std::string& settingsFolder,
                                                   const ScanLog& log);
// Keeps the columns for the next log of that header. Throws InOutError.
void RememberColumns(const std::string& settingsFolder, const ScanLog& log,
                     const CorrectionColumns& columns);

}  // namespace vyk

#include "operations/meters/table_check.h"

#include "match/table_check.h"
#include "model/groups.h"
#include "model/text/text_encoding.h"
#include "operations/meters/match_dialog.h"
#include "storage/path_text.h"

namespace vyk {

std::optional<MeterRecord> ProjectMeterToMatch(const AppState& state) {
  // The meter the table was made from, whatever became of its file since.
  if (state.provenance) return MeterRecord(state.provenance->match);
  if (state.appFolder.empty()) return std::nullopt;  // no meter folders to look in
  const uint8_t group = state.header.ByteAt(ProjectHeader::kMatchMeterGroup);
  const HardwareGroup* named = FindGroup(group);
  if (named == nullptr) return std::nullopt;
  const std::string folder = state.appFolder + std::string(named->meterFolder) + kPathSeparator;
  const std::string stored =
      FindListedFile(folder, Cp1252ToUtf8(state.header.MatchMeterName().Bytes()));
  if (stored.empty()) return std::nullopt;
  try {
    MeterRecord meter;
    ReadMeterFile(folder + stored, meter);
    return meter;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::vector<std::string> ProjectTableWarnings(const AppState& state) {
  return CheckTable(state.image, state.conversion, ProjectMeterToMatch(state));
}

}  // namespace vyk

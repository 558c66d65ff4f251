#include "operations/logs/log_correction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/records/settings_file.h"
#include "operations/meters/table_check.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"
#include "operations/table/range_edits.h"

namespace vyk {

namespace {

int ColumnIndex(const ScanLog& log, const std::string& name, const char* what) {
  if (name.empty()) return -1;
  const int index = FindScanLogColumn(log, name);
  if (index < 0)
    throw CorrectionError(std::string("The log has no column '") + name + "' (" + what + ")");
  return index;
}

// A name with the characters that join the fields written as %XX.
std::string Escaped(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (c == '%' || c == '|' || c == '/' || c < 0x20) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size() || std::sscanf(text.substr(i + 1, 2).c_str(), "%2x", &value) != 1)
      return std::nullopt;
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

std::vector<std::string> Split(const std::string& text, char at) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == at) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

std::vector<CorrectionSample> CorrectionSamples(const ScanLog& log,
                                                const CorrectionColumns& columns) {
  if (columns.signal.empty()) throw CorrectionError("Choose the column of the MAF signal");
  if (columns.trims.empty() && columns.afr.empty())
    throw CorrectionError("Choose the fuel trim columns or a wideband column");
  const int signal = ColumnIndex(log, columns.signal, "signal");
  std::vector<int> trims;
  for (const std::string& trim : columns.trims) {
    trims.push_back(ColumnIndex(log, trim, "trim"));
    // One trim added twice doubles the error it tells of.
    if (std::count(trims.begin(), trims.end(), trims.back()) > 1)
      throw CorrectionError("The trims are one column, '" + log.columns[trims.back()] +
                            "', chosen twice");
  }
  const int afr = ColumnIndex(log, columns.afr, "wideband");
  const int target = ColumnIndex(log, columns.target, "commanded ratio");
  const int coolant = ColumnIndex(log, columns.coolant, "coolant");
  const int throttle = ColumnIndex(log, columns.throttle, "throttle");

  std::vector<CorrectionSample> samples;
  samples.reserve(log.rows.size());
  for (const std::vector<double>& row : log.rows) {
    double trim = trims.empty() ? std::nan("") : 0;
    for (int t : trims)
      trim += ScanLogCell(row, t);
    samples.push_back({ScanLogCell(row, signal), trim, ScanLogCell(row, afr),
                       ScanLogCell(row, target), ScanLogCell(row, coolant),
                       ScanLogCell(row, throttle)});
  }
  return samples;
}

CorrectionSettings SettingsForColumns(const AppState& state, const CorrectionColumns& columns,
                                      CorrectionSettings settings) {
  settings.source = columns.trims.empty() ? CorrectionSource::Wideband : CorrectionSource::Trims;
  settings.useCoolant = !columns.coolant.empty();
  settings.useThrottle = !columns.throttle.empty();
  settings.hasTarget = !columns.target.empty();
  settings.maxCount = HighestOutputCount(state);
  return settings;
}

CorrectionResult CorrectProjectTable(const AppState& state, const ScanLog& log,
                                     const CorrectionColumns& columns,
                                     const CorrectionSettings& settings) {
  return CorrectTable(CorrectionSamples(log, columns), SettingsForColumns(state, columns, settings),
                      state.image, state.conversion, ProjectMeterToMatch(state));
}

std::string CorrectionMethodText(const CorrectionResult& result) {
  if (!result.throughMeter) return "Corrected in proportion to the output";
  std::string entries;
  for (int k = 0; k < kTableEntries; ++k)
    if (result.entries[k].inProportion)
      entries += (entries.empty() ? "" : ", ") + std::to_string(k);
  std::string text = "Corrected through the meter to match's curve";
  if (!entries.empty())
    text += "; entries " + entries +
            " in proportion to the output, where the meter's points give no flow to scale";
  return text;
}

bool ApplyCorrection(Session& s, const CorrectionResult& result) {
  if (RefusedWithoutProject(s) || RefusedDuringExchange(s)) return false;
  bool any = false;
  for (const EntryCorrection& e : result.entries)
    any = any || e.changed;
  if (!any) return false;
  ProjectChange change(s, kCorrectionChangeName);
  for (int k = 0; k < kTableEntries; ++k)
    if (result.entries[k].changed) s.state.image.SetEntry(k, result.entries[k].newCount);
  s.state.projectModified = true;
  PlotTable(s);
  RefreshWindow(s);
  return true;
}

std::string CorrectionColumnsText(const CorrectionColumns& c) {
  std::string trims;
  for (const std::string& t : c.trims)
    trims += (trims.empty() ? "" : "/") + Escaped(t);
  return Escaped(c.signal) + "|" + trims + "|" + Escaped(c.afr) + "|" + Escaped(c.target) + "|" +
         Escaped(c.coolant) + "|" + Escaped(c.throttle);
}

std::optional<CorrectionColumns> CorrectionColumnsFromText(const std::string& text) {
  const std::vector<std::string> fields = Split(text, '|');
  // Columns kept before the throttle's have five fields.
  if (fields.size() != 5 && fields.size() != 6) return std::nullopt;
  std::vector<std::string> names;
  for (const std::string& f : fields) {
    auto name = Unescaped(f);
    if (!name) return std::nullopt;
    names.push_back(*name);
  }
  CorrectionColumns c{names[0], {}, names[2], names[3], names[4], names.size() > 5 ? names[5] : ""};
  if (!fields[1].empty()) {
    for (const std::string& t : Split(fields[1], '/')) {
      auto name = Unescaped(t);
      if (!name) return std::nullopt;
      c.trims.push_back(*name);
    }
  }
  return c;
}

std::optional<CorrectionColumns> RememberedColumns(const std::string& settingsFolder,
                                                   const ScanLog& log) {
  const auto text = SettingsFile(settingsFolder).LogColumns(ScanLogHeaderKey(log));
  auto columns = text ? CorrectionColumnsFromText(*text) : std::nullopt;
  if (!columns) return std::nullopt;
  std::vector<std::string> names = columns->trims;
  names.insert(names.end(), {columns->signal, columns->afr, columns->target, columns->coolant,
                             columns->throttle});
  for (const std::string& name : names)
    if (!name.empty() && FindScanLogColumn(log, name) < 0) return std::nullopt;
  return columns;
}

void RememberColumns(const std::string& settingsFolder, const ScanLog& log,
                     const CorrectionColumns& columns) {
  SettingsFile(settingsFolder)
      .SaveLogColumns(ScanLogHeaderKey(log), CorrectionColumnsText(columns));
}

}  // namespace vyk

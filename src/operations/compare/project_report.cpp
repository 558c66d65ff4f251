#include "operations/compare/project_report.h"

#include "model/entry_text.h"
#include "model/groups.h"
#include "model/image_diff.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "operations/project/main_controls.h"
#include "operations/project/provenance_facts.h"
#include "operations/project/window_look.h"
#include "operations/table/image_grids.h"
#include "storage/atomic_file.h"

namespace vyk {

namespace {

std::string UnitOf(const AppState& st) {
  return st.controls.outputRGrp == kFrequency ? " Hz" : " V";
}

// The name the report's file gets at first: the project file's, with ".pdf" for its extension.
std::string ReportName(const AppState& st) {
  std::string name = st.projectFileName;
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (name.empty() || name == kNewProjectName) name = "report";
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name + ".pdf";
}

std::string ReportFolder(const AppState& st) {
  const auto slash = st.projectFileName.find_last_of("/\\");
  if (st.projectState == ProjectState::StoredProject && slash != std::string::npos)
    return st.projectFileName.substr(0, slash + 1);
  return st.meterFolder;
}

}  // namespace

ProjectReport MakeProjectReport(const AppState& st, int32_t today) {
  const ProjectHeader& h = st.header;
  ProjectReport r;
  r.title = Cp1252ToUtf8(h.Name().Bytes());
  auto fact = [&](const std::string& label, const std::string& text) {
    r.facts.emplace_back(label, text);
  };
  fact("Description", Cp1252ToUtf8(h.Description().Bytes()));
  fact("Project file", st.projectFileName);
  fact("Group", GroupText(h.Group()));
  fact("Units", h.Units() != 0 ? "Metric" : "English");
  // A project that keeps how its table was made names its meters whole; otherwise the
  // header's two names are all there is.
  const ProvenanceFacts made = FactsOfProvenance(st);
  if (made.kept != ProvenanceFacts::Kept::Kept) {
    fact("Meter to use", Cp1252ToUtf8(h.UseMeterName().Bytes()));
    fact("Meter to match", Cp1252ToUtf8(h.MatchMeterName().Bytes()));
  }
  for (const auto& [label, text] : ProvenanceLines(made))
    fact(label, text);
  fact("Mode", ModeText(st.image.Byte(kModeByte)));
  std::string pots;
  for (int k = 0; k < 4; ++k) {
    if (k > 0) pots += "    ";
    pots += "Pot " + std::to_string(k + 1) + ": " + PotText(st.image.Byte(kFirstPotByte + k));
  }
  fact("Adjusts", pots);
  std::string limit = Trim(EntryOutputText(st, kLimitEntry)) + UnitOf(st);
  if ((st.image.Byte(kModeByte) & kInvertLimit) != 0) limit += ", output inverted";
  fact("Limit", limit);
  fact("Date", DayNumberText(today));
  // Connected means the Box answered as the project's group with the project's version.
  if (st.boxConnected) {
    const int16_t tenths = h.RequiredVersion();
    fact("Box", GroupText(h.Group()) + " hardware, version " + FormatFixed(tenths / 10.0L, 0, 1) +
                    (st.portInUse.empty() ? "" : ", on " + st.portInUse));
  }

  r.columns = {"Entry", Trim(TableGridCellText(st, 0, 0)), Trim(TableGridCellText(st, 1, 0)),
               "Count"};
  for (int row = 1; row < kTableGridRows; ++row) {
    r.rows.push_back({std::to_string(row - 1), Trim(TableGridCellText(st, 0, row)),
                      Trim(TableGridCellText(st, 1, row)),
                      std::to_string(st.image.Entry(row - 1))});
  }
  r.xTitle = st.chart.bottomTitle;
  r.yTitle = st.chart.leftTitle;
  r.curve = st.chart.series1;
  r.footer = Trim(kProgramTitle);
  return r;
}

bool ExportReportClick(Session& s, const ReportRenderer& render) {
  if (RefusedDuringExchange(s)) return false;
  const AppState& st = s.state;
  if (st.projectState == ProjectState::NoProject) return false;
  auto path = s.dialogs.SaveFileName(
      {ReportFolder(st), "PDF files (*.pdf)|*.pdf", ReportName(st), true, "pdf"});
  if (!path) return false;
  WriteFileReplacing(*path, render(MakeProjectReport(st, s.today())));
  s.dialogs.Information(*path + " saved");
  return true;
}

}  // namespace vyk

#pragma once
// File > Export Report: one page about the project that a workshop hands to the car's owner or
// prints: the header, the settings, the 33-row table and the curve. The page itself is drawn
// by the window layer (a PDF); this is what goes on it, and the command that saves it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "operations/project/session.h"

namespace vyk {

struct ProjectReport {
  std::string title;                                       // the project's name
  std::vector<std::pair<std::string, std::string>> facts;  // label and text, in order
  std::array<std::string, 4> columns;                      // "Entry", "V in", "V Out", "Count"
  std::vector<std::array<std::string, 4>> rows;            // the 33 table rows
  std::string xTitle;
  std::string yTitle;
  std::vector<ChartPoint> curve;  // the table curve, as the main window's chart draws it
  std::string footer;             // the program that made it
};

// The report of the window's project as it stands, dated `today` (a day number).
ProjectReport MakeProjectReport(const AppState& state, int32_t today);

// The bytes of the finished document for a report.
using ReportRenderer = std::function<std::string(const ProjectReport&)>;

// Asks where to save the report (a ".pdf" file) and saves it whole or not at all. False when
// there is no project, an exchange with the Box runs or the user cancelled. A system error
// throws InOutError and leaves any old file as it was.
bool ExportReportClick(Session& s, const ReportRenderer& render);

}  // namespace vyk

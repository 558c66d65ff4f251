#pragma once
// A project report drawn as one A4 page of PDF, with Qt's PDF writer. Needs a QGuiApplication
// (the offscreen platform will do) but no widgets, so the command line can make it too.
#include <string>

#include "operations/compare/project_report.h"

namespace vyk::report {

// The PDF document's bytes.
std::string ReportPdf(const ProjectReport& report);

}  // namespace vyk::report

// vyk report: the one-page PDF of File > Export Report, without a window or a display.
#include <QGuiApplication>
#include <memory>

#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/file_rules.h"
#include "operations/compare/project_report.h"
#include "operations/project/project_commands.h"
#include "report/pdf_report.h"

namespace vyk::cli {

void AddReportCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("report",
                                 "Write a project's one-page PDF report, as File > "
                                 "Export Report");
  struct Options {
    std::string project, out;
    bool force = false;
  };
  auto opt = std::make_shared<Options>();
  cmd->add_option("PROJECT", opt->project, "Project file")->required();
  cmd->add_option("OUT", opt->out, "PDF file to write, exactly as named")->required();
  cmd->add_flag("--force", opt->force, "Replace OUT if it exists");
  cmd->callback([opt] {
    RefuseOutputOverInput(opt->out, {opt->project});
    AppState state;
    CliDialogs dialogs;
    MainView view;
    Session session{state, dialogs, view, nullptr};
    dialogs.showInformation = false;
    dialogs.openName = opt->project;
    FileOpenClick(session);
    if (dialogs.errors > 0) throw CommandFailed();
    // Fonts and the PDF writer need a GUI application; the offscreen platform needs no display.
    static int argc = 3;
    static char name[] = "vyk";
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {name, platform, offscreen, nullptr};
    QGuiApplication gui(argc, argv);
    dialogs.showInformation = true;
    dialogs.saveName = opt->out;
    dialogs.overwrite = opt->force;
    const bool saved = ExportReportClick(session, report::ReportPdf);
    if (dialogs.errors > 0 || !saved) throw CommandFailed();
  });
}

}  // namespace vyk::cli

// vyk: the command line of Vyk Edit.
#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/printing.h"
#include "model/errors.h"
#include "vyk_version.h"

namespace {

// The top help lists every command, nested ones by their full name ("project new"), one line
// each, instead of the five command groups.
class CommandListFormatter : public CLI::Formatter {
 public:
  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override {
    if (app->get_parent() != nullptr) return CLI::Formatter::make_subcommands(app, mode);
    std::ostringstream out;
    out << "\nCommands:\n";
    for (const CLI::App* group : app->get_subcommands({})) {
      const auto commands = group->get_subcommands({});
      if (commands.empty()) {
        CLI::detail::format_help(out, group->get_name(), group->get_description(),
                                 get_column_width());
      }
      for (const CLI::App* command : commands)
        CLI::detail::format_help(out, group->get_name() + " " + command->get_name(),
                                 command->get_description(), get_column_width());
    }
    out << "\nRun \"vyk COMMAND --help\" for the options of a command.\n";
    return out.str();
  }
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"vyk - Vyk Edit on the command line: projects, meters, meter matches and the Box",
               "vyk"};
  app.set_version_flag("--version", std::string("vyk (Vyk Edit) ") + vyk::kVersion,
                       "Print the version and exit");
  app.require_subcommand(1);
  vyk::cli::AddProjectCommands(app);
  vyk::cli::AddMeterCommands(app);
  vyk::cli::AddMatchCommand(app);
  vyk::cli::AddBoxsimCommand(app);
  vyk::cli::AddBoxCommands(app);
  vyk::cli::AddReportCommand(app);
  vyk::cli::DescribeJsonFlags(app);
  app.formatter(std::make_shared<CommandListFormatter>());
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help is a parse "error" with status 0; a command that exits like diff(1) ends any real
    // one with 2.
    const int status = app.exit(e);
    return status != 0 && vyk::cli::FailureStatus() == 2 ? 2 : status;
  } catch (const vyk::cli::ExitStatus& e) {
    return e.status;
  } catch (const vyk::cli::CommandFailed&) {
    return vyk::cli::FailureStatus();
  } catch (const std::exception& e) {
    // The program's own errors ("Range check error", file errors) and bad arguments.
    std::cerr << vyk::cli::TerminalText(e.what()) << '\n';
    return vyk::cli::FailureStatus();
  }
  return 0;
}

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

// A bad command, option or argument, whatever the command; diff(1) uses the same status for
// its errors.
constexpr int kUsageStatus = 2;

constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0    done\n"
    "  1    failed; the reason is on standard error\n"
    "  2    usage error: a bad command, option or argument\n"
    "  130  stopped by Ctrl+C (SIGINT)\n"
    "  143  stopped by SIGTERM\n"
    "  The diff commands: 0 equal, 1 different, 2 an error of any kind.";

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
  vyk::cli::AddLogCommands(app);
  vyk::cli::AddReportCommand(app);
  vyk::cli::DescribeJsonFlags(app);
  app.formatter(std::make_shared<CommandListFormatter>());
  app.footer(kExitStatuses);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help and --version are parse "errors" with status 0; every real one is a usage error.
    return app.exit(e) == 0 ? 0 : kUsageStatus;
  } catch (const vyk::cli::UsageError& e) {
    std::cerr << e.what() << '\n';
    return kUsageStatus;
  } catch (const vyk::cli::ExitStatus& e) {
    return e.status;
  } catch (const vyk::cli::CommandFailed&) {
    return vyk::cli::FailureStatus();
  } catch (const std::exception& e) {
    // The program's own errors ("Range check error", file errors) and bad arguments.
    std::cerr << vyk::TerminalText(e.what()) << '\n';
    return vyk::cli::FailureStatus();
  }
  return 0;
}

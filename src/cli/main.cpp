// vyk: the command line of Vyk Edit.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/commands.h"
#include "model/errors.h"

int main(int argc, char** argv) {
  CLI::App app{"vyk - Vyk Edit on the command line: projects, meters, meter matches and the Box"};
  app.require_subcommand(1);
  vyk::cli::AddProjectCommands(app);
  vyk::cli::AddMeterCommands(app);
  vyk::cli::AddMatchCommand(app);
  vyk::cli::AddBoxsimCommand(app);
  vyk::cli::AddBoxCommands(app);
  vyk::cli::AddReportCommand(app);
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
    std::cerr << e.what() << '\n';
    return vyk::cli::FailureStatus();
  }
  return 0;
}

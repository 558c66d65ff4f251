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
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const vyk::cli::CommandFailed&) {
    return 1;
  } catch (const std::exception& e) {
    // The program's own errors ("Range check error", file errors) and bad arguments.
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}

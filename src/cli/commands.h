#pragma once
// The `vyk` subcommands.
#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>

namespace vyk::cli {

// A command failed after telling the user why on stderr.
class CommandFailed : public std::runtime_error {
 public:
  CommandFailed() : std::runtime_error("command failed") {}
};

// A bad command, option or argument: its text goes to stderr and the program exits 2. A file
// that cannot be read or used is no usage error: the command failed.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Ends the program with `status` once the command has printed what it had to.
class ExitStatus : public std::runtime_error {
 public:
  explicit ExitStatus(int status) : std::runtime_error("exit status"), status(status) {}
  int status;
};

// The command exits as diff(1) does: 0 when equal, 1 when different, 2 on any error, a bad
// argument included.
void ExitsLikeDiff(CLI::App* command);
// The exit status of a command that failed: 2 for one that exits like diff(1), else 1.
int FailureStatus();

void AddProjectCommands(CLI::App& app);
void AddMatchCommand(CLI::App& app);
void AddMeterCommands(CLI::App& app);
void AddBoxsimCommand(CLI::App& app);
void AddBoxCommands(CLI::App& app);
void AddReportCommand(CLI::App& app);
void AddLogCommands(CLI::App& app);

}  // namespace vyk::cli

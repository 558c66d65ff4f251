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

// A bad argument: its text goes to stderr.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void AddProjectCommands(CLI::App& app);
void AddMatchCommand(CLI::App& app);
void AddMeterCommands(CLI::App& app);
void AddBoxsimCommand(CLI::App& app);
void AddBoxCommands(CLI::App& app);

}  // namespace vyk::cli

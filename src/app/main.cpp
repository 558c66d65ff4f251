// vykedit: the Vyk Edit program.
#include <CLI/CLI.hpp>

#include "ui/start_options.h"
#include "vyk_version.h"

int main(int argc, char** argv) {
  vyk::ui::StartOptions options;
  std::string project;
  CLI::App cli{"Vyk Edit - editor and programmer for the Box", "vykedit"};
  cli.set_version_flag("--version", std::string("vykedit (Vyk Edit) ") + vyk::kVersion,
                       "Print the version and exit");
  cli.add_option("--port", options.port,
                 "Serial device for this run, or \"Simulator\" for the simulated Box");
  cli.add_option("--config", options.configDir, "Folder of the settings file vyk.ini");
  cli.add_option("--data", options.dataDir,
                 "Folder of the Box's backups and history (default: the user's data folder)");
  cli.add_option("--app-folder", options.appFolder, "Folder holding the meter folders");
  cli.add_option("PROJECT", project, "Project file to open (.VYK)");
  cli.allow_extras();  // Qt's own options, such as -platform
  CLI11_PARSE(cli, argc, argv);
  return vyk::ui::RunProgram(argc, argv, options, project);
}

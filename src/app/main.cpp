// vykedit: the Vyk Edit program.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <iostream>

#include "link/qt/qt_pump.h"
#include "model/project_commands.h"
#include "ui/program.h"

namespace {

// Answers for a run that takes pictures: nobody is there to press a button.
class ScreenshotDialogs : public vyk::Dialogs {
 public:
  void Error(const std::string& text) override { std::cerr << text << '\n'; }
  void Information(const std::string&) override {}
  vyk::Answer Question(const std::string&, vyk::QuestionButtons) override {
    return vyk::Answer::No;
  }
  vyk::Answer Warning(const std::string&, vyk::QuestionButtons) override { return vyk::Answer::No; }
  // The first meter file of the folder the dialog starts in.
  std::optional<std::string> OpenFileName(const vyk::FileDialogRequest& request) override {
    QDir folder(QString::fromStdString(request.folder));
    const QStringList meters = folder.entryList({"*.maf", "*.MAF"}, QDir::Files, QDir::Name);
    if (meters.isEmpty()) return std::nullopt;
    return folder.filePath(meters.first()).toStdString();
  }
  std::optional<std::string> SaveFileName(const vyk::FileDialogRequest&) override { return {}; }
  bool ProjectSetupDialog(vyk::ProjectSetup&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  vyk::ui::StartOptions options;
  std::string project;
  std::string screenshots;
  CLI::App cli{"Vyk Edit - editor and programmer for the Box"};
  cli.add_option("--port", options.port,
                 "Serial device for this run, or \"Simulator\" for the simulated Box");
  cli.add_option("--config", options.configDir, "Folder of the settings file vyk.ini");
  cli.add_option("--app-folder", options.appFolder, "Folder holding the meter folders");
  cli.add_option("--screenshot", screenshots,
                 "Save pictures of the windows into this folder, then quit");
  cli.add_option("PROJECT", project, "Project file to open (.VYK)");
  cli.allow_extras();  // Qt's own options, such as -platform
  CLI11_PARSE(cli, argc, argv);

  ScreenshotDialogs screenshotDialogs;
  if (!screenshots.empty()) options.dialogs = &screenshotDialogs;

  vyk::UseLeanEventDispatcher();
  QApplication app(argc, argv);
  QApplication::setApplicationName("VykEdit");
  QApplication::setOrganizationName("Vyk");
  vyk::ui::Program program(options);
  program.Main().show();
  if (!project.empty()) {
    program.Main().Run([&] { vyk::OpenProjectFile(program.Main().GetSession(), project); });
  }
  if (!screenshots.empty()) {
    QTimer::singleShot(300, [&] {
      program.TakeScreenshots(QString::fromStdString(screenshots));
      QApplication::exit(0);
    });
  }
  return QApplication::exec();
}

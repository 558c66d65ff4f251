#include "ui/program.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <iostream>

#include <QDir>
#include <QPushButton>
#include <QTimer>

#include "link/qt/qt_pump.h"
#include "operations/box_operations.h"
#include "operations/project_commands.h"
#include "ui/about_dialog.h"
#include "ui/error_guard.h"
#include "ui/help_window.h"
#include "ui/learn_window.h"
#include "ui/match_window.h"
#include "ui/meter_editor.h"
#include "ui/port_setup_dialog.h"
#include "ui/project_setup_dialog.h"
#include "ui/terminal_window.h"

namespace vyk::ui {

namespace {

// Answers for a run that takes pictures: nobody is there to press a button.
class ScreenshotDialogs : public Dialogs {
 public:
  void Error(const std::string& text) override { std::cerr << text << '\n'; }
  void Information(const std::string&) override {}
  Answer Question(const std::string&, QuestionButtons) override { return Answer::No; }
  Answer Warning(const std::string&, QuestionButtons) override { return Answer::No; }
  // The first meter file of the folder the dialog starts in.
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
    QDir folder(QString::fromStdString(request.folder));
    const QStringList meters = folder.entryList({"*.maf", "*.MAF"}, QDir::Files, QDir::Name);
    if (meters.isEmpty()) return std::nullopt;
    return folder.filePath(meters.first()).toStdString();
  }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
  bool AskProjectSetup(ProjectSetup&) override { return false; }
};

}  // namespace

Program::Program(const StartOptions& options) {
  main_ = std::make_unique<MainWindow>(options);
  MainWindow& m = *main_;
  learn_ = std::make_unique<LearnWindow>(m.SessionDialogs(), &m);
  match_ = std::make_unique<MatchWindow>(m.GetSession(), &m);
  portSetup_ = std::make_unique<PortSetupDialog>(&m);
  projectSetup_ = std::make_unique<ProjectSetupDialog>(&m);
  about_ = std::make_unique<AboutDialog>(&m);
  meterEditor_ = std::make_unique<MeterEditor>(m.SessionDialogs(), m.State(), &m);
  terminal_ = std::make_unique<TerminalWindow>(&m);
  help_ = std::make_unique<HelpWindow>();
  InstallHelpKey(*help_);

  m.Dialogs().projectSetup = [this](ProjectSetup& setup) { return projectSetup_->Run(setup); };
  m.Dialogs().portSetup = [this](int& index, std::string& name) {
    return portSetup_->Run(index, name);
  };
  m.Link().terminalEcho = [this](uint8_t b) { terminal_->Echo(b); };
  terminal_->onKey = [this](uint8_t b) { main_->Link().WriteRaw(b); };
  terminal_->onButton1 = [this] {
    Guarded(main_->SessionDialogs(), [&] { Button1Click(main_->GetSession(), main_->Link()); });
  };
  match_->onImageChanged = [this] {
    main_->RepaintTableGrid();
    main_->RepaintEepromGrid();
    main_->ControlsChanged();
    main_->ChartChanged();
  };

  OtherWindows& w = m.Windows();
  w.editMatch = [this] { match_->EditMatchClick(); };
  w.editMeter = [this] { meterEditor_->exec(); };
  w.showAbout = [this] { about_->exec(); };
  w.showTerminal = [this] {
    terminal_->show();
    terminal_->raise();
  };
  w.helpContents = [this] { help_->ShowContents(); };
  w.helpTopicSearch = [this] { help_->ShowTopicSearch(); };
}

namespace {

void Save(QWidget& window, const QString& folder, const char* name) {
  QApplication::processEvents();
  window.grab().save(QDir(folder).filePath(name));
}

// Runs `work` once the modal window has opened, then closes it.
void WhileOpen(QDialog& dialog, const std::function<void()>& work) {
  QTimer::singleShot(200, &dialog, [&dialog, work] {
    work();
    dialog.reject();
  });
}

void Click(QWidget& window, const char* button) {
  if (auto* b = window.findChild<QPushButton*>(button)) b->click();
}

}  // namespace

void Program::TakeScreenshots(const QString& folder) {
  MainWindow& m = *main_;
  if (m.State().projectState != ProjectState::NoProject) {
    if (SimBox* box = m.Simulator()) box->Config().offsets = {24, 0xFFF0, 12, 0xFFF8};
    m.Run([&] { AbortBtnClick(m.GetSession(), m.Link()); });
    m.Run([&] { AbortBtnClick(m.GetSession(), m.Link()); });  // Connect, then Monitor
  }
  Save(m, folder, "main.png");

  WhileOpen(*meterEditor_, [&] {
    Click(*meterEditor_, "OpenButton");
    Save(*meterEditor_, folder, "meter_editor.png");
  });
  meterEditor_->exec();

  WhileOpen(*match_, [&] {
    Click(*match_, "MatchBtn");
    Save(*match_, folder, "match.png");
  });
  match_->EditMatchClick();
}

int RunProgram(int argc, char** argv, StartOptions options, const std::string& project,
               const std::string& screenshotFolder) {
  ScreenshotDialogs screenshotDialogs;
  if (!screenshotFolder.empty()) options.dialogs = &screenshotDialogs;

  UseLeanEventDispatcher();
  QApplication app(argc, argv);
  QApplication::setApplicationName("VykEdit");
  QApplication::setOrganizationName("Vyk");
  Program program(options);
  program.Main().show();
  if (!project.empty()) {
    program.Main().Run([&] { OpenProjectFile(program.Main().GetSession(), project); });
  }
  if (!screenshotFolder.empty()) {
    QTimer::singleShot(300, [&] {
      program.TakeScreenshots(QString::fromStdString(screenshotFolder));
      QApplication::exit(0);
    });
  }
  return QApplication::exec();
}

Program::~Program() {
  // The link outlives the windows its callbacks reach.
  main_->Link().terminalEcho = nullptr;
}

}  // namespace vyk::ui

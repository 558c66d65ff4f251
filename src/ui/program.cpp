#include "ui/program.h"

#include <QApplication>

#include "link/qt/qt_pump.h"
#include "operations/box/box_operations.h"
#include "operations/box/box_record.h"
#include "operations/project/project_commands.h"
#include "ui/box/box_record_windows.h"
#include "ui/box/port_setup_dialog.h"
#include "ui/box/terminal_window.h"
#include "ui/help/about_dialog.h"
#include "ui/help/help_window.h"
#include "ui/meters/learn_window.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"
#include "ui/project_setup_dialog.h"
#include "ui/widgets/enter_key.h"
#include "ui/widgets/program_icon.h"
#include "vyk_version.h"

namespace vyk::ui {

Program::Program(const StartOptions& options) {
  // Every window and dialog takes the application's icon; the desktop file name lets the task
  // switcher find the menu entry (and its icon) of the running program.
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
  main_ = std::make_unique<MainWindow>(options);
  MainWindow& m = *main_;
  learn_ = std::make_unique<LearnWindow>(m.SessionDialogs(), &m);
  match_ = std::make_unique<MatchWindow>(m.GetSession(), &m);
  portSetup_ = std::make_unique<PortSetupDialog>(&m);
  projectSetup_ = std::make_unique<ProjectSetupDialog>(&m);
  about_ = std::make_unique<AboutDialog>(&m);
  meterEditor_ = std::make_unique<MeterEditor>(m.SessionDialogs(), m.State(), &m);
  terminal_ = std::make_unique<TerminalWindow>(&m);
  preview_ = std::make_unique<UpdatePreviewDialog>(&m);
  backups_ = std::make_unique<BackupsWindow>(&m);
  history_ = std::make_unique<HistoryWindow>(&m);
  help_ = std::make_unique<HelpWindow>();
  InstallHelpKey(*help_);
  InstallEnterKey();

  m.Dialogs().projectSetup = [this](ProjectSetup& setup, const auto& provenance) {
    return projectSetup_->Run(setup, provenance);
  };
  m.Dialogs().portSetup = [this](const std::vector<std::string>& items, int& selected,
                                 UpdateSafety& safety) {
    return portSetup_->Run(items, selected, safety);
  };
  m.Dialogs().previewUpdate = [this](const UpdatePreview& preview, bool& dontShowAgain) {
    return preview_->Run(preview, dontShowAgain);
  };
  m.Link().terminalEcho = [this](uint8_t b) { terminal_->Echo(b); };
  // A keystroke in the middle of an exchange would corrupt it.
  terminal_->onKey = [this](uint8_t b) {
    if (!main_->State().exchangeRunning) main_->Link().WriteRaw(b);
  };
  terminal_->onButton1 = [this] {
    main_->Run([&] { Button1Click(main_->GetSession(), main_->Link()); });
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
  w.showBackups = [this] {
    main_->RunTransfer([&](const auto& progress) {
      Session& s = main_->GetSession();
      std::string path;
      switch (backups_->Run(BoxBackups(s), path)) {
        case BackupsWindow::Choice::Open:
          RestoreBackup(s, path);
          break;
        case BackupsWindow::Choice::WriteToBox:
          WriteBackupToBox(s, main_->Link(), path, progress("Writing"), progress("Reading"));
          break;
        case BackupsWindow::Choice::None:
          break;
      }
    });
  };
  w.showHistory = [this] {
    main_->Run([&] {
      const Session& s = main_->GetSession();
      history_->Run(BoxHistory(s),
                    QString::fromStdString(s.dataFolder.empty() ? "" : HistoryPath(s.dataFolder)));
    });
  };
  w.helpContents = [this] { help_->ShowContents(); };
  w.helpTopicSearch = [this] { help_->ShowTopicSearch(); };
  // The tool windows have no part in the program once the main window has gone.
  w.closed = [this] {
    for (QWidget* other : std::initializer_list<QWidget*>{
             learn_.get(), match_.get(), portSetup_.get(), projectSetup_.get(), about_.get(),
             meterEditor_.get(), terminal_.get(), preview_.get(), backups_.get(), history_.get(),
             help_.get()})
      other->close();
  };
}

int RunProgram(int argc, char** argv, const StartOptions& options, const std::string& project,
               const std::function<void(Program&)>& started) {
  UseLeanEventDispatcher();
  QApplication app(argc, argv);
  QApplication::setApplicationName("VykEdit");
  QApplication::setOrganizationName("Vyk");
  Program program(options);
  // The program ends with its main window, whatever else is still open.
  OtherWindows& windows = program.Main().Windows();
  windows.closed = [closeOthers = windows.closed] {
    closeOthers();
    QCoreApplication::quit();
  };
  // A close during the start (the project's identification waits for the Box) asks a loop
  // that is not running yet to quit, which it would never hear.
  program.Main().show();
  if (!program.Main().OpenAtStart(project)) return 0;
  if (started) started(program);
  return QApplication::exec();
}

Program::~Program() {
  // The link outlives the windows its callbacks reach.
  main_->Link().terminalEcho = nullptr;
}

}  // namespace vyk::ui

#pragma once
// The whole program: every window created once, in the start-up order, and wired together.
#include <memory>

#include "ui/main_window/main_window.h"

namespace vyk::ui {

class LearnWindow;
class MatchWindow;
class PortSetupDialog;
class ProjectSetupDialog;
class AboutDialog;
class MeterEditor;
class TerminalWindow;
class HelpWindow;
class UpdatePreviewDialog;
class BackupsWindow;
class HistoryWindow;

class Program {
 public:
  explicit Program(const StartOptions& options);
  ~Program();

  MainWindow& Main() { return *main_; }
  LearnWindow& Learn() { return *learn_; }
  MatchWindow& Match() { return *match_; }
  PortSetupDialog& PortSetup() { return *portSetup_; }
  ProjectSetupDialog& ProjectSetupWindow() { return *projectSetup_; }
  AboutDialog& About() { return *about_; }
  MeterEditor& MeterEditorWindow() { return *meterEditor_; }
  TerminalWindow& Terminal() { return *terminal_; }
  HelpWindow& Help() { return *help_; }
  UpdatePreviewDialog& Preview() { return *preview_; }
  BackupsWindow& Backups() { return *backups_; }
  HistoryWindow& History() { return *history_; }

 private:
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<LearnWindow> learn_;
  std::unique_ptr<MatchWindow> match_;
  std::unique_ptr<PortSetupDialog> portSetup_;
  std::unique_ptr<ProjectSetupDialog> projectSetup_;
  std::unique_ptr<AboutDialog> about_;
  std::unique_ptr<MeterEditor> meterEditor_;
  std::unique_ptr<TerminalWindow> terminal_;
  std::unique_ptr<UpdatePreviewDialog> preview_;
  std::unique_ptr<BackupsWindow> backups_;
  std::unique_ptr<HistoryWindow> history_;
  std::unique_ptr<HelpWindow> help_;
};

}  // namespace vyk::ui

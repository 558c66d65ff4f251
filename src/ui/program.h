#pragma once
// The whole program: every window created once, in the start-up order, and wired together.
#include <memory>

#include "ui/vyk_main.h"

namespace vyk::ui {

class TLearnDialog;
class TMatchDialog;
class TSetupDialog;
class TNewDialog;
class TAboutDialog;
class TMassAirEditorDialog;
class TCommForm;
class HelpWindow;

class Program {
 public:
  explicit Program(const StartOptions& options);
  ~Program();

  TMainForm& Main() { return *main_; }
  TMatchDialog& Match() { return *match_; }
  TSetupDialog& Setup() { return *setup_; }
  TNewDialog& NewDialog() { return *new_; }
  TAboutDialog& About() { return *about_; }
  TMassAirEditorDialog& MeterEditor() { return *meterEditor_; }
  TCommForm& Terminal() { return *comm_; }
  HelpWindow& Help() { return *help_; }

  // Saves main.png (with a reading of the simulated Box when a project is open),
  // meter_editor.png (the first meter of the meter folder open) and match.png (after a
  // Match) into `folder`. The dialogs must answer without a user (a scripted stand-in) and
  // offer the meter file to the editor's open dialog.
  void TakeScreenshots(const QString& folder);

 private:
  std::unique_ptr<TMainForm> main_;
  std::unique_ptr<TLearnDialog> learn_;
  std::unique_ptr<TMatchDialog> match_;
  std::unique_ptr<TSetupDialog> setup_;
  std::unique_ptr<TNewDialog> new_;
  std::unique_ptr<TAboutDialog> about_;
  std::unique_ptr<TMassAirEditorDialog> meterEditor_;
  std::unique_ptr<TCommForm> comm_;
  std::unique_ptr<HelpWindow> help_;
};

}  // namespace vyk::ui

#pragma once
// One run of a Box command: its options, the port it talks on, the state and project it works
// on, the progress lines it draws and the stop signals it heeds.
#include <unistd.h>
#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/box/stop_signals.h"
#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "link/qt/box_connection.h"
#include "link/qt/qt_pump.h"
#include "link/qt/settings_folder.h"
#include "model/groups.h"
#include "model/records/box_history.h"
#include "model/records/settings_file.h"
#include "operations/box/box_operations.h"
#include "operations/project/project_commands.h"
#include "storage/data_folder.h"

namespace vyk::cli {

struct BoxOptions {
  std::string port;
  std::string configDir;
  std::string dataDir;
  std::string group;
  std::string project;
  bool json = false;
  bool dryRun = false;
  bool keepDamaged = false;   // box read --keep-damaged-record
  size_t last = kEveryEntry;  // box history --last
  double seconds = 0;         // box live --seconds: 0 runs until stopped
  std::string csv;            // box live --csv
};

// One line redrawn in a terminal; elsewhere (a log, a pipe) a line every 16 bytes. A line a
// transfer left open is ended before anything else is said.
class ProgressLines {
 public:
  TransferProgress Line(const char* verb) {
    return [this, verb](int done) {
      const std::string line = std::string(verb) + " EEPROM: " + std::to_string(done) + "/80";
      if (terminal_) {
        std::cerr << '\r' << line;
        open_ = done < 80;
        if (!open_) std::cerr << '\n';
      } else if (done % 16 == 0) {
        std::cerr << line << '\n';
      }
      std::cerr << std::flush;
    };
  }
  void End() {
    if (open_) std::cerr << '\n' << std::flush;
    open_ = false;
  }

 private:
  bool terminal_ = ::isatty(::fileno(stderr)) != 0;
  bool open_ = false;
};

// One run of a Box command: the state, the link on the chosen port, and the project.
class BoxRun {
 public:
  // `abortsExchange`: a stop signal ends the exchange in progress as Abort does (a transfer);
  // else the command's one exchange runs to its end before the command stops.
  BoxRun(const BoxOptions& o, bool abortsExchange) : options_(o) {
    session_.dataFolder = DataFolder(o.dataDir);
    // The window's setting; a command line shows no preview, so it reads the Box first only
    // for the backup.
    state_.backupBeforeUpdate = SettingsFile(SettingsFolder(o.configDir)).Load().backupBeforeUpdate;
    state_.previewBeforeUpdate = false;
    static int argc = 1;
    static char name[] = "vyk";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
      UseLeanEventDispatcher();  // one wake-up per byte at 9600 baud: fewer system calls
      app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    stop_ = std::make_unique<StopSignals>([this, abortsExchange] {
      if (onStop) {
        onStop();
      } else if (abortsExchange) {
        state_.abortRequest = true;
      }
    });
    dialogs_.beforeSaying = [this] { progress_.End(); };
  }
  // The records' warnings come after the outcome, which has been said by now.
  ~BoxRun() {
    progress_.End();
    dialogs_.SayRecordWarnings();
  }
  BoxRun(const BoxRun&) = delete;
  BoxRun& operator=(const BoxRun&) = delete;

  // Loads the project (or makes a new one of the group) without talking to the Box.
  void LoadProject() {
    if (!options_.project.empty()) {
      dialogs_.showInformation = false;
      dialogs_.openName = options_.project;
      FileOpenClick(session_);
      dialogs_.showInformation = true;
      Check();
      if (!options_.group.empty() && GroupOfCliName(options_.group).byte != state_.header.Group())
        throw UsageError("--group differs from the project's group");
    } else {
      if (options_.group.empty()) throw UsageError("--group is needed when no project is given");
      dialogs_.setup =
          ProjectSetup{FileText("(none)"), {}, GroupOfCliName(options_.group).byte, false};
      FileNewClick(session_);
      Check();
    }
  }

  // Opens the port; the simulated Box answers as hardware of the project's group.
  void OpenLink() {
    connection_.Open(options_.port);
    connection_.AnswerAsGroup(state_.header.Group());
    ExitIfStopped();
  }

  void Check() const {
    if (dialogs_.errors > 0) throw CommandFailed();
  }

  // After Ctrl+C or SIGTERM the command ends once the exchange in progress has, with an exit
  // status that says it was stopped.
  void ExitIfStopped() {
    if (stop_->Received() == 0) return;
    progress_.End();
    throw ExitStatus(stop_->ExitStatus());
  }

  // Saves what a read brought into the project. False when it was not saved, with the reason
  // for the history; a stop signal keeps the project untouched.
  bool SaveRead() {
    if (stop_->Received() != 0) return false;
    dialogs_.showInformation = false;
    dialogs_.quietQuestions = false;
    try {
      if (SaveChangedProject(session_, dialogs_, options_.keepDamaged)) return true;
      state_.boxMessage = "The project was not saved: " + state_.projectFileName +
                          " was changed on disk and was not overwritten";
    } catch (const std::exception& e) {
      state_.boxMessage = std::string("The project was not saved: ") + e.what();
    }
    dialogs_.Error(state_.boxMessage);
    return false;
  }

  // What the first stop signal does instead (a live view ends as Stop ends it).
  std::function<void()> onStop;

  TransferProgress ProgressLine(const char* verb) { return progress_.Line(verb); }
  void EndProgress() { progress_.End(); }

  AppState& State() { return state_; }
  Session& GetSession() { return session_; }
  BoxLink& Link() { return connection_.Link(); }
  CliDialogs& Dialogs() { return dialogs_; }
  const BoxOptions& Options() const { return options_; }

 private:
  BoxOptions options_;
  std::unique_ptr<QCoreApplication> app_;
  AppState state_;
  CliDialogs dialogs_;
  MainView view_;
  Session session_{state_, dialogs_, view_, nullptr};
  QtPump pump_;
  BoxConnection connection_{pump_, state_};
  ProgressLines progress_;
  std::unique_ptr<StopSignals> stop_;
};

// The options with the port filled in from the settings file when --port is not given; never
// the simulated Box unless --port names it.
BoxOptions WithPort(BoxOptions o);

// The JSON with --json, else the text.
void Print(const BoxOptions& o, const nlohmann::json& j, const std::string& text);

// --port, --config, --data, --group and --json, as every Box command has them.
void AddCommonBoxOptions(CLI::App* cmd, BoxOptions& o);
// vyk box live.
void AddLiveCommand(CLI::App* box);

}  // namespace vyk::cli

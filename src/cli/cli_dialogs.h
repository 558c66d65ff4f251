#pragma once
// The dialogs of the command line: messages go to stderr, and the questions and file
// dialogs are answered from what the command's options said.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "operations/project/dialogs.h"
#include "operations/project/session.h"

namespace vyk::cli {

class CliDialogs : public Dialogs {
 public:
  void Error(const std::string& text) override;
  void Information(const std::string& text) override;
  Answer Question(const std::string& text, QuestionButtons buttons) override;
  Answer Warning(const std::string& text, QuestionButtons buttons) override;
  // Held back until the command has said its outcome (SayRecordWarnings).
  void RecordWarning(const std::string& text) override;
  void SayRecordWarnings();
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
  bool AskProjectSetup(ProjectSetup& setup) override;

  int errors = 0;                           // error boxes shown so far
  std::vector<std::string> recordWarnings;  // not said yet
  std::function<void()> beforeSaying;       // ends a progress line before a message
  bool showInformation = true;              // print notices such as "X saved"
  Answer questionAnswer = Answer::Yes;      // how every question is answered
  bool quietQuestions = false;              // answer without printing the question
  std::optional<std::string> openName;      // the file the open dialog picks
  std::optional<std::string> saveName;      // the file the save dialog picks
  bool overwrite = false;                   // answer Yes to "replace the existing file?"
  std::optional<ProjectSetup> setup;        // what the project setup dialog answers
};

// Saves a project a command changed, as File > Save does. Its questions are answered No (a file
// changed on disk since it was read is not overwritten unasked), but a damaged record of how
// the table was made is kept when `keepDamaged` (--keep-damaged-record) says so; dropping it
// is said with how to keep it. False when the project was not saved.
bool SaveChangedProject(Session& s, CliDialogs& dialogs, bool keepDamaged);

inline constexpr const char* kKeepDamagedHelp =
    "Keep a damaged record of how the table was made in the file as it is (dropped otherwise)";

}  // namespace vyk::cli

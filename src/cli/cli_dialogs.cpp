#include "cli/cli_dialogs.h"

#include <filesystem>
#include <iostream>

#include "cli/printing.h"
#include "operations/project/project_commands.h"
#include "storage/path_text.h"

namespace vyk::cli {

void CliDialogs::Error(const std::string& text) {
  ++errors;
  if (beforeSaying) beforeSaying();
  std::cerr << TerminalText(text) << '\n';
}

void CliDialogs::Information(const std::string& text) {
  if (!showInformation) return;
  if (beforeSaying) beforeSaying();
  std::cerr << TerminalText(text) << '\n';
}

Answer CliDialogs::Question(const std::string& text, QuestionButtons) {
  if (!quietQuestions) {
    if (beforeSaying) beforeSaying();
    std::cerr << TerminalText(text) << ' ' << (questionAnswer == Answer::Yes ? "Yes" : "No")
              << '\n';
  }
  return questionAnswer;
}

Answer CliDialogs::Warning(const std::string& text, QuestionButtons buttons) {
  return Question(text, buttons);
}

void CliDialogs::RecordWarning(const std::string& text) {
  recordWarnings.push_back(text);
}

void CliDialogs::SayRecordWarnings() {
  if (!recordWarnings.empty() && beforeSaying) beforeSaying();
  for (const std::string& text : recordWarnings)
    std::cerr << "Warning: " << TerminalText(text) << '\n';
  recordWarnings.clear();
}

std::optional<std::string> CliDialogs::OpenFileName(const FileDialogRequest&) {
  return openName;
}

std::optional<std::string> CliDialogs::SaveFileName(const FileDialogRequest& request) {
  if (!saveName) return std::nullopt;
  std::error_code ec;
  if (request.confirmOverwrite && !overwrite && std::filesystem::exists(PathOf(*saveName), ec)) {
    Error(*saveName + " already exists (--force replaces it)");
    return std::nullopt;
  }
  return saveName;
}

bool CliDialogs::AskProjectSetup(ProjectSetup& answer) {
  if (!setup) return false;
  answer = *setup;
  return true;
}

bool SaveChangedProject(Session& s, CliDialogs& dialogs, bool keepDamaged) {
  auto& damaged = s.state.damagedProvenance;
  const bool hadDamaged = damaged && !damaged->bytes.empty();
  if (hadDamaged && keepDamaged) damaged->keep = true;
  dialogs.questionAnswer = Answer::No;
  const bool saved = FileSaveClick(s);
  if (saved && hadDamaged && !damaged) {
    if (dialogs.beforeSaying) dialogs.beforeSaying();
    std::cerr << "The damaged record was dropped; --keep-damaged-record keeps it\n";
  }
  return saved;
}

}  // namespace vyk::cli

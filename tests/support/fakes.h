#pragma once
// Scripted stand-ins for the dialogs and the main window, and a session built on them.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "operations/project/dialogs.h"
#include "operations/project/main_view.h"
#include "operations/project/project_commands.h"
#include "operations/project/session.h"
#include "support/temp_folder.h"

namespace vyk::test {

inline constexpr int32_t kToday = 45000;

// Answers every box and dialog from queues and records what it was shown. A dialog asked
// with an empty queue fails the test and is cancelled.
class FakeDialogs : public Dialogs {
 public:
  enum class Kind { Error, Information, Question, Warning };
  struct Message {
    Kind kind;
    std::string text;
  };

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> fileNames;  // nullopt: the user cancels
  std::deque<std::optional<ProjectSetup>> setups;    // nullopt: the user cancels
  std::deque<std::optional<int>> portChoices;        // the item chosen; nullopt: Cancel
  std::vector<Message> messages;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<ProjectSetup> setupsShown;  // what each Project Setup dialog was filled with
  struct PortSetupShown {
    std::vector<std::string> items;
    int selected;
  };
  std::vector<PortSetupShown> portSetupsShown;
  std::vector<UpdateSafety> safetyShown;     // Box > Options' two boxes as shown
  std::optional<UpdateSafety> safetyChoice;  // how the user leaves them on OK; nothing: as shown
  std::deque<bool> previewAnswers;           // the Update preview: true OK, false Cancel
  bool previewDontShowAgain = false;         // the preview's box as the user leaves it
  std::vector<UpdatePreview> previewsShown;

  void Error(const std::string& text) override { messages.push_back({Kind::Error, text}); }
  void Information(const std::string& text) override {
    messages.push_back({Kind::Information, text});
  }
  Answer Question(const std::string& text, QuestionButtons) override {
    messages.push_back({Kind::Question, text});
    return Next(answers, Answer::Cancel);
  }
  Answer Warning(const std::string& text, QuestionButtons) override {
    messages.push_back({Kind::Warning, text});
    return Next(answers, Answer::Cancel);
  }
  void RecordWarning(const std::string& text) override {
    messages.push_back({Kind::Warning, text});
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    return Next(fileNames, std::optional<std::string>());
  }
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    return Next(fileNames, std::optional<std::string>());
  }
  bool AskProjectSetup(ProjectSetup& setup) override {
    setupsShown.push_back(setup);
    auto answer = Next(setups, std::optional<ProjectSetup>());
    if (answer) setup = *answer;
    return answer.has_value();
  }

  bool AskPortSetup(const std::vector<std::string>& items, int& selected,
                    UpdateSafety& safety) override {
    portSetupsShown.push_back({items, selected});
    safetyShown.push_back(safety);
    auto answer = Next(portChoices, std::optional<int>());
    if (answer) selected = *answer;
    if (answer && safetyChoice) safety = *safetyChoice;
    return answer.has_value();
  }

  bool PreviewUpdate(const UpdatePreview& preview, bool& dontShowAgain) override {
    previewsShown.push_back(preview);
    dontShowAgain = previewDontShowAgain;
    return Next(previewAnswers, false);
  }

  std::vector<std::string> Texts(Kind kind) const {
    std::vector<std::string> texts;
    for (const auto& m : messages)
      if (m.kind == kind) texts.push_back(m.text);
    return texts;
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T cancel) {
    if (queue.empty()) {
      ADD_FAILURE() << "a dialog was shown that the test did not expect";
      return cancel;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

class RecordingView : public MainView {
 public:
  int looks = 0;
  int tableRepaints = 0;
  int eepromRepaints = 0;
  int controlChanges = 0;
  int chartChanges = 0;
  WindowLook lastLook;

  void ApplyLook(const WindowLook& look) override {
    ++looks;
    lastLook = look;
  }
  void RepaintTableGrid() override { ++tableRepaints; }
  void RepaintEepromGrid() override { ++eepromRepaints; }
  void ControlsChanged() override { ++controlChanges; }
  void ChartChanged() override { ++chartChanges; }
  void StatusMessage(const std::string& text) override { statusMessages.push_back(text); }
  std::vector<std::string> statusMessages;
};

// A program just started: no project, start-up constants, every image byte FF.
struct Harness {
  AppState state;
  FakeDialogs dialogs;
  RecordingView view;
  Session session{state, dialogs, view, {}, [] { return kToday; }};

  Harness() { state.appFolder = state.meterFolder = "app" + std::string(1, kPathSeparator); }

  // File > New with the dialog answered, dropping any unsaved changes.
  void New(uint8_t group) {
    if (state.projectModified) dialogs.answers.push_back(Answer::No);
    dialogs.setups.push_back(ProjectSetup{FileText("Test"), {}, group, false});
    FileNewClick(session);
  }

  // File > Save As under `path`: the project then has a file and nothing to save.
  bool SaveAs(const std::string& path) {
    dialogs.fileNames.push_back(path);
    return FileSaveAsClick(session);
  }

  // File > Open of `path`, dropping any unsaved changes.
  void Open(const std::string& path) {
    if (state.projectModified) dialogs.answers.push_back(Answer::No);
    dialogs.fileNames.push_back(path);
    FileOpenClick(session);
  }
};

}  // namespace vyk::test

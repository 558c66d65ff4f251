#pragma once
// The operations' boxes and dialogs as Qt shows them.
#include <QWidget>
#include <functional>

#include "operations/project/dialogs.h"

namespace vyk::ui {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}

  void Error(const std::string& text) override;
  void Information(const std::string& text) override;
  Answer Question(const std::string& text, QuestionButtons buttons) override;
  Answer Warning(const std::string& text, QuestionButtons buttons) override;
  void RecordWarning(const std::string& text) override;
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
  bool AskProjectSetup(ProjectSetup& setup) override;
  bool AskProjectEdit(ProjectSetup& setup,
                      const std::vector<std::pair<std::string, std::string>>& provenance) override;
  bool AskPortSetup(const std::vector<std::string>& items, int& selected,
                    UpdateSafety& safety) override;
  bool PreviewUpdate(const UpdatePreview& preview, bool& dontShowAgain) override;

  // The Project Setup, port Setup and Update preview windows, once they exist.
  // Its second argument: the Provenance page's lines (Edit > Project), or nothing (File > New).
  std::function<bool(ProjectSetup&, const std::vector<std::pair<std::string, std::string>>&)>
      projectSetup;
  std::function<bool(const std::vector<std::string>&, int&, UpdateSafety&)> portSetup;
  std::function<bool(const UpdatePreview&, bool&)> previewUpdate;
  // Where boxes appear: the active modal window if any, else the main window.
  QWidget* Parent() const;

 private:
  QWidget* parent_;
};

// "MAF files (*.maf)|*.maf", "*.VYK|*.VYK|All files (*)|*" or "*.VYK" as a Qt file dialog
// filter.
QString QtFilter(const std::string& filter);

}  // namespace vyk::ui

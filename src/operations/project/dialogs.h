#pragma once
// The modal boxes and dialogs the operations ask. The window layer shows real ones; the
// command line and the tests answer them from a script.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/app_state.h"
#include "model/image_diff.h"

namespace vyk {

enum class Answer { Ok, Cancel, Yes, No };
enum class QuestionButtons { YesNo, YesNoCancel };

struct FileDialogRequest {
  std::string folder;  // where the dialog starts
  // A pattern such as "*.VYK", or pairs of description and pattern joined by "|", such as
  // "MAF files (*.maf)|*.maf" or "*.VYK|*.VYK|All files (*)|*".
  std::string filter;
  std::string initialName;  // the file name box's starting text
  bool confirmOverwrite = false;
  std::string defaultExtension;  // added to a name typed without one, such as "maf"
};

// The two settings of Box > Options that guard an Update.
struct UpdateSafety {
  bool backupBeforeUpdate = true;
  bool previewBeforeUpdate = true;
};

// What an Update is about to change in the Box: the Box's bytes against the project's.
struct UpdatePreview {
  std::string project;  // the project's file name, or "(new)"
  std::string port;
  std::string box;  // the Box's letter and version, such as "G 1.0"
  std::vector<ImageDifference> changes;
  std::vector<std::string> warnings;  // the check of the table: never a reason to refuse
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Error(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
  virtual Answer Question(const std::string& text, QuestionButtons buttons) = 0;
  virtual Answer Warning(const std::string& text, QuestionButtons buttons) = 0;
  // A record of an operation (its history line, an index) could not be kept: a warning with
  // an OK button, after the operation's own outcome, which stands.
  virtual void RecordWarning(const std::string& text) { Error(text); }
  // A warning about what was done, with an OK button.
  virtual void WarningOk(const std::string& text) { RecordWarning(text); }
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
  // Shows the Project Setup dialog filled from `setup`; on OK `setup` holds what the user
  // chose and the result is true.
  virtual bool AskProjectSetup(ProjectSetup& setup) = 0;
  // Edit > Project: the same dialog, whose Provenance page lists `provenance` (label and text,
  // read only). Without such a page it is the plain dialog.
  virtual bool AskProjectEdit(ProjectSetup& setup,
                              const std::vector<std::pair<std::string, std::string>>& provenance) {
    (void)provenance;
    return AskProjectSetup(setup);
  }
  // Shows the port setup dialog with its items, `selected` (-1: none) selected. On OK the
  // result is true and `selected` holds the chosen item, -1 for none.
  virtual bool AskPortSetup(const std::vector<std::string>& items, int& selected,
                            UpdateSafety& safety) {
    (void)items;
    (void)selected;
    (void)safety;
    return false;
  }
  // Shows what an Update will change in the Box; true on OK. `dontShowAgain` comes back as
  // the user left the dialog's box. Without a window to show it in, the Update goes on.
  virtual bool PreviewUpdate(const UpdatePreview& preview, bool& dontShowAgain) {
    (void)preview;
    (void)dontShowAgain;
    return true;
  }
};

}  // namespace vyk

#pragma once
// The modal boxes and dialogs the operations ask. The window layer shows real ones; the
// command line and the tests answer them from a script.
#include <optional>
#include <string>

#include "model/app_state.h"

namespace vyk {

enum class Answer { Ok, Cancel, Yes, No };
enum class QuestionButtons { YesNo, YesNoCancel };

struct FileDialogRequest {
  std::string folder;       // where the dialog starts
  std::string filter;       // such as "*.VYK", or "MAF files (*.maf)|*.maf"
  std::string initialName;  // the file name box's starting text
  bool confirmOverwrite = false;
  std::string defaultExtension;  // added to a name typed without one, such as "maf"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Error(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
  virtual Answer Question(const std::string& text, QuestionButtons buttons) = 0;
  virtual Answer Warning(const std::string& text, QuestionButtons buttons) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
  // Shows the Project Setup dialog filled from `setup`; on OK `setup` holds what the user
  // chose and the result is true.
  virtual bool AskProjectSetup(ProjectSetup& setup) = 0;
  // Shows the port setup dialog with item `index` (0..3 for COM 1..4, -1 for none) selected,
  // or the device `portName` when it is not empty. On OK the result is true and either
  // `portName` names the chosen device (or "Simulator"), or it is empty and `index` holds the
  // COM item.
  virtual bool AskPortSetup(int& index, std::string& portName) {
    (void)index;
    (void)portName;
    return false;
  }
};

}  // namespace vyk

#pragma once
// Port setup (Box > Options): COM 1 to COM 4, the serial ports this machine has, or the
// simulated Box, as the operation lists them; and the two guards of an Update.
#include <QDialog>
#include <string>
#include <vector>

#include "operations/project/dialogs.h"

class QCheckBox;

namespace vyk::ui {

class RadioGroup;

class PortSetupDialog : public QDialog {
 public:
  explicit PortSetupDialog(QWidget* parent);

  // Shows the items with item `selected` selected (-1: none) and the guards as `safety` has
  // them. On OK returns true with `selected` the chosen item, -1 for none, and `safety` as the
  // user left the boxes.
  bool Run(const std::vector<std::string>& items, int& selected, UpdateSafety& safety);

 private:
  RadioGroup* comPortRGrp_;
  QCheckBox* backupCBox_;
  QCheckBox* previewCBox_;
};

}  // namespace vyk::ui

#pragma once
// Port setup (Box > Options): COM 1 to COM 4, the serial ports this machine has, or the
// simulated Box, as the operation lists them.
#include <QDialog>
#include <string>
#include <vector>

namespace vyk::ui {

class RadioGroup;

class PortSetupDialog : public QDialog {
 public:
  explicit PortSetupDialog(QWidget* parent);

  // Shows the items with item `selected` selected (-1: none). On OK returns true with
  // `selected` the chosen item, -1 for none.
  bool Run(const std::vector<std::string>& items, int& selected);

 private:
  RadioGroup* comPortRGrp_;
};

}  // namespace vyk::ui

#pragma once
// Port setup (Box > Options): COM 1 to COM 4, the serial ports this machine has, or the
// simulated Box. The choice applies from the next start of the program.
#include <QDialog>
#include <string>
#include <vector>

namespace vyk::ui {

class RadioGroup;

class PortSetupDialog : public QDialog {
 public:
  explicit PortSetupDialog(QWidget* parent);

  // Selects COM `index` + 1 (0..3; anything else selects none) or, when `portName` is not
  // empty, that device or "Simulator". On OK returns true with either `portName` empty and
  // `index` the chosen COM item (-1 for none), or `portName` the chosen device.
  bool Run(int& index, std::string& portName);

 private:
  // Lists the COM items, the machine's ports (and `current` when it is absent) and the
  // simulated Box; devices_ holds the device behind each item, empty for a COM item.
  void FillItems(const std::string& current);

  RadioGroup* comPortRGrp_;
  std::vector<std::string> devices_;
};

}  // namespace vyk::ui

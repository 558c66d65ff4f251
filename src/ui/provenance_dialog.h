#pragma once
// Edit > Project > Provenance: how the project's table was made (the two meters, the match,
// the entries edited by hand since), read only.
#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QFormLayout;

namespace vyk::ui {

class ProvenanceDialog : public QDialog {
 public:
  explicit ProvenanceDialog(QWidget* parent);

  // Shows the lines (label and text) until the user closes the dialog.
  void Run(const std::vector<std::pair<std::string, std::string>>& lines);

 private:
  QFormLayout* facts_;
};

}  // namespace vyk::ui

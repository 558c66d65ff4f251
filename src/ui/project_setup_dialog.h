#pragma once
// Project Setup: the name, description, hardware group and units of a project, asked by
// File > New and Edit > Project.
#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "model/app_state.h"

class QLineEdit;
class QPushButton;

namespace vyk::ui {

class RadioGroup;
class ProvenanceDialog;

class ProjectSetupDialog : public QDialog {
 public:
  explicit ProjectSetupDialog(QWidget* parent);

  // Shows `setup`; on OK writes the user's choice back into it and returns true. The
  // Provenance button shows `provenance` (label and text); none: the button is disabled.
  bool Run(ProjectSetup& setup,
           const std::vector<std::pair<std::string, std::string>>& provenance = {});

 private:
  QLineEdit* projectNameEdit_;
  QLineEdit* descriptionEdit_;
  RadioGroup* groupRGrp_;
  RadioGroup* unitsRGrp_;
  QPushButton* provenanceBtn_;
  ProvenanceDialog* provenance_;
  std::vector<std::pair<std::string, std::string>> provenanceLines_;
};

}  // namespace vyk::ui

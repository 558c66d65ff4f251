#pragma once
// Project Setup: the name, description, hardware group and units of a project, asked by
// File > New and Edit > Project.
#include <QDialog>

#include "model/app_state.h"

class QLineEdit;

namespace vyk::ui {

class RadioGroup;

class ProjectSetupDialog : public QDialog {
 public:
  explicit ProjectSetupDialog(QWidget* parent);

  // Shows `setup`; on OK writes the user's choice back into it and returns true.
  bool Run(ProjectSetup& setup);

 private:
  QLineEdit* projectNameEdit_;
  QLineEdit* descriptionEdit_;
  RadioGroup* groupRGrp_;
  RadioGroup* unitsRGrp_;
};

}  // namespace vyk::ui

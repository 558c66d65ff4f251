#pragma once
// One meter tool's dialog over MeterToolForm: its inputs, a chart of the new curve beside the
// old one, and the warnings and saturation flow under it, all redrawn as the inputs change.
// OK saves the new meter under a name the user picks; the dialog stays open when that is
// cancelled.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "operations/meters/meter_tool_form.h"
#include "operations/project/dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vyk::ui {

class CompareChart;

class MeterToolDialog : public QDialog {
  Q_OBJECT

 public:
  MeterToolDialog(MeterToolForm& form, Dialogs& dialogs, QWidget* parent = nullptr);

  // Where OK saved the new meter.
  const std::optional<std::string>& SavedPath() const { return saved_; }

  void accept() override;

 private:
  void Sync();

  MeterToolForm& form_;
  Dialogs& dialogs_;
  std::vector<std::pair<ToolField, QLabel*>> labels_;
  QCheckBox* inches_ = nullptr;
  CompareChart* chart_;
  QLabel* notes_;
  std::optional<std::string> saved_;
};

}  // namespace vyk::ui

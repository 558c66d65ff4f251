#include "ui/port_setup_dialog.h"
#include "ui/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help_context.h"
#include "ui/radio_group.h"

namespace vyk::ui {

PortSetupDialog::PortSetupDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      comPortRGrp_(new RadioGroup(QStringLiteral("Com Port"), {}, this)) {
  setWindowTitle(QStringLiteral("Setup"));
  setProperty(kHelpContextProperty, kHelpPortSetup);
  comPortRGrp_->setObjectName(QStringLiteral("ComPortRGrp"));

  QHBoxLayout* buttons = OkCancelHelpButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(comPortRGrp_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool PortSetupDialog::Run(const std::vector<std::string>& items, int& selected) {
  QStringList texts;
  for (const std::string& item : items)
    texts << QString::fromStdString(item);
  // The list changes between showings: USB adapters come and go.
  comPortRGrp_->SetItems(texts);
  comPortRGrp_->SetItemIndex(selected);
  if (exec() != QDialog::Accepted) return false;
  selected = comPortRGrp_->ItemIndex();
  return true;
}

}  // namespace vyk::ui

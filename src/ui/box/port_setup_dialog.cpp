#include "ui/box/port_setup_dialog.h"
#include "ui/widgets/dialog_buttons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help/help_context.h"
#include "ui/widgets/radio_group.h"

namespace vyk::ui {

PortSetupDialog::PortSetupDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      comPortRGrp_(new RadioGroup(QStringLiteral("Com Port"), {}, this)),
      backupCBox_(new QCheckBox(QStringLiteral("Back up the Box before each Update"), this)),
      previewCBox_(new QCheckBox(QStringLiteral("Show what an Update will change"), this)) {
  setWindowTitle(QStringLiteral("Setup"));
  setProperty(kHelpContextProperty, kHelpPortSetup);
  comPortRGrp_->setObjectName(QStringLiteral("ComPortRGrp"));
  backupCBox_->setObjectName(QStringLiteral("BackupCBox"));
  previewCBox_->setObjectName(QStringLiteral("PreviewCBox"));
  backupCBox_->setProperty(kHelpContextProperty, kHelpBoxRecord);
  previewCBox_->setProperty(kHelpContextProperty, kHelpBoxRecord);

  QHBoxLayout* buttons = OkCancelHelpButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(comPortRGrp_);
  layout->addWidget(backupCBox_);
  layout->addWidget(previewCBox_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool PortSetupDialog::Run(const std::vector<std::string>& items, int& selected,
                          UpdateSafety& safety) {
  QStringList texts;
  for (const std::string& item : items)
    texts << QString::fromStdString(item);
  // The list changes between showings: USB adapters come and go.
  comPortRGrp_->SetItems(texts);
  comPortRGrp_->SetItemIndex(selected);
  backupCBox_->setChecked(safety.backupBeforeUpdate);
  previewCBox_->setChecked(safety.previewBeforeUpdate);
  if (exec() != QDialog::Accepted) return false;
  selected = comPortRGrp_->ItemIndex();
  safety = {backupCBox_->isChecked(), previewCBox_->isChecked()};
  return true;
}

}  // namespace vyk::ui

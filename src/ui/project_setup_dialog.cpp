#include "ui/project_setup_dialog.h"
#include "ui/widgets/dialog_buttons.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/groups.h"
#include "ui/help/help_context.h"
#include "ui/provenance_dialog.h"
#include "ui/widgets/centre_on_screen.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/radio_group.h"

namespace vyk::ui {

namespace {

constexpr int kEnglish = 0;
constexpr int kMetric = 1;

// In the order of the group bytes, so an item's index is its group byte.
QStringList GroupItems() {
  QStringList items;
  for (const HardwareGroup& group : kGroups)
    items << FromCore(std::string(group.name));
  return items;
}

}  // namespace

ProjectSetupDialog::ProjectSetupDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      projectNameEdit_(new QLineEdit(this)),
      descriptionEdit_(new QLineEdit(this)),
      groupRGrp_(new RadioGroup(QStringLiteral("Group"), GroupItems(), this)),
      unitsRGrp_(new RadioGroup(QStringLiteral("Units"),
                                {QStringLiteral("English"), QStringLiteral("Metric")}, this)),
      provenanceBtn_(new QPushButton(QStringLiteral("Provenance ..."), this)),
      provenance_(new ProvenanceDialog(this)) {
  setWindowTitle(QStringLiteral("Project Setup"));
  setProperty(kHelpContextProperty, kHelpProjectSetup);
  projectNameEdit_->setObjectName(QStringLiteral("ProjectNameEdit"));
  descriptionEdit_->setObjectName(QStringLiteral("DescriptionEdit"));
  groupRGrp_->setObjectName(QStringLiteral("GroupRGrp"));
  unitsRGrp_->setObjectName(QStringLiteral("UnitsRGrp"));
  projectNameEdit_->setMinimumWidth(280);
  provenanceBtn_->setObjectName(QStringLiteral("ProvenanceBtn"));
  provenanceBtn_->setToolTip(QStringLiteral("How the project's table was made"));
  connect(provenanceBtn_, &QPushButton::clicked, this,
          [this] { provenance_->Run(provenanceLines_); });

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Name"), projectNameEdit_);
  fields->addRow(QStringLiteral("Description"), descriptionEdit_);

  auto* groups = new QHBoxLayout;
  groups->addWidget(groupRGrp_);
  groups->addWidget(unitsRGrp_);
  groups->addStretch();

  QHBoxLayout* buttons = OkCancelHelpButtons(this);
  buttons->insertWidget(0, provenanceBtn_);
  // Room either side of its text as the other buttons have, and apart from OK.
  provenanceBtn_->setMinimumWidth(provenanceBtn_->sizeHint().width() +
                                  2 * fontMetrics().averageCharWidth());
  buttons->insertSpacing(1, fontMetrics().averageCharWidth() * 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(groups);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool ProjectSetupDialog::Run(ProjectSetup& setup,
                             const std::vector<std::pair<std::string, std::string>>& provenance) {
  projectNameEdit_->setText(FromCore(setup.name));
  descriptionEdit_->setText(FromCore(setup.description));
  groupRGrp_->SetItemIndex(setup.group);
  unitsRGrp_->SetItemIndex(setup.metric ? kMetric : kEnglish);
  // A new project has no table yet, so nothing to tell of how it was made.
  provenanceLines_ = provenance;
  provenanceBtn_->setEnabled(!provenanceLines_.empty());
  projectNameEdit_->setFocus();
  projectNameEdit_->selectAll();
  CentreOnScreen(this);
  if (exec() != QDialog::Accepted) return false;

  setup.name = ToFileText(projectNameEdit_->text());
  setup.description = ToFileText(descriptionEdit_->text());
  // A header whose group byte is no group shows no selection; if the user picks none either,
  // the byte stays what it was.
  if (groupRGrp_->ItemIndex() >= 0) setup.group = static_cast<uint8_t>(groupRGrp_->ItemIndex());
  setup.metric = unitsRGrp_->ItemIndex() == kMetric;
  return true;
}

}  // namespace vyk::ui

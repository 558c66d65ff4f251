#include "ui/provenance_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help/help_context.h"

namespace vyk::ui {

ProvenanceDialog::ProvenanceDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), facts_(new QFormLayout) {
  setWindowTitle(QStringLiteral("Provenance"));
  setObjectName(QStringLiteral("ProvenanceDialog"));
  setProperty(kHelpContextProperty, kHelpProvenance);
  auto* heading = new QLabel(QStringLiteral("How the table was made"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  // Long meter lines wrap instead of widening the dialog past the screen.
  facts_->setRowWrapPolicy(QFormLayout::DontWrapRows);
  facts_->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

  auto* close = new QPushButton(QStringLiteral("Close"), this);
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  close->setObjectName(QStringLiteral("CloseBtn"));
  help->setObjectName(QStringLiteral("HelpBtn"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(help, &QPushButton::clicked, this, [help] { RequestHelp(help); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  buttons->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(facts_);
  layout->addLayout(buttons);
}

void ProvenanceDialog::Run(const std::vector<std::pair<std::string, std::string>>& lines) {
  while (facts_->rowCount() > 0)
    facts_->removeRow(0);
  for (const auto& [label, text] : lines) {
    auto* value = new QLabel(QString::fromStdString(text), this);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(540);  // a meter line on one line at the usual font sizes
    facts_->addRow(QString::fromStdString(label), value);
  }
  adjustSize();
  exec();
}

}  // namespace vyk::ui

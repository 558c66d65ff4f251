#pragma once
// The OK, Cancel and Help row of the small dialogs: OK is the default button, Cancel (and Esc)
// rejects, Help opens the dialog's page.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "ui/help/help_context.h"

namespace vyk::ui {

inline QHBoxLayout* OkCancelHelpButtons(QDialog* dialog) {
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  auto* help = new QPushButton(QStringLiteral("Help"), dialog);
  ok->setObjectName(QStringLiteral("OKBtn"));
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  help->setObjectName(QStringLiteral("HelpBtn"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  QObject::connect(help, &QPushButton::clicked, dialog, [help] { RequestHelp(help); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  return buttons;
}

}  // namespace vyk::ui

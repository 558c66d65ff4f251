#include "ui/help/about_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widgets/centre_on_screen.h"
#include "ui/widgets/program_icon.h"
#include "vyk_version.h"

namespace vyk::ui {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      productNameLabel_(new QLabel(this)),
      versionLabel_(new QLabel(this)),
      noticeLabel_(new QLabel(this)),
      commentsLabel_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("About"));
  productNameLabel_->setObjectName(QStringLiteral("ProductNameLabel"));
  versionLabel_->setObjectName(QStringLiteral("VersionLabel"));
  noticeLabel_->setObjectName(QStringLiteral("NoticeLabel"));
  commentsLabel_->setObjectName(QStringLiteral("CommentsLabel"));

  QFont big = productNameLabel_->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.5);
  productNameLabel_->setFont(big);
  commentsLabel_->setWordWrap(true);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);

  auto* icon = new QLabel(panel);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setPixmap(ProgramIcon().pixmap(64, 64));
  icon->setScaledContents(true);
  icon->setFixedSize(64, 64);

  auto* grid = new QGridLayout(panel);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(productNameLabel_, 0, 1);
  grid->addWidget(versionLabel_, 1, 1);
  grid->addWidget(noticeLabel_, 2, 0, 1, 2);
  grid->addWidget(commentsLabel_, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(1, 220);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::showEvent(QShowEvent* event) {
  productNameLabel_->setText(QStringLiteral("Vyk Edit (6v) "));
  versionLabel_->setText(QStringLiteral("V%1 %2 ").arg(kVersion, kReleaseDateShown));
  noticeLabel_->setText(
      QStringLiteral("Editor and programmer for the Box, as is, without warranty."));
  commentsLabel_->clear();
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace vyk::ui

#include "ui/about_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/centre_on_screen.h"

namespace vyk::ui {

QIcon ProgramIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // The Box: a dark case with a screen.
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(QColor(70, 90, 120));
  p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
  p.setBrush(QColor(245, 245, 235));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(10, 10, 44, 44));
  // Its table curve (blue) and the curve as the pots adjust it (red).
  QPainterPath table;
  table.moveTo(12, 50);
  table.cubicTo(26, 46, 36, 30, 52, 14);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(30, 60, 200), 3));
  p.drawPath(table);
  QPainterPath adjusted;
  adjusted.moveTo(12, 50);
  adjusted.cubicTo(24, 40, 38, 28, 52, 22);
  p.setPen(QPen(QColor(210, 40, 40), 2));
  p.drawPath(adjusted);
  p.end();
  return QIcon(pixmap);
}

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
  versionLabel_->setText(QStringLiteral("V1.2b 6/10/2003 "));
  noticeLabel_->setText(
      QStringLiteral("Editor and programmer for the Box, as is, without warranty."));
  commentsLabel_->clear();
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace vyk::ui

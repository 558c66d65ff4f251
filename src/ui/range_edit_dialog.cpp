#include "ui/range_edit_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/entry_text.h"
#include "operations/table/range_edits.h"
#include "ui/help/help_context.h"
#include "ui/widgets/centre_on_screen.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/radio_group.h"

namespace vyk::ui {

namespace {

// In the order of RangeEditKind.
const RangeEditKind kKinds[] = {RangeEditKind::Scale, RangeEditKind::Offset, RangeEditKind::Set,
                                RangeEditKind::Interpolate, RangeEditKind::Smooth};

bool TakesValue(RangeEditKind kind) {
  return kind == RangeEditKind::Scale || kind == RangeEditKind::Offset ||
         kind == RangeEditKind::Set;
}

}  // namespace

RangeEditDialog::RangeEditDialog(QWidget* parent, Session& session)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      rangeLabel_(new QLabel(this)),
      editRGrp_(
          new RadioGroup(QStringLiteral("Edit"),
                         {QStringLiteral("Scale by a percentage (5 raises each output by 5 %)"),
                          QStringLiteral("Add an offset"), QStringLiteral("Set to a value"),
                          QStringLiteral("Interpolate between the first and last rows"),
                          QStringLiteral("Smooth: each row between them becomes the "
                                         "average of itself and its two neighbours")},
                         this)),
      valueEdit_(new QLineEdit(this)),
      unitLabel_(new QLabel(this)),
      resultLabel_(new QLabel(this)) {
  setObjectName(QStringLiteral("RangeEditDialog"));
  setWindowTitle(QStringLiteral("Range Edit"));
  setProperty(kHelpContextProperty, kHelpTableWork);
  rangeLabel_->setObjectName(QStringLiteral("RangeLabel"));
  editRGrp_->setObjectName(QStringLiteral("EditRGrp"));
  const char* names[] = {"ScaleRBtn", "OffsetRBtn", "SetRBtn", "InterpolateRBtn", "SmoothRBtn"};
  for (int i = 0; i < editRGrp_->Count(); ++i)
    editRGrp_->Item(i)->setObjectName(QString::fromLatin1(names[i]));
  valueEdit_->setObjectName(QStringLiteral("ValueEdit"));
  valueEdit_->setMinimumWidth(80);
  unitLabel_->setObjectName(QStringLiteral("UnitLabel"));
  unitLabel_->setMinimumWidth(unitLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Hz")));
  resultLabel_->setObjectName(QStringLiteral("ResultLabel"));
  resultLabel_->setWordWrap(true);
  editRGrp_->SetItemIndex(0);
  connect(&editRGrp_->Buttons(), &QButtonGroup::idToggled, this, [this] { KindChanged(); });

  auto* value = new QHBoxLayout;
  auto* valueLabel = new QLabel(QStringLiteral("Value"), this);
  valueLabel->setBuddy(valueEdit_);
  value->addWidget(valueLabel);
  value->addWidget(valueEdit_);
  value->addWidget(unitLabel_);
  value->addStretch();

  auto* apply = new QPushButton(QStringLiteral("Apply"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  apply->setObjectName(QStringLiteral("ApplyBtn"));
  close->setObjectName(QStringLiteral("CloseBtn"));
  help->setObjectName(QStringLiteral("HelpBtn"));
  apply->setDefault(true);
  connect(apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [help] { RequestHelp(help); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(apply);
  buttons->addWidget(close);
  buttons->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(rangeLabel_);
  layout->addWidget(editRGrp_);
  layout->addLayout(value);
  layout->addWidget(resultLabel_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void RangeEditDialog::Run(int first, int last) {
  first_ = std::min(first, last);
  last_ = std::max(first, last);
  const int rows = last_ - first_ + 1;
  const std::string unit = OutputUnit(session_.state);
  rangeLabel_->setText(QStringLiteral("Table entries %1..%2 (%3 %4), outputs in %5")
                           .arg(first_)
                           .arg(last_)
                           .arg(rows)
                           .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                           .arg(unit == "V" ? QStringLiteral("volts") : QStringLiteral("hertz")));
  resultLabel_->clear();
  KindChanged();
  valueEdit_->setFocus();
  CentreOnScreen(this);
  exec();
}

void RangeEditDialog::KindChanged() {
  const int index = std::max(0, editRGrp_->ItemIndex());
  const RangeEditKind kind = kKinds[index];
  valueEdit_->setEnabled(TakesValue(kind));
  unitLabel_->setText(kind == RangeEditKind::Scale ? QStringLiteral("%")
                                                   : FromCore(OutputUnit(session_.state)));
  unitLabel_->setEnabled(TakesValue(kind));
}

void RangeEditDialog::ApplyClick() {
  const RangeEditKind kind = kKinds[std::max(0, editRGrp_->ItemIndex())];
  RangeEditResult result;
  try {
    result = ApplyRangeEdit(session_, kind, first_, last_, ToCore(valueEdit_->text()));
  } catch (const std::exception& e) {
    session_.dialogs.Error(e.what());
  }
  resultLabel_->setText(FromCore(result.summary));
}

}  // namespace vyk::ui

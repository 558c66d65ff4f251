#include "ui/meters/learn_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/widgets/centre_on_screen.h"
#include "ui/widgets/radio_group.h"

namespace vyk::ui {

namespace {

constexpr int kColumns = 6;
constexpr int kDataRows = 256;

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumWidth(81);
  button->setFixedHeight(25);
  return button;
}

}  // namespace

LearnWindow::LearnWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs),
      learnGrid_(new QTableWidget(kDataRows, kColumns, this)),
      inputRGrp_(new RadioGroup(QStringLiteral("Input"),
                                {QStringLiteral("Voltage"), QStringLiteral("Frequency")}, this)),
      clearBtn_(Button("&Clear", "ClearBtn", this)),
      getLearnBtn_(Button("&Get Learn", "GetLearnBtn", this)),
      interpBtn_(Button("&Interpolate", "InterpBtn", this)),
      copyE2PBtn_(Button("Copy E2P", "CopyE2PBtn", this)),
      createMeterBtn_(Button("Create Meter", "CreateMeterBtn", this)),
      closeBtn_(Button("Close", "CloseBtn", this)),
      stopBtn_(Button("&Stop", "StopBtn", this)) {
  setWindowTitle(QStringLiteral("Learn Dialog"));

  // The header row is the grid's first, fixed row; the first column is fixed as well.
  learnGrid_->setObjectName(QStringLiteral("LearnGrid"));
  learnGrid_->setHorizontalHeaderLabels({QStringLiteral("Base V"), QStringLiteral("#"), QString(),
                                         QStringLiteral("E2P"), QStringLiteral("Flow"), QString()});
  learnGrid_->verticalHeader()->hide();
  learnGrid_->horizontalHeader()->setDefaultSectionSize(45);
  learnGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  learnGrid_->verticalHeader()->setDefaultSectionSize(14);
  learnGrid_->verticalHeader()->setMinimumSectionSize(14);
  learnGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  learnGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  for (int row = 0; row < kDataRows; ++row) {
    auto* fixed = new QTableWidgetItem;
    fixed->setFlags(Qt::ItemIsEnabled);
    fixed->setBackground(palette().button());
    learnGrid_->setItem(row, 0, fixed);
  }
  learnGrid_->setFixedSize(265, 297);

  auto* base = new QHBoxLayout;
  base->addWidget(new QLabel(QStringLiteral("Base Meter:"), this));
  auto* baseMeterLabel = new QLabel(QStringLiteral("Base Meter"), this);
  baseMeterLabel->setObjectName(QStringLiteral("BaseMeterLabel"));
  base->addWidget(baseMeterLabel);
  base->addStretch();

  auto* left = new QVBoxLayout;
  left->addLayout(base);
  left->addWidget(learnGrid_);

  inputRGrp_->setObjectName(QStringLiteral("InputRGrp"));
  inputRGrp_->SetItemIndex(0);

  auto* right = new QVBoxLayout;
  right->addWidget(inputRGrp_);
  right->addSpacing(8);
  for (QPushButton* b : {clearBtn_, getLearnBtn_, interpBtn_, copyE2PBtn_, createMeterBtn_})
    right->addWidget(b);
  right->addStretch();
  right->addWidget(closeBtn_);
  right->addWidget(stopBtn_);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(learnGrid_, clearBtn_);
  setTabOrder(clearBtn_, getLearnBtn_);
  setTabOrder(getLearnBtn_, interpBtn_);
  setTabOrder(interpBtn_, copyE2PBtn_);
  setTabOrder(copyE2PBtn_, createMeterBtn_);
  setTabOrder(createMeterBtn_, closeBtn_);
  setTabOrder(closeBtn_, stopBtn_);
  setTabOrder(stopBtn_, inputRGrp_->Item(0));

  // Get Learn, Clear, Interpolate and Copy E2P have no function yet.
  connect(stopBtn_, &QPushButton::clicked, this, [this] { StopBtnClick(); });
  connect(createMeterBtn_, &QPushButton::clicked, this, [this] { CreateMeterBtnClick(); });
  connect(closeBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(&inputRGrp_->Buttons(), &QButtonGroup::idToggled, this,
          [this] { learnGrid_->viewport()->update(); });
  CentreOnScreen(this);
}

void LearnWindow::StopBtnClick() {
  for (QPushButton* b : {clearBtn_, getLearnBtn_, interpBtn_, closeBtn_})
    b->setEnabled(true);
  copyE2PBtn_->setEnabled(false);
  createMeterBtn_->setEnabled(false);
  stopBtn_->setEnabled(false);
  stopBtn_->hide();
}

void LearnWindow::CreateMeterBtnClick() {
  if (dialogs_.Question("Ok to close Learn dialog and open Meter Dialog?",
                        QuestionButtons::YesNo) == Answer::Yes)
    done(kYesResult);
}

}  // namespace vyk::ui

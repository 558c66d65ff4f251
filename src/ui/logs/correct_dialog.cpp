#include "ui/logs/correct_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/help/help_context.h"
#include "ui/widgets/compare_chart.h"
#include "ui/widgets/dialog_buttons.h"

namespace vyk::ui {

namespace {

struct ColumnBox {
  CorrectionField field;
  const char* label;
  const char* name;
};

constexpr ColumnBox kColumnBoxes[] = {
    {CorrectionField::Signal, "&MAF signal:", "SignalCombo"},
    {CorrectionField::ShortTrim, "&Short-term trim (%):", "ShortTrimCombo"},
    {CorrectionField::LongTrim, "&Long-term trim (%):", "LongTrimCombo"},
    {CorrectionField::Wideband, "Wide&band AFR/lambda:", "WidebandCombo"},
    {CorrectionField::Target, "Comman&ded AFR:", "TargetCombo"},
    {CorrectionField::Coolant, "Coolan&t (\u00b0C):", "CoolantCombo"},
    {CorrectionField::Throttle, "T&hrottle (%):", "ThrottleCombo"},
};

constexpr SignalUnit kUnits[] = {SignalUnit::Hertz, SignalUnit::Volts, SignalUnit::GramsPerSecond};

QDoubleSpinBox* NumberBox(QWidget* parent, const char* name, double low, double high, double value,
                          int decimals = 1) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setDecimals(decimals);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

QLabel* TextLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

CorrectDialog::CorrectDialog(CorrectionForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("CorrectDialog"));
  setProperty(kHelpContextProperty, kHelpCorrect);
  setWindowTitle(QStringLiteral("Correct From Log"));

  auto* open = new QPushButton(QStringLiteral("&Open Log ..."), this);
  open->setObjectName(QStringLiteral("OpenLogBtn"));
  open->setAutoDefault(false);
  logLabel_ = TextLabel(this, "LogLabel");
  connect(open, &QPushButton::clicked, this, [this] {
    if (form_.OpenLog()) ShowChoices();
  });
  auto* logRow = new QHBoxLayout;
  logRow->addWidget(open);
  logRow->addWidget(logLabel_, 1);

  auto* inputs = new QFormLayout;
  for (const ColumnBox& c : kColumnBoxes) {
    auto* box = new QComboBox(this);
    box->setObjectName(QLatin1String(c.name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    columns_[static_cast<size_t>(c.field)] = box;
    auto* label = new QLabel(QString::fromUtf8(c.label), this);
    label->setBuddy(box);
    connect(box, &QComboBox::currentIndexChanged, this, [this, field = c.field](int index) {
      form_.SetChoice(field, index);
      Sync();
    });
    if (c.field != CorrectionField::Signal) {
      inputs->addRow(label, box);
      continue;
    }
    // The signal's unit beside its column.
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("UnitCombo"));
    unit_->addItems({QStringLiteral("Hz"), QStringLiteral("volts"), QStringLiteral("g/s")});
    connect(unit_, &QComboBox::currentIndexChanged, this, [this](int index) {
      if (index >= 0) form_.SetUnit(kUnits[index]);
      Sync();
    });
    auto* unitLabel = new QLabel(QStringLiteral("&Unit:"), this);
    unitLabel->setBuddy(unit_);
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(unitLabel);
    row->addWidget(unit_);
    inputs->addRow(label, row);
  }

  const CorrectionSettings& s = form.Settings();
  minSamples_ = new QSpinBox(this);
  minSamples_->setObjectName(QStringLiteral("MinSamplesSpin"));
  minSamples_->setRange(1, 100000);
  minSamples_->setValue(s.minSamples);
  clamp_ = NumberBox(this, "ClampSpin", 0, 100, s.clampPercent);
  keepRising_ = new QCheckBox(QStringLiteral("&Keep the curve rising"), this);
  keepRising_->setObjectName(QStringLiteral("KeepRisingCheckBox"));
  keepRising_->setChecked(s.keepRising);
  warm_ = NumberBox(this, "WarmSpin", -40, 150, s.warmCoolant);
  steady_ = NumberBox(this, "SteadySpin", 0, 100, s.steadyPercent);
  steadyThrottle_ = NumberBox(this, "SteadyThrottleSpin", 0, 100, s.steadyThrottle);
  afrLow_ = NumberBox(this, "AfrLowSpin", 1, 40, s.afrLow);
  afrHigh_ = NumberBox(this, "AfrHighSpin", 1, 40, s.afrHigh);
  lambdaLow_ = NumberBox(this, "LambdaLowSpin", 0.1, 3, s.lambdaLow, 2);
  lambdaHigh_ = NumberBox(this, "LambdaHighSpin", 0.1, 3, s.lambdaHigh, 2);
  auto* settings = new QFormLayout;
  auto addRow = [&](const char* text, QWidget* box, QWidget* upTo = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setBuddy(box);
    if (!upTo) {
      settings->addRow(label, box);
      return;
    }
    // A range: its low and high ends on one row.
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("to"), this));
    row->addWidget(upTo);
    row->addStretch();
    settings->addRow(label, row);
  };
  addRow("Minimum sam&ples an entry:", minSamples_);
  addRow("&Clamp per pass (%):", clamp_);
  settings->addRow(QString(), keepRising_);
  addRow("&Warm engine from (\u00b0C):", warm_);
  addRow("St&eady signal: change below (%):", steady_);
  addRow("Steady throttle: chan&ge below (%):", steadyThrottle_);
  addRow("Wideband A&FR range:", afrLow_, afrHigh_);
  addRow("Wideband lambda &range:", lambdaLow_, lambdaHigh_);
  connect(minSamples_, &QSpinBox::valueChanged, this, [this] { TakeSettings(); });
  for (QDoubleSpinBox* box :
       {clamp_, warm_, steady_, steadyThrottle_, afrLow_, afrHigh_, lambdaLow_, lambdaHigh_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { TakeSettings(); });
  connect(keepRising_, &QCheckBox::toggled, this, [this] { TakeSettings(); });

  notes_ = TextLabel(this, "GatesLabel");
  // Six gates, the samples outside and used, and how the correction went (two lines when
  // entries went in proportion).
  notes_->setMinimumHeight(10 * notes_->fontMetrics().lineSpacing());

  auto* left = new QVBoxLayout;
  left->addLayout(logRow);
  left->addLayout(inputs);
  left->addSpacing(notes_->fontMetrics().lineSpacing() / 2);
  left->addLayout(settings);
  left->addWidget(notes_);
  left->addStretch();

  chart_ = new CompareChart(QStringLiteral("Old"), QStringLiteral("Corrected"), QString(), this);
  chart_->setObjectName(QStringLiteral("CorrectionChart"));

  table_ = new QTableWidget(kTableEntries, 6, this);
  table_->setObjectName(QStringLiteral("CorrectionTable"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  // Each column as wide as its header or texts, the room left to the last; rows as high as a
  // line, so that more of the 33 entries show.
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().lineSpacing() * 3 / 2);
  table_->setMinimumHeight(8 * table_->fontMetrics().lineSpacing());

  auto* right = new QVBoxLayout;
  right->addWidget(chart_, 1);
  right->addWidget(table_, 1);

  auto* body = new QHBoxLayout;
  body->addLayout(left);
  body->addLayout(right, 1);

  problem_ = TextLabel(this, "ProblemLabel");
  auto* buttons = OkCancelHelpButtons(this);
  if (auto* apply = findChild<QPushButton*>(QStringLiteral("OKBtn"))) {
    apply->setText(QStringLiteral("&Apply"));
    apply->setObjectName(QStringLiteral("ApplyBtn"));
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(problem_);
  layout->addLayout(buttons);
  ShowChoices();
  resize(sizeHint().expandedTo(QSize(900, 640)));
}

void CorrectDialog::ShowChoices() {
  // The log's column names are UTF-8 whatever the file was written in.
  QStringList names;
  for (const std::string& name : form_.Choices())
    names.append(QString::fromStdString(name));
  for (const ColumnBox& c : kColumnBoxes) {
    QComboBox* box = columns_[static_cast<size_t>(c.field)];
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(form_.Choice(c.field));
    box->setEnabled(form_.HasLog());
  }
  {
    // No unit shown while the form has none.
    const QSignalBlocker blocker(unit_);
    const auto unit = form_.Unit();
    unit_->setCurrentIndex(
        unit ? static_cast<int>(std::find(std::begin(kUnits), std::end(kUnits), *unit) -
                                std::begin(kUnits))
             : -1);
  }
  logLabel_->setText(QString::fromStdString(form_.LogText()));
  Sync();
}

void CorrectDialog::TakeSettings() {
  CorrectionSettings s = form_.Settings();
  s.minSamples = minSamples_->value();
  s.clampPercent = clamp_->value();
  s.keepRising = keepRising_->isChecked();
  s.warmCoolant = warm_->value();
  s.steadyPercent = steady_->value();
  s.steadyThrottle = steadyThrottle_->value();
  s.afrLow = afrLow_->value();
  s.afrHigh = afrHigh_->value();
  s.lambdaLow = lambdaLow_->value();
  s.lambdaHigh = lambdaHigh_->value();
  form_.SetSettings(s);
  Sync();
}

void CorrectDialog::Sync() {
  const QString unit = QString::fromStdString(form_.OutputUnit());
  table_->setHorizontalHeaderLabels({QStringLiteral("Entry"), QStringLiteral("Old (%1)").arg(unit),
                                     QStringLiteral("New (%1)").arg(unit),
                                     QStringLiteral("Samples"), QStringLiteral("Mean error %"),
                                     QStringLiteral("Spread %")});
  const QColor greyed = palette().color(QPalette::Disabled, QPalette::Text);
  const QColor normal = palette().color(QPalette::Text);
  const std::vector<CorrectionRow> rows = form_.Rows();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const CorrectionRow& row = rows[r];
    const std::string* texts[] = {&row.entry,   &row.oldOutput, &row.newOutput,
                                  &row.samples, &row.meanError, &row.spread};
    for (int c = 0; c < 6; ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(*texts[c]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setForeground(row.enough ? normal : greyed);
      if (row.changed && c == 2) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      table_->setItem(r, c, item);
    }
  }
  QStringList notes;
  for (const std::string& line : form_.Notes())
    notes.append(QString::fromStdString(line));
  notes_->setText(notes.join(QLatin1Char('\n')));
  problem_->setText(QString::fromStdString(form_.Problem()));
  problem_->setVisible(!form_.Problem().empty());
  if (auto* apply = findChild<QPushButton*>(QStringLiteral("ApplyBtn")))
    apply->setEnabled(form_.CanApply());
  chart_->SetTitles(QString::fromStdString(form_.InputTitle()),
                    QString::fromStdString(form_.OutputTitle()));
  chart_->SetCurves(form_.OldCurve(), form_.NewCurve());
}

void CorrectDialog::accept() {
  if (form_.Apply()) QDialog::accept();
}

}  // namespace vyk::ui

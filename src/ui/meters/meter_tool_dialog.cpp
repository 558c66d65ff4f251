#include "ui/meters/meter_tool_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/help/help_context.h"
#include "ui/widgets/compare_chart.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/dialog_buttons.h"
#include "ui/widgets/error_guard.h"

namespace vyk::ui {

namespace {

const char* DialogName(MeterTool tool) {
  switch (tool) {
    case MeterTool::Scale:
      return "ScaleDialog";
    case MeterTool::Rehouse:
      return "RehouseDialog";
    case MeterTool::Blend:
      return "BlendDialog";
  }
  return "";
}

const char* EditName(ToolField field) {
  switch (field) {
    case ToolField::Percent:
      return "PercentEdit";
    case ToolField::FromDiameter:
      return "FromEdit";
    case ToolField::ToDiameter:
      return "ToEdit";
    case ToolField::FromPost:
      return "FromPostEdit";
    case ToolField::ToPost:
      return "ToPostEdit";
    case ToolField::Below:
      return "BelowEdit";
    case ToolField::Above:
      return "AboveEdit";
  }
  return "";
}

}  // namespace

MeterToolDialog::MeterToolDialog(MeterToolForm& form, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), form_(form), dialogs_(dialogs) {
  setObjectName(QLatin1String(DialogName(form.Tool())));
  setProperty(kHelpContextProperty, kHelpMeterTools);
  setWindowTitle(QString::fromStdString(form.Title()));

  auto* inputs = new QFormLayout;
  if (form.Tool() == MeterTool::Blend) {
    auto* second = new QLabel(FromCore(form.SecondName()), this);
    second->setObjectName(QStringLiteral("SecondMeterLabel"));
    inputs->addRow(QStringLiteral("Blend with:"), second);
  }
  for (ToolField field : FieldsOf(form.Tool())) {
    auto* edit = new QLineEdit(FromCore(form.Text(field)), this);
    edit->setObjectName(QLatin1String(EditName(field)));
    auto* label = new QLabel(this);
    label->setBuddy(edit);
    labels_.emplace_back(field, label);
    inputs->addRow(label, edit);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
      form_.SetText(field, ToCore(text));
      Sync();
    });
  }
  if (form.Tool() == MeterTool::Rehouse) {
    inches_ = new QCheckBox(QStringLiteral("&Inches"), this);
    inches_->setObjectName(QStringLiteral("InchesCheckBox"));
    inches_->setChecked(form.Inches());
    inputs->addRow(QString(), inches_);
    connect(inches_, &QCheckBox::toggled, this, [this](bool checked) {
      form_.SetInches(checked);
      Sync();
    });
  }

  // A blend draws the second meter too.
  chart_ = new CompareChart(QStringLiteral("Old"), QStringLiteral("New"),
                            form.Tool() == MeterTool::Blend ? QStringLiteral("Second") : QString(),
                            this);
  chart_->setObjectName(QStringLiteral("ToolChart"));

  notes_ = new QLabel(this);
  notes_->setObjectName(QStringLiteral("ToolNotesLabel"));
  notes_->setWordWrap(true);
  notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // The warnings and the saturation of a rehoused meter take up to eight lines.
  notes_->setMinimumHeight(8 * notes_->fontMetrics().lineSpacing());
  notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(inputs);
  layout->addWidget(chart_, 1);
  layout->addWidget(notes_);
  layout->addLayout(OkCancelHelpButtons(this));
  Sync();
  resize(sizeHint().expandedTo(QSize(480, 440)));
}

void MeterToolDialog::Sync() {
  const MeterRecord& meter = form_.Meter();
  for (auto& [field, label] : labels_)
    label->setText(FromCore(FieldLabel(field, form_.Inches(), meter.IsMetric())));
  QStringList notes;
  for (const std::string& line : form_.Notes())
    notes.append(FromCore(line));
  notes_->setText(notes.join(QLatin1Char('\n')));
  if (QWidget* ok = findChild<QWidget*>(QStringLiteral("OKBtn")))
    ok->setEnabled(form_.Result().has_value());
  chart_->SetTitles(
      meter.IsMetric() ? QStringLiteral("Flow (kg/hr)") : QStringLiteral("Flow (lb/hr)"),
      meter.IsFrequency() ? QStringLiteral("Freq") : QStringLiteral("Volts"));
  chart_->SetCurves(form_.OldCurve(), form_.NewCurve(), form_.SecondCurve());
}

void MeterToolDialog::accept() {
  Guarded(dialogs_, [this] { saved_ = form_.SaveAs(); });
  if (saved_) QDialog::accept();
}

}  // namespace vyk::ui

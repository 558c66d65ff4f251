#include "ui/meters/meter_tool_dialog.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
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

QLineSeries* Series(QChart* chart, const QString& name) {
  auto* series = new QLineSeries;
  series->setName(name);
  chart->addSeries(series);
  return series;
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

  auto* chart = new QChart;
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->setAlignment(Qt::AlignBottom);
  oldSeries_ = Series(chart, QStringLiteral("Old"));
  // A blend draws the second meter too, dashed.
  if (form.Tool() == MeterTool::Blend) secondSeries_ = Series(chart, QStringLiteral("Second"));
  newSeries_ = Series(chart, QStringLiteral("New"));
  flowAxis_ = new QValueAxis;
  signalAxis_ = new QValueAxis;
  chart->addAxis(flowAxis_, Qt::AlignBottom);
  chart->addAxis(signalAxis_, Qt::AlignLeft);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(flowAxis_);
    series->attachAxis(signalAxis_);
  }
  new ChartPaletteFollower(this, chart, [this] {
    oldSeries_->setPen(QPen(TableCurveColour(*this), 1.5));
    if (secondSeries_)
      secondSeries_->setPen(QPen(palette().color(QPalette::Mid), 1.5, Qt::DashLine));
    newSeries_->setPen(QPen(SecondCurveColour(*this), 2));
  });
  chart_ = new QChartView(chart, this);
  chart_->setObjectName(QStringLiteral("ToolChart"));
  chart_->setMinimumSize(360, 220);
  chart_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  connect(chart, &QChart::geometryChanged, this, [this] { ScaleAxes(); });

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
  oldSeries_->replace(CurvePoints(form_.OldCurve()));
  if (secondSeries_) secondSeries_->replace(CurvePoints(form_.SecondCurve()));
  newSeries_->replace(CurvePoints(form_.NewCurve()));
  flowAxis_->setTitleText(meter.IsMetric() ? QStringLiteral("Flow (kg/hr)")
                                           : QStringLiteral("Flow (lb/hr)"));
  signalAxis_->setTitleText(meter.IsFrequency() ? QStringLiteral("Freq") : QStringLiteral("Volts"));
  ScaleAxes();
}

void MeterToolDialog::ScaleAxes() {
  const std::vector<ChartPoint> one = form_.OldCurve();
  const std::vector<ChartPoint> two = form_.SecondCurve();
  const std::vector<ChartPoint> made = form_.NewCurve();
  ScaleAxesToCurves(*chart_->chart(), flowAxis_, signalAxis_, {&one, &two, &made});
}

void MeterToolDialog::accept() {
  Guarded(dialogs_, [this] { saved_ = form_.SaveAs(); });
  if (saved_) QDialog::accept();
}

}  // namespace vyk::ui

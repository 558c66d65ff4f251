#include "ui/main_window/live_panel.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"

namespace vyk::ui {

namespace {

constexpr double kWindowSeconds = 30;

}  // namespace

LivePanel::LivePanel(QWidget* parent)
    : QWidget(parent),
      view_(new QChartView(new QChart(), this)),
      input_(new QLineSeries()),
      output_(new QLineSeries()),
      time_(new QValueAxis()),
      inputAxis_(new QValueAxis()),
      outputAxis_(new QValueAxis()),
      record_(new QToolButton(this)),
      recordToFile_(new QAction("Record To &File ...", this)),
      recording_(new QLabel(this)) {
  setObjectName("LivePanel");
  setProperty(kHelpContextProperty, kHelpLive);
  QChart* c = view_->chart();
  c->legend()->setAlignment(Qt::AlignTop);
  c->setMargins(QMargins(2, 0, 2, 0));
  c->addSeries(input_);
  c->addSeries(output_);
  time_->setTitleText("s");
  time_->setLabelFormat("%.0f");
  time_->setTickCount(7);
  c->addAxis(time_, Qt::AlignBottom);
  c->addAxis(inputAxis_, Qt::AlignLeft);
  c->addAxis(outputAxis_, Qt::AlignRight);
  input_->attachAxis(time_);
  input_->attachAxis(inputAxis_);
  output_->attachAxis(time_);
  output_->attachAxis(outputAxis_);
  new ChartPaletteFollower(view_, c, [this] {
    input_->setColor(TableCurveColour(*this));
    output_->setColor(SecondCurveColour(*this));
  });
  view_->setObjectName("StripChart");
  // Hundreds of points redrawn five times a second: smooth lines would cost more than the
  // rest of the live view.
  view_->setRenderHint(QPainter::Antialiasing, false);
  view_->setMinimumHeight(170);
  view_->setMaximumHeight(260);

  record_->setObjectName("RecordBtn");
  record_->setText("Record");
  record_->setCheckable(true);
  record_->setPopupMode(QToolButton::MenuButtonPopup);
  auto* menu = new QMenu(record_);
  menu->addAction(recordToFile_);
  record_->setMenu(menu);
  recording_->setObjectName("RecordingLabel");
  recording_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* bar = new QHBoxLayout;
  bar->addWidget(record_);
  bar->addWidget(recording_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 4, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(bar);
  layout->addWidget(view_, 1);
  Begin("V In", "V Out");
}

void LivePanel::Begin(const QString& inputTitle, const QString& outputTitle) {
  samples_.clear();
  newInput_.clear();
  newOutput_.clear();
  inputMax_ = outputMax_ = 0;
  input_->clear();
  output_->clear();
  input_->setName(inputTitle);
  output_->setName(outputTitle);
  inputAxis_->setTitleText(inputTitle);
  outputAxis_->setTitleText(outputTitle);
  time_->setRange(0, kWindowSeconds);
  ScaleAxis(inputAxis_, 1, 5);
  ScaleAxis(outputAxis_, 1, 5);
}

void LivePanel::Add(double seconds, double input, double output) {
  samples_.push_back({seconds, input, output});
  newInput_.append(QPointF(seconds, input));
  newOutput_.append(QPointF(seconds, output));
}

void LivePanel::Draw() {
  if (samples_.empty()) return;
  input_->append(newInput_);
  output_->append(newOutput_);
  newInput_.clear();
  newOutput_.clear();
  // The chart keeps a window: memory stays flat however long the view runs.
  const double seconds = samples_.back().seconds;
  int old = 0;
  while (samples_.front().seconds < seconds - kWindowSeconds) {
    samples_.pop_front();
    ++old;
  }
  if (old > 0) {
    input_->removePoints(0, old);
    output_->removePoints(0, old);
  }
  time_->setRange(std::max(0.0, seconds - kWindowSeconds), std::max(kWindowSeconds, seconds));
  // The axes grow to what was seen; a rescale on every reading would make them jump.
  for (const Sample& s : samples_) {
    if (s.input > inputMax_) {
      inputMax_ = s.input;
      ScaleAxis(inputAxis_, inputMax_, 5);
    }
    if (s.output > outputMax_) {
      outputMax_ = s.output;
      ScaleAxis(outputAxis_, outputMax_, 5);
    }
  }
}

void LivePanel::ShowRecording(const QString& text, bool fault) {
  recording_->setText(text);
  recording_->setStyleSheet(fault ? "color: #c00000" : "");
}

}  // namespace vyk::ui

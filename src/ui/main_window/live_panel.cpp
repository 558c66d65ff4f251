#include "ui/main_window/live_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/help/help_context.h"
#include "ui/widgets/strip_chart.h"

namespace vyk::ui {

namespace {

constexpr double kWindowSeconds = 30;

}  // namespace

LivePanel::LivePanel(QWidget* parent)
    : QWidget(parent),
      strip_(new StripChart(kWindowSeconds, this)),
      record_(new QToolButton(this)),
      recordToFile_(new QAction("Record To &File ...", this)),
      recording_(new QLabel(this)) {
  setObjectName("LivePanel");
  setProperty(kHelpContextProperty, kHelpLive);
  strip_->setObjectName("StripChart");
  strip_->setMinimumHeight(170);
  strip_->setMaximumHeight(260);

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
  layout->addWidget(strip_, 1);
  Begin("V In", "V Out");
}

void LivePanel::Begin(const QString& inputTitle, const QString& outputTitle) {
  strip_->Begin(inputTitle, outputTitle);
}

void LivePanel::Add(double seconds, double input, double output) {
  strip_->Add(seconds, input, output);
}

void LivePanel::Draw() {
  strip_->Draw();
}

void LivePanel::ShowRecording(const QString& text, bool fault) {
  recording_->setText(text);
  recording_->setStyleSheet(fault ? "color: #c00000" : "");
}

}  // namespace vyk::ui

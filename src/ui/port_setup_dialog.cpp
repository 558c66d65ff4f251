#include "ui/port_setup_dialog.h"
#include "ui/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/help_context.h"
#include "ui/radio_group.h"

namespace vyk::ui {

namespace {

constexpr int kComItems = 4;
const char kSimulator[] = "Simulator";

}  // namespace

PortSetupDialog::PortSetupDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      comPortRGrp_(new RadioGroup(QStringLiteral("Com Port"), {}, this)) {
  setWindowTitle(QStringLiteral("Setup"));
  setProperty(kHelpContextProperty, kHelpPortSetup);
  comPortRGrp_->setObjectName(QStringLiteral("ComPortRGrp"));

  QHBoxLayout* buttons = OkCancelHelpButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(comPortRGrp_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PortSetupDialog::FillItems(const std::string& current) {
  QStringList items;
  devices_.clear();
  for (int n = 1; n <= kComItems; ++n) {
    items << QStringLiteral("COM %1").arg(n);
    devices_.emplace_back();
  }
  // Ports come and go (USB adapters), so the list is made again at each showing.
  bool currentListed = current.empty() || current == kSimulator;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    std::string device = port.systemLocation().toStdString();
    if (std::find(devices_.begin(), devices_.end(), device) != devices_.end()) continue;
    QString text = port.systemLocation();
    if (!port.description().isEmpty()) text += QStringLiteral(" \u2014 ") + port.description();
    items << text;
    devices_.push_back(device);
    currentListed = currentListed || device == current;
  }
  // A device chosen earlier and unplugged now stays on offer, so OK keeps it.
  if (!currentListed) {
    items << QString::fromStdString(current) + QStringLiteral(" \u2014 not present");
    devices_.push_back(current);
  }
  items << QString::fromLatin1(kSimulator);
  devices_.emplace_back(kSimulator);
  comPortRGrp_->SetItems(items);
}

bool PortSetupDialog::Run(int& index, std::string& portName) {
  FillItems(portName);
  int selected = -1;
  if (portName.empty()) {
    if (index >= 0 && index < kComItems) selected = index;
  } else {
    auto it = std::find(devices_.begin() + kComItems, devices_.end(), portName);
    selected = static_cast<int>(it - devices_.begin());
  }
  comPortRGrp_->SetItemIndex(selected);
  if (exec() != QDialog::Accepted) return false;

  int chosen = comPortRGrp_->ItemIndex();
  if (chosen >= kComItems) {
    portName = devices_[static_cast<size_t>(chosen)];
  } else {
    portName.clear();
    index = chosen;
  }
  return true;
}

}  // namespace vyk::ui

#include "ui/widgets/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace vyk::ui {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), layout_(new QVBoxLayout(this)) {
  SetItems(items);
}

void RadioGroup::SetItems(const QStringList& items) {
  for (QAbstractButton* button : group_.buttons()) {
    group_.removeButton(button);
    delete button;
  }
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    layout_->addWidget(button);
    group_.addButton(button, i);
  }
}

QRadioButton* RadioGroup::Item(int index) const {
  return static_cast<QRadioButton*>(group_.button(index));
}

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = group_.button(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group keeps its checked button; clearing needs the exclusivity off a moment.
  group_.setExclusive(false);
  for (QAbstractButton* b : group_.buttons())
    b->setChecked(false);
  group_.setExclusive(true);
}

}  // namespace vyk::ui

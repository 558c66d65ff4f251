#pragma once
// A captioned column of radio buttons with one selected item index, -1 for none: the
// dialogs' "RGrp" controls. The program can clear the selection; the user can only move it.
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class QRadioButton;
class QVBoxLayout;

namespace vyk::ui {

class RadioGroup : public QGroupBox {
 public:
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // Replaces the items; none is selected afterwards.
  void SetItems(const QStringList& items);
  int Count() const { return static_cast<int>(group_.buttons().size()); }
  QRadioButton* Item(int index) const;
  // The selected item, or -1.
  int ItemIndex() const { return group_.checkedId(); }
  // An index outside the items selects none.
  void SetItemIndex(int index);
  // Emits idToggled / idClicked for the items.
  QButtonGroup& Buttons() { return group_; }

 private:
  QVBoxLayout* layout_;
  QButtonGroup group_;
};

}  // namespace vyk::ui

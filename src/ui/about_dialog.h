#pragma once
// The about box (Help > About).
#include <QDialog>
#include <QIcon>

class QLabel;

namespace vyk::ui {

// The program's icon: the Box with its transfer curve.
QIcon ProgramIcon();

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);

 protected:
  // The texts are set at every showing.
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* productNameLabel_;
  QLabel* versionLabel_;
  QLabel* noticeLabel_;
  QLabel* commentsLabel_;
};

}  // namespace vyk::ui

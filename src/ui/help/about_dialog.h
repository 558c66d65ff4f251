#pragma once
// The about box (Help > About).
#include <QDialog>

class QLabel;

namespace vyk::ui {

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

#pragma once
// The top-level handler: an error the core raises ("Range check error", a file error) ends the
// command it came from, is shown in an error box, and the program goes on.
#include <QMessageBox>
#include <QWidget>
#include <exception>

namespace vyk::ui {

template <typename F>
void Guarded(QWidget* parent, F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    QMessageBox::critical(parent, QStringLiteral("Error"), QString::fromLocal8Bit(e.what()));
  }
}

}  // namespace vyk::ui

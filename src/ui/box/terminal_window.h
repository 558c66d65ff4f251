#pragma once
// The terminal: every byte the Box sends, and keystrokes sent straight to the Box. It stays on
// top of the other windows and does not block them.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "operations/box/terminal_screen.h"

class QPlainTextEdit;

namespace vyk::ui {

class TerminalWindow : public QWidget {
 public:
  explicit TerminalWindow(QWidget* parent = nullptr);

  // A byte from the Box, whether or not the window is showing.
  void Echo(uint8_t byte);
  const TerminalScreen& Screen() const { return screen_; }

  std::function<void(uint8_t)> onKey;  // a character typed into the screen
  std::function<void()> onButton1;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Brings the view in line with the screen, touching only the lines that changed.
  void RefreshView();

  TerminalScreen screen_;
  std::vector<std::string> shown_;  // the lines the view holds
  bool activated_ = false;
  QPlainTextEdit* memo1_;
};

}  // namespace vyk::ui

#pragma once
// Windows that open in the middle of the screen, whichever window opened them.
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace vyk::ui {

inline void CentreOnScreen(QWidget* window) {
  window->adjustSize();
  QScreen* screen = window->parentWidget() != nullptr ? window->parentWidget()->screen()
                                                      : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace vyk::ui

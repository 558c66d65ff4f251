#pragma once
// The program as the window tests start it: its settings, group folders and data in a folder
// of the test's own, its boxes and dialogs answered by FakeDialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <memory>
#include <string>

#include "support/fakes.h"
#include "support/temp_folder.h"
#include "ui/main_window/main_window.h"
#include "ui/program.h"

namespace vyk::test {

// How a test starts the program.
struct ProgramStart {
  std::string port = "Simulator";  // empty: none given, the settings decide
  int simulatorBaud = 9600;        // how fast the simulated Box answers
  bool mainWindowOnly = false;     // the main window without the program's other windows
};

// Builds the program; the main window shows when the test says so, after anything it sets up
// before the first showing (which reads the settings and opens the port).
struct ProgramHarness {
  TempFolder tmp;
  FakeDialogs dialogs;
  std::unique_ptr<ui::Program> program;  // none when the main window runs alone
  std::unique_ptr<ui::MainWindow> alone;
  ui::MainWindow* form = nullptr;  // the main window, either way

  explicit ProgramHarness(const ProgramStart& start = {}) {
    ui::StartOptions options;
    options.port = start.port;
    options.configDir = options.appFolder = tmp.Path().string();
    options.dataDir = (tmp.Path() / "data").string();
    options.simulatorBaud = start.simulatorBaud;
    options.dialogs = &dialogs;
    if (start.mainWindowOnly) {
      alone = std::make_unique<ui::MainWindow>(options);
      form = alone.get();
    } else {
      program = std::make_unique<ui::Program>(options);
      form = &program->Main();
    }
  }

  ui::MainWindow& Main() { return *form; }

  // Shows the main window and handles the events of its first showing.
  void Show() {
    form->show();
    QApplication::processEvents();
  }

  template <typename W>
  W* Get(const char* name) {
    auto* widget = qobject_cast<W*>(form->Control(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // The menu entry of that text.
  QAction* Action(const QString& text) {
    for (QAction* a : form->findChildren<QAction*>())
      if (a->text() == text) return a;
    ADD_FAILURE() << "no menu entry " << text.toStdString();
    return nullptr;
  }
};

}  // namespace vyk::test

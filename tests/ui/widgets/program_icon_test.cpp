// The program's icon and desktop name reach every window.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/program_harness.h"
#include "ui/box/port_setup_dialog.h"
#include "ui/box/terminal_window.h"
#include "ui/help/about_dialog.h"
#include "ui/help/help_window.h"
#include "ui/meters/learn_window.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"
#include "ui/program.h"
#include "ui/project_setup_dialog.h"

namespace vyk::ui {
namespace {

TEST(ProgramIcon, EveryWindowCarriesIt) {
  test::ProgramHarness harness;
  Program& program = *harness.program;

  const QIcon icon = QApplication::windowIcon();
  // The desktop asks for sizes from the title bar's to the task switcher's.
  EXPECT_EQ(icon.availableSizes().front(), QSize(16, 16));
  EXPECT_EQ(icon.availableSizes().back(), QSize(256, 256));
  EXPECT_EQ(QGuiApplication::desktopFileName(), "io.github.vyk_edit.vykedit");  // its .desktop
  for (QWidget* window : std::initializer_list<QWidget*>{
           &program.Main(), &program.Learn(), &program.Match(), &program.PortSetup(),
           &program.ProjectSetupWindow(), &program.About(), &program.MeterEditorWindow(),
           &program.Terminal(), &program.Help()})
    EXPECT_EQ(window->windowIcon().cacheKey(), icon.cacheKey())
        << window->metaObject()->className();
}

}  // namespace
}  // namespace vyk::ui

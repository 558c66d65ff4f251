// The main window's menus and keys.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "operations/box/box_operations.h"
#include "operations/box/port_choice.h"
#include "operations/compare/project_report.h"
#include "operations/meters/rematch.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "operations/project/undo_history.h"
#include "report/pdf_report.h"
#include "ui/compare_window.h"
#include "ui/main_window/main_window.h"
#include "ui/main_window/table_grids.h"
#include "ui/main_window/top_panel.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  fileNew_ =
      file->addAction("&New", QKeySequence::New, [this] { Run([&] { FileNewClick(session_); }); });
  fileOpen_ = file->addAction("&Open", QKeySequence::Open,
                              [this] { Run([&] { FileOpenClick(session_); }); });
  fileRecent_ = file->addMenu("Open &Recent");
  connect(fileRecent_, &QMenu::aboutToShow, this, [this] {
    fileRecent_->clear();
    for (const std::string& path : state_.recentProjects) {
      const QString name = QDir::toNativeSeparators(FromCore(path));
      fileRecent_->addAction(QString(name).replace('&', "&&"),
                             [this, path] { Run([&] { OpenRecentClick(session_, path); }); });
    }
  });
  fileOpenLog_ = file->addAction("Open &Log ...", QKeySequence(Qt::CTRL | Qt::Key_L),
                                 [this] { OpenLogClick(); });
  fileSave_ = file->addAction("&Save", QKeySequence::Save,
                              [this] { Run([&] { FileSaveClick(session_); }); });
  fileSaveAs_ = file->addAction("Save &As", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                [this] { Run([&] { FileSaveAsClick(session_); }); });
  fileClose_ = file->addAction("&Close", [this] { Run([&] { FileCloseClick(session_); }); });
  file->addSeparator();
  fileCompare_ = file->addMenu("Co&mpare With");
  fileCompareFile_ = fileCompare_->addAction("&Project File ...", [this] {
    Run([&] { ShowComparison(CompareWithFileClick(session_)); });
  });
  fileCompareBox_ = fileCompare_->addAction("The &Box ...", [this] {
    RunTransfer([&](const auto& progress) {
      ShowComparison(CompareWithBoxClick(session_, Link(), progress("Reading")));
    });
  });
  fileExportReport_ = file->addAction("Export &Report ...", [this] {
    Run([&] { ExportReportClick(session_, report::ReportPdf); });
  });
  file->addSeparator();
  file->addAction("E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  editUndo_ = edit->addAction("&Undo", [this] { Run([&] { Undo(session_); }); });
  editRedo_ = edit->addAction("&Redo", [this] { Run([&] { Redo(session_); }); });
  editRange_ = edit->addAction("Ran&ge Edit ...", [this] { Run([&] { EditRangeClick(); }); });
  editCorrect_ =
      edit->addAction("Correct From &Log ...", [this] { Run([&] { CorrectFromLogClick(); }); });
  edit->addSeparator();
  editProject_ =
      edit->addAction("Project ...", [this] { Run([&] { EditProjectClick(session_); }); });
  editMatch_ = edit->addAction("&Match ...", [this] {
    Run([&] {
      if (windows_.editMatch) windows_.editMatch();
    });
  });
  editRematch_ = edit->addAction("Rematc&h", [this] { Run([&] { RematchClick(session_); }); });
  editRematch_->setObjectName(QStringLiteral("EditRematch"));
  editLearn_ = edit->addAction("&Learn ...", [this] { Run([&] { RefreshWindow(session_); }); });
  editLearn_->setVisible(false);
  edit->addSeparator();
  editMeter_ = edit->addAction("M&eter ...", [this] {
    Run([&] {
      if (windows_.editMeter) windows_.editMeter();
      RefreshWindow(session_);
    });
  });

  QMenu* box = menuBar()->addMenu("&Box");
  boxOptions_ = box->addAction("&Options ...", [this] { Run([&] { BoxOptionsClick(session_); }); });
  box->addSeparator();
  boxUpdate_ = box->addAction("&Update EEPROM ...", [this] {
    RunTransfer([&](const auto& progress) {
      BoxUpdateClick(session_, Link(), progress("Writing"), nullptr, progress("Reading"));
    });
  });
  boxRetrieve_ = box->addAction("&Retrieve EEPROM ...", [this] {
    RunTransfer(
        [&](const auto& progress) { BoxRetrieveClick(session_, Link(), progress("Reading")); });
  });
  boxLive_ = box->addAction("&Live", [this] { LiveClick(); });
  boxBackups_ = box->addAction("&Backups ...", [this] {
    if (windows_.showBackups) windows_.showBackups();
  });
  boxHistory_ = box->addAction("&History ...", [this] {
    if (windows_.showHistory) windows_.showHistory();
  });
  box->addSeparator();
  boxTerminal_ = box->addAction("&Terminal ...", [this] {
    if (windows_.showTerminal) windows_.showTerminal();
  });

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("&Contents ...", [this] {
    if (windows_.helpContents) windows_.helpContents();
  });
  help->addAction("Topic Search ...", [this] {
    if (windows_.helpTopicSearch) windows_.helpTopicSearch();
  });
  help->addSeparator();
  helpAbout_ = help->addAction("&About ...", [this] {
    if (windows_.showAbout) windows_.showAbout();
  });
}

void MainWindow::ShowComparison(const std::optional<Comparison>& comparison) {
  if (!comparison) return;
  auto* window = new CompareWindow(*comparison, this);
  window->show();
}

void MainWindow::BuildKeys() {
  // Keys that no text box claims for itself (Ctrl+U and Ctrl+E edit text on Linux).
  editMatch_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  editMeter_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  boxUpdate_->setShortcut(QKeySequence(Qt::Key_F6));
  boxRetrieve_->setShortcut(QKeySequence(Qt::Key_F7));
  boxLive_->setShortcut(QKeySequence(Qt::Key_F8));
  editUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  editRedo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  editRange_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  ShowUndoEntries();
  // The button and the box are not in a menu: their keys are window actions, named in the
  // tooltips.
  auto press = [this](QAbstractButton* button, const QKeySequence& key, const QString& tip) {
    auto* action = new QAction(this);
    action->setShortcut(key);
    connect(action, &QAction::triggered, button, &QAbstractButton::click);
    addAction(action);
    button->setToolTip(tip + " (" + key.toString(QKeySequence::NativeText) + ")");
  };
  press(panel_->MainButton(), QKeySequence(Qt::Key_F5), "Connect, Monitor or Abort");
  press(panel_->HexBox(), QKeySequence(Qt::CTRL | Qt::Key_H),
        "The image's bytes instead of the chart");

  // The table's context menu: its copy and paste, and its range edit.
  auto* separator = new QAction(tableGrid_);
  separator->setSeparator(true);
  tableGrid_->addAction(separator);
  tableGrid_->addAction(editRange_);
}

void MainWindow::ShowUndoEntries() {
  const UndoMenuLook look = UndoMenu(session_);
  editUndo_->setText(FromCore("&" + look.undoText));
  editUndo_->setEnabled(look.undo);
  editRedo_->setText(FromCore("&" + look.redoText));
  editRedo_->setEnabled(look.redo);
}

}  // namespace vyk::ui

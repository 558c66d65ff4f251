// The small windows (Project Setup, port Setup, About, Terminal, Learn) and the help system,
// driven through their widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "model/conversions.h"
#include "model/groups.h"
#include "support/fakes.h"
#include "support/program_harness.h"
#include "ui/box/box_record_windows.h"
#include "ui/box/port_setup_dialog.h"
#include "ui/box/terminal_window.h"
#include "ui/help/about_dialog.h"
#include "ui/help/help_window.h"
#include "ui/main_window/main_window.h"
#include "ui/meters/learn_window.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"
#include "ui/program.h"
#include "ui/project_setup_dialog.h"
#include "ui/widgets/qt_dialogs.h"

namespace vyk::ui {
namespace {

QAbstractButton* ButtonOf(QWidget& window, const QString& text) {
  for (auto* button : window.findChildren<QAbstractButton*>())
    if (button->text() == text) return button;
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

QString CheckedRadio(QWidget& window) {
  for (auto* button : window.findChildren<QRadioButton*>())
    if (button->isChecked()) return button->text();
  return {};
}

// Runs `drive` inside the next modal dialog's event loop; a dialog it leaves open is cancelled.
void WhenShown(std::function<void(QDialog&)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog is showing";
      return;
    }
    drive(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog was left open";
      dialog->reject();
    }
  });
}

TEST(ProjectSetupDialog, ShowsTheSetupAndReturnsWhatTheUserChose) {
  ProjectSetupDialog dialog(nullptr);
  ProjectSetup setup;  // what File > New fills in
  WhenShown([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Project Setup");
    auto* name = d.findChild<QLineEdit*>("ProjectNameEdit");
    auto* description = d.findChild<QLineEdit*>("DescriptionEdit");
    EXPECT_EQ(name->text(), "(none)");
    EXPECT_EQ(description->text(), "");
    EXPECT_TRUE(ButtonOf(d, "Ford")->isChecked());
    EXPECT_TRUE(ButtonOf(d, "English")->isChecked());
    QTest::keyClicks(name, "Turbo");  // replaces the selected "(none)"
    description->setText(QString::fromUtf8("Ölkühler 3½\""));
    ButtonOf(d, "GM")->click();
    ButtonOf(d, "Metric")->click();
    ButtonOf(d, "OK")->click();
  });
  ASSERT_TRUE(dialog.Run(setup));
  EXPECT_EQ(setup.name.Bytes(), "Turbo");
  EXPECT_EQ(setup.description.Bytes(), "\xD6lk\xFChler 3\xBD\"");  // Windows-1252, as files hold it
  EXPECT_EQ(setup.group, kGM);
  EXPECT_TRUE(setup.metric);
}

TEST(ProjectSetupDialog, CancelChangesNothingAndEachShowingStartsFromTheGivenSetup) {
  ProjectSetupDialog dialog(nullptr);
  ProjectSetup project{FileText("Mine"), FileText("V8"), kImport, true};
  WhenShown([](QDialog& d) {
    EXPECT_EQ(d.findChild<QLineEdit*>("ProjectNameEdit")->text(), "Mine");
    EXPECT_TRUE(ButtonOf(d, "Import")->isChecked());
    EXPECT_TRUE(ButtonOf(d, "Metric")->isChecked());
    d.findChild<QLineEdit*>("ProjectNameEdit")->setText("Other");
    ButtonOf(d, "Ford")->click();
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_FALSE(dialog.Run(project));
  EXPECT_EQ(project.name.Bytes(), "Mine");
  EXPECT_EQ(project.group, kImport);
  EXPECT_TRUE(project.metric);

  ProjectSetup fresh;
  WhenShown([](QDialog& d) {
    EXPECT_EQ(d.findChild<QLineEdit*>("ProjectNameEdit")->text(), "(none)");
    EXPECT_TRUE(ButtonOf(d, "Ford")->isChecked());
    EXPECT_TRUE(ButtonOf(d, "English")->isChecked());
    ButtonOf(d, "OK")->click();
  });
  ASSERT_TRUE(dialog.Run(fresh));
  EXPECT_EQ(fresh.name.Bytes(), "(none)");
  EXPECT_EQ(fresh.group, kFord);
  EXPECT_FALSE(fresh.metric);
}

TEST(PortSetupDialog, ShowsTheItemsAndReturnsTheChoice) {
  PortSetupDialog dialog(nullptr);
  const std::vector<std::string> items = {"COM 1 (/dev/ttyS0)", "/dev/ttyUSB0 \u2014 FT232R",
                                          "Simulator"};
  int selected = 1;
  UpdateSafety safety{true, false};
  WhenShown([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Setup");
    EXPECT_EQ(CheckedRadio(d), QString::fromUtf8("/dev/ttyUSB0 \u2014 FT232R"));
    ButtonOf(d, "Simulator")->click();
    auto* backup = d.findChild<QCheckBox*>("BackupCBox");
    auto* preview = d.findChild<QCheckBox*>("PreviewCBox");
    EXPECT_TRUE(backup->isChecked());
    EXPECT_FALSE(preview->isChecked());
    backup->click();
    preview->click();
    ButtonOf(d, "OK")->click();
  });
  ASSERT_TRUE(dialog.Run(items, selected, safety));
  EXPECT_EQ(selected, 2);
  EXPECT_FALSE(safety.backupBeforeUpdate);
  EXPECT_TRUE(safety.previewBeforeUpdate);

  selected = -1;  // nothing selected; Cancel leaves it so
  WhenShown([](QDialog& d) {
    EXPECT_EQ(CheckedRadio(d), "");
    ButtonOf(d, "COM 1 (/dev/ttyS0)")->click();
    d.findChild<QCheckBox*>("PreviewCBox")->click();
    ButtonOf(d, "Cancel")->click();
  });
  EXPECT_FALSE(dialog.Run(items, selected, safety));
  EXPECT_EQ(selected, -1);
  EXPECT_TRUE(safety.previewBeforeUpdate);
}

// The preview lists the changes and hands back "Don't show again"; Backups hands back the
// chosen backup and what to do with it; History shows each line.
TEST(BoxRecordWindows, ShowWhatTheyAreGivenAndReturnTheChoice) {
  UpdatePreviewDialog preview(nullptr);
  bool dontShow = false;
  WhenShown([](QDialog& d) {
    EXPECT_TRUE(d.findChild<QLabel*>("PreviewLabel")->text().contains("change 2 values"));
    auto* grid = d.findChild<QTableWidget*>("ChangesGrid");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 2)->text(), "-2");
    EXPECT_TRUE(d.findChild<QLabel*>("TableWarningsLabel")->text().contains("Entry 7: falls"));
    d.findChild<QCheckBox*>("DontShowCBox")->click();
    ButtonOf(d, "OK")->click();
  });
  EXPECT_TRUE(preview.Run({"car.VYK",
                           "Simulator",
                           "G 1.0",
                           {{"Limit", "4.995", "2.500"}, {"Pot 2", "0", "-2"}},
                           {"Entry 7: falls"}},
                          dontShow));
  EXPECT_TRUE(dontShow);

  BackupsWindow backups(nullptr);
  const std::vector<BackupInfo> list = {
      {"/d/b/new.VYK", "new.VYK", "2026-12-08 09:00:00", "G", "1.0", "/p/car.VYK"},
      {"/d/b/old.VYK", "old.VYK", "2026-12-07 09:00:00", "G", "1.0", ""}};
  WhenShown([](QDialog& d) {
    auto* grid = d.findChild<QTableWidget*>("BackupsGrid");
    EXPECT_EQ(grid->item(0, 2)->text(), "/p/car.VYK");
    EXPECT_EQ(grid->item(1, 2)->text(), "(not known)");
    grid->selectRow(1);
    ButtonOf(d, "&Write to Box ...")->click();
  });
  std::string path;
  EXPECT_EQ(backups.Run(list, path), BackupsWindow::Choice::WriteToBox);
  EXPECT_EQ(path, "/d/b/old.VYK");

  HistoryWindow history(nullptr);
  HistoryEntry e{"2026-12-08T09:00:00+0100",
                 "update",
                 "/dev/ttyUSB0",
                 "G",
                 "1.0",
                 "/p/car.VYK",
                 "03C95E1E",
                 "failed",
                 "write 1A",
                 "Hardware did not acknowledge",
                 ""};
  WhenShown([](QDialog& d) {
    auto* grid = d.findChild<QTableWidget*>("HistoryGrid");
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 0)->text(), "2026-12-08 09:00:00");
    EXPECT_EQ(grid->item(0, 8)->text(), "Hardware did not acknowledge");
    ButtonOf(d, "Close")->click();
  });
  history.Run({e}, "/d/history.tsv");
}

// Both project dialogs start with "*.VYK" in the name box; Open also lists every file (a
// project saved without the extension). A name with wildcards lists files rather than being
// taken as one.
TEST(FileDialogs, StartWithTheProjectPatternAndOfferAllFiles) {
  test::TempFolder folder;
  QtDialogs dialogs(nullptr);
  auto nameBox = [](QDialog& d) { return d.findChild<QLineEdit*>("fileNameEdit"); };
  WhenShown([&](QDialog& d) {
    EXPECT_EQ(static_cast<QFileDialog&>(d).nameFilters(),
              QStringList({"*.VYK (*.VYK)", "All files (*)"}));
    EXPECT_EQ(nameBox(d)->text(), "*.VYK");
    d.reject();
  });
  EXPECT_FALSE(dialogs.OpenFileName(
      {folder.Path().string(), "*.VYK|*.VYK|All files (*)|*", "*.VYK", false, ""}));

  WhenShown([&](QDialog& d) {
    EXPECT_EQ(nameBox(d)->text(), "*.VYK");
    WhenShown([&](QDialog& again) {
      nameBox(again)->setText("camaro");
      again.accept();
    });
    d.accept();  // Save with the pattern in the name box
  });
  EXPECT_EQ(dialogs.SaveFileName({folder.Path().string(), "*.VYK", "*.VYK", true, ""}),
            folder.File("camaro"));
}

TEST(AboutDialog, SetsItsTextsAtEveryShowing) {
  AboutDialog about(nullptr);
  about.show();
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_EQ(about.findChild<QLabel*>("ProductNameLabel")->text(), "Vyk Edit (6v) ");
  EXPECT_EQ(about.findChild<QLabel*>("VersionLabel")->text(), "V1.2b 6/10/2003 ");
  EXPECT_FALSE(about.findChild<QLabel*>("NoticeLabel")->text().isEmpty());
  auto* comments = about.findChild<QLabel*>("CommentsLabel");
  comments->setText("left from before");
  about.hide();
  about.show();
  EXPECT_EQ(comments->text(), "");
}

QStringList ViewLines(TerminalWindow& form) {
  return form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
}

QStringList ScreenLines(const TerminalWindow& form) {
  QStringList lines;
  for (const std::string& line : form.Screen().Lines())
    lines << QString::fromStdString(line);
  return lines;
}

void EchoText(TerminalWindow& form, const std::string& text) {
  for (char c : text)
    form.Echo(static_cast<uint8_t>(c));
}

TEST(TerminalWindow, ShowsWhatTheBoxSendsAndNeverWhatIsTyped) {
  TerminalWindow form;
  std::vector<uint8_t> keys;
  int button1 = 0;
  form.onKey = [&](uint8_t key) { keys.push_back(key); };
  form.onButton1 = [&] { ++button1; };
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);

  EchoText(form, "before");  // wiped by the first showing
  form.show();
  EXPECT_FALSE(form.isModal());
  EXPECT_EQ(ViewLines(form).join("").trimmed(), "");

  EchoText(form, "AB\r\nC");
  QStringList lines = ViewLines(form);
  ASSERT_EQ(lines.size(), 26);
  EXPECT_EQ(lines[0], "AB");
  EXPECT_EQ(lines[1], "C");
  EXPECT_EQ(form.Screen().Column(), 1);

  auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
  QTest::keyClicks(memo, "q");
  QTest::keyClick(memo, Qt::Key_Return);
  EXPECT_EQ(keys, (std::vector<uint8_t>{'q', 13}));
  EXPECT_EQ(ViewLines(form), lines);

  // Hidden, the window still records; shown again, it is not wiped.
  form.hide();
  EchoText(form, "D");
  form.show();
  EXPECT_EQ(ViewLines(form)[1], "CD");

  QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  EXPECT_EQ(button1, 1);
}

TEST(TerminalWindow, ViewFollowsTheScreenThroughScrolling) {
  TerminalWindow form;
  form.show();
  for (int i = 0; i < 40; ++i)
    EchoText(form, "line " + std::to_string(i) + "\r\n");
  EchoText(form, std::string("\t\x0b\x0c\x07\0\r\n", 7));  // control bytes split no line
  EchoText(form, std::string(85, 'x'));                    // 79 shown, the rest dropped
  EXPECT_EQ(ViewLines(form), ScreenLines(form));
  EXPECT_EQ(ViewLines(form)[0], "line 17");
}

QTextBrowser* Browser(HelpWindow& help) {
  return help.findChild<QTextBrowser*>("HelpBrowser");
}

QString PageShown(HelpWindow& help) {
  return Browser(help)->source().fileName();
}

TEST(HelpWindow, ContextsOpenTheirPages) {
  HelpWindow help;
  help.ShowContext(kHelpLimit);
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(PageShown(help), "limit.html");
  EXPECT_TRUE(Browser(help)->toPlainText().contains("Invert Limit Output"));
  help.ShowContext(kHelpPots);
  EXPECT_EQ(PageShown(help), "pots.html");
  help.ShowContext(4711);
  EXPECT_EQ(PageShown(help), "index.html");
  help.ShowContext(kHelpChart);
  help.ShowContents();
  EXPECT_EQ(PageShown(help), "index.html");
  // Esc, Ctrl+W and the Close button each close it.
  for (const auto& close : std::vector<std::function<void()>>{
           [&] { QTest::keyClick(Browser(help), Qt::Key_Escape); },
           [&] { QTest::keyClick(Browser(help), Qt::Key_W, Qt::ControlModifier); },
           [&] { help.findChild<QPushButton*>("CloseBtn")->click(); }}) {
    help.ShowContents();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    close();
    EXPECT_FALSE(help.isVisible());
  }
}

// Broken links would show empty pages in the field: every page, link and keyword must resolve,
// and every page must be reachable from the contents.
TEST(HelpWindow, EveryLinkKeywordAndContextResolves) {
  const QString root = ":/help/";
  for (int context : {kHelpMainWindow, kHelpHowDoI, kHelpInputOutput, kHelpPots, kHelpLimit,
                      kHelpTableGrid, kHelpHexGrid, kHelpChart, kHelpPortSetup, kHelpTerminal,
                      kHelpProjectSetup, kHelpMeterEditor, kHelpMatch})
    EXPECT_TRUE(QFile::exists(root + HelpWindow::PageForContext(context))) << context;

  const QRegularExpression href("href=\"([^\"#]+)");
  const QStringList pages = QDir(root).entryList({"*.html"});
  ASSERT_GT(pages.size(), 10);
  QStringList linkedFromContents;
  for (const QString& page : pages) {
    QFile file(root + page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
    for (const auto& link : href.globalMatch(html)) {
      EXPECT_TRUE(QFile::exists(root + link.captured(1)))
          << page.toStdString() << " links to " << link.captured(1).toStdString();
      if (page == "index.html") linkedFromContents << link.captured(1);
    }
  }
  for (const QString& page : pages) {
    if (page != "index.html") {
      EXPECT_TRUE(linkedFromContents.contains(page)) << page.toStdString();
    }
  }

  QFile keywords(root + "keywords.txt");
  ASSERT_TRUE(keywords.open(QIODevice::ReadOnly));
  for (const QString& line : QString::fromUtf8(keywords.readAll()).split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    EXPECT_TRUE(QFile::exists(root + line.section('|', 1))) << line.toStdString();
  }
}

TEST(HelpWindow, TopicSearchListsTheTopicsOfMatchingKeywords) {
  HelpWindow help;
  auto* search = help.findChild<QLineEdit*>("SearchEdit");
  auto* list = help.findChild<QTreeWidget*>("TopicList");
  search->setText("left from before");
  help.ShowTopicSearch();
  EXPECT_EQ(search->text(), "");
  EXPECT_EQ(help.focusWidget(), search);
  const int all = list->topLevelItemCount();
  EXPECT_GT(all, 50);

  QTest::keyClicks(search, "limit");  // also the second word of "Invert Limit Output"
  ASSERT_GE(list->topLevelItemCount(), 2);
  EXPECT_LT(list->topLevelItemCount(), all);
  QStringList keywords;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    keywords << list->topLevelItem(i)->text(0);
  EXPECT_TRUE(keywords.contains("Limit"));
  EXPECT_TRUE(keywords.contains("Invert Limit Output"));
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(PageShown(help), "limit.html");
}

// Words that are no index keyword are found in the pages' text and marked in the page shown.
TEST(HelpWindow, SearchFindsThePagesThatSayAWordAndMarksItThere) {
  HelpWindow help;
  auto* search = help.findChild<QLineEdit*>("SearchEdit");
  auto* list = help.findChild<QTreeWidget*>("TopicList");
  struct Case {
    QString key;
    QString page;
    QString marked;     // as the page writes it
    QString notListed;  // a page that has the key only inside a word
  } cases[] = {
      {"ttyUSB", "port_options.html", "ttyUSB", {}},
      {"khz", "meters.html", "kHz", {}},
      {"usermod dialout", "port_options.html", "dialout", {}},  // every word, in any order
      {"port", "port_options.html", "port", "meters.html"},     // which says "Import"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.toStdString());
    help.ShowTopicSearch();
    QTest::keyClicks(search, c.key);
    QStringList pages;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      pages << list->topLevelItem(i)->data(1, Qt::UserRole).toString();
    EXPECT_TRUE(pages.contains(c.page)) << pages.join(' ').toStdString();
    EXPECT_FALSE(!c.notListed.isEmpty() && pages.contains(c.notListed));
    list->setCurrentItem(list->topLevelItem(static_cast<int>(pages.indexOf(c.page))));
    emit list->itemActivated(list->currentItem(), 0);
    EXPECT_EQ(PageShown(help).toStdString(), c.page.toStdString());
    QStringList marks;
    for (const auto& mark : Browser(help)->extraSelections())
      marks << mark.cursor.selectedText();
    EXPECT_TRUE(marks.contains(c.marked)) << marks.join(' ').toStdString();
  }
  help.ShowContext(kHelpLimit);  // a page opened otherwise shows no marks
  EXPECT_TRUE(Browser(help)->extraSelections().isEmpty());
}

TEST(HelpKey, F1OpensTheTopicOfTheFocusedControlsNearestContext) {
  HelpWindow help;
  InstallHelpKey(help);
  QWidget panel;
  panel.setProperty(kHelpContextProperty, kHelpPots);
  auto* potEdit = new QLineEdit(&panel);
  auto* limitEdit = new QLineEdit(&panel);
  limitEdit->setProperty(kHelpContextProperty, kHelpLimit);
  panel.show();

  QTest::keyClick(potEdit, Qt::Key_F1);  // the context comes from its parent
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(PageShown(help), "pots.html");
  QTest::keyClick(limitEdit, Qt::Key_F1);
  EXPECT_EQ(PageShown(help), "limit.html");

  QLineEdit outside;  // no context anywhere: the contents
  outside.show();
  QTest::keyClick(&outside, Qt::Key_F1);
  EXPECT_EQ(PageShown(help), "index.html");

  QTest::keyClicks(limitEdit, "2.5");  // other keys pass untouched
  EXPECT_EQ(limitEdit->text(), "2.5");
}

// F1 in every window, the Help buttons and the meter editor's Esc open the page of the control
// the user is in; over a modal dialog the help window still takes typing.
TEST(HelpKey, EveryWindowOpensThePageOfTheFocusedControl) {
  test::ProgramHarness harness;
  Program& program = *harness.program;
  program.Main().show();
  HelpWindow& help = program.Help();
  auto* search = help.findChild<QLineEdit*>("SearchEdit");

  enum class Press { F1, Esc, Click };
  struct Step {
    const char* control;  // nullptr: the window itself
    Press press;
    QString page;
  };
  ProjectSetup setup;
  const std::vector<std::string> ports{"COM 1", "Simulator"};
  int selected = 0;
  UpdateSafety safety;
  bool dontShow = false;
  struct Window {
    QWidget* window;
    std::function<void()> runModal;  // empty: the window is not modal
    std::vector<Step> steps;
  } windows[] = {
      {&program.Main(),
       {},
       {{"LimitEdit", Press::F1, "limit.html"},
        {"TableGrid", Press::F1, "table_grid.html"},
        {"Chart1", Press::F1, "chart.html"},
        {nullptr, Press::F1, "main_window.html"}}},
      {&program.Terminal(), {}, {{"Memo1", Press::F1, "terminal.html"}}},
      {&program.Learn(), {}, {{"LearnGrid", Press::F1, "index.html"}}},
      {&program.MeterEditorWindow(),
       [&] { program.MeterEditorWindow().exec(); },
       {{"StringGrid", Press::F1, "meters.html"},
        {"PartNumberEdit", Press::Esc, "meters.html"},
        {"HelpButton", Press::Click, "meters.html"}}},
      {&program.Match(),
       [&] { program.Match().EditMatchClick(); },
       {{"MeterUseCombo", Press::F1, "meter_match.html"}}},
      {&program.ProjectSetupWindow(),
       [&] { program.ProjectSetupWindow().Run(setup); },
       {{"ProjectNameEdit", Press::F1, "projects.html"},
        {"HelpBtn", Press::Click, "projects.html"}}},
      {&program.PortSetup(),
       [&] { program.PortSetup().Run(ports, selected, safety); },
       {{"ComPortRGrp", Press::F1, "port_options.html"},
        {"HelpBtn", Press::Click, "port_options.html"}}},
      {&program.About(), [&] { program.About().exec(); }, {{nullptr, Press::F1, "index.html"}}},
      {&program.Preview(),
       [&] {
         program.Preview().Run({"a.VYK", "Simulator", "G 1.0", {{"Pot 1", "0", "1"}}, {}},
                               dontShow);
       },
       {{"ChangesGrid", Press::F1, "backups_history.html"},
        {"HelpBtn", Press::Click, "backups_history.html"}}},
      {&program.History(),
       [&] { program.History().Run({}, "history.tsv"); },
       {{"HistoryGrid", Press::F1, "backups_history.html"}}},
  };

  auto pressEach = [&](const Window& w) {
    for (const Step& step : w.steps) {
      SCOPED_TRACE(step.control != nullptr ? step.control : "window");
      help.ShowContext(kHelpPots);  // a page no step expects
      help.close();
      QWidget* target =
          step.control != nullptr ? w.window->findChild<QWidget*>(step.control) : w.window;
      ASSERT_NE(target, nullptr);
      if (step.press == Press::Click) {
        qobject_cast<QAbstractButton*>(target)->click();
      } else {
        QTest::keyClick(target, step.press == Press::F1 ? Qt::Key_F1 : Qt::Key_Escape);
      }
      EXPECT_TRUE(help.isVisible());
      EXPECT_EQ(PageShown(help).toStdString(), step.page.toStdString());
    }
    // As the window system delivers it: a window a modal dialog blocks gets no keys.
    search->clear();
    search->setFocus();
    QTest::keyClick(help.windowHandle(), Qt::Key_K);
    EXPECT_EQ(search->text(), "k");
    help.close();
  };
  for (const Window& w : windows) {
    SCOPED_TRACE(w.window->windowTitle().toStdString());
    if (!w.runModal) {
      w.window->show();
      pressEach(w);
      continue;
    }
    WhenShown([&](QDialog& d) {
      pressEach(w);
      d.reject();
    });
    w.runModal();
  }
}

TEST(LearnDialog, HasItsGridAndTheStopAndCreateMeterActions) {
  test::FakeDialogs dialogs;
  LearnWindow learn(dialogs, nullptr);
  EXPECT_EQ(learn.windowTitle(), "Learn Dialog");
  auto* grid = learn.findChild<QTableWidget*>("LearnGrid");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->rowCount(), 256);
  QStringList headers;
  for (int c = 0; c < grid->columnCount(); ++c)
    headers << grid->model()->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headers, QStringList({"Base V", "#", "", "E2P", "Flow", ""}));

  learn.show();
  auto* createMeter = learn.findChild<QPushButton*>("CreateMeterBtn");
  dialogs.answers = {Answer::No, Answer::Yes};
  createMeter->click();
  EXPECT_TRUE(learn.isVisible());
  createMeter->click();
  EXPECT_FALSE(learn.isVisible());
  EXPECT_EQ(learn.result(), LearnWindow::kYesResult);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, "Ok to close Learn dialog and open Meter Dialog?");

  learn.findChild<QPushButton*>("StopBtn")->click();
  for (const char* name : {"ClearBtn", "GetLearnBtn", "InterpBtn", "CloseBtn"})
    EXPECT_TRUE(learn.findChild<QPushButton*>(name)->isEnabled()) << name;
  EXPECT_FALSE(learn.findChild<QPushButton*>("CopyE2PBtn")->isEnabled());
  EXPECT_FALSE(createMeter->isEnabled());
  EXPECT_FALSE(learn.findChild<QPushButton*>("StopBtn")->isEnabled());
  EXPECT_TRUE(learn.findChild<QPushButton*>("StopBtn")->isHidden());
}

}  // namespace
}  // namespace vyk::ui

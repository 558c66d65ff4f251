// Every text of the main window, the meter editor, the match dialog (with its charts and
// warnings), the compare window, the Range Edit dialog and the windows of the Box's backups,
// preview and history shows whole: no label, button, check box, box title, grid cell, grid
// header or chart label is elided, cut off by the edge of its control or of a control around
// it, or covered by another control. The same test also runs at QT_SCALE_FACTOR=2
// (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "model/image_diff.h"
#include "operations/project/main_controls.h"
#include "support/fakes.h"
#include "support/program_harness.h"
#include "support/test_meters.h"
#include "ui/box/box_record_windows.h"
#include "ui/compare_window.h"
#include "ui/meters/match_window.h"
#include "ui/meters/meter_editor.h"
#include "ui/program.h"

namespace vyk::test {
namespace {

// Where a text does not show whole, as "control: text: why".
class TextFaults {
 public:
  explicit TextFaults(QWidget& window) : window_(window) {
    for (QWidget* w : window.findChildren<QWidget*>())
      if (w->isVisible()) Check(*w);
    CheckOverlaps();
  }
  const std::vector<std::string>& List() const { return faults_; }

 private:
  static QString Name(const QWidget& w) {
    QString path;
    for (const QWidget* p = &w; p != nullptr && !p->isWindow(); p = p->parentWidget())
      if (!p->objectName().isEmpty() && !p->objectName().startsWith("qt_"))
        path = p->objectName() + (path.isEmpty() ? "" : "/" + path);
    return (path.isEmpty() ? QString(w.metaObject()->className()) : path);
  }
  void Fault(const QWidget& w, const QString& text, const char* why, const QString& where = {}) {
    faults_.push_back((Name(w) + where + ": \"" + text + "\": " + why).toStdString());
  }
  // One line of text laid out in fractions of a pixel against the room the control gives it.
  void Fits(const QWidget& w, const QFont& font, const QString& text, QSizeF room,
            const QString& where = {}) {
    const QFontMetricsF fm(font);
    if (fm.horizontalAdvance(text) > room.width()) Fault(w, text, "wider than its room", where);
    if (fm.height() > room.height() + 0.5) Fault(w, text, "higher than its room", where);
  }
  static bool Inside(const QWidget& w, const char* className) {
    for (const QWidget* p = w.parentWidget(); p != nullptr && !p->isWindow(); p = p->parentWidget())
      if (p->inherits(className)) return true;
    return false;
  }

  void Check(QWidget& w) {
    if (auto* label = qobject_cast<QLabel*>(&w)) return CheckLabel(*label);
    if (auto* view = qobject_cast<QTableView*>(&w)) return CheckGrid(*view);
    if (auto* chart = qobject_cast<QChartView*>(&w)) return CheckChart(*chart);
    if (auto* box = qobject_cast<QGroupBox*>(&w)) return CheckGroupBox(*box);
    if (auto* edit = qobject_cast<QLineEdit*>(&w)) {
      if (!Inside(w, "QComboBox")) CheckEdit(*edit);
      return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&w)) {
      if (!Inside(w, "QAbstractScrollArea") && !qobject_cast<QTableView*>(w.parentWidget()))
        CheckButton(*button);
    }
  }

  void CheckLabel(const QLabel& label) {
    if (label.text().isEmpty()) return;
    const int m = label.margin();
    const QRect room = label.contentsRect().adjusted(m, m, -m, -m);
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label.fontMetrics().boundingRect(room, flags, label.text());
    if (!room.contains(needed)) Fault(label, label.text(), "cut off");
  }

  void CheckButton(const QAbstractButton& button) {
    if (button.text().isEmpty()) return;
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(&button)) contents = QStyle::SE_RadioButtonContents;
    if (auto* push = qobject_cast<const QPushButton*>(&button);
        push != nullptr && (push->isDefault() || push->autoDefault()))
      option.features |= QStyleOptionButton::DefaultButton | QStyleOptionButton::AutoDefaultButton;
    // The contents rectangle of a check or radio box starts after its indicator.
    const QRect room = button.style()->subElementRect(contents, &option, &button);
    QString text = button.text();
    text.remove('&');
    Fits(button, button.font(), text, room.size());
  }

  void CheckGroupBox(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = box.alignment();
    const QRect title =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    if (!box.rect().contains(title)) Fault(box, box.title(), "title cut off");
    for (const QWidget* child : box.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (child->isVisible() && child->geometry().intersects(title))
        Fault(*child, box.title(), "covers the title of its box");
  }

  void CheckEdit(const QLineEdit& edit) {
    if (edit.text().isEmpty()) return;
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    QRect room = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    room = room.marginsRemoved(edit.textMargins()).adjusted(2, 0, -2, 0);
    Fits(edit, edit.font(), edit.displayText(), room.size());
  }

  // A header section: the style elides its text to the label rectangle inside the section's
  // margins, drawn in bold when the section is highlighted.
  void CheckSection(const QWidget& header, const QString& text, const QRect& section,
                    bool highlighted) {
    if (text.isEmpty()) return;
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.rect = section;
    option.text = text;
    const QRect label = header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header);
    QFont font = header.font();
    font.setBold(highlighted);
    Fits(header, font, text, QSizeF(label.width(), section.height()));
  }

  void CheckGrid(const QTableView& view) {
    const QAbstractItemModel& model = *view.model();
    const int grid = view.showGrid() ? 1 : 0;
    // The item delegate keeps this margin on either side of a cell's text.
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    for (int c = 0; c < model.columnCount(); ++c) {
      if (view.isColumnHidden(c)) continue;
      for (int r = 0; r < model.rowCount(); ++r) {
        if (view.isRowHidden(r)) continue;
        const QString text = model.index(r, c).data().toString();
        if (text.isEmpty()) continue;
        const QSizeF room(view.columnWidth(c) - grid - 2 * margin, view.rowHeight(r) - grid);
        Fits(view, view.font(), text, room, QString(" cell %1,%2").arg(r).arg(c));
      }
    }
    const QHeaderView* columns = view.horizontalHeader();
    if (columns->isVisible()) {
      for (int c = 0; c < model.columnCount(); ++c)
        CheckSection(*columns, model.headerData(c, Qt::Horizontal).toString(),
                     QRect(0, 0, columns->sectionSize(c), columns->height()),
                     columns->highlightSections());
    }
    const QHeaderView* rows = view.verticalHeader();
    if (rows->isVisible()) {
      for (int r = 0; r < model.rowCount(); ++r)
        CheckSection(*rows, model.headerData(r, Qt::Vertical).toString(),
                     QRect(0, 0, rows->width(), rows->sectionSize(r)), rows->highlightSections());
    }
    if (auto* corner = view.findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
        corner != nullptr && corner->isVisible())
      CheckSection(*corner, corner->text(), corner->rect(), false);
  }

  void CheckChart(const QChartView& view) {
    // Qt Charts elides a label or title that has no room with "..."; a label beside the plot
    // area may also reach out of the chart.
    const QRectF chart(QPointF(), view.viewport()->size());
    for (QGraphicsItem* item : view.scene()->items()) {
      auto* text = dynamic_cast<QGraphicsTextItem*>(item);
      if (text == nullptr || !text->isVisible()) continue;
      const QString plain = text->toPlainText();
      if (plain.endsWith("...") || plain.endsWith(QChar(0x2026))) Fault(view, plain, "elided");
      const qreal margin = text->document()->documentMargin();
      if (!chart.contains(text->sceneBoundingRect().adjusted(margin, margin, -margin, -margin)))
        Fault(view, plain, "reaches out of the chart");
    }
  }

  // Controls must lie inside every control around them and clear of each other.
  void CheckOverlaps() {
    std::vector<QWidget*> controls;
    for (QWidget* w : window_.findChildren<QWidget*>()) {
      if (!w->isVisible() || Inside(*w, "QAbstractScrollArea") || Inside(*w, "QComboBox")) continue;
      if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && label->text().isEmpty())
        continue;
      if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
          qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w) ||
          qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractScrollArea*>(w))
        controls.push_back(w);
    }
    auto place = [&](const QWidget* w) { return QRect(w->mapTo(&window_, QPoint()), w->size()); };
    for (QWidget* w : controls) {
      for (QWidget* p = w->parentWidget(); p != &window_; p = p->parentWidget())
        if (!place(p).contains(place(w))) Fault(*w, Name(*p), "reaches out of");
    }
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j) {
        QWidget* a = controls[i];
        QWidget* b = controls[j];
        if (a->isAncestorOf(b) || b->isAncestorOf(a)) continue;
        if (place(a).intersects(place(b))) Fault(*a, Name(*b), "overlaps");
      }
  }

  QWidget& window_;
  std::vector<std::string> faults_;
};

using Faults = std::vector<std::string>;

// The program with a GM project on the simulated Box, and a meter folder holding a meter of
// flows up to four digits in each kind of signal.
struct Windows : ProgramHarness {
  Windows() {
    for (const char* g : {"Ford", "GM", "Import"})
      std::filesystem::create_directories(tmp.Path() / g);
    WriteMeterFile((tmp.Path() / "GM" / "USE.MAF").string(), test::Meter(true, false,
                                                                         {{"1500", "20.00"},
                                                                          {"3000", "80.00"},
                                                                          {"5000", "250.00"},
                                                                          {"7000", "480.00"},
                                                                          {"9000", "800.00"},
                                                                          {"11000", "1100.00"},
                                                                          {"13500", "1300.00"}}));
    WriteMeterFile((tmp.Path() / "GM" / "MATCH.MAF").string(), test::Meter(false, false,
                                                                           {{"0.80", "10.00"},
                                                                            {"1.50", "60.00"},
                                                                            {"2.20", "200.00"},
                                                                            {"3.00", "450.00"},
                                                                            {"3.80", "800.00"},
                                                                            {"4.60", "9999.99"}}));
    Show();
  }
  Faults Walk(QWidget& window) {
    // Layouts, and a chart's labels after them, settle over a few rounds of events.
    for (int round = 0; round < 3; ++round)
      QApplication::processEvents();
    return TextFaults(window).List();
  }
};

TEST(TextFit, EveryTextOfTheWindowsShowsWhole) {
  Windows w;
  ui::MainWindow& main = w.Main();
  AppState& st = main.State();
  auto click = [&](const char* name) { main.findChild<QAbstractButton*>(name)->click(); };
  auto project = [&](uint8_t group) {
    if (st.projectModified) w.dialogs.answers.push_back(Answer::No);  // drop the last one
    w.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, group, false});
    FileNewClick(main.GetSession());
  };

  const std::pair<const char*, std::function<QWidget&()>> scenes[] = {
      {"main window at the start", [&]() -> QWidget& { return main; }},
      {"a GM project with a reading",
       [&]() -> QWidget& {
         project(kGM);
         click("AbortBtn");
         return main;
       }},
      {"the byte grid",
       [&]() -> QWidget& {
         click("ShowHexCBox");
         return main;
       }},
      {"a Ford project a partial update left in the Box",
       [&]() -> QWidget& {
         project(kFord);
         click("AbortBtn");
         st.boxPartial = true;
         st.boxLastAddressWritten = 0x1A;
         RefreshWindow(main.GetSession());
         return main;
       }},
      {"compare window of a Ford and a GM project",
       [&]() -> QWidget& {
         ComparedProject gm{"This project", st.header, st.image};
         ComparedProject ford{"another-project.VYK", st.header, NewImage(kFord)};
         gm.header.SetGroup(kGM);
         auto* window = new ui::CompareWindow(CompareProjects(gm, ford), &main);
         window->show();
         return *window;
       }},
      {"main window shrunk to 420 x 300",
       [&]() -> QWidget& {
         for (auto* window : main.findChildren<QDialog*>("CompareWindow"))
           delete window;
         main.resize(420, 300);
         return main;
       }},
      {"main window shrunk as far as it goes",
       [&]() -> QWidget& {
         main.resize(100, 100);
         return main;
       }},
      {"meter editor with a four-digit meter in hertz",
       [&]() -> QWidget& {
         ui::MeterEditor& editor = w.program->MeterEditorWindow();
         editor.show();
         w.dialogs.fileNames.push_back((w.tmp.Path() / "GM" / "USE.MAF").string());
         editor.findChild<QAbstractButton*>("OpenButton")->click();
         return editor;
       }},
      {"meter editor in lb/hr",
       [&]() -> QWidget& {
         ui::MeterEditor& editor = w.program->MeterEditorWindow();
         w.dialogs.fileNames.push_back((w.tmp.Path() / "GM" / "MATCH.MAF").string());
         editor.findChild<QAbstractButton*>("OpenButton")->click();
         return editor;
       }},
  };
  for (const auto& [scene, show] : scenes) {
    SCOPED_TRACE(scene);
    EXPECT_EQ(w.Walk(show()), Faults{});
  }
  w.program->MeterEditorWindow().hide();

  // The Box's safety net, filled as an Update and the Box menu fill them.
  const std::string path =
      "/home/workshop/.local/share/vyk-edit/backups/2026-12-08_15-42-10_G1.0.VYK";
  EepromImage box = st.image;
  box.SetEntry(3, 700);
  box.SetByte(kFirstPotByte, 0xFE);
  box.SetByte(kModeByte, 0x12);
  const std::pair<const char*, std::function<QWidget&()>> boxWindows[] = {
      {"the Update's preview",
       [&]() -> QWidget& {
         w.program->Preview().Fill({path,
                                    "/dev/ttyUSB0",
                                    "G 1.0",
                                    DiffImages({st.header, box}, {st.header, st.image}),
                                    {}});
         return w.program->Preview();
       }},
      {"Box > Backups",
       [&]() -> QWidget& {
         w.program->Backups().Fill({{path, "2026-12-08_15-42-10_G1.0.VYK", "2026-12-08 15:42:10",
                                     "G", "1.0", "/home/workshop/cars/Camaro 1989.VYK"}});
         return w.program->Backups();
       }},
      {"Box > History",
       [&]() -> QWidget& {
         w.program->History().Fill(
             {{"2026-12-08T15:40:51+0100", "update", "/dev/ttyUSB0", "G", "1.0",
               "/home/workshop/cars/Camaro 1989.VYK", "5D1C0A77", "failed", "write 1A",
               "The connection to /dev/ttyUSB0 was lost (the device hung up)", path}},
             "/home/workshop/.local/share/vyk-edit/history.tsv");
         return w.program->History();
       }},
  };
  for (const auto& [scene, fill] : boxWindows) {
    SCOPED_TRACE(scene);
    QWidget& window = fill();
    window.show();
    EXPECT_EQ(w.Walk(window), Faults{});
    window.hide();
  }

  // The match dialog is modal: it is walked while it is up, after a Match, and with the
  // meters swapped, which warns that their flows hardly overlap.
  project(kGM);
  ui::MatchWindow& match = w.program->Match();
  Faults faults{"not shown"};
  Faults swapped{"not shown"};
  QTimer::singleShot(0, &match, [&] {
    match.findChild<QComboBox*>("MeterUseCombo")->setCurrentText("USE.MAF");
    match.findChild<QComboBox*>("MeterMatchCombo")->setCurrentText("MATCH.MAF");
    match.findChild<QAbstractButton*>("MatchBtn")->click();
    faults = w.Walk(match);
    match.findChild<QComboBox*>("MeterUseCombo")->setCurrentText("MATCH.MAF");
    match.findChild<QComboBox*>("MeterMatchCombo")->setCurrentText("USE.MAF");
    swapped = w.Walk(match);
    if (!match.findChild<QLabel*>("MatchWarnings")->isVisible()) swapped.push_back("no warning");
    match.close();
  });
  match.EditMatchClick();
  {
    SCOPED_TRACE("match dialog after a Match");
    EXPECT_EQ(faults, Faults{});
  }
  {
    SCOPED_TRACE("match dialog with a warning");
    EXPECT_EQ(swapped, Faults{});
  }

  // So is Range Edit, walked with the result of an Apply that clamped.
  auto* table = main.findChild<QTableView*>("TableGrid");
  table->setCurrentIndex(table->model()->index(20, 0));
  Faults rangeFaults{"not shown"};
  QTimer::singleShot(0, &main, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    dialog->findChild<QLineEdit*>("ValueEdit")->setText("50");
    dialog->findChild<QAbstractButton*>("ApplyBtn")->click();
    rangeFaults = w.Walk(*dialog);
    dialog->close();
  });
  main.EditRangeClick();
  SCOPED_TRACE("range edit after an Apply");
  EXPECT_EQ(rangeFaults, Faults{});
}

}  // namespace
}  // namespace vyk::test

// Edit > Correct From Log: a scan tool's log opened in the dialog, its correction applied as one
// change to undo, or cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <fstream>

#include "model/groups.h"
#include "model/text/number.h"
#include "operations/project/undo_history.h"
#include "support/program_harness.h"
#include "support/synthetic_drive.h"

namespace vyk::test {
namespace {

TEST(CorrectDialog, AppliesAsOneUndoStepOrChangesNothing) {
  const struct {
    Qt::Key key;
    bool applied;
  } cases[] = {{Qt::Key_Return, true}, {Qt::Key_Escape, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.applied ? "Enter" : "Esc");
    ProgramHarness h({.simulatorBaud = 0, .mainWindowOnly = true});
    h.Show();
    h.dialogs.setups.push_back(ProjectSetup{FileText("Bench"), {}, kFord, false});
    h.Action("&New")->trigger();
    AppState& st = h.Main().State();
    const EepromImage before = st.image;
    // The controller wants entries 8 and 9 4 % richer; entry 20 has too few samples to move.
    Drive drive{{}, {}, std::vector<int>(kTableEntries, 0)};
    for (int k = 0; k < kTableEntries; ++k) {
      drive.held.push_back(before.Entry(k));
      const double wanted = k == 8 || k == 9 || k == 20 ? 1.04 : 1;
      drive.truth.push_back(static_cast<int>(std::lround(drive.held[k] * wanted)));
    }
    drive.perEntry[8] = drive.perEntry[9] = 21;
    drive.perEntry[20] = 5;
    const std::string log = h.tmp.File("drive.csv");
    std::ofstream(log, std::ios::binary) << DriveLog(drive, st.conversion);
    h.dialogs.fileNames.push_back(log);

    QString newEntry8, gates;
    bool entry20Greyed = false;
    QTimer::singleShot(0, h.form, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->objectName(), "CorrectDialog");
      dialog->findChild<QPushButton*>("OpenLogBtn")->click();
      auto* table = dialog->findChild<QTableWidget*>("CorrectionTable");
      newEntry8 = table->item(8, 2)->text();
      entry20Greyed = table->item(20, 2)->foreground() != table->item(8, 2)->foreground();
      gates = dialog->findChild<QLabel*>("GatesLabel")->text();
      QTest::keyClick(dialog, c.key);
    });
    h.Action("Correct From &Log ...")->trigger();

    EXPECT_EQ(h.dialogs.fileRequests.back().folder, (h.tmp.Path() / "data" / "logs").string());
    EXPECT_EQ(newEntry8.toStdString(), Trim(OutputVoltsText(st.conversion, drive.truth[8])));
    EXPECT_TRUE(entry20Greyed);
    EXPECT_TRUE(gates.startsWith("No reading: 0 samples removed\n")) << gates.toStdString();
    for (int k = 0; k < kTableEntries; ++k) {
      const int expected = c.applied && k != 20 ? drive.truth[k] : before.Entry(k);
      EXPECT_EQ(st.image.Entry(k), expected) << "entry " << k;
    }
    if (!c.applied) continue;
    h.Action("&Undo Correct From Log")->trigger();
    EXPECT_EQ(st.image, before);
  }
}

}  // namespace
}  // namespace vyk::test

// Undo and redo of every change to the project, and the modified flag they bring back.
#include <gtest/gtest.h>

#include <functional>

#include "model/records/project_file.h"
#include "operations/box/box_operations.h"
#include "operations/meters/match_dialog.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"
#include "operations/table/grid_clipboard.h"
#include "operations/table/image_grids.h"
#include "operations/table/range_edits.h"
#include "support/box_harness.h"

namespace vyk::test {
namespace {

// A GM project identified against a simulated GM Box.
struct GmBox : SimHarness {
  GmBox() : SimHarness(Config()) {
    New(kGM);
    SaveAs(folder.File("g.VYK"));
  }
  TempFolder folder;
  static SimBoxConfig Config() {
    SimBoxConfig c;
    c.groupLetter = 'G';
    return c;
  }
};

TEST(UndoHistory, EachChangeIsOneNamedStepThatUndoAndRedoTakeBackAndMakeAgain) {
  struct Case {
    const char* step;
    std::function<void(GmBox&)> change;
  } cases[] = {
      {"Table Entry 4", [](GmBox& h) { TableGridSetEditText(h.session, 1, 5, "1000"); }},
      {"Byte 4A", [](GmBox& h) { EepromGridSetEditText(h.session, 11, 5, "7F"); }},
      {"Pot 2", [](GmBox& h) { AdjustPot(h.session, 2, +1); }},
      {"Limit",  // typed key by key: one step
       [](GmBox& h) {
         for (const char* text : {"1", "10", "100"})
           SetLimitText(h.session, text);
       }},
      {"Invert Limit Output", [](GmBox& h) { SetInvertLimit(h.session, true); }},
      {"Input Voltage", [](GmBox& h) { SetInputRGrp(h.session, kVoltage); }},
      {"Project Setup",
       [](GmBox& h) {
         h.dialogs.setups.push_back(ProjectSetup{FileText("Renamed"), {}, kGM, true});
         EditProjectClick(h.session);
       }},
      {"Copy E2P",
       [](GmBox& h) {
         MatchDialog d;
         ResetMatchTable(h.state.matchTable);
         for (MatchSlot& slot : *h.state.matchTable)
           slot.outCount = 400;
         d.useFile = "USE.MAF";
         d.matchFile = "MATCH.MAF";
         h.dialogs.answers.push_back(Answer::Yes);
         CopyE2PBtnClick(h.session, d);
       }},
      {"Retrieve EEPROM",
       [](GmBox& h) {
         h.port.Box().Eeprom()[3] = 0x55;
         h.dialogs.answers.push_back(Answer::Yes);
         BoxRetrieveClick(h.session, h.link);
       }},
      {"Paste", [](GmBox& h) { TableGridPaste(h.session, 2, "100\n200\n"); }},
      {"Scale", [](GmBox& h) { ApplyRangeEdit(h.session, RangeEditKind::Scale, 0, 32, "5"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    GmBox h;
    const UndoHistory::Project before{h.state.image, h.state.header};
    c.change(h);
    const UndoHistory::Project after{h.state.image, h.state.header};
    const bool modifiedAfter = h.state.projectModified;
    ASSERT_FALSE(after == before);
    EXPECT_EQ(h.session.history.UndoCount(), 1u);
    EXPECT_EQ(UndoMenu(h.session).undoText, std::string("Undo ") + c.step);

    EXPECT_TRUE(Undo(h.session));
    EXPECT_TRUE(before == (UndoHistory::Project{h.state.image, h.state.header}));
    // The saved project is the one with nothing to save.
    EXPECT_EQ(h.state.projectModified, !modifiedAfter);
    EXPECT_EQ(UndoMenu(h.session).redoText, std::string("Redo ") + c.step);
    EXPECT_FALSE(UndoMenu(h.session).undo);

    EXPECT_TRUE(Redo(h.session));
    EXPECT_TRUE(after == (UndoHistory::Project{h.state.image, h.state.header}));
    EXPECT_EQ(h.state.projectModified, modifiedAfter);
    EXPECT_FALSE(Redo(h.session));
  }
}

TEST(UndoHistory, TheSavedStateHasNothingToSaveAndASaveKeepsTheHistory) {
  TempFolder tmp;
  Harness h;
  h.New(kFord);
  TableGridSetEditText(h.session, 1, 2, "1");  // A
  h.dialogs.answers.push_back(Answer::Yes);
  h.dialogs.fileNames.push_back(tmp.File("p.VYK"));
  ASSERT_TRUE(FileSaveAsClick(h.session));
  TableGridSetEditText(h.session, 1, 3, "2");  // B
  const EepromImage withB = h.state.image;

  struct Step {
    bool (*travel)(Session&);
    bool modified;
  } steps[] = {{Undo, false}, {Undo, true}, {Redo, false}, {Redo, true}};
  for (const Step& step : steps) {
    EXPECT_TRUE(step.travel(h.session));
    EXPECT_EQ(h.state.projectModified, step.modified);
    EXPECT_EQ(LookOf(h.state).fileSave, step.modified);
  }
  EXPECT_EQ(h.state.image, withB);

  // A new change drops what Redo could make again.
  Undo(h.session);
  AdjustPot(h.session, 1, +1);
  EXPECT_FALSE(h.session.history.CanRedo());
  EXPECT_EQ(h.session.history.UndoName(), "Pot 1");

  // While an exchange with the Box runs, Undo changes nothing.
  h.state.exchangeRunning = true;
  EXPECT_FALSE(UndoMenu(h.session).undo);
  EXPECT_FALSE(Undo(h.session));
  EXPECT_EQ(h.state.image.Byte(kFirstPotByte), 1);
  h.state.exchangeRunning = false;

  // New, Open and Close start afresh.
  h.dialogs.answers.push_back(Answer::No);
  FileCloseClick(h.session);
  EXPECT_FALSE(h.session.history.CanUndo());
  EXPECT_FALSE(h.session.history.CanRedo());
}

}  // namespace
}  // namespace vyk::test

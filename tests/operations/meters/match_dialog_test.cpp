#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "operations/meters/match_dialog.h"
#include "operations/meters/rematch.h"
#include "operations/project/project_commands.h"
#include "operations/project/undo_history.h"
#include "operations/table/image_grids.h"
#include "storage/path_text.h"
#include "support/comma_locale.h"
#include "support/fakes.h"

#include "support/test_meters.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

// A GM project whose program folder is a fresh temporary folder with the three group folders.
struct MatchHarness : Harness {
  TempFolder tmp;
  MatchDialog dialog;

  MatchHarness() {
    state.appFolder = tmp.Path().string() + kPathSeparator;
    for (const char* g : {"Ford", "GM", "Import"})
      std::filesystem::create_directories(tmp.Path() / g);
    New(kGM);
    dialogs.messages.clear();
  }
  std::string GmFile(const std::string& name) const {
    return PathText(tmp.Path() / "GM" / PathOf(name));
  }
  // A table whose every slot has an output; slot 8k holds `count(k)`.
  template <typename F>
  void SampledTable(F count, bool useFrequency, bool matchFrequency) {
    ResetMatchTable(state.matchTable);
    for (int c = 0; c < kMatchSlots; ++c)
      (*state.matchTable)[c].outCount = count(c / 8);
    dialog.outcome.useIsFrequency = useFrequency;
    dialog.outcome.matchIsFrequency = matchFrequency;
    dialog.useFile = "USE.MAF";
    dialog.matchFile = "A-VERY-LONG-METER-FILE-NAME-OF-40-CHARS.MAF";
    dialog.useGroup = dialog.matchGroup = kGM;
  }
};

TEST(MatchDialog, ListsTheGroupsMeterFilesUpperCasedAndPreselectsExactNames) {
  MatchHarness h;
  for (const char* name : {"meter1.maf", "B.MAF", "a.maf", "notes.txt"})
    std::ofstream(h.GmFile(name)) << "x";
  h.state.header.SetUseMeterName(FileText("B.MAF"));
  h.state.header.SetMatchMeterName(FileText("b.maf"));  // stored in lower case: never preselects
  FillMeterLists(h.session, h.dialog);
  EXPECT_EQ(h.dialog.useList, (std::vector<std::string>{"A.MAF", "B.MAF", "METER1.MAF"}));
  EXPECT_EQ(h.dialog.useIndex, 1);
  EXPECT_EQ(h.dialog.matchIndex, 0);
  MatchFormActivate(h.session, h.dialog);
  EXPECT_TRUE(h.dialog.matchEnabled);
  EXPECT_FALSE(h.dialog.copyEnabled);
  EXPECT_EQ(MatchGridCellText(h.state, h.dialog, 0, 1), "0.00");
  EXPECT_EQ(MatchGridCellText(h.state, h.dialog, 1, 256), "---");
  EXPECT_EQ(MatchGridCellText(h.state, h.dialog, 2, 128), "---");
}

TEST(MatchDialog, AnEmptyFolderSaysHowToMakeAMeterAndShowsNoDialog) {
  MatchHarness h;
  EXPECT_FALSE(FillMeterLists(h.session, h.dialog));
  EXPECT_EQ(h.dialogs.Texts(Kind::Information),
            std::vector<std::string>{"There are no GM meters in " + h.state.meterFolder +
                                     " yet. Make one in Edit > Meter, or import a text file "
                                     "there with Convert; then choose Edit > Match again."});
  EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
}

TEST(MatchDialog, LoadMeterFindsLowerCaseFilesAndReportsMissingOnes) {
  MatchHarness h;
  WriteMeterFile(h.GmFile("meter1.maf"), Meter(false, false, {{"1.00", "5.00"}}));
  MeterRecord record;
  EXPECT_TRUE(LoadMeter(h.session, h.dialog, 2, kGM, record, "METER1.MAF"));
  EXPECT_EQ(record.SignalText(1), "1.00");
  EXPECT_EQ(h.dialog.matchFile, "METER1.MAF");
  EXPECT_FALSE(LoadMeter(h.session, h.dialog, 1, kGM, record, "NONE.MAF"));
  EXPECT_FALSE(LoadMeter(h.session, h.dialog, 1, 3, record, "METER1.MAF"));
  EXPECT_EQ(h.dialogs.Texts(Kind::Error),
            (std::vector<std::string>{"File " + h.GmFile("NONE.MAF") + " not found",
                                      "Invalid data path"}));
}

TEST(MatchDialog, MatchComputesTheTableAndShowsItsLabels) {
  MatchHarness h;
  WriteMeterFile(
      h.GmFile("USE.MAF"),
      Meter(true, false, {{"  500", "10.00"}, {" 2000", "100.00"}, {" 8000", "900.00"}}));
  WriteMeterFile(h.GmFile("MATCH.MAF"),
                 Meter(false, true, {{"1.00", "5.00"}, {"2.00", "40.00"}, {"4.00", "400.00"}}));
  FillMeterLists(h.session, h.dialog);
  MatchFormActivate(h.session, h.dialog);
  h.dialog.matchIndex = 0;  // MATCH.MAF
  h.dialog.useIndex = 1;    // USE.MAF
  MatchBtnClick(h.session, h.dialog);
  EXPECT_TRUE(h.dialogs.messages.empty());
  EXPECT_TRUE(h.dialog.copyEnabled);
  EXPECT_EQ(h.dialog.headers, (std::array<std::string, 3>{"Flow", "F Use", "V Out"}));
  EXPECT_EQ(h.dialog.flowUnits, "Kg / Hour");
  // 2000 Hz at 13.19648 Hz per count and 4 counts per code is code 38.
  EXPECT_EQ(MatchGridCellText(h.state, h.dialog, 1, 39), " 2000");
  EXPECT_EQ(MatchGridCellText(h.state, h.dialog, 0, 39), "45.40");
}

// Any float a hand-made meter file holds prints as a number, with "." whatever the locale.
TEST(MatchDialog, GridTextsOfAnyValueInAnyLocale) {
  MatchHarness h;
  struct Case {
    MatchSlot slot;
    bool frequency;
    int column;
    const char* text;
  } cases[] = {
      {{0.29f, -1, -1}, false, 0, "0.29"},
      {{0, 1.5f, -1}, false, 1, "1.500"},
      {{0, 2.5f, -1}, true, 1, "    2"},  // half to even
      {{0, 6e9f, -1}, true, 1, "6000000000"},
      {{0, -1, 512}, false, 2, "3.000"},
      {{0, -1, 2000000000}, true, 2, "26392959595"},
  };
  ResetMatchTable(h.state.matchTable);
  for (bool comma : {false, true}) {
    if (comma && !HasCommaLocale()) GTEST_SKIP() << "no " << kCommaLocaleName << " locale";
    std::optional<CommaLocale> locale;
    if (comma) locale.emplace();
    for (const Case& c : cases) {
      (*h.state.matchTable)[7] = c.slot;
      h.dialog.outcome.useIsFrequency = h.dialog.outcome.matchIsFrequency = c.frequency;
      EXPECT_EQ(MatchGridCellText(h.state, h.dialog, c.column, 8), c.text) << c.text;
    }
  }
}

TEST(MatchDialog, CopyE2PWritesEveryEighthSlotRescaledForTwoVoltageMeters) {
  MatchHarness h;
  struct Case {
    bool useFrequency, matchFrequency;
    int32_t count;
    int entry;
    uint8_t mode;
  } cases[] = {
      {false, false, 853, 1023, 0x01},  // 853 * 6 / 5 = 1023.6, truncated
      {false, false, 854, 1023, 0x01},  // 1024.8 -> 1024 -> 1023
      {false, false, 500, 600, 0x01},
      {true, false, 500, 500, 0x09},    // a frequency meter to use: no rescaling
      {false, true, 1100, 1023, 0x02},  // a frequency meter to match
      {true, true, 700, 700, 0x0A},
  };
  for (const Case& c : cases) {
    h.SampledTable([&](int) { return c.count; }, c.useFrequency, c.matchFrequency);
    h.state.projectModified = false;
    h.dialogs.answers.push_back(Answer::Yes);
    CopyE2PBtnClick(h.session, h.dialog);
    for (int k : {0, 31})
      EXPECT_EQ(h.state.image.Entry(k), c.entry) << c.count;
    EXPECT_EQ(h.state.image.Entry(32), 1023);  // entry 32 is not copied
    EXPECT_EQ(h.state.image.Byte(kModeByte), c.mode) << c.count;
    EXPECT_EQ(h.state.controls.inputRGrp, c.useFrequency ? kFrequency : kVoltage);
    EXPECT_EQ(h.state.controls.outputRGrp, c.matchFrequency ? kFrequency : kVoltage);
    EXPECT_TRUE(h.state.projectModified);
    EXPECT_EQ(h.state.image.Entry(kLimitEntry), 0x03FF);  // showing the limit keeps it
  }
  EXPECT_EQ(h.state.header.UseMeterName().Bytes(), "USE.MAF");
  EXPECT_EQ(h.state.header.MatchMeterName().Bytes(), "A-VERY-LONG-METER-FILE-NAME-OF-");
  EXPECT_EQ(h.state.header.ByteAt(ProjectHeader::kMatchMeterGroup), kGM);
  EXPECT_EQ(h.state.chart.series1[31].y, 700 * 13.19648f);
}

// File names are UTF-8 on disk; the project file stores Windows-1252.
TEST(MatchDialog, CopyE2PStoresFileNamesInTheProjectFilesCharacterSet) {
  MatchHarness h;
  for (const char* name : {"a.maf", "m\u00e9.maf"})
    std::ofstream(h.GmFile(name)) << "x";
  FillMeterLists(h.session, h.dialog);
  ASSERT_EQ(h.dialog.useList, (std::vector<std::string>{"A.MAF", "M\u00e9.MAF"}));
  h.SampledTable([](int) { return 100; }, false, false);
  h.dialog.useFile = h.dialog.matchFile = h.dialog.useList[1];
  h.dialogs.answers = {Answer::Yes};
  CopyE2PBtnClick(h.session, h.dialog);
  EXPECT_EQ(h.state.header.UseMeterName().Bytes(), "M\xE9.MAF");  // only a..z are upper-cased
  EXPECT_EQ(h.state.header.MatchMeterName().Bytes(), "M\xE9.MAF");
  FillMeterLists(h.session, h.dialog);
  EXPECT_EQ(h.dialog.useIndex, 1);
}

TEST(MatchDialog, CopyE2PChangesNothingOnNoOrWithASampledSlotWithoutOutputOrAnUnstorableName) {
  MatchHarness h;
  h.SampledTable([](int k) { return k == 5 ? -1 : 100; }, false, false);
  AppState before = h.state;
  h.dialogs.answers = {Answer::No, Answer::Yes, Answer::Yes};
  CopyE2PBtnClick(h.session, h.dialog);
  CopyE2PBtnClick(h.session, h.dialog);
  (*h.state.matchTable)[40].outCount = 100;
  h.dialog.matchFile = "\u0141.MAF";  // a Polish L: Windows-1252 lacks it
  CopyE2PBtnClick(h.session, h.dialog);
  EXPECT_EQ(h.dialogs.Texts(Kind::Error),
            (std::vector<std::string>{"Input code 40 has no output value: nothing was copied",
                                      "The name \u0141.MAF cannot be stored in a project: it "
                                      "holds a character the project file's character set "
                                      "lacks"}));
  EXPECT_EQ(h.state.image, before.image);
  EXPECT_EQ(h.state.header, before.header);
  EXPECT_EQ(h.state.projectModified, before.projectModified);
}

// Copy E2P keeps both meters and the result; the project then tells hand edits from the match,
// and Rematch makes the table again from what it kept, even with the meter files gone.
TEST(MatchDialog, RematchRestoresAnEditedTableKeepingOrOverwritingTheHandEdits) {
  struct Case {
    const char* name;
    Answer answer;
    bool rematched;
    bool keepsEdits;
    uint8_t group = kGM;  // the project's group at the Rematch
  } cases[] = {
      {"keep", Answer::Yes, true, true},
      {"overwrite", Answer::No, true, false},
      {"cancel", Answer::Cancel, false, true},
      {"group changed since", Answer::No, false, true, kFord},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MatchHarness h;
    WriteMeterFile(
        h.GmFile("USE.MAF"),
        Meter(true, false,
              {{"  500", "10.00"}, {" 2000", "100.00"}, {" 6000", "500.00"}, {" 9000", "900.00"}}));
    WriteMeterFile(h.GmFile("MATCH.MAF"), Meter(false, false,
                                                {{"0.50", "1.00"},
                                                 {"1.00", "5.00"},
                                                 {"2.00", "40.00"},
                                                 {"4.00", "400.00"},
                                                 {"4.90", "1000.00"}}));
    FillMeterLists(h.session, h.dialog);
    MatchFormActivate(h.session, h.dialog);
    h.dialog.matchIndex = 0;
    h.dialog.useIndex = 1;
    MatchBtnClick(h.session, h.dialog);
    h.dialogs.answers.push_back(Answer::Yes);
    CopyE2PBtnClick(h.session, h.dialog);
    ASSERT_TRUE(h.state.provenance.has_value());
    EXPECT_EQ(MeterRecord(h.state.provenance->use), h.dialog.useMeter);
    const EepromImage matched = h.state.image;
    EXPECT_EQ(EntryRangesText(EditedEntries(*h.state.provenance, matched)), "none");

    std::filesystem::remove(h.GmFile("USE.MAF"));
    std::filesystem::remove(h.GmFile("MATCH.MAF"));
    TableGridSetEditText(h.session, 1, 6, "0.100");
    TableGridSetEditText(h.session, 1, 21, "4.900");
    TableGridSetEditText(h.session, 1, 33, "3.000");  // the match never writes entry 32
    EXPECT_EQ(EntryRangesText(EditedEntries(*h.state.provenance, h.state.image)), "5, 20");
    const EepromImage edited = h.state.image;

    h.state.header.SetGroup(c.group);
    h.dialogs.answers.push_back(c.answer);
    EXPECT_EQ(RematchClick(h.session), c.rematched);
    EXPECT_EQ(h.dialogs.Texts(Kind::Error).size(), c.group == kGM ? 0u : 1u);
    EXPECT_EQ(h.view.statusMessages.size(), c.rematched && c.keepsEdits ? 1u : 0u);
    EepromImage expected = c.keepsEdits ? edited : matched;
    expected.SetEntry(32, edited.Entry(32));
    EXPECT_EQ(h.state.image, expected);
    EXPECT_EQ(EntryRangesText(EditedEntries(*h.state.provenance, h.state.image)),
              c.keepsEdits ? "5, 20" : "none");
    if (c.rematched && !c.keepsEdits) {
      // One step of Undo, back to the hand edits.
      EXPECT_EQ(h.session.history.UndoName(), "Rematch");
      Undo(h.session);
      EXPECT_EQ(h.state.image, edited);
    }
  }
}

// Undo of a Copy E2P takes the record back with the table.
TEST(MatchDialog, UndoOfCopyE2PTakesBackHowTheTableWasMade) {
  MatchHarness h;
  h.SampledTable([](int k) { return 10 * k; }, false, false);
  h.dialogs.answers.push_back(Answer::Yes);
  CopyE2PBtnClick(h.session, h.dialog);
  ASSERT_TRUE(h.state.provenance.has_value());
  EXPECT_EQ(h.state.provenance->settings.matchFile.Bytes(), "A-VERY-LONG-METER-FILE-NAME-OF-");
  Undo(h.session);
  EXPECT_FALSE(h.state.provenance.has_value());
  EXPECT_FALSE(CanRematch(h.state));
  Redo(h.session);
  EXPECT_TRUE(CanRematch(h.state));
  h.state.provenance->unknown = {{"NEXT", "later"}};  // outlives a new Copy E2P
  h.dialogs.answers.push_back(Answer::Yes);
  CopyE2PBtnClick(h.session, h.dialog);
  EXPECT_EQ(h.state.provenance->unknown.size(), 1u);
}

}  // namespace
}  // namespace vyk::test

// The safety net of Update EEPROM (the Box read first, the preview, the backup) and the history
// of transfers, against the simulated Box on the virtual clock.
#include <gtest/gtest.h>
#include <algorithm>

#include <regex>

#include "model/image_diff.h"
#include "model/records/box_backups.h"
#include "model/records/box_history.h"
#include "model/records/project_file.h"
#include "model/text/hex_text.h"
#include "operations/box/box_record.h"
#include "support/box_harness.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

// A GM project on a simulated GM Box that holds another image, with a data folder.
struct Recorded : SimHarness {
  TempFolder tmp;
  std::array<uint8_t, 256> before{};

  Recorded() : SimHarness(Config()) {
    session.dataFolder = (tmp.Path() / "data").string();
    session.now = [] { return std::time_t{1765000000}; };
    New(kGM);
    for (int a = 0; a < 80; ++a)
      port.Box().Eeprom()[a] = static_cast<uint8_t>(a * 3);
    before = port.Box().Eeprom();
    dialogs.messages.clear();
    commands.clear();
  }
  static SimBoxConfig Config() {
    SimBoxConfig c;
    c.groupLetter = 'G';
    c.baud = 9600;
    return c;
  }
  bool Update(std::deque<bool> previews = {true}) {
    dialogs.answers = {Answer::Yes};
    dialogs.previewAnswers = std::move(previews);
    return BoxUpdateClick(session, link);
  }
  bool BoxHoldsProject() {
    for (int a = 0; a < 80; ++a)
      if (port.Box().Eeprom()[a] != state.image.Byte(a)) return false;
    return true;
  }
  std::vector<HistoryEntry> History() { return ReadHistory(session.dataFolder); }
  // The Box answers nothing to the n-th command line from now on.
  void SilenceLine(long n) {
    port.Box().Config().lineFault = LineFault::Silence;
    port.Box().Config().faultLine = port.Box().LinesReceived() + n;
  }
};

TEST(BoxRecord, AnUpdateReadsTheBoxShowsTheChangesKeepsABackupAndRecordsIt) {
  Recorded h;
  ASSERT_TRUE(h.Update());
  EXPECT_TRUE(h.BoxHoldsProject());
  EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
  // "Q", then 80 reads, then the 160 commands of the write.
  EXPECT_EQ(h.commands.size(), 1u + 1 + 80 + 160);
  ASSERT_EQ(h.dialogs.previewsShown.size(), 1u);
  const UpdatePreview& preview = h.dialogs.previewsShown[0];
  EXPECT_EQ(preview.box, "G 1.0");
  EXPECT_TRUE(std::any_of(preview.changes.begin(), preview.changes.end(),
                          [](const ImageDifference& d) { return d.label == "Entry 0"; }));

  const std::vector<BackupInfo> backups = BoxBackups(h.session);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(std::regex_match(backups[0].fileName,
                               std::regex(R"(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_G1\.0\.VYK)")));
  EXPECT_EQ(backups[0].letter + backups[0].version, "G1.0");
  EXPECT_EQ(backups[0].project, "Test");  // the name of a project not saved yet
  const ProjectReadResult backup = ReadProjectFile(backups[0].path, ProjectHeader());
  ASSERT_EQ(backup.status, ProjectReadStatus::Ok);
  for (int a = 0; a < 80; ++a)
    EXPECT_EQ(backup.image.Byte(a), h.before[a]) << a;
  EXPECT_EQ(backup.header.Group(), kGM);

  // Once more: the Box already holds it, so nothing is written, shown or kept.
  h.commands.clear();
  ASSERT_TRUE(h.Update({}));
  EXPECT_EQ(h.commands.size(), 1u + 1 + 80);
  EXPECT_EQ(h.dialogs.Texts(Kind::Information).back(),
            "No change: the Box already holds these 80 bytes, so nothing was written");
  EXPECT_EQ(BoxBackups(h.session).size(), 1u);

  h.dialogs.answers = {Answer::Yes};
  ASSERT_TRUE(BoxRetrieveClick(h.session, h.link));

  const std::vector<HistoryEntry> history = h.History();
  ASSERT_EQ(history.size(), 3u);
  const std::string checksum = Crc32Text(h.state.image.Bytes().data(), 80);
  const std::string expected[][5] = {{"update", "ok", backups[0].path, checksum, ""},
                                     {"update", "no change", "", checksum, ""},
                                     {"retrieve", "ok", "", checksum, ""}};
  for (size_t i = 0; i < history.size(); ++i) {
    const HistoryEntry& e = history[i];
    EXPECT_EQ((std::vector<std::string>{e.operation, e.outcome, e.backup, e.checksum, e.stoppedAt}),
              (std::vector<std::string>(std::begin(expected[i]), std::end(expected[i]))));
    EXPECT_EQ(e.port, "test");
    EXPECT_EQ(e.letter + e.version, "G1.0");
    EXPECT_EQ(e.project, "(new)");
    EXPECT_EQ(e.time, LocalTimeText(1765000000));
  }
  EXPECT_EQ(BoxHistory(h.session).front().operation, "retrieve");  // newest first
}

// Whatever stops the Update (or a Retrieve that identifies the Box) before its write leaves
// the Box as it was, and says where.
TEST(BoxRecord, AnUpdateThatCannotReadOrKeepTheBoxWritesNothing) {
  struct Case {
    const char* name;
    std::function<void(Recorded&)> arrange;
    std::string outcome;
    std::string stoppedAt;
    std::string error;  // the last error shown; empty: none
    bool retrieve = false;
  } cases[] = {
      {"no prompt", [](Recorded& h) { h.SilenceLine(1); }, "failed", "prompt",
       "Hardware not found"},
      {"another group", [](Recorded& h) { h.port.Box().Config().groupLetter = 'I'; }, "failed",
       "identify", "GM version hardware not found"},
      {"another version", [](Recorded& h) { h.port.Box().Config().version = "1.1"; }, "failed",
       "identify", "Incorrect hardware version", true},
      {"no answer to Q", [](Recorded& h) { h.SilenceLine(2); }, "failed", "identify",
       "Invalid response from hardware (error 1)", true},
      {"the Box stops answering", [](Recorded& h) { h.port.Box().Config().stopAfterBytes = 300; },
       "failed", "backup read ",
       "The Box could not be read for its backup, so nothing was written to it"},
      {"abort", [](Recorded& h) { h.pump.Post(300, [&h] { AbortBtnClick(h.session, h.link); }); },
       "aborted", "backup read ", ""},
      {"preview cancelled", [](Recorded& h) { h.dialogs.previewAnswers = {false}; }, "cancelled",
       "preview", ""},
      {"no backup folder",
       [](Recorded& h) {
         std::filesystem::create_directories(h.session.dataFolder);
         WriteBytes(BackupsFolder(h.session.dataFolder), "a file");
       },
       "failed", "backup", "The backup of the Box could not be saved"},
  };
  for (const Case& c : cases) {
    Recorded h;
    h.dialogs.answers = {Answer::Yes};
    h.dialogs.previewAnswers = {true};
    c.arrange(h);
    EXPECT_FALSE(c.retrieve ? BoxRetrieveClick(h.session, h.link, {}, {true, {}})
                            : BoxUpdateClick(h.session, h.link))
        << c.name;
    EXPECT_EQ(h.port.Box().Eeprom(), h.before) << c.name;
    EXPECT_FALSE(h.state.boxPartial) << c.name;
    const auto errors = h.dialogs.Texts(Kind::Error);
    if (c.error.empty()) {
      EXPECT_TRUE(errors.empty()) << c.name;
    } else {
      ASSERT_FALSE(errors.empty()) << c.name;
      EXPECT_EQ(errors.back().rfind(c.error, 0), 0u) << c.name << ": " << errors.back();
    }
    const auto history = h.History();
    ASSERT_EQ(history.size(), 1u) << c.name;
    EXPECT_EQ(history[0].outcome, c.outcome) << c.name;
    EXPECT_EQ(history[0].stoppedAt.rfind(c.stoppedAt, 0), 0u)
        << c.name << ": " << history[0].stoppedAt;
    EXPECT_TRUE(BoxBackups(h.session).empty()) << c.name;
  }
}

// The two settings of Box > Options, and "Don't show again".
TEST(BoxRecord, TheSettingsDecideWhatAnUpdateDoesFirst) {
  struct Case {
    bool backup, preview;
    size_t commands, previews, backups;
  } cases[] = {
      {true, true, 242, 1, 1},
      {true, false, 242, 0, 1},
      {false, true, 242, 1, 0},
      {false, false, 162, 0, 0},  // as without a data folder
  };
  for (const Case& c : cases) {
    Recorded h;
    h.state.backupBeforeUpdate = c.backup;
    h.state.previewBeforeUpdate = c.preview;
    ASSERT_TRUE(h.Update(c.preview ? std::deque<bool>{true} : std::deque<bool>{}));
    EXPECT_EQ(h.commands.size(), c.commands);
    EXPECT_EQ(h.dialogs.previewsShown.size(), c.previews);
    EXPECT_EQ(BoxBackups(h.session).size(), c.backups);
    EXPECT_EQ(h.History().size(), 1u);
  }
  Recorded h;
  h.dialogs.previewDontShowAgain = true;
  ASSERT_TRUE(h.Update());
  EXPECT_FALSE(h.state.previewBeforeUpdate);
}

// Box > Backups: a backup opens as a new project, and goes back into the Box byte for byte.
TEST(BoxRecord, ABackupOpensAsANewProjectAndWritesBackIntoTheBox) {
  Recorded h;
  ASSERT_TRUE(h.Update());
  const std::string path = BoxBackups(h.session).at(0).path;
  const std::string backupBytes = ReadBytes(path);
  // The project on screen was never saved: it is dropped; then the Update's question.
  h.dialogs.answers = {Answer::No, Answer::Yes};
  h.dialogs.previewAnswers = {true};
  h.commands.clear();
  ASSERT_TRUE(WriteBackupToBox(h.session, h.link, path));
  // One identification: the Update's own, right before it writes.
  EXPECT_EQ(std::count(h.commands.begin(), h.commands.end(), ""), 1);
  EXPECT_EQ(std::count(h.commands.begin(), h.commands.end(), "Q"), 1);
  EXPECT_EQ(h.port.Box().Eeprom(), h.before);
  EXPECT_EQ(h.state.projectState, ProjectState::NewProject);
  EXPECT_EQ(h.state.projectFileName, kNewProjectName);
  EXPECT_TRUE(h.state.projectModified);
  EXPECT_EQ(ReadBytes(path), backupBytes);      // the backup itself stays as it was taken
  EXPECT_EQ(BoxBackups(h.session).size(), 2u);  // what the Box held before the write back
}

// A record that cannot be kept is a warning after the transfer's own outcome, which stands; a
// backup names the project that replaced it only once the Box holds all of it.
TEST(BoxRecord, RecordsFollowTheOutcomeAndClaimNothingItDidNotDo) {
  struct Case {
    bool complete;
    std::vector<Kind> messages;  // in order
  } cases[] = {{true, {Kind::Warning}}, {false, {Kind::Error, Kind::Warning}}};
  for (const Case& c : cases) {
    Recorded h;
    std::filesystem::create_directories(HistoryPath(h.session.dataFolder));
    if (!c.complete) h.port.Box().Config().flipBitAddress = 0x20;
    EXPECT_EQ(h.Update(), c.complete);
    std::vector<Kind> kinds;
    for (const auto& m : h.dialogs.messages)
      if (m.kind != Kind::Question) kinds.push_back(m.kind);
    EXPECT_EQ(kinds, c.messages);
    EXPECT_EQ(BoxBackups(h.session).at(0).project, c.complete ? "Test" : "");
  }
}

}  // namespace
}  // namespace vyk::test

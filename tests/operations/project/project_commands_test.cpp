// The File menu, Edit > Project, the close question and the window's look.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "model/errors.h"
#include "model/records/project_file.h"
#include "operations/project/main_controls.h"
#include "support/fakes.h"
#include "support/provenance_sample.h"

namespace vyk {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::FileBytes;
using test::Harness;
using test::ImageOf;
using test::kToday;
using test::ReadBytes;
using test::SampleProvenance;
using test::TempFolder;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

const std::string kSep(1, kPathSeparator);

void ExpectSameProject(const AppState& a, const AppState& b) {
  EXPECT_EQ(a.header, b.header);
  EXPECT_EQ(a.image, b.image);
  EXPECT_EQ(a.conversion, b.conversion);
  EXPECT_EQ(a.projectState, b.projectState);
  EXPECT_EQ(a.projectFileName, b.projectFileName);
  EXPECT_EQ(a.projectModified, b.projectModified);
  EXPECT_EQ(a.meterFolder, b.meterFolder);
  EXPECT_EQ(a.controls.outputRGrp, b.controls.outputRGrp);
  EXPECT_EQ(a.controls.inputRGrp, b.controls.inputRGrp);
  EXPECT_EQ(a.controls.groupLabel, b.controls.groupLabel);
}

void ExpectSetup(const ProjectSetup& shown, const ProjectSetup& expected) {
  EXPECT_EQ(std::tie(shown.name, shown.description, shown.group, shown.metric),
            std::tie(expected.name, expected.description, expected.group, expected.metric));
}

TEST(FileNew, SetsUpTheProjectOfEachGroup) {
  const std::string longName(70, 'n'), longDescription(80, 'd');
  struct Case {
    uint8_t group;
    bool metric;
    uint8_t ioCode;
    int output;
  } cases[] = {
      {kFord, false, 0, kVoltage}, {kGM, true, 3, kFrequency}, {kImport, true, 0, kVoltage}};
  for (const auto& c : cases) {
    SCOPED_TRACE(GroupName(c.group));
    Harness h;
    h.state.header.Bytes().fill(0xEE);  // what the last project left
    h.dialogs.setups.push_back(
        ProjectSetup{FileText(longName), FileText(longDescription), c.group, c.metric});
    FileNewClick(h.session);
    ExpectSetup(h.dialogs.setupsShown.at(0),
                {FileText("(none)"), {}, kFord, false});  // always the same

    const ProjectHeader& header = h.state.header;
    EXPECT_THAT(
        (std::vector<int>{header.Created(), header.Saved(), header.FileRecords(),
                          header.HeaderRecords(), header.Int16At(12), header.RequiredVersion()}),
        ElementsAre(kToday, kToday, 48, 32, 11, 10));
    EXPECT_THAT((std::vector<int>{header.Group(), header.IoCode(), header.Units(),
                                  header.ByteAt(19), header.ByteAt(20)}),
                ElementsAre(c.group, c.ioCode, c.metric ? 1 : 0, 255, 255));
    EXPECT_EQ(header.Name().Bytes(), longName.substr(0, 63));
    EXPECT_EQ(header.Description().Bytes(), longDescription.substr(0, 63));
    EXPECT_EQ(header.UseMeterName().Bytes(), "(none)");
    EXPECT_EQ(header.MatchMeterName().Bytes(), "(none)");
    for (int i = 21; i < 64; ++i)
      EXPECT_EQ(header.ByteAt(i), 0) << i;
    for (int i = 256; i < kHeaderSize; ++i)
      EXPECT_EQ(header.ByteAt(i), 0) << i;

    EXPECT_EQ(h.state.projectState, ProjectState::NewProject);
    EXPECT_EQ(h.state.projectFileName, "(new)");
    EXPECT_TRUE(h.state.projectModified);  // in no file yet: closing it asks first
    EXPECT_EQ(h.state.meterFolder, "app" + kSep + GroupName(c.group) + kSep);
    EXPECT_EQ(h.state.conversion, ConversionSettings::ForGroup(c.group));
    EXPECT_EQ(h.state.controls.groupLabel, GroupName(c.group));
    EXPECT_EQ(h.state.controls.outputRGrp, c.output);
    EXPECT_EQ(h.state.controls.inputRGrpEnabled, c.group == kGM);
    EXPECT_FALSE(h.state.controls.outputRGrpEnabled);
  }
}

TEST(FileNew, CancelChangesNothing) {
  Harness h;
  for (bool withProject : {false, true}) {
    if (withProject) h.New(kGM);
    const AppState before = h.state;
    if (withProject) h.dialogs.answers.push_back(Answer::No);
    h.dialogs.setups.push_back(std::nullopt);
    FileNewClick(h.session);
    ExpectSameProject(h.state, before);
  }
}

// The dialog adds ".VYK" to a name typed without an extension, which File > Open lists; the
// name it returns is kept. The dialogs start in the folder of the last project, the group's
// meter folder before there is one.
TEST(FileSaveAs, WritesUnderTheNameGivenAndStartsWhereTheLastProjectIs) {
  TempFolder folder;
  Harness h;
  h.New(kFord);
  std::string startFolder = "app" + kSep + "Ford" + kSep;
  for (const char* name : {"boost", "camaro.VYK"}) {
    SCOPED_TRACE(name);
    h.dialogs.fileRequests.clear();
    const std::string path = folder.File(name);
    h.dialogs.fileNames.push_back(path);
    EXPECT_TRUE(FileSaveAsClick(h.session));
    ASSERT_EQ(h.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.fileRequests[0].folder, startFolder);
    EXPECT_EQ(h.dialogs.fileRequests[0].filter, "*.VYK");
    EXPECT_EQ(h.dialogs.fileRequests[0].defaultExtension, "VYK");
    EXPECT_TRUE(h.dialogs.fileRequests[0].confirmOverwrite);
    EXPECT_EQ(h.dialogs.Texts(FakeDialogs::Kind::Information).back(), path + " saved");
    EXPECT_EQ(h.state.projectState, ProjectState::StoredProject);
    EXPECT_FALSE(h.state.projectModified);
    EXPECT_EQ(h.state.projectFileName, path);
    EXPECT_EQ(h.state.recentProjects.front(), path);
    std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 768u);
    EXPECT_EQ(bytes.substr(4, 12), std::string("\xC8\xAF\0\0\x30\0\x20\0\x0B\0\x0A\0", 12));
    startFolder = folder.Path().string();
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.Path()))
    names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, UnorderedElementsAre("boost", "camaro.VYK"));  // no temporary left
}

// A project without a file asks for a name instead of saving to "(new)".
TEST(FileSave, NeverSavedProjectAsksForAName) {
  Harness h;
  h.New(kImport);
  h.dialogs.fileNames.push_back(std::nullopt);
  EXPECT_FALSE(FileSaveClick(h.session));
  EXPECT_EQ(h.dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(h.state.projectState, ProjectState::NewProject);
  EXPECT_THAT(h.dialogs.Texts(FakeDialogs::Kind::Information), IsEmpty());
}

// Another program may write the project file while it is open here: a save over its changes
// asks first, naming the file, and No keeps them. What counts is the content, from the read or
// from this program's own last save.
TEST(FileSave, AFileChangedOnDiskSinceItWasReadOrSavedAsksFirst) {
  struct Case {
    const char* name;
    void (*meanwhile)(const std::string& path);
    std::optional<Answer> answer;  // nothing: no question
  } cases[] = {
      {"untouched", [](const std::string&) {}, std::nullopt},
      {"rewritten alike", [](const std::string& p) { WriteBytes(p, ReadBytes(p)); }, std::nullopt},
      {"removed", [](const std::string& p) { fs::remove(p); }, std::nullopt},
      {"changed, Yes",
       [](const std::string& p) { WriteBytes(p, ReadBytes(p).replace(600, 1, "x")); }, Answer::Yes},
      {"changed, No",
       [](const std::string& p) { WriteBytes(p, ReadBytes(p).replace(600, 1, "x")); }, Answer::No},
  };
  for (bool opened : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (opened ? " after Open" : " after Save As"));
      TempFolder folder;
      const std::string path = folder.File("p.VYK");
      Harness h;
      h.New(kFord);
      h.dialogs.fileNames.push_back(path);
      ASSERT_TRUE(FileSaveAsClick(h.session));
      if (opened) h.Open(path);
      AdjustPot(h.session, 1, +1);
      c.meanwhile(path);
      const std::string theirs = ReadBytes(path);
      h.dialogs.messages.clear();
      if (c.answer) h.dialogs.answers.push_back(*c.answer);

      const bool saved = FileSaveClick(h.session);
      EXPECT_EQ(saved, c.answer != Answer::No);
      EXPECT_EQ(h.dialogs.Texts(FakeDialogs::Kind::Question),
                c.answer
                    ? std::vector<std::string>{path + " has been changed on disk since it was read "
                                                      "or last saved. Overwrite it and lose those "
                                                      "changes?"}
                    : std::vector<std::string>{});
      EXPECT_EQ(h.state.projectModified, !saved);
      if (saved) {
        EXPECT_EQ(ReadBytes(path)[512 + kFirstPotByte], 1);
        AdjustPot(h.session, 1, +1);  // the next save knows the file as it saved it
        EXPECT_TRUE(FileSaveClick(h.session));
      } else {
        EXPECT_TRUE(ReadBytes(path) == theirs);
      }
    }
  }
}

TEST(EditProject, ShowsTheProjectAndChangesOnlyTheHeader) {
  Harness h;
  h.dialogs.setups.push_back(ProjectSetup{FileText("Boost"), FileText("Turbo 2.3"), kGM, true});
  FileNewClick(h.session);
  const AppState before = h.state;
  h.dialogs.setups.push_back(std::nullopt);
  EditProjectClick(h.session);
  ExpectSetup(h.dialogs.setupsShown.at(1), {FileText("Boost"), FileText("Turbo 2.3"), kGM, true});
  ExpectSameProject(h.state, before);

  h.dialogs.setups.push_back(ProjectSetup{FileText("Other"), {}, kFord, false});
  EditProjectClick(h.session);
  EXPECT_EQ(h.state.header.Name().Bytes(), "Other");
  EXPECT_EQ(h.state.header.Group(), kFord);
  EXPECT_EQ(h.state.header.Units(), 0);
  EXPECT_EQ(h.state.image, before.image);
  EXPECT_EQ(h.state.conversion, before.conversion);
  EXPECT_EQ(h.state.controls.outputRGrp, before.controls.outputRGrp);
  EXPECT_EQ(h.state.meterFolder, before.meterFolder);
}

// New, Open, Close and closing the window ask before they drop unsaved changes.
TEST(QuerySaveChanges, AskBeforeUnsavedChangesAreDropped) {
  enum Command { kNew, kOpen, kClose, kExit };
  struct Case {
    Command command;
    std::optional<Answer> answer;  // nothing: no unsaved changes, no question
    bool goesOn;
    bool saves;
  } cases[] = {
      {kNew, {}, true, false},
      {kNew, Answer::Yes, true, true},
      {kNew, Answer::Cancel, false, false},
      {kOpen, Answer::No, true, false},
      {kOpen, Answer::Cancel, false, false},
      {kClose, {}, true, false},
      {kClose, Answer::Yes, true, true},
      {kClose, Answer::No, true, false},
      {kClose, Answer::Cancel, false, false},
      {kExit, Answer::Yes, true, true},
      {kExit, Answer::Cancel, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "command " << c.command << " answer "
                                    << (c.answer ? static_cast<int>(*c.answer) : -1));
    TempFolder folder;
    Harness h;
    h.New(kFord);
    std::string path = folder.File("p.VYK");
    h.dialogs.fileNames.push_back(path);
    FileSaveAsClick(h.session);
    const std::string old = ReadBytes(path);
    h.state.image.SetEntry(3, 500);
    h.state.projectModified = c.answer.has_value();
    h.dialogs.messages.clear();
    if (c.answer) h.dialogs.answers.push_back(*c.answer);
    bool wentOn = false;
    switch (c.command) {
      case kNew:  // then the Project Setup dialog, cancelled
        if (c.goesOn) h.dialogs.setups.push_back(std::nullopt);
        FileNewClick(h.session);
        wentOn = h.dialogs.setupsShown.size() == 2;
        break;
      case kOpen:  // then the file dialog, cancelled
        if (c.goesOn) h.dialogs.fileNames.push_back(std::nullopt);
        FileOpenClick(h.session);
        wentOn = h.dialogs.fileRequests.size() == 2;
        break;
      case kClose:
        FileCloseClick(h.session);
        wentOn = h.state.projectState == ProjectState::NoProject;
        break;
      case kExit:
        wentOn = QuerySaveChanges(h.session);
        break;
    }
    EXPECT_EQ(wentOn, c.goesOn);
    EXPECT_EQ(
        h.dialogs.Texts(FakeDialogs::Kind::Question),
        c.answer ? std::vector<std::string>{"Save E2P file first ?"} : std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(path) != old, c.saves);
    if (c.command == kOpen && c.goesOn) {
      // Projects saved without the extension are listed too.
      EXPECT_EQ(h.dialogs.fileRequests[1].filter, "*.VYK|*.VYK|All files (*)|*");
      EXPECT_EQ(h.dialogs.fileRequests[1].initialName, "*.VYK");
    }
  }
  // Yes for a project without a file, then no name: New stops before its dialog.
  Harness h;
  h.New(kFord);
  h.state.projectModified = true;
  h.dialogs.answers.push_back(Answer::Yes);
  h.dialogs.fileNames.push_back(std::nullopt);
  FileNewClick(h.session);
  EXPECT_EQ(h.dialogs.setupsShown.size(), 1u);
  EXPECT_EQ(h.state.projectState, ProjectState::NewProject);
}

// A read error from the system ends the command; the project keeps its own name, or a later
// Save would write it over the file that failed to load.
TEST(FileOpen, SystemReadErrorKeepsTheProject) {
  const std::string unreadable = "/proc/self/mem";  // opens, but its first bytes cannot be read
  try {
    ReadProjectFile(unreadable, ProjectHeader());
    GTEST_SKIP() << unreadable << " reads without an error here";
  } catch (const InOutError&) {
  }
  Harness h;
  h.New(kFord);
  const AppState before = h.state;
  EXPECT_THROW(h.Open(unreadable), InOutError);
  ExpectSameProject(h.state, before);
}

WindowLook ProjectLook(const std::string& fileName, bool save, bool connected) {
  WindowLook look;
  look.caption = kProgramTitle + fileName;
  look.fileSave = save;
  look.fileSaveAs = look.fileClose = look.editProject = look.editMatch = true;
  look.boxUpdate = look.boxRetrieve = look.projectControls = look.potArrows = true;
  look.live = connected;
  look.abortBtnEnabled = look.abortBtnVisible = true;
  look.abortBtnCaption = connected ? "Monitor" : "Connect";
  look.sioLabel = connected ? "Idle" : "(not connected)";
  look.vInLabel = "V In Meter: (none)";
  look.vOutLabel = "V Out Meter: (none)";
  return look;
}

TEST(RefreshWindow, LookFollowsTheProjectState) {
  const std::string path = "/x/p.VYK";
  WindowLook none;
  none.caption = kProgramTitle;
  none.sioLabel = "(not connected)";
  none.modeControls = false;
  struct Case {
    ProjectState state;
    bool modified;
    bool connected;
    WindowLook expected;
  } cases[] = {
      {ProjectState::NoProject, true, true, none},
      {ProjectState::NewProject, true, false, ProjectLook("(new)*", true, false)},
      {ProjectState::NewProject, false, true, ProjectLook("(new)", true, true)},
      {ProjectState::StoredProject, false, false, ProjectLook(path, false, false)},
      {ProjectState::StoredProject, true, true, ProjectLook(path + "*", true, true)},
  };
  for (const auto& c : cases) {
    Harness h;
    h.New(kFord);
    h.state.projectState = c.state;
    h.state.projectModified = c.modified;
    h.state.boxConnected = c.connected;
    h.state.projectFileName = path;
    RefreshWindow(h.session);
    EXPECT_EQ(h.view.lastLook, c.expected) << "caption " << h.view.lastLook.caption;
  }
}

// Showing a project must not store anything: the handlers that showing runs keep the image.
TEST(ShowingAProject, NewGivesTheGroupsImageWhateverCameBefore) {
  for (std::optional<uint8_t> previous : {std::optional<uint8_t>(), std::optional(kFord),
                                          std::optional(kGM), std::optional(kImport)}) {
    for (uint8_t group : {kFord, kGM, kImport}) {
      SCOPED_TRACE(::testing::Message()
                   << "previous " << (previous ? int(*previous) : -1) << " group " << int(group));
      Harness h;
      if (previous) h.New(*previous);
      h.New(group);
      EXPECT_EQ(h.state.image, NewImage(group));
    }
  }
}

// Walks Open over files of every output kind (mode bits 00 and 11 included), starting from
// the program's own states: only the input/output code, which nothing reads, may change.
TEST(ShowingAProject, OpenLoadsTheFileAndChangesNoStoredByte) {
  struct File {
    uint8_t group;
    uint8_t mode;
    int limit;
  } files[] = {
      {kGM, 0x01, 900},  // a voltage limit above what a voltage text reaches at 6 V
      {kGM, 0x0A, 1023},    {kGM, 0x00, 5},        {kFord, 0x03, 900},  {kFord, 0x1A, 0},
      {kImport, 0x0B, 853}, {kFord, 0xE0, 0xFFFF}, {kGM, 0xFF, 0x1234}, {7, 0x02, 1000},
  };
  TempFolder folder;
  const std::string path = folder.File("walk.VYK");
  for (std::optional<uint8_t> previous :
       {std::optional<uint8_t>(), std::optional(kFord), std::optional(kGM)}) {
    Harness h;
    if (previous) h.New(*previous);
    for (const auto& f : files) {
      SCOPED_TRACE(::testing::Message()
                   << "previous " << (previous ? int(*previous) : -1) << " group " << int(f.group)
                   << " mode " << int(f.mode) << " limit " << f.limit);
      ProjectHeader header;
      header.SetFixedFields();
      header.SetGroup(f.group);
      header.SetByteAt(ProjectHeader::kIoCode, 0x77);
      header.SetByteAt(300, 0xAB);
      EepromImage image = NewImage(f.group == kGM ? kGM : kFord);
      image.SetByte(kModeByte, f.mode);
      image.SetEntry(kLimitEntry, f.limit);
      const uint8_t pots[] = {5, 200, 99, 0};
      for (int k = 0; k < 4; ++k)
        image.SetByte(kFirstPotByte + k, pots[k]);
      WriteProjectFile(path, header, image);
      h.dialogs.messages.clear();
      h.Open(path);
      EXPECT_THAT(h.dialogs.Texts(FakeDialogs::Kind::Information), ElementsAre(path + " loaded"));
      EXPECT_THAT(h.dialogs.Texts(FakeDialogs::Kind::Error), IsEmpty());
      EXPECT_EQ(h.state.image, image);
      header.SetByteAt(ProjectHeader::kIoCode, h.state.header.IoCode());
      EXPECT_EQ(h.state.header, header);
      EXPECT_EQ(h.state.controls.potTexts, (std::array<std::string, 4>{"5", "-56", "99", "0"}));
      EXPECT_EQ(h.state.projectState, ProjectState::StoredProject);
      EXPECT_EQ(h.state.projectFileName, path);
      EXPECT_EQ(h.state.conversion, ConversionSettings::ForGroup(f.group));
      if (f.group <= kImport) {
        EXPECT_EQ(h.state.meterFolder, "app" + kSep + GroupName(f.group) + kSep);
      }
    }
  }
}

// A failed Open reports the error and leaves the project on screen as it was.
TEST(FileOpen, ReadErrorsChangeNothing) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "folder.VYK");
  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // nothing: no file is written
    const char* message;
  } cases[] = {
      {"missing.VYK", {}, " not found"},
      {"folder.VYK", {}, "Error (1) reading "},
      {"empty.VYK", FileBytes(0, 48, 32), "Error (2) reading "},
      {"15.VYK", FileBytes(15, 48, 32), "Error (2) reading "},
      {"47.VYK", FileBytes(768, 47, 32), "Error (2) reading "},
      {"16.VYK", FileBytes(16, 48, 32), "Error (3) reading "},
      {"511.VYK", FileBytes(511, 48, 32), "Error (3) reading "},
      {"512.VYK", FileBytes(512, 48, 32), "Error (4) reading "},
      {"767.VYK", FileBytes(767, 48, 32), "Error (4) reading "},
      {"33.VYK", FileBytes(49 * 16, 49, 33), "Error (5) reading "},
      {"0.VYK", FileBytes(16 * 16, 16, 0), "Error (5) reading "},
      {"minus.VYK", FileBytes(16 * 16, 15, -1), "Error (5) reading "},
  };
  Harness h;
  h.New(kFord);
  std::string saved = folder.File("saved.VYK");
  h.dialogs.fileNames.push_back(saved);
  FileSaveAsClick(h.session);
  h.state.image.SetEntry(3, 500);
  h.state.projectModified = true;
  const AppState before = h.state;

  for (const auto& c : cases) {
    std::string path = folder.File(c.name);
    SCOPED_TRACE(path);
    if (c.bytes) WriteBytes(path, *c.bytes);
    h.dialogs.messages.clear();
    h.Open(path);
    std::string expected =
        std::string(c.message).starts_with(" ") ? path + c.message : c.message + path;
    EXPECT_THAT(h.dialogs.Texts(test::FakeDialogs::Kind::Error), ::testing::ElementsAre(expected));
    EXPECT_TRUE(h.dialogs.Texts(test::FakeDialogs::Kind::Information).empty());
    EXPECT_EQ(h.state.header, before.header);
    EXPECT_EQ(h.state.image, before.image);
    EXPECT_EQ(h.state.projectFileName, saved);
    EXPECT_EQ(h.state.projectState, ProjectState::StoredProject);
    EXPECT_TRUE(h.state.projectModified);
    EXPECT_EQ(h.state.conversion, before.conversion);
  }
}

// What follows the image: a file of 768 bytes opens and saves byte for byte; other bytes are
// not read; the record of how the table was made is read and written back; a damaged one warns
// once on open and is kept at the save only when the user says so.
TEST(ProjectFileBlock, OpensAndSavesWhatFollowsTheImage) {
  const Provenance made = SampleProvenance();
  const std::string block = WriteProvenance(made, ImageOf(made));
  std::string damaged = block;
  damaged[200] ^= 0x40;
  std::string newer = block;
  newer[4] = 2;
  struct Case {
    const char* name;
    std::string after;
    std::optional<Answer> keep;  // the answer at the save; nothing: no question
    int warnings;
    bool kept;
    std::string saved;
  } cases[] = {
      {"768 bytes", "", std::nullopt, 0, false, ""},
      {"other bytes", "a note", std::nullopt, 0, false, ""},
      {"block", block, std::nullopt, 0, true, block},
      {"damaged, kept", damaged, Answer::Yes, 1, false, damaged},
      {"damaged, dropped", damaged, Answer::No, 1, false, ""},
      {"newer version, kept unasked", newer, std::nullopt, 1, false, newer},
  };
  TempFolder folder;
  const std::string path = folder.File("block.VYK");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectHeader header;
    header.SetFixedFields();
    header.SetGroup(kGM);
    header.SetInt32At(ProjectHeader::kSaved, kToday);
    WriteProjectFile(path, header, ImageOf(made), c.after);
    const std::string before = ReadBytes(path);
    Harness h;
    h.Open(path);
    EXPECT_EQ(h.dialogs.Texts(FakeDialogs::Kind::Warning).size(), static_cast<size_t>(c.warnings));
    EXPECT_EQ(h.state.provenance.has_value(), c.kept);
    if (c.keep) h.dialogs.answers.push_back(*c.keep);
    h.dialogs.messages.clear();
    ASSERT_TRUE(FileSaveClick(h.session));
    EXPECT_EQ(h.dialogs.Texts(FakeDialogs::Kind::Question).size(), c.keep ? 1u : 0u);
    std::string expected = before.substr(0, kProjectFileSize) + c.saved;
    expected[ProjectHeader::kIoCode] = static_cast<char>(h.state.header.IoCode());  // as shown
    EXPECT_EQ(ReadBytes(path), expected);
  }
}

}  // namespace
}  // namespace vyk

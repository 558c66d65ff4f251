// The meter editor's file flows: the save question, Save / Copy / Open / Convert, and what
// a .maf file holds after a round trip through the window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "model/errors.h"
#include "operations/meters/meter_form.h"
#include "support/fakes.h"

namespace vyk {
namespace {

using test::FakeDialogs;
using Kind = FakeDialogs::Kind;
using test::ReadBytes;
using test::WriteBytes;

struct Editor {
  test::TempFolder folder;
  AppState state;
  FakeDialogs dialogs;
  MeterForm form{dialogs, state};

  Editor() {
    state.appFolder = folder.File("app/");
    state.meterFolder = folder.File("Ford/");
    form.FormActivate();
  }

  // A complete meter typed in, one point, not yet saved.
  void Fill() {
    form.SetPartNumber("PN-1");
    form.SetDescriptionLines({"First line"});
    form.Grid().SetEditText(1, 0, "1.5");
    form.Grid().SetEditText(1, 1, "20");
  }

  // Opens the file through the Open button.
  void OpenFile(const std::string& path) {
    dialogs.fileNames.push_back(path);
    form.Open();
  }
};

TEST(MeterForm, SaveQuestionAnswers) {
  struct Case {
    bool modified;
    Answer answer;  // to "Save current meter data?"
    Answer result;
    bool written;
  } cases[] = {
      {false, Answer::Cancel, Answer::Yes, false},
      {true, Answer::No, Answer::No, false},
      {true, Answer::Cancel, Answer::Cancel, false},
      {true, Answer::Yes, Answer::Yes, true},
  };
  for (const auto& c : cases) {
    Editor e;
    e.Fill();
    e.dialogs.fileNames.push_back(e.folder.File("a.maf"));
    e.form.Copy();
    e.form.SetModified(c.modified);
    if (c.modified) e.dialogs.answers.push_back(c.answer);
    std::remove(e.folder.File("a.maf").c_str());
    EXPECT_EQ(e.form.QuerySave(), c.result);
    EXPECT_EQ(e.dialogs.Texts(Kind::Question).size(), c.modified ? 1u : 0u);
    EXPECT_EQ(std::ifstream(e.folder.File("a.maf")).is_open(), c.written);
    EXPECT_EQ(e.form.Modified(), c.modified && !c.written);
  }
}

TEST(MeterForm, SaveAsksForANameOnlyWhenUntitledCopyAlways) {
  Editor e;
  e.Fill();
  e.dialogs.fileNames = {e.folder.File("a.maf"), e.folder.File("b.maf")};
  e.form.Save();
  ASSERT_EQ(e.dialogs.fileRequests.size(), 1u);
  const FileDialogRequest& request = e.dialogs.fileRequests[0];
  EXPECT_EQ(request.folder, e.state.meterFolder);
  EXPECT_EQ(request.filter, "MAF files (*.maf)|*.maf");
  EXPECT_EQ(request.defaultExtension, "maf");
  EXPECT_TRUE(request.confirmOverwrite);
  EXPECT_EQ(e.form.Caption(), "Mass Air Meter Editor - " + e.folder.File("a.maf"));
  EXPECT_FALSE(e.form.Modified());

  e.form.SetPartNumber("PN-2");
  e.form.Save();
  EXPECT_EQ(e.dialogs.fileRequests.size(), 1u);
  e.form.Copy();
  EXPECT_EQ(e.dialogs.fileRequests.size(), 2u);
  EXPECT_EQ(e.form.MeterFileName(), e.folder.File("b.maf"));
  EXPECT_EQ(ReadBytes(e.folder.File("a.maf")), ReadBytes(e.folder.File("b.maf")));
}

TEST(MeterForm, SavedFieldsAreCutToTheirFields) {
  Editor e;
  e.Fill();
  e.form.SetPartNumber("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
  e.form.SetDescriptionLines({"one", "two", "three"});
  e.form.SetFrequency(true);
  e.dialogs.fileNames.push_back(e.folder.File("a.maf"));
  e.form.Copy();
  e.form.SetFrequency(false);
  e.form.SetModified(false);
  e.OpenFile(e.folder.File("a.maf"));
  EXPECT_EQ(e.form.PartNumber(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(e.form.DescriptionLines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(e.form.Frequency());
  EXPECT_EQ(e.form.Grid().Cell(1, 0), "1.5");
  EXPECT_EQ(e.form.MeterBuffer().SignalValue(1), 1.5f);
  EXPECT_FALSE(e.form.Modified());
}

// New with unsaved changes: a save the form refuses keeps the meter and its Modified; a
// cancelled file dialog, or No, lets New clear it.
TEST(MeterForm, NewWithUnsavedChanges) {
  struct Case {
    std::vector<std::string> description;
    const char* partNumber;
    uint8_t group;
    Answer answer;
    std::vector<std::string> errors;
    FormFocus focus;  // where the refusal sends the focus
  } cases[] = {
      {{"d"}, "PN-1", 0, Answer::Yes, {}, FormFocus::None},  // the file dialog is cancelled
      {{"d"}, "PN-1", 0, Answer::No, {}, FormFocus::None},
      {{""}, "PN-1", 0, Answer::Yes, {"Please enter a valid description."}, FormFocus::Description},
      {{"d"}, "", 0, Answer::Yes, {"Please enter a valid part number."}, FormFocus::PartNumber},
      {{"d"}, "PN-1", 3, Answer::Yes, {"Invalid mode"}, FormFocus::None},
  };
  for (const auto& c : cases) {
    Editor e;
    e.Fill();
    e.form.SetMetric(false);
    e.form.SetDescriptionLines(c.description);
    e.form.SetPartNumber(c.partNumber);
    e.state.header.SetGroup(c.group);
    e.dialogs.answers.push_back(c.answer);
    const bool refused = !c.errors.empty();
    if (c.answer == Answer::Yes && !refused) e.dialogs.fileNames.push_back(std::nullopt);
    if (c.answer == Answer::No) e.form.Grid().SetCell(1, 1, ".");  // dropped, never converted
    e.form.New();
    EXPECT_EQ(e.dialogs.Texts(Kind::Error), c.errors);
    EXPECT_EQ(e.form.TakeFocus(), c.focus);
    EXPECT_EQ(e.form.TakeFocus(), FormFocus::None);  // told once
    EXPECT_EQ(e.form.Grid().RowCount(), refused ? 3 : 2);
    EXPECT_EQ(e.form.Metric(), !refused);
    EXPECT_TRUE(e.form.Modified());
  }
}

TEST(MeterForm, OpenAndSaveWritesTheFileBackByteForByte) {
  Editor e;
  MeterRecord record;
  for (int i = 0; i < kMeterRecordSize; ++i)
    record.Bytes()[i] = static_cast<uint8_t>(i * 37 + 11);
  record.SetPartNumber("PN-7");
  record.Bytes()[MeterRecord::kIsMetric] = 7;  // any non-zero value is Metric
  record.Bytes()[MeterRecord::kIsFrequency] = 0;
  record.SetDescription1("Line one");
  record.SetDescription2("");
  record.SetPointCount(2);
  const char* texts[][2] = {{"0.50", "10.00"}, {"4.85", "100.00"}};
  for (int i = 1; i <= 2; ++i) {
    record.SetSignalText(i, texts[i - 1][0]);
    record.SetSignalValue(i, std::stof(texts[i - 1][0]));
    record.SetFlowText(i, texts[i - 1][1]);
    record.SetFlowValue(i, std::stof(texts[i - 1][1]));
  }
  const std::string bytes(reinterpret_cast<const char*>(record.Bytes().data()), kMeterRecordSize);
  WriteBytes(e.folder.File("m.maf"), bytes);

  e.OpenFile(e.folder.File("m.maf"));
  EXPECT_EQ(e.form.Caption(), "Mass Air Meter Editor - " + e.folder.File("m.maf"));
  e.form.Save();
  EXPECT_TRUE(e.dialogs.messages.empty());
  EXPECT_EQ(ReadBytes(e.folder.File("m.maf")), bytes);

  // A file that ends before the descriptions shows them empty, not the last meter's.
  WriteBytes(e.folder.File("short.maf"), bytes.substr(0, 2048));
  e.OpenFile(e.folder.File("short.maf"));
  EXPECT_EQ(e.form.DescriptionLines(), (std::vector<std::string>{"", ""}));
}

TEST(MeterForm, OpenStopsAfter62Points) {
  Editor e;
  MeterRecord record;
  record.SetPartNumber("PN");
  record.SetPointCount(70);
  for (int i = 1; i <= kMaxMeterPoints; ++i) {
    record.SetSignalText(i, std::to_string(i));
    record.SetFlowText(i, std::to_string(i));
  }
  WriteMeterFile(e.folder.File("m.maf"), record);
  e.dialogs.fileNames.push_back(e.folder.File("m.maf"));
  EXPECT_THROW(e.form.Open(), RangeError);
  EXPECT_EQ(e.form.Grid().RowCount(), kMaxMeterPoints + 2);
  EXPECT_EQ(e.form.MeterFileName(), "");
  EXPECT_EQ(e.form.Caption(), "Mass Air Meter Editor");

  e.dialogs.fileNames.push_back(e.folder.File("missing.maf"));
  e.dialogs.answers.push_back(Answer::No);
  e.form.Open();
  EXPECT_EQ(e.dialogs.Texts(Kind::Error),
            std::vector<std::string>{"The specified file was not found."});
}

TEST(MeterForm, ConvertShowsTheImportUntitledOrLeavesTheWindowOnFailure) {
  Editor e;
  std::string text = "PN-9\r\nVolts\r\nlb/hr\r\nd1\r\nImported\r\n3 30\r\n1 10\r\n";
  WriteBytes(e.folder.File("ok.txt"), text);
  for (int i = 0; i < 61; ++i)
    text += std::to_string(i + 4) + " 1\r\n";
  WriteBytes(e.folder.File("long.txt"), text);

  e.Fill();
  e.dialogs.fileNames.push_back(e.folder.File("a.maf"));
  e.form.Copy();
  e.dialogs.fileNames.push_back(e.folder.File("long.txt"));
  EXPECT_THROW(e.form.Convert(), RangeError);
  EXPECT_EQ(e.form.PartNumber(), "PN-1");
  EXPECT_EQ(e.form.MeterFileName(), e.folder.File("a.maf"));
  EXPECT_EQ(e.form.MeterBuffer().PointCount(), 1);

  e.dialogs.fileNames.push_back(e.folder.File("ok.txt"));
  e.form.Convert();
  EXPECT_EQ(e.dialogs.fileRequests.back().folder, e.state.appFolder);
  EXPECT_EQ(e.dialogs.fileRequests.back().filter, "Text files (*.txt)|*.txt");
  EXPECT_EQ(e.form.Caption(), "Mass Air Meter Editor");
  EXPECT_EQ(e.form.DescriptionLines(), (std::vector<std::string>{"", "Imported"}));
  EXPECT_FALSE(e.form.Metric());
  EXPECT_EQ(e.form.Grid().Cell(1, 0), "1.00");  // sorted
  EXPECT_TRUE(e.form.Modified());               // the part number changed on screen
  e.dialogs.fileNames.push_back(std::nullopt);
  e.form.Save();
  EXPECT_EQ(e.dialogs.fileRequests.size(), 4u);  // untitled: Save asks
}

}  // namespace
}  // namespace vyk

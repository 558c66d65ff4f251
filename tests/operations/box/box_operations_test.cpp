#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "model/errors.h"
#include "model/records/project_file.h"
#include "model/text/hex_text.h"
#include "operations/project/main_controls.h"
#include "operations/table/image_grids.h"
#include "support/box_harness.h"
#include "support/fault_sample.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

SimBoxConfig Box(char letter = 'G') {
  SimBoxConfig c;
  c.groupLetter = letter;
  c.baud = 9600;
  return c;
}

// A GM project, identified against a simulated GM Box.
struct GmProject : SimHarness {
  explicit GmProject(SimBoxConfig config = Box()) : SimHarness(config) {
    New(kGM);
    dialogs.messages.clear();
    commands.clear();
  }
  std::vector<std::string> Errors() const { return dialogs.Texts(Kind::Error); }
};

TEST(ConnectBox, ChecksTheLetterAndTheVersion) {
  struct Case {
    uint8_t group;
    std::string reply;
    std::string message;  // empty: identified
  } cases[] = {
      {kGM, "\r\nG1.0 Box\r\n>", ""},
      {kFord, "\r\nV 1  Box\r\n>", ""},
      {kGM, "\r\nV1.0 Box\r\n>", "GM version hardware not found"},
      {kImport, "\r\nV1.0 Box\r\n>", "Import version hardware not found"},
      {kGM, "\r\nG1.0 B>", "Invalid response from hardware (error 2)"},  // 9 characters
      {kGM, "\r\nG10  Box\r\n>", "Incorrect hardware version"},
      {kGM, "\r\nG1.1 Box\r\n>", "Incorrect hardware version"},
      {kGM, "\r\nG0.9 Box\r\n>", "Incorrect hardware version"},  // 0.9f * 10 truncates to 8
      {kGM, "\r\nG1.x Box\r\n>", "Invalid response from hardware (error 4)"},
      {7, "\r\nZ1.0 Box\r\n>", ""},  // an unknown group skips the letter
  };
  for (const Case& c : cases) {
    ScriptedHarness h;
    h.state.header.SetFixedFields();
    h.port.replies = {"\r\n>", c.reply};
    bool ok = ConnectBox(h.session, h.link, c.group);
    EXPECT_EQ(ok, c.message.empty()) << c.reply;
    EXPECT_EQ(h.state.boxConnected, ok);
    EXPECT_EQ(h.dialogs.Texts(Kind::Error),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
        << c.reply;
  }
}

TEST(ConnectBox, NoAnswerIsHardwareNotFoundAfterTwoSeconds) {
  ScriptedHarness h;
  h.port.silent = true;
  double start = h.pump.NowMs();
  EXPECT_FALSE(ConnectBox(h.session, h.link, kGM));
  EXPECT_DOUBLE_EQ(h.pump.NowMs() - start, 2000);
  EXPECT_EQ(h.dialogs.Texts(Kind::Error), std::vector<std::string>{"Hardware not found"});
}

TEST(ConnectBox, NewConnectsToTheSimulatedBoxAndTheButtonBecomesMonitor) {
  GmProject h;
  EXPECT_TRUE(h.state.boxConnected);
  EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor);
  EXPECT_EQ(h.view.lastLook.sioLabel, "Idle");
  GmProject ford(Box('V'));
  EXPECT_FALSE(ford.state.boxConnected);  // a GM project on a Ford Box
  EXPECT_EQ(ford.view.lastLook.abortBtnCaption, "Connect");
}

TEST(Monitor, TheOffsetsBendTheCurve) {
  EXPECT_EQ(AdjustedCounts(NewImage(kImport), {0, 0, 0, 0})[17], 17 * 32);
  std::vector<int> bent = AdjustedCounts(NewImage(kImport), {8, 0, 0, 0});
  std::vector<int> a;
  for (int x = 0; x < 13; ++x)
    a.push_back(bent[x] - 32 * x);
  EXPECT_EQ(a, (std::vector<int>{0, 2, 4, 6, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  std::vector<int> negative = AdjustedCounts(NewImage(kImport), {-3, 0, 0, 0});
  EXPECT_EQ(negative[1] - 32, 0);  // -3 / 4 truncates toward zero
  EXPECT_EQ(negative[3] - 96, -2);
  {
    EepromImage image = NewImage(kImport);
    image.SetEntry(4, 1020);
    image.SetEntry(12, 5);
    std::vector<int> clamped = AdjustedCounts(image, {10, -10, 0, 0});
    EXPECT_EQ(clamped[4], 1023);
    EXPECT_EQ(clamped[12], 0);
  }
}

TEST(Monitor, ASampleShowsTheReadingAndTheAdjustedCurve) {
  SimBoxConfig config = Box();
  config.input = 0x0100;
  config.output = 0x03FF;
  config.offsets = {0xFFF0, 0, 0, 0};  // -16
  GmProject h(config);
  MonitorReading reading;
  ASSERT_TRUE(MonitorSample(h.session, h.link, &reading));
  EXPECT_EQ(reading.offsets[0], -16);
  EXPECT_EQ(h.state.controls.dataInLabel, "F in =  3378 ");
  EXPECT_EQ(h.state.controls.dataOutLabel, "F Out =  13500 ");
  ASSERT_EQ(h.state.chart.series2.size(), 32u);
  EXPECT_EQ(h.state.chart.series2[4].y, (128 - 16) * 13.19648f);
  EXPECT_FLOAT_EQ(h.state.chart.series2[4].x, 4 * 32 * 13.19648f);  // hertz of frequency input
  EXPECT_EQ(h.state.chart.series2[0], h.state.chart.series1[0]);

  // A reading of 0x8000 or more is refused by the conversions after the curve is drawn.
  h.port.Box().Config().input = 0x8000;
  EXPECT_THROW(MonitorSample(h.session, h.link), RangeError);
  EXPECT_EQ(h.state.controls.dataInLabel, "F in =  3378 ");
}

// The adjusted curve and the labels are the Box's reading of the project on screen: they go with
// that project, stay through edits of the table and show again in other kinds.
TEST(Monitor, TheAdjustedCurveGoesWithItsProjectAndItsUnits) {
  TempFolder folder;
  const std::string path = folder.File("other.VYK");
  ProjectHeader header;
  header.SetFixedFields();
  header.SetGroup(kGM);
  WriteProjectFile(path, header, NewImage(kGM));
  struct Case {
    const char* then;
    std::function<void(GmProject&)> act;
    bool kept;
    const char* inLabel;  // how the input's label starts; nothing: not looked at
  } cases[] = {
      {"New for Ford", [](GmProject& h) { h.New(kFord); }, false, ""},
      {"New for GM", [](GmProject& h) { h.New(kGM); }, false, ""},
      {"Open", [&](GmProject& h) { h.Open(path); }, false, ""},
      {"Close",
       [](GmProject& h) {
         if (h.state.projectModified) h.dialogs.answers.push_back(Answer::No);
         FileCloseClick(h.session);
       },
       false, nullptr},
      {"input in volts", [](GmProject& h) { SetInputRGrp(h.session, kVoltage); }, true, "V in = "},
      {"a table entry typed", [](GmProject& h) { TableGridSetEditText(h.session, 1, 2, "1000"); },
       true, "F in = "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.then);
    GmProject h;
    ASSERT_TRUE(MonitorSample(h.session, h.link));
    ASSERT_EQ(h.state.chart.series2.size(), 32u);
    const int redrawn = h.view.chartChanges;
    c.act(h);
    EXPECT_EQ(h.state.chart.series2.empty(), !c.kept);
    if (!c.kept) {
      EXPECT_GT(h.view.chartChanges, redrawn);
    }
    if (c.inLabel != nullptr) {
      const std::string& in = h.state.controls.dataInLabel;
      EXPECT_EQ(in.substr(0, std::strlen(c.inLabel)), c.inLabel);
      EXPECT_EQ(in.empty(), *c.inLabel == 0);
    }
    if (c.kept) {
      EXPECT_LT(h.state.chart.series2.back().x, c.inLabel[0] == 'V' ? 6 : 20000);
    }
  }
}

// A field that is not four hexadecimal digits is no more a reading than a short line is.
TEST(Monitor, AShortOrGarbledLineIsError2) {
  const std::string zeros(40, '0');
  for (const std::string& line :
       {std::string(43, '0') + ">", "01G0" + zeros + ">", "0000 00 0" + zeros.substr(5) + ">",
        zeros + "03F?>", std::string(44, '\xC0') + ">"}) {
    ScriptedHarness h;
    h.port.replies = {"\r\n>", "\r\n" + line};
    EXPECT_FALSE(MonitorSample(h.session, h.link));
    EXPECT_EQ(h.dialogs.Texts(Kind::Error),
              std::vector<std::string>{"Invalid response from hardware (error 2)"});
    EXPECT_TRUE(h.state.chart.series2.empty() && h.state.controls.dataInLabel.empty()) << line;
  }
}

// The empty command, "Q" to check the Box right before the write, then each address written
// and read back.
TEST(Update, WritesAndVerifiesEightyBytesWith162Commands) {
  GmProject h;
  h.dialogs.answers = {Answer::Yes};
  int progress = 0;
  BoxUpdateClick(h.session, h.link, [&](int done) { progress = done; });
  EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
  EXPECT_EQ(h.commands.size(), 162u);
  EXPECT_EQ(h.commands[1], "Q");
  EXPECT_EQ(h.commands[2], "C0000");
  EXPECT_EQ(h.commands[3], "C00*");
  EXPECT_EQ(progress, 80);
  for (int a = 0; a < 80; ++a)
    EXPECT_EQ(h.port.Box().Eeprom()[a], h.state.image.Byte(a)) << a;
  EXPECT_EQ(h.port.Box().Eeprom()[80], 0xFF);  // nothing past 0x4F
  EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor);
}

TEST(Update, EachFaultEndsTheTransferWithItsMessage) {
  struct Case {
    const char* name;
    void (*fault)(SimBoxConfig&);
    std::string message;
    std::string held;  // what the one box says the Box holds; empty: nothing was written
  } cases[] = {
      {"silent", [](SimBoxConfig& c) { c.stopAfterBytes = 1; }, "Hardware not found", ""},
      {"wrong ack", [](SimBoxConfig& c) { c.wrongAcknowledge = true; },
       "Hardware did not acknowledge", kNothingStored},
      {"stops mid-way", [](SimBoxConfig& c) { c.stopAfterBytes = 200; },
       "Hardware did not acknowledge", PartialText("10")},
      {"line closed", [](SimBoxConfig& c) { c.closeAfterBytes = 100; },
       "The connection to test was lost (the simulated Box closed the line)", PartialText("07")},
      {"a clean read-back with one bit flipped", [](SimBoxConfig& c) { c.flipBitAddress = 0x00; },
       "Verify error: 00 \r\n01+", PartialText("", "00")},
      {"another group's Box", [](SimBoxConfig& c) { c.groupLetter = 'V'; },
       "GM version hardware not found", ""},
  };
  for (const Case& c : cases) {
    GmProject h;
    c.fault(h.port.Box().Config());
    h.dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(BoxUpdateClick(h.session, h.link));
    const std::string expected = c.held.empty() ? c.message : c.message + "\n" + c.held;
    EXPECT_EQ(h.dialogs.Texts(Kind::Error), std::vector<std::string>{expected}) << c.name;
    EXPECT_EQ(h.state.boxPartial, c.held.rfind("The Box holds", 0) == 0) << c.name;
    EXPECT_FALSE(h.link.Busy());
  }
}

// A read-back garbled on the line tells nothing of the byte: it is asked for once more, and a
// second garbled one is a verify error.
TEST(Update, AGarbledReadBackIsReadAgainOnce) {
  for (int garbled : {1, 2}) {
    GmProject h;
    // Byte 03 of a GM image is 20; its read-back is the Box's line 10 after the 4 of the
    // identification, and the first digit of its answer that line's byte 7.
    SimBoxConfig& c = h.port.Box().Config();
    c.lineFault = LineFault::Corrupt;
    c.faultLine = h.port.Box().LinesReceived() + 10;
    c.faultByte = 7;
    // The Box sends 4 bytes for the empty command, 15 for "Q" and 25 for each address (the
    // write's 6 echoes, CR LF + and CR LF >, the read's 5 echoes, CR LF, two digits, + and
    // CR LF >); the read asked again follows the garbled one.
    if (garbled == 2) c.corruptNthOutput = h.port.Box().BytesSent() + 4 + 15 + 3 * 25 + 25 + 8;
    h.dialogs.answers = {Answer::Yes};
    EXPECT_EQ(BoxUpdateClick(h.session, h.link), garbled == 1);
    EXPECT_EQ(h.commands[10], "C03*");  // asked again
    if (garbled == 1) {
      EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
      EXPECT_EQ(h.commands.size(), 163u);
    } else {
      EXPECT_EQ(h.dialogs.Texts(Kind::Error), std::vector<std::string>{"Verify error: 20 \r\n\xCD"
                                                                       "0+\n" +
                                                                       PartialText("02", "03")});
    }
  }
}

// Bytes 0.. of the Box that hold the image, counted from 0.
int BytesWritten(GmProject& h) {
  int written = 0;
  while (written < 80 && h.port.Box().Eeprom()[written] == h.state.image.Byte(written))
    ++written;
  return written;
}

TEST(Update, AbortStopsAfterTheExchangeInProgress) {
  for (double at : {5.0, 300.0, 1500.0}) {
    GmProject h;
    h.dialogs.answers = {Answer::Yes};
    h.pump.Post(at, [&h] { AbortBtnClick(h.session, h.link); });
    BoxUpdateClick(h.session, h.link);
    EXPECT_LT(BytesWritten(h), 80) << at;
    EXPECT_EQ(h.state.boxPartial, at > 5) << at;  // at 5 ms no write has gone out
    EXPECT_FALSE(h.state.abortRequest);
    EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor);
  }
}

// An Abort pressed while the Box stores a byte ends the Update there: not even its read-back
// goes out.
TEST(Update, AbortDuringTheWaitAfterAWriteSendsNoFurtherCommand) {
  SimBoxConfig config = Box();
  config.eepromWriteMs = 200;
  GmProject h(config);
  h.link.terminalEcho = [&h](uint8_t byte) {
    if (byte == '+' && h.commands.back() == "C0000") AbortBtnClick(h.session, h.link);
  };
  h.dialogs.answers = {Answer::Yes};
  EXPECT_FALSE(BoxUpdateClick(h.session, h.link));
  EXPECT_EQ(h.commands, (std::vector<std::string>{"", "Q", "C0000"}));
  EXPECT_EQ(h.state.boxUnsureAddress, 0);
}

// An aborted Update shows no box: the window names the addresses acknowledged and verified
// until an update completes. A first write the Box never acknowledged left nothing to name.
TEST(Update, AnAbortedUpdateShowsWhatTheBoxHolds) {
  for (const bool acknowledged : {true, false}) {
    GmProject h;
    // Silent from the first write on: the wake-up CRs, the empty line and "Q" make 5 bytes.
    if (!acknowledged) h.port.Box().Config().stopAfterBytes = 5;
    h.dialogs.answers = {Answer::Yes};
    h.pump.Post(acknowledged ? 300 : 1500, [&h] { AbortBtnClick(h.session, h.link); });
    BoxUpdateClick(h.session, h.link);
    EXPECT_EQ(h.dialogs.Texts(Kind::Error), std::vector<std::string>{}) << acknowledged;
    const int last = BytesWritten(h) - 1;  // acknowledged, not verified
    auto hex = [](int a) { return FormatHex(static_cast<uint32_t>(a), 2); };
    RefreshWindow(h.session);  // any later refresh still shows it
    EXPECT_EQ(h.view.lastLook.notice, acknowledged ? PartialText(hex(last - 1), hex(last)) : "");
    EXPECT_EQ(h.view.lastLook.sioLabel, acknowledged ? "Partial 00.." + hex(last) : "Idle");

    h.port.Box().Config().stopAfterBytes = 0;
    h.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(BoxUpdateClick(h.session, h.link));
    EXPECT_EQ(h.view.lastLook.notice, "");
    EXPECT_EQ(h.view.lastLook.sioLabel, "Idle");
  }
}

// A lost line shows in the status; the next exchange opens the device again by its name and
// finds the Box plugged back in.
TEST(Exchange, ALostLineIsOpenedAgainByTheNextExchange) {
  GmProject h;
  h.port.Box().Config().closeAfterBytes = 20;
  h.dialogs.answers = {Answer::Yes};
  BoxUpdateClick(h.session, h.link);
  EXPECT_EQ(h.view.lastLook.sioLabel, "(line lost)");
  h.port.Box().Config().closeAfterBytes = 0;
  h.port.Box().PlugIn();
  AbortBtnClick(h.session, h.link);             // Connect
  EXPECT_EQ(h.view.lastLook.sioLabel, "Idle");  // nor the lost Box's partial image
}

// The waits of a transfer let other events run: a project command, an edit or the refresh it
// runs must neither change the project under the transfer nor take its Abort away.
TEST(Exchange, ProjectCommandsWaitForTheTransferToEnd) {
  TempFolder tmp;
  const std::string fordFile = tmp.File("ford.VYK");
  ProjectHeader ford;
  ford.SetGroup(kFord);
  ford.SetFixedFields();
  WriteProjectFile(fordFile, ford, NewImage(kFord));
  struct Case {
    const char* name;
    std::function<void(GmProject&)> command;
  } cases[] = {
      {"new",
       [](GmProject& h) {
         h.dialogs.setups.push_back(ProjectSetup{FileText("Ford"), {}, kFord, false});
         FileNewClick(h.session);
       }},
      {"open", [&](GmProject& h) { OpenProjectFile(h.session, fordFile); }},
      {"close", [](GmProject& h) { FileCloseClick(h.session); }},
  };
  for (const Case& c : cases) {
    GmProject h;
    const AppState before = h.state;
    h.dialogs.answers = {Answer::Yes};
    h.pump.Post(300, [&] { c.command(h); });
    EXPECT_TRUE(BoxUpdateClick(h.session, h.link)) << c.name;
    EXPECT_TRUE(h.dialogs.messages.size() == 1) << c.name;  // the question only
    EXPECT_EQ(h.state.header, before.header) << c.name;
    EXPECT_EQ(h.state.image, before.image) << c.name;
    EXPECT_EQ(h.state.projectState, before.projectState) << c.name;
    EXPECT_EQ(BytesWritten(h), 80) << c.name;
    EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor) << c.name;
  }
}

TEST(Exchange, AnEditDuringATransferChangesNothingAndKeepsAbort) {
  struct Case {
    const char* name;
    void (*edit)(Session&);
  } cases[] = {
      {"pot arrow", [](Session& s) { AdjustPot(s, 2, +1); }},
      {"table cell", [](Session& s) { TableGridSetEditText(s, 1, 3, "1000"); }},
      {"byte cell", [](Session& s) { EepromGridSetEditText(s, 1, 1, "7F"); }},
      {"limit", [](Session& s) { SetLimitText(s, "100"); }},
      {"input kind", [](Session& s) { SetInputRGrp(s, kVoltage); }},
      {"invert", [](Session& s) { SetInvertLimit(s, true); }},
  };
  for (const Case& c : cases) {
    GmProject h;
    const AppState before = h.state;
    ButtonMode modeAfterEdit = ButtonMode::Connect;
    h.dialogs.answers = {Answer::Yes};
    h.pump.Post(300, [&h] { AbortBtnClick(h.session, h.link); });
    h.pump.Post(300, [&] {
      c.edit(h.session);
      modeAfterEdit = h.state.buttonMode;
    });
    EXPECT_FALSE(BoxUpdateClick(h.session, h.link)) << c.name;
    EXPECT_EQ(modeAfterEdit, ButtonMode::Abort) << c.name;
    EXPECT_LT(BytesWritten(h), 80) << c.name;  // the abort pressed before the edit still acts
    EXPECT_EQ(h.state.image, before.image) << c.name;
    EXPECT_EQ(h.state.projectModified, before.projectModified) << c.name;
  }
}

TEST(Update, NoChangesNothingAndASecondOperationIsRefused) {
  GmProject h;
  h.dialogs.answers = {Answer::No};
  BoxUpdateClick(h.session, h.link);
  EXPECT_TRUE(h.commands.empty());
  EXPECT_EQ(h.state.buttonMode, ButtonMode::Monitor);

  h.dialogs.answers = {Answer::Yes};
  bool monitored = true;
  h.pump.Post(50, [&] { monitored = MonitorSample(h.session, h.link); });
  BoxUpdateClick(h.session, h.link);
  EXPECT_FALSE(monitored);
  EXPECT_EQ(h.dialogs.Texts(Kind::Error), std::vector<std::string>{kBusyMessage});
  EXPECT_EQ(h.port.Box().Eeprom()[79], h.state.image.Byte(79));  // the update went on
}

TEST(Retrieve, ReadsTheBoxAndShowsItsSettings) {
  GmProject h;
  auto& eeprom = h.port.Box().Eeprom();
  for (int a = 0; a < 256; ++a)
    eeprom[a] = static_cast<uint8_t>(a);
  eeprom[kModeByte] = 0x11;  // voltage output, voltage input, inverted limit
  eeprom[67] = 200;
  h.state.projectModified = true;
  h.dialogs.answers = {Answer::Yes};
  BoxRetrieveClick(h.session, h.link);
  for (int a : {0, 65, 79})
    EXPECT_EQ(h.state.image.Byte(a), a == kModeByte ? 0x11 : a);
  EXPECT_EQ(h.state.image.Byte(80), 0xFF);
  EXPECT_EQ(h.state.controls.outputRGrp, kVoltage);
  EXPECT_EQ(h.state.controls.inputRGrp, kVoltage);
  EXPECT_TRUE(h.state.controls.invertLimit);
  EXPECT_EQ(h.state.controls.potTexts[0], "-56");
  EXPECT_EQ(h.state.image.Byte(kModeByte), 0x11);  // showing kept the mode byte
  EXPECT_TRUE(h.state.projectModified);
}

// The window that differs from its file after a Retrieve asks before it drops the Box's bytes.
TEST(Retrieve, LeavesTheProjectUnsavedWhenItDiffersFromItsFile) {
  struct Case {
    const char* name;
    bool saved;
    bool boxDiffers;
    bool modified;
  } cases[] = {
      {"never saved, same bytes", false, false, true},
      {"saved, same bytes", true, false, false},
      {"saved, other bytes", true, true, true},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    GmProject h;
    if (c.saved) {
      ASSERT_TRUE(h.SaveAs(folder.File("p.VYK"))) << c.name;
    }
    auto& eeprom = h.port.Box().Eeprom();
    std::copy(h.state.image.Bytes().begin(), h.state.image.Bytes().end(), eeprom.begin());
    if (c.boxDiffers) eeprom[3] ^= 0x10;
    h.dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(BoxRetrieveClick(h.session, h.link)) << c.name;
    EXPECT_EQ(h.state.projectModified, c.modified) << c.name;
  }
}

// Box bytes mixed with unsaved edits are neither: a retrieve that stops keeps the project.
TEST(Retrieve, AStopPartWayLeavesTheProjectAsItWas) {
  const std::string nothing =
      "Retrieve stopped before all 80 bytes were read: the project was not changed";
  struct Case {
    const char* name;
    double abortAt;  // 0: none
    long stopAfterBytes;
    std::vector<std::string> errors;
  } cases[] = {
      {"abort", 200, 0, {}},
      {"Box stops", 0, 300, {"Hardware did not acknowledge", nothing}},
  };
  for (const Case& c : cases) {
    GmProject h;
    AdjustPot(h.session, 1, +1);  // an unsaved edit
    const AppState before = h.state;
    h.port.Box().Eeprom().fill(0);
    h.port.Box().Config().stopAfterBytes = c.stopAfterBytes;
    h.dialogs.answers = {Answer::Yes};
    if (c.abortAt > 0) h.pump.Post(c.abortAt, [&h] { AbortBtnClick(h.session, h.link); });
    EXPECT_FALSE(BoxRetrieveClick(h.session, h.link)) << c.name;
    EXPECT_EQ(h.dialogs.Texts(Kind::Error), c.errors) << c.name;
    EXPECT_EQ(h.state.image, before.image) << c.name;
    EXPECT_TRUE(h.state.projectModified) << c.name;
    EXPECT_EQ(h.state.controls.potTexts, before.controls.potTexts) << c.name;
    EXPECT_EQ(h.state.controls.limitText, before.controls.limitText) << c.name;
  }
}

// A read answer whose value is not two hexadecimal digits is asked for once more.
TEST(Retrieve, AGarbledAnswerIsReadAgainOnce) {
  const EepromImage box = NewImage(kGM);
  auto answer = [](int value) {
    return "\r\n" + FormatHex(static_cast<uint32_t>(value), 2) + "+\r\n>";
  };
  const std::string garbled = "\r\nZ3+\r\n>";
  for (int garbledTimes : {1, 2}) {
    ScriptedHarness h;
    h.session.connectBox = nullptr;
    h.New(kFord);
    const AppState before = h.state;
    h.port.replies = {"\r\n>"};
    for (int a = 0; a < 80; ++a) {
      if (a == 0x1A)
        for (int k = 0; k < garbledTimes; ++k)
          h.port.replies.push_back(garbled);
      h.port.replies.push_back(answer(box.Byte(a)));
    }
    h.dialogs.messages.clear();
    h.dialogs.answers = {Answer::Yes};
    bool read = BoxRetrieveClick(h.session, h.link);
    if (garbledTimes == 1) {
      EXPECT_TRUE(read);
      EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
      for (int a = 0; a < 80; ++a)
        EXPECT_EQ(h.state.image.Byte(a), box.Byte(a)) << a;
    } else {
      EXPECT_FALSE(read);
      EXPECT_EQ(
          h.dialogs.Texts(Kind::Error),
          (std::vector<std::string>{
              "The Box answered address 1A with a garbled value twice",
              "Retrieve stopped before all 80 bytes were read: the project was not changed"}));
      EXPECT_EQ(h.state.image, before.image);
    }
  }
}

}  // namespace
}  // namespace vyk::test

// Every command of an Update (161) and of a Retrieve (81) broken on purpose, one fault at a
// time, against the simulated Box on the virtual clock: the transfer ends within its time-outs
// with its cause and what it left, or succeeds with the right bytes; never a success on wrong
// bytes, and the next transfer works.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/text/hex_text.h"
#include "support/box_harness.h"
#include "support/fault_sample.h"

namespace vyk::test {
namespace {

using Kind = FakeDialogs::Kind;

enum class Transfer { Update, Retrieve };

bool RunTransfer(Transfer transfer, SimHarness& h) {
  h.dialogs.answers = {Answer::Yes};
  // Both check the Box's identity right before their bytes, as `vyk box` runs them.
  return transfer == Transfer::Update ? BoxUpdateClick(h.session, h.link)
                                      : BoxRetrieveClick(h.session, h.link, {}, {true, {}});
}

// A GM project, identified against a simulated GM Box at 9600 baud whose EEPROM differs from
// the project in every byte, so each byte written or read shows.
struct Rig : SimHarness {
  Rig() : SimHarness(Config()) {
    New(kGM);
    dialogs.messages.clear();
    for (int a = 0; a < 256; ++a)
      port.Box().Eeprom()[a] = static_cast<uint8_t>(state.image.Byte(a) ^ 0xA5);
    oldBox = port.Box().Eeprom();
  }
  static SimBoxConfig Config() {
    SimBoxConfig c;
    c.groupLetter = 'G';
    c.baud = 9600;
    return c;
  }
  std::array<uint8_t, 256> oldBox;
};

// One command line of a transfer as the Box saw it in a run without faults.
struct Command {
  std::string text;
  long line = 0;       // the Box's number for it
  double startMs = 0;  // from the start of the transfer
  std::string answer;  // every byte the Box sent for it, echoes first
};

struct CleanRun {
  std::vector<Command> commands;
  double ms = 0;
};

CleanRun Record(Transfer transfer) {
  Rig h;
  CleanRun run;
  const double start = h.pump.NowMs();
  h.link.onStatus = [&](const std::string& text) {
    run.commands.push_back({text, h.port.Box().LinesReceived() + 1, h.pump.NowMs() - start, ""});
  };
  h.link.terminalEcho = [&](uint8_t b) {
    if (!run.commands.empty()) run.commands.back().answer += static_cast<char>(b);
  };
  EXPECT_TRUE(RunTransfer(transfer, h));
  run.ms = h.pump.NowMs() - start;
  return run;
}

struct Fault {
  const char* name;
  LineFault kind;
  bool rotateByte;  // drop or corrupt a different byte of each command's answer
};

const Fault kFaults[] = {
    {"drop the echo", LineFault::Drop, false},
    {"drop a byte", LineFault::Drop, true},
    {"corrupt a byte", LineFault::Corrupt, true},
    {"stop answering", LineFault::Silence, false},
    {"close the line", LineFault::Close, false},
    {"wrong acknowledgement", LineFault::WrongAck, false},
};

// The cause a fault at command `index` (from 0) must be reported with; empty: the transfer
// must go through. A lost or garbled byte that is not the one awaited costs at most a wait.
std::string ExpectedCause(const Fault& f, int index, const std::string& hit) {
  const std::string missing = index == 0 ? "Hardware not found" : "Hardware did not acknowledge";
  switch (f.kind) {
    case LineFault::Close:
      return "The connection to test was lost (the simulated Box closed the line)";
    case LineFault::Silence:
    case LineFault::WrongAck:
      return missing;
    default:
      return hit == (index == 0 ? ">" : "+") ? missing : "";
  }
}

// What Retrieve must not touch when it fails.
struct ProjectView {
  EepromImage image;
  ProjectHeader header;
  bool modified;
  std::array<std::string, 4> pots;
  std::string limit;
  int input, output;
  bool invert;
  bool operator==(const ProjectView&) const = default;
};

ProjectView ViewOf(const AppState& st) {
  const Controls& c = st.controls;
  return {st.image,    st.header,   st.projectModified, c.potTexts,
          c.limitText, c.inputRGrp, c.outputRGrp,       c.invertLimit};
}

void Sweep(Transfer transfer) {
  const CleanRun clean = Record(transfer);
  ASSERT_EQ(clean.commands.size(), transfer == Transfer::Update ? 162u : 82u);
  const size_t first = 2;  // the first command of the bytes, after "" and "Q"
  ASSERT_EQ(clean.commands[0].line, kLinesBeforeTransfer + 1);
  int cases = 0;
  for (const Fault& f : kFaults) {
    for (size_t i = 0; i < clean.commands.size(); ++i) {
      const Command& c = clean.commands[i];
      const int byte = f.rotateByte ? static_cast<int>((i / 2) % c.answer.size()) : 0;
      SCOPED_TRACE(std::string(f.name) + " at command " + std::to_string(i + 1) + " \"" + c.text +
                   "\", byte " + std::to_string(byte));
      ++cases;
      Rig h;
      const ProjectView before = ViewOf(h.state);
      SimBoxConfig& config = h.port.Box().Config();
      config.lineFault = f.kind;
      config.faultLine = c.line;
      config.faultByte = byte;
      const double start = h.pump.NowMs();
      const bool ok = RunTransfer(transfer, h);
      const double took = h.pump.NowMs() - start;
      const std::vector<std::string> errors = Lines(h.dialogs.Texts(Kind::Error));
      const std::string cause = ExpectedCause(f, static_cast<int>(i), c.answer.substr(byte, 1));

      // The outcome and its messages: the cause, then what the Box or the project was left
      // with. A fault in the answer to "Q" may pass or fail, with one message of its own, but
      // nothing is written or read then.
      if (i == 1) {
        EXPECT_EQ(errors.size(), ok ? 0u : 1u);
      } else {
        ASSERT_EQ(ok, cause.empty());
      }
      // Update's command 2a+2 (from 0) writes address a and 2a+3 reads it back.
      const int address = i < first ? -1 : static_cast<int>(i - first) / 2;
      std::vector<std::string> expected;
      if (!ok && i != 1) {
        expected.push_back(cause);
        if (i >= first && transfer == Transfer::Update) {
          // A fault in a write leaves it unacknowledged; one in its read-back, unverified.
          const bool readBack = (i - first) % 2 == 1;
          auto hex = [](int a) { return a < 0 ? "" : FormatHex(static_cast<uint32_t>(a), 2); };
          expected.push_back(address == 0 && !readBack
                                 ? kNothingStored
                                 : PartialText(hex(address - 1), readBack ? hex(address) : ""));
        }
        if (i >= first && transfer == Transfer::Retrieve) expected.push_back(kRetrieveStopped);
        EXPECT_EQ(errors, expected);
      }

      // Within its time-outs: a fault that is got over costs at most one wait; one that ends
      // the transfer, at most a wait for each byte of its command, its reply and its prompt.
      if (ok) {
        EXPECT_LE(took, clean.ms + kReplyTimeoutMs + 50);
      } else {
        EXPECT_LE(took, c.startMs + (c.text.size() + 3) * kReplyTimeoutMs + 50);
      }

      // The bytes.
      const auto& box = h.port.Box().Eeprom();
      if (transfer == Transfer::Update) {
        // Written for sure: up to the address whose read-back failed, or before the one whose
        // write failed (which the Box may or may not have stored). Untouched: after it.
        const int written = ok ? 80 : (i - first) % 2 == 1 ? address + 1 : address;
        const int untouched = ok ? 80 : address + 1;
        for (int a = 0; a < 80; ++a) {
          if (a < written) {
            EXPECT_EQ(box[a], h.state.image.Byte(a)) << a;
          }
          if (a >= untouched) {
            EXPECT_EQ(box[a], h.oldBox[a]) << a;
          }
        }
        EXPECT_EQ(ViewOf(h.state), before);  // an update changes the Box only
      } else if (ok) {
        for (int a = 0; a < 80; ++a)
          EXPECT_EQ(h.state.image.Byte(a), box[a]) << a;
        EXPECT_TRUE(h.state.projectModified);  // the Box's bytes are in no file yet
      } else {
        EXPECT_EQ(ViewOf(h.state), before);
      }
      EXPECT_FALSE(h.link.Busy());
      EXPECT_FALSE(h.state.abortRequest);
      // A lost line is connected again by the next exchange.
      EXPECT_EQ(h.state.buttonMode,
                f.kind == LineFault::Close ? ButtonMode::Connect : ButtonMode::Monitor);

      // The next transfer works, unless the line is gone.
      if (f.kind != LineFault::Close) {
        h.dialogs.messages.clear();
        EXPECT_TRUE(RunTransfer(transfer, h));
        EXPECT_TRUE(h.dialogs.Texts(Kind::Error).empty());
      }
      if (::testing::Test::HasFailure()) return;  // one case's story is enough
    }
  }
  ::testing::Test::RecordProperty("cases", cases);
  std::printf("%d cases\n", cases);
}

// The points `vyk box` also meets on a pseudo-terminal (tests/e2e): the same messages here.
TEST(FaultSweep, TheSampleGivesItsMessages) {
  for (const FaultSamplePoint& p : kFaultSample) {
    SCOPED_TRACE(std::string(p.transfer) + " " + p.fault + " at " + std::to_string(p.command));
    Rig h;
    ASSERT_EQ(h.port.Box().LinesReceived(), kLinesBeforeTransfer);
    SimBoxConfig& config = h.port.Box().Config();
    for (int k = 0; k < kLineFaultKinds; ++k)
      if (LineFaultName(static_cast<LineFault>(k)) == std::string(p.fault))
        config.lineFault = static_cast<LineFault>(k);
    config.faultLine = kLinesBeforeTransfer + p.command;
    config.faultByte = p.byte;
    h.port.Box().Eeprom().fill(0xFF);  // as `vyk boxsim` starts
    RunTransfer(std::string(p.transfer) == "write" ? Transfer::Update : Transfer::Retrieve, h);
    EXPECT_EQ(Normalized(Lines(h.dialogs.Texts(Kind::Error)), "test"), p.messages);
  }
}

TEST(FaultSweep, EveryCommandOfAnUpdate) {
  Sweep(Transfer::Update);
}

TEST(FaultSweep, EveryCommandOfARetrieve) {
  Sweep(Transfer::Retrieve);
}

}  // namespace
}  // namespace vyk::test

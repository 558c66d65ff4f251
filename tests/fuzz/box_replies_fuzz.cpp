// The Box's side of the line played from the fuzzer's bytes while the program identifies the
// Box, takes a reading, retrieves the image or updates the Box. Every byte the link writes is
// answered with the next chunk of the input: a header byte (bits 0..6 the chunk's length; bit
// 7: the chunk comes only after the reply time-out) and that many bytes, one a millisecond.
// The header 0x80 (late and empty) closes the line instead; past the input the Box is silent.
//
// The ring never holds more than 198 unread bytes; each operation ends within its time-outs,
// succeeds without a message or fails with one; a failed retrieve and every update leave the
// project as it was, and a retrieve that succeeds changes only the bytes the Box holds.
//
// VYK_FUZZ_WRITE_SEEDS=FOLDER writes the simulated Box's answers to every operation of every
// group there as seeds, and stops.
#include <cstdlib>
#include <functional>

#include "link/sim_box.h"
#include "operations/box/box_operations.h"
#include "support/fuzz_session.h"
#include "support/virtual_pump.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

constexpr uint8_t kLate = 0x80;
constexpr uint8_t kCloseLine = kLate;  // late and empty
constexpr double kLateMs = kReplyTimeoutMs + 100;

enum Operation { kIdentify, kMonitor, kRetrieve, kUpdate, kOperations };

// What the Box sends in answer to one byte written; nothing when it has nothing more to say.
using Answerer = std::function<std::optional<std::string>(uint8_t written)>;

class PlayedPort : public Port {
 public:
  PlayedPort(Pump& pump, Answerer answer) : pump_(pump), answer_(std::move(answer)) {}
  void Open(const std::string&) override { open_ = true; }
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  void PurgeOutput() override {}
  void PurgeInput() override {}
  bool SetDtr() override { return false; }
  void WriteByte(uint8_t byte) override {
    ++written;
    if (!open_) return;
    const std::optional<std::string> chunk = answer_(byte);
    if (!chunk || chunk->empty()) return;
    const auto header = static_cast<uint8_t>((*chunk)[0]);
    if (header == kCloseLine) {
      pump_.Post(1, [this] {
        open_ = false;
        if (onLost) onLost("the far end closed the line");
      });
      return;
    }
    const double start = header & kLate ? kLateMs : 1;
    for (size_t i = 1; i < chunk->size(); ++i)
      pump_.Post(start + static_cast<double>(i - 1), [this, b = (*chunk)[i]] {
        if (open_) onByte(static_cast<uint8_t>(b));
      });
  }

  long written = 0;

 private:
  Pump& pump_;
  Answerer answer_;
  bool open_ = false;
};

// One chunk of the input: its header and bytes, cut short where the input ends.
Answerer Played(Input& in) {
  return [&in](uint8_t) -> std::optional<std::string> {
    if (in.Empty()) return std::nullopt;
    const uint8_t header = in.Byte();
    return std::string(1, static_cast<char>(header)) + std::string(in.Take(header & ~kLate));
  };
}

struct Outcome {
  bool succeeded = false;
  int errors = 0;
};

// One operation, with the rules of its own outcome.
void Operate(int operation, FuzzSession& f, BoxLink& link, const EepromImage& image,
             const ProjectHeader& header, Outcome& outcome) {
  AppState& st = f.state;
  switch (operation) {
    case kIdentify:
      outcome.succeeded = ConnectBox(f.session, link, st.header.Group());
      Require(outcome.succeeded == st.boxConnected, "the Box is connected when it identified");
      break;
    case kMonitor: {
      outcome.succeeded = MonitorSample(f.session, link);
      if (!outcome.succeeded) break;
      Require(st.chart.series2.size() == kCurvePoints, "a reading draws the whole curve");
      Require(!st.controls.dataInLabel.empty() && !st.controls.dataOutLabel.empty(),
              "a reading shows both values");
      break;
    }
    case kRetrieve: {
      const bool wasModified = st.projectModified;
      outcome.succeeded = BoxRetrieveClick(f.session, link);
      if (outcome.succeeded) {
        for (int a = kBoxBytes; a < kImageSize; ++a)
          Require(st.image.Byte(a) == image.Byte(a), "a retrieve changes only the Box's bytes");
        Require(st.projectModified == (wasModified || !(st.image == image)),
                "a retrieve leaves the project unsaved when it was or when the Box differs");
        // The input/output code follows the radio groups the retrieved mode byte sets.
        ProjectHeader kept = st.header;
        kept.SetByteAt(ProjectHeader::kIoCode, header.Bytes()[ProjectHeader::kIoCode]);
        Require(kept == header, "a retrieve leaves the rest of the header as it was");
      } else {
        Require(st.image == image && st.header == header,
                "a failed retrieve leaves the project as it was");
      }
      break;
    }
    case kUpdate:
      outcome.succeeded = BoxUpdateClick(f.session, link);
      Require(st.image == image && st.header == header, "an update leaves the project as it was");
      Require(!outcome.succeeded || !st.boxPartial, "a complete update leaves no partial image");
      break;
  }
}

// Runs `operation` of the project `pick` chooses against the Box `answer` plays, checking the
// rules as it goes.
Outcome Run(int operation, uint8_t pick, Answerer answer) {
  FuzzSession f(pick);
  AppState& st = f.state;
  VirtualPump pump;
  PlayedPort port(pump, std::move(answer));
  BoxLink link(port, pump, st);
  link.terminalEcho = [&link](uint8_t) {
    Require(link.Unread() >= 0 && link.Unread() <= 198, "the ring holds at most 198 unread bytes");
  };
  long commands = 0;
  link.onStatus = [&commands](const std::string&) { ++commands; };
  link.Open("played");
  link.Settle();

  const EepromImage image = st.image;
  const ProjectHeader header = st.header;
  const double start = pump.NowMs();
  const long writtenBefore = port.written;
  const int errorsBefore = f.dialogs.errors;
  Outcome outcome;
  try {
    Operate(operation, f, link, image, header, outcome);
  } catch (const VykError&) {
    // A reading the conversions refuse (a negative count): an error box, as for any message.
    outcome.succeeded = false;
    ++f.dialogs.errors;
    if (operation == kRetrieve || operation == kUpdate)
      Require(st.image == image && st.header == header,
              "a transfer that fails leaves the project as it was");
  }
  outcome.errors = f.dialogs.errors - errorsBefore;
  Require(outcome.succeeded == (outcome.errors == 0),
          "an operation fails with a message and succeeds without one");
  Require(!st.exchangeRunning, "an ended exchange lets the next one start");
  // Each byte written waits at most one time-out for its echo, each command at most two more
  // (its reply and the prompt after it).
  const double bound = kReplyTimeoutMs * (port.written - writtenBefore + 2.0 * commands + 1);
  Require(pump.NowMs() - start <= bound, "an operation ends within its time-outs");
  return outcome;
}

// The simulated Box of the group, its answers kept as chunks.
Answerer Recorded(uint8_t group, std::string& seed) {
  SimBoxConfig config;
  config.groupLetter = SimGroupLetter(group);
  auto box = std::make_shared<SimBox>(config);
  return [box, &seed](uint8_t written) -> std::optional<std::string> {
    std::string bytes;
    for (const SimOutput& out : box->Receive(written))
      bytes += static_cast<char>(out.byte);
    if (bytes.size() >= kLate) Fail("a simulated answer too long for a chunk");
    const std::string chunk = static_cast<char>(bytes.size()) + bytes;
    seed += chunk;
    return chunk;
  };
}

void WriteSeeds(const std::string& folder) {
  const char* names[] = {"identify", "monitor", "retrieve", "update"};
  for (int operation = 0; operation < kOperations; ++operation) {
    for (uint8_t group = 0; group < 3; ++group) {
      // The project's pick: the group, with its own output kind (frequency for GM).
      const uint8_t pick = static_cast<uint8_t>(group + (group == kGM ? 3 : 0));
      std::string seed(1, static_cast<char>(pick * kOperations + operation));
      Outcome outcome = Run(operation, pick, Recorded(group, seed));
      Require(outcome.succeeded, "the simulated Box answers every operation");
      WriteBytes(folder + "/" + names[operation] + "-" + std::to_string(group), seed);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* folder = std::getenv("VYK_FUZZ_WRITE_SEEDS")) {
    WriteSeeds(folder);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const uint8_t first = in.Byte();
  Run(first % kOperations, static_cast<uint8_t>(first / kOperations), Played(in));
  return 0;
}

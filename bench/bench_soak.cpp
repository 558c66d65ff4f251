// Soak: Updates and Retrieves in turn, hundreds of them, through the real serial-port code
// against `vyk boxsim` on a pseudo-terminal whose Box meets faults at random (a lost or garbled
// byte, a command it does not answer, a wrong acknowledgement, a closed line, after which a new
// Box is started). Reports how the transfers ended, the time each took against the line-time
// bound, peak memory and open file descriptors at the start and the end; fails when a transfer
// reported success with wrong bytes, a failed Retrieve changed the project, a transfer took
// longer than its time-outs allow, or descriptors grew.
//
//   bench/soak.sh [--transfers 500] [--fault-rate 0.003] [--seed 1] [--baud 9600]
#include <sys/resource.h>

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "line_counters.h"
#include "model/errors.h"
#include "operations/box/box_operations.h"
#include "operations/project/project_commands.h"
#include "support/boxsim_process.h"

namespace {

using vyk::kBoxBytes;

struct Options {
  int transfers = 500;
  double faultRate = 0.003;  // per command line: about one transfer in four meets a fault
  unsigned seed = 1;
  int baud = 9600;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--transfers") {
      o.transfers = std::atoi(value);
    } else if (name == "--fault-rate") {
      o.faultRate = std::atof(value);
    } else if (name == "--seed") {
      o.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    } else if (name == "--baud") {
      o.baud = std::atoi(value);
    } else {
      std::fprintf(stderr, "unknown option %s\n", name.c_str());
      std::exit(2);
    }
  }
  return o;
}

double WallMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

long PeakRssKiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long RssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

long OpenDescriptors() {
  long n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++n;
  return n - 1;  // the listing's own
}

// An outcome as a line of the report: the messages with the device, the addresses and the
// bytes that vary from run to run taken out.
std::string OutcomeOf(const std::vector<std::string>& errors) {
  if (errors.empty()) return "success";
  static const std::regex lost("The connection to .* was lost \\((.*)\\)");
  static const std::regex partial("addresses 00\\.\\.[0-9A-F]{2} were|address 00 was");
  static const std::regex verify("^Verify error: .*");
  static const std::regex garbled("address [0-9A-F]{2} with");
  std::string line;
  for (const std::string& e : errors) {
    std::string m = std::regex_replace(e, lost, "The connection to DEVICE was lost ($1)");
    m = std::regex_replace(m, partial, "addresses 00..NN were");
    m = std::regex_replace(m, verify, "Verify error: ...");
    m = std::regex_replace(m, garbled, "address NN with");
    line += (line.empty() ? "" : " | ") + m;
  }
  return line;
}

struct Stats {
  long n = 0;
  double sum = 0;
  double max = 0;
  void Add(double v) {
    ++n;
    sum += v;
    max = std::max(max, v);
  }
  double Mean() const { return n > 0 ? sum / n : 0; }
};

// The Box's EEPROM as far as the transfers tell it: a byte is known after a successful
// transfer, or for an update that stopped, below the address it stopped at.
using BoxModel = std::array<std::optional<uint8_t>, kBoxBytes>;

BoxModel Blank() {
  BoxModel m;
  m.fill(uint8_t{0xFF});  // a Box started afresh
  return m;
}

class Soak {
 public:
  explicit Soak(const Options& o) : o_(o), random_(o.seed) {
    byteMs_ = 10000.0 / o_.baud;
    std::filesystem::remove(log_);
    vyk::FileNewClick(session_);  // a GM project; no Box identification
    StartBox();
    fdsAtStart_ = OpenDescriptors();
    peakAtStart_ = PeakRssKiB();
  }

  int Run() {
    const double start = WallMs();
    for (int t = 0; t < o_.transfers; ++t) {
      if (link_.LineLost()) StartBox();
      const bool update = t % 2 == 0;
      if (update) {
        for (int a = 0; a < kBoxBytes; ++a)
          state_.image.SetByte(a, static_cast<uint8_t>(random_()));
      }
      Transfer(update);
      if (t + 1 == 10) rssAfter10_ = RssKiB();
      if ((t + 1) % 50 == 0)
        std::fprintf(stderr, "%d transfers, %.0f s\n", t + 1, (WallMs() - start) / 1000);
    }
    sim_.reset();  // its fault tally goes to the log
    const int status = Report((WallMs() - start) / 1000);
    std::filesystem::remove(log_);
    return status;
  }

 private:
  void StartBox() {
    sim_.reset();
    sim_ = std::make_unique<vyk::test::BoxSimProcess>(
        VYK_CLI_PATH,
        std::vector<std::string>{"--group", "gm", "--baud", std::to_string(o_.baud), "--fault-rate",
                                 std::to_string(o_.faultRate), "--seed",
                                 std::to_string(o_.seed * 1000 + boxes_)},
        log_);
    ++boxes_;
    link_.Open(sim_->Path());
    link_.Settle();
    box_ = Blank();
  }

  void Transfer(bool update) {
    const vyk::EepromImage before = state_.image;
    const bool modifiedBefore = state_.projectModified;
    dialogs_.errors.clear();
    const long bytes0 = port_.Bytes();
    const long timeouts0 = pump_.timeouts;
    const double t0 = WallMs();
    bool ok = false;
    try {
      ok = update ? vyk::BoxUpdateClick(session_, link_) : vyk::BoxRetrieveClick(session_, link_);
    } catch (const vyk::VykError& e) {  // as the window's error box would show it
      dialogs_.errors.push_back(std::string("(raised) ") + e.what());
    }
    const double wall = WallMs() - t0;
    const double bound = (port_.Bytes() - bytes0) * byteMs_;
    const long waits = pump_.timeouts - timeouts0;

    const char* kind = update ? "Update" : "Retrieve";
    ++outcomes_[std::string(kind) + "  " + OutcomeOf(dialogs_.errors)];
    if (ok == !dialogs_.errors.empty()) ++inconsistent_;
    if (ok && waits == 0) (update ? cleanUpdate_ : cleanRetrieve_).Add(wall / bound);
    const double overhead = wall - bound - waits * vyk::kReplyTimeoutMs;
    overhead_.Add(overhead);
    if (!ok) failedWall_.Add(wall);
    waits_ += waits;

    if (update) {
      int written = ok ? kBoxBytes : 0;  // bytes now known to hold the image
      int stop = -1;                     // the address whose write may or may not have landed
      const bool partial = !ok && std::any_of(dialogs_.errors.begin(), dialogs_.errors.end(),
                                              [](const std::string& e) {
                                                return e.rfind("The Box holds a partial", 0) == 0;
                                              });
      if (partial) {
        stop = state_.boxLastAddressWritten;
        written = stop;
      }
      for (int a = 0; a < written; ++a)
        box_[a] = state_.image.Byte(a);
      if (stop >= 0) box_[stop].reset();
      if (!(state_.image == before) || state_.projectModified != modifiedBefore) ++projectChanged_;
    } else if (ok) {
      for (int a = 0; a < kBoxBytes; ++a) {
        if (box_[a] && *box_[a] != state_.image.Byte(a)) ++wrongBytes_;
        box_[a] = state_.image.Byte(a);
      }
    } else if (!(state_.image == before) || state_.projectModified != modifiedBefore) {
      ++projectChanged_;
    }
  }

  // The Box's tallies ("Faults made: drop 2, corrupt 1, ...") summed over every Box started.
  std::string FaultsMade() const {
    std::ifstream in(log_);
    std::map<std::string, long> made;
    static const std::regex item("([a-z-]+) ([0-9]+)");
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("Faults made:", 0) != 0) continue;
      for (std::sregex_iterator it(line.begin(), line.end(), item), end; it != end; ++it)
        made[(*it)[1]] += std::stol((*it)[2]);
    }
    std::string text;
    long total = 0;
    for (const char* name : {"drop", "corrupt", "silence", "close", "wrong-ack"}) {
      text += std::string(text.empty() ? "" : ", ") + name + " " + std::to_string(made[name]);
      total += made[name];
    }
    return std::to_string(total) + " (" + text + ")";
  }

  int Report(double seconds) {
    const long fdsAtEnd = OpenDescriptors();
    const long peakAtEnd = PeakRssKiB();
    const long rssAtEnd = RssKiB();
    std::printf("Soak: %d transfers (Update and Retrieve in turn) at %d baud against vyk boxsim\n",
                o_.transfers, o_.baud);
    std::printf("  faults at random: %.4f per command line, seed %u; %.0f s in all\n", o_.faultRate,
                o_.seed, seconds);
    std::printf("  faults the Box made: %s\n", FaultsMade().c_str());
    std::printf("  Boxes started: %d (a new one after each closed line)\n", boxes_);
    std::printf("Outcomes\n");
    for (const auto& [outcome, count] : outcomes_)
      std::printf("  %5ld  %s\n", count, outcome.c_str());
    std::printf("Checks\n");
    std::printf("  success with wrong bytes:             %ld\n", wrongBytes_);
    std::printf("  project changed by a failed transfer: %ld\n", projectChanged_);
    std::printf("  success with a message, or failure without: %ld\n", inconsistent_);
    std::printf("Time per transfer (bound: bytes on the line x %.3f ms)\n", byteMs_);
    std::printf(
        "  Updates that went through without a wait run out:   %ld, wall/bound mean %.3f, "
        "max %.3f\n",
        cleanUpdate_.n, cleanUpdate_.Mean(), cleanUpdate_.max);
    std::printf(
        "  Retrieves that went through without a wait run out: %ld, wall/bound mean %.3f, "
        "max %.3f\n",
        cleanRetrieve_.n, cleanRetrieve_.Mean(), cleanRetrieve_.max);
    std::printf("  waits run out: %ld in all (1000 ms each)\n", waits_);
    std::printf("  wall - bound - waits run out, every transfer: mean %.1f ms, max %.1f ms\n",
                overhead_.Mean(), overhead_.max);
    std::printf("  failed transfers: %ld, wall mean %.0f ms, max %.0f ms\n", failedWall_.n,
                failedWall_.Mean(), failedWall_.max);
    std::printf("Memory (KiB)\n");
    std::printf("  peak RSS: %ld at the start, %ld at the end\n", peakAtStart_, peakAtEnd);
    std::printf("  RSS after 10 transfers: %ld, at the end: %ld\n", rssAfter10_, rssAtEnd);
    std::printf("Open file descriptors: %ld at the start, %ld at the end\n", fdsAtStart_, fdsAtEnd);

    // A transfer may spend its waits and the line time; anything well beyond that hangs.
    const bool ok = wrongBytes_ == 0 && projectChanged_ == 0 && inconsistent_ == 0 &&
                    fdsAtEnd <= fdsAtStart_ && overhead_.max < 2000;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
  }

  Options o_;
  std::mt19937 random_;
  double byteMs_ = 0;
  std::string log_ = std::filesystem::temp_directory_path() /
                     ("vyk-soak-boxsim-" + std::to_string(::getpid()) + ".log");

  vyk::AppState state_;
  vyk::bench::YesDialogs dialogs_;
  vyk::MainView view_;
  vyk::Session session_{state_, dialogs_, view_, nullptr};
  vyk::bench::CountingPump pump_;
  vyk::bench::CountingPort port_;
  vyk::BoxLink link_{port_, pump_, state_};
  std::unique_ptr<vyk::test::BoxSimProcess> sim_;
  int boxes_ = 0;
  BoxModel box_ = Blank();

  std::map<std::string, long> outcomes_;
  long wrongBytes_ = 0;
  long projectChanged_ = 0;
  long inconsistent_ = 0;
  long waits_ = 0;
  Stats cleanUpdate_, cleanRetrieve_, overhead_, failedWall_;
  long fdsAtStart_ = 0;
  long peakAtStart_ = 0;
  long rssAfter10_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  vyk::UseLeanEventDispatcher();
  QCoreApplication app(argc, argv);
  const int status = Soak(options).Run();
  return status;
}

// `vyk box` against `vyk boxsim` on a pseudo-terminal, through the real serial-port code.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/cli_test_util.h"
#include "support/boxsim_process.h"
#include "support/comma_locale.h"
#include "support/vyk_process.h"

namespace vyk::test {
namespace {

using nlohmann::json;

// `vyk boxsim` running in the background; the first line it prints is its device path.
// A simulated Box on its pseudo-terminal.
class BoxSim : public vyk::test::BoxSimProcess {
 public:
  explicit BoxSim(std::vector<std::string> args) : BoxSimProcess(VYK_CLI_PATH, std::move(args)) {}
};

json Json(const RunResult& r) {
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? json::parse(r.out) : json();
}

TEST(BoxE2e, IdentifyEachGroupWithTheRightAndTheWrongLetter) {
  TempFolder tmp;
  struct Case {
    std::string group, boxGroup, message;
  } cases[] = {
      {"ford", "ford", ""},
      {"gm", "gm", ""},
      {"import", "import", ""},
      {"gm", "ford", "GM version hardware not found\n"},
      {"import", "gm", "Import version hardware not found\n"},
  };
  for (const Case& c : cases) {
    BoxSim sim({"--group", c.boxGroup, "--baud", "0"});
    ASSERT_FALSE(sim.Path().empty());
    RunResult r =
        RunVyk({"box", "identify", "--port", sim.Path(), "--group", c.group, "--json"}, tmp);
    if (c.message.empty()) {
      EXPECT_EQ(Json(r)["version"], "1.0") << c.group;
    } else {
      EXPECT_NE(r.status, 0);
      EXPECT_EQ(r.err, c.message);
    }
  }
}

TEST(BoxE2e, WriteThenReadBackIntoAnotherProject) {
  TempFolder tmp;
  BoxSim sim({"--group", "gm"});  // 9600 baud
  std::string written = tmp / "w.VYK";
  std::string read = tmp / "r.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", written}, tmp).status, 0);
  ASSERT_EQ(
      RunVyk({"project", "edit", written, "--entry", "3=1000", "--pot", "2=up", "--invert", "on"},
             tmp)
          .status,
      0);
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", read}, tmp).status, 0);
  RunResult w = RunVyk({"box", "write", "--port", sim.Path(), written}, tmp);
  ASSERT_EQ(w.status, 0) << w.err;
  EXPECT_NE(w.err.find("80/80"), std::string::npos);
  RunResult r = RunVyk({"box", "read", "--port", sim.Path(), read}, tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadAll(read).substr(512, 80), ReadAll(written).substr(512, 80));
}

TEST(BoxE2e, MonitorShowsTheBoxsReading) {
  TempFolder tmp;
  BoxSim sim({"--group", "gm", "--baud", "0", "--input", "0100", "--output", "03FF", "--offsets",
              "FFF0,0,0,8"});
  json j = Json(RunVyk({"box", "monitor", "--port", sim.Path(), "--group", "gm", "--json"}, tmp));
  EXPECT_EQ(j["offsets"], json({-16, 0, 0, 8}));
  EXPECT_EQ(j["dataIn"], "F in =  3378 ");
  EXPECT_EQ(j["adjusted"][4]["count"], 128 - 16);
  EXPECT_EQ(j["adjusted"][28]["count"], 28 * 32 + 8);
}

// A reading garbled on the line is no reading: nothing is shown and the command fails.
TEST(BoxE2e, MonitorRefusesAGarbledReading) {
  TempFolder tmp;
  BoxSim sim({"--group", "gm", "--baud", "0", "--garbled-reading"});
  RunResult r = RunVyk({"box", "monitor", "--port", sim.Path(), "--group", "gm"}, tmp);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Invalid response from hardware (error 2)\n");
  EXPECT_EQ(r.out, "");
}

// The program's Qt start-up takes the locale from the environment; numbers keep their ".".
TEST(BoxE2e, MonitorPrintsPointsUnderACommaLocale) {
  if (!HasCommaLocale()) GTEST_SKIP() << "no " << kCommaLocaleName << " locale";
  TempFolder tmp;
  BoxSim sim({"--group", "gm", "--baud", "0", "--offsets", "FFF0,0,0,8"});
  ::setenv("LC_ALL", kCommaLocaleName, 1);
  RunResult r = RunVyk({"box", "monitor", "--port", sim.Path(), "--group", "gm"}, tmp);
  ::unsetenv("LC_ALL");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\n    4    112  1689.1494  1478.0057\n"), std::string::npos) << r.out;
}

TEST(BoxE2e, ABoxThatStopsAnsweringMidTransfer) {
  TempFolder tmp;
  BoxSim sim({"--group", "gm", "--baud", "0", "--stop-after", "103"});
  std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  RunResult r = RunVyk({"box", "write", "--port", sim.Path(), project}, tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("Hardware did not acknowledge"), std::string::npos) << r.err;
}

// A Box of another group is refused before anything is written into it or kept from it.
TEST(BoxE2e, WriteAndReadRefuseABoxOfAnotherGroup) {
  TempFolder tmp;
  std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  const std::string before = ReadAll(project);
  for (const char* command : {"write", "read"}) {
    BoxSim sim({"--group", "ford", "--baud", "0"});
    RunResult r = RunVyk({"box", command, "--port", sim.Path(), project}, tmp);
    EXPECT_NE(r.status, 0) << command;
    EXPECT_EQ(r.err, "GM version hardware not found\n") << command;
  }
  EXPECT_TRUE(ReadAll(project) == before) << "the project changed";
}

// A vanished line ends the exchange at once, with its own message and no other: well within
// the second a missing reply would cost on top of an ordinary run.
TEST(BoxE2e, ALineThatVanishesIsReportedAtOnce) {
  TempFolder tmp;
  std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  using Clock = std::chrono::steady_clock;
  BoxSim sound({"--group", "gm", "--baud", "0"});
  auto start = Clock::now();
  ASSERT_EQ(RunVyk({"box", "identify", "--group", "gm", "--port", sound.Path()}, tmp).status, 0);
  const auto ordinary = Clock::now() - start;

  BoxSim sim({"--group", "gm", "--baud", "0", "--close-after", "100"});
  // Straight to the write, without the read for the backup.
  const std::string config = tmp / "config";
  std::filesystem::create_directories(config);
  std::ofstream(config + "/vyk.ini") << "[Box]\nBackupBeforeUpdate=0\n";
  start = Clock::now();
  RunResult r = RunVyk({"box", "write", "--port", sim.Path(), "--config", config, project}, tmp);
  const auto took = Clock::now() - start;
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err.rfind("The connection to " + sim.Path() + " was lost (", 0), 0u) << r.err;
  // One report of the loss, then what the Box was left holding.
  const auto firstLine = r.err.find('\n');
  EXPECT_EQ(r.err.substr(firstLine + 1).rfind("The Box holds a partial image: addresses 00..", 0),
            0u)
      << r.err;
  EXPECT_EQ(r.err.find('\n', firstLine + 1), r.err.size() - 1) << r.err;
  EXPECT_LT(took, ordinary + std::chrono::milliseconds(600));
}

}  // namespace
}  // namespace vyk::test

namespace vyk::test {
namespace {

// A write keeps what the Box held; the backup, listed, goes back into the Box byte for byte.
TEST(BoxE2e, ABackupListedAfterAWriteRestoresTheBoxByteForByte) {
  TempFolder tmp;
  BoxSim sim({"--group", "gm", "--baud", "0"});
  const std::string data = tmp / "data";
  const std::string first = tmp / "first.VYK";
  const std::string second = tmp / "second.VYK";
  const std::string read = tmp / "read.VYK";
  for (const std::string& p : {first, second, read})
    ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", p}, tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "edit", first, "--entry", "3=1000", "--pot", "2=up"}, tmp).status,
            0);
  auto write = [&](const std::string& project) {
    RunResult r = RunVyk({"box", "write", "--port", sim.Path(), "--data", data, project}, tmp);
    EXPECT_EQ(r.status, 0) << r.err;
    return r;
  };
  write(first);
  const RunResult w = write(second);
  const std::string prefix = "Backup of the Box: ";
  ASSERT_EQ(w.out.rfind(prefix, 0), 0u) << w.out;
  const std::string backup = w.out.substr(prefix.size(), w.out.find('\n') - prefix.size());

  const json listed = Json(RunVyk({"box", "backups", "--data", data, "--json"}, tmp));
  ASSERT_EQ(listed["backups"].size(), 2u);
  EXPECT_EQ(listed["backups"][0]["path"], backup);
  EXPECT_EQ(listed["backups"][0]["project"], second);

  write(backup);
  ASSERT_EQ(RunVyk({"box", "read", "--port", sim.Path(), "--data", data, read}, tmp).status, 0);
  EXPECT_EQ(ReadAll(read).substr(512, 80), ReadAll(first).substr(512, 80));
  EXPECT_EQ(Json(RunVyk({"box", "history", "--data", data, "--json"}, tmp))["entries"].size(), 4u);
}

// The command lines a `vyk boxsim --log` received, one a line.
std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// After the two CRs that wake the Box: one empty command and one "Q", the transfer's own check
// that the Box is the project's hardware.
TEST(BoxE2e, OneIdentificationPerCommand) {
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  for (std::vector<std::string> args :
       {std::vector<std::string>{"write"}, {"write", "--dry-run"}, {"diff"}, {"read"}}) {
    const std::string log = tmp / (args[0] + std::to_string(args.size()));
    BoxSim sim({"--group", "gm", "--baud", "0", "--log", log});
    args.insert(args.begin(), "box");
    args.insert(args.end(), {"--port", sim.Path(), "--data", tmp / "data", project});
    EXPECT_LT(RunVyk(args, tmp).status, 2) << args[1];
    const std::vector<std::string> lines = Lines(log);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 3) << args[1];
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Q"), 1) << args[1];
  }
}

// Ctrl+C and SIGTERM end a command as Abort does: the exchange in progress finishes, what the
// Box was left holding is said and recorded, the project stays as it was, and the exit status
// tells the signal. A read whose project changed on disk meanwhile is not saved, nor logged ok.
TEST(BoxE2e, AStopSignalEndsTheCommandAsAbortDoes) {
  struct Case {
    std::string command;
    int signal;    // 0: the project changes on disk instead
    size_t lines;  // command lines the Box has received by then
    int status;
    std::string outcome;  // the history's; empty: none is kept
  } cases[] = {{"write", SIGINT, 100, 130, "aborted"}, {"write", SIGTERM, 100, 143, "aborted"},
               {"read", SIGINT, 20, 130, "aborted"},   {"diff", SIGTERM, 20, 143, ""},
               {"monitor", SIGINT, 3, 130, ""},        {"read", 0, 20, 1, "failed"}};
  for (const Case& c : cases) {
    TempFolder tmp;
    const std::string project = tmp / "p.VYK";
    const std::string data = tmp / "data";
    ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
    BoxSim sim({"--group", "gm", "--log", tmp / "log", "--byte-delay",
                c.command == "monitor" ? "50" : "0"});
    VykProcess vyk({"box", c.command, "--port", sim.Path(), "--data", data, project}, tmp / "out",
                   tmp / "err");
    while (Lines(tmp / "log").size() < c.lines)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (c.signal == 0) std::ofstream(project, std::ios::app) << 'x';
    const std::string before = ReadAll(project);
    if (c.signal != 0) vyk.Signal(c.signal);
    EXPECT_EQ(vyk.Wait(), c.status) << c.command;
    const std::string err = ReadAll(tmp / "err");
    EXPECT_TRUE(err.empty() || err.back() == '\n') << err;  // no progress line left open
    EXPECT_EQ(ReadAll(project), before) << c.command;
    const json history = Json(RunVyk({"box", "history", "--data", data, "--json"}, tmp));
    EXPECT_EQ(history["entries"].empty() ? json("") : history["entries"][0]["outcome"], c.outcome);
    if (c.command != "write") continue;
    EXPECT_NE(err.find("The Box holds a partial image"), std::string::npos) << err;
    // The backup of what the Box held is kept, but not as replaced by the project.
    const json backups = Json(RunVyk({"box", "backups", "--data", data, "--json"}, tmp));
    EXPECT_TRUE(backups["backups"][0]["project"].is_null());
  }
}

// The live view on the command line records a drive; killed or stopped, its log reads whole
// up to its last reading, and --seconds ends it by itself.
TEST(BoxE2e, LiveRecordsADriveThatSurvivesItsEnd) {
  struct Case {
    int signal;  // 0: --seconds 2
    int status;
  } cases[] = {{SIGKILL, -SIGKILL}, {SIGINT, 130}, {0, 0}};
  for (const Case& c : cases) {
    TempFolder tmp;
    BoxSim sim({"--group", "gm", "--drive"});  // 9600 baud
    const std::string log = tmp / "drive.csv";
    std::vector<std::string> args{"box",     "live", "--port", sim.Path(),
                                  "--group", "gm",   "--csv",  log};
    if (c.signal == 0) args.insert(args.end(), {"--seconds", "2"});
    VykProcess vyk(args, tmp / "out", tmp / "err");
    if (c.signal != 0) {
      while (Lines(log).size() < 2 + 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      vyk.Signal(c.signal);
    }
    EXPECT_EQ(vyk.Wait(), c.status) << c.signal << ReadAll(tmp / "err");
    const json summary = Json(RunVyk({"log", "summary", log, "--json"}, tmp));
    EXPECT_GE(summary["readings"].get<long>(), 20) << c.signal;
    EXPECT_TRUE(summary["problem"].is_null()) << c.signal;
    if (c.signal == 0) {
      EXPECT_NEAR(summary["readingsPerSecond"].get<double>(), 18.1, 1.5);
    }
  }
}

}  // namespace
}  // namespace vyk::test

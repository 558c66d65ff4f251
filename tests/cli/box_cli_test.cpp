// `vyk box` choosing its port, and what it says when the port will not open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/cli_test_util.h"
#include "support/boxsim_process.h"

namespace vyk::test {
namespace {

void WriteIni(const std::filesystem::path& folder, const std::string& text) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "vyk.ini") << text;
}

TEST(BoxCli, WithoutAPortNamedAnywhereNothingIsReadOrWritten) {
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  const std::string before = ReadAll(project);
  WriteIni(tmp.path() / "other", "[System]\nBaudRate=9600\n");  // names no port
  for (const char* command : {"read", "write"}) {
    for (const std::string& config : {tmp / "empty", tmp / "other"}) {
      RunResult r = RunVyk({"box", command, "--config", config, project}, tmp);
      EXPECT_NE(r.status, 0) << command;
      EXPECT_NE(r.err.find("--port"), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(config + "/vyk.ini"), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "") << command;
    }
  }
  EXPECT_TRUE(ReadAll(project) == before) << "the project changed";
}

// The port comes from the settings the window uses (--config's, else the user's own), but the
// simulated Box answers only to --port Simulator on the command line.
TEST(BoxCli, ThePortComesFromTheSettingsTheWindowUses) {
  TempFolder tmp;
  BoxSimProcess sim(VYK_CLI_PATH, {"--group", "gm", "--baud", "0"});
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  WriteIni(tmp.path() / "xdg/Vyk/VykEdit", "[System]\nPortName=" + sim.Path() + "\n");
  ::setenv("XDG_CONFIG_HOME", (tmp / "xdg").c_str(), 1);
  struct Case {
    std::string setting;  // PortName in --config's vyk.ini; empty: no --config
    std::string port;     // --port; empty: none
    std::string used;     // empty: refused
  } cases[] = {{"Simulator", "", ""},
               {"Simulator", "Simulator", "Simulator"},
               {"Simulator", sim.Path(), sim.Path()},
               {sim.Path(), "", sim.Path()},
               {"", "", sim.Path()}};
  for (const Case& c : cases) {
    WriteIni(tmp.path() / "cfg", "[System]\nPortName=" + c.setting + "\n");
    for (const std::string command : {"identify", "monitor", "diff", "write", "read"}) {
      std::vector<std::string> args = {"box", command, "--json", "--group", "gm"};
      if (command != "identify") args.push_back(project);
      if (!c.setting.empty()) args.insert(args.end(), {"--config", tmp / "cfg"});
      if (!c.port.empty()) args.insert(args.end(), {"--port", c.port});
      RunResult r = RunVyk(args, tmp);
      const bool refused = r.err.find("names the simulated Box") != std::string::npos;
      EXPECT_EQ(refused, c.used.empty()) << command << " " << c.setting << ": " << r.err;
      EXPECT_EQ(r.status == 0 || (command == "diff" && r.status == 1), !refused) << command;
      if (!refused && command != "diff" && r.status == 0) {
        EXPECT_EQ(nlohmann::json::parse(r.out)["port"], c.used) << command;
      }
    }
  }
  ::unsetenv("XDG_CONFIG_HOME");
}

// A device that will not open gets the system's number and text; a folder or plain file given
// as the port is named for what it is, also when a bare name is looked for in /dev.
TEST(BoxCli, OpenErrorsSayWhatIsWrongWithThePort) {
  TempFolder tmp;
  const std::string plain = tmp / "plain";
  std::ofstream(plain) << "";
  std::filesystem::create_directory(tmp / "box");
  struct Case {
    std::string device, message;
  } cases[] = {
      {"/dev/null",
       "Can't open specified device /dev/null (Error 25, Inappropriate ioctl for device)"},
      {tmp / "missing", "Specified device not found (" + tmp / "missing" + ")."},
      {plain, "Can't open specified device " + plain + ": it is a file, not a serial device"},
      {tmp / "box",
       "Can't open specified device " + tmp / "box" + ": it is a folder, not a serial device"},
      {"box",
       "Specified device not found (box). A name without a folder stands for /dev/box; "
       "./box is a folder, not a serial device."},
  };
  const auto home = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());
  for (const Case& c : cases) {
    RunResult r = RunVyk({"box", "identify", "--group", "gm", "--port", c.device}, tmp);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, c.message + "\n");
  }
  std::filesystem::current_path(home);
}

// The user's own file: no group to join would help, so none is named.
TEST(BoxCli, PermissionDeniedWithoutAGroupHint) {
  if (::geteuid() == 0) GTEST_SKIP() << "root opens anything";
  TempFolder tmp;
  const std::string locked = tmp / "locked";
  std::ofstream(locked) << "";
  ::chmod(locked.c_str(), 0);
  RunResult r = RunVyk({"box", "identify", "--group", "gm", "--port", locked}, tmp);
  EXPECT_EQ(r.err, "Can't open specified device " + locked + " (Error 13, Permission denied)\n");
}

// A record that cannot be written is a warning beside the outcome, which decides the status.
TEST(BoxCli, ARecordThatCannotBeWrittenIsAWarningBesideTheOutcome) {
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  std::filesystem::create_directories(tmp.path() / "data/history.tsv");
  for (const auto& [command, said] : {std::pair{"write", "Wrote and verified"}, {"read", "Read"}}) {
    RunResult r = RunVyk({"box", command, "--port", "Simulator", "--config", tmp / "cfg", "--data",
                          tmp / "data", project},
                         tmp);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(std::string(said) + " 80 bytes"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Warning: The history of Box transfers was not written"),
              std::string::npos)
        << r.err;
  }
}

}  // namespace
}  // namespace vyk::test

namespace vyk::test {
namespace {

// The backup, the dry run, the backups and the history as JSON; the setting in vyk.ini
// switches the backup off.
TEST(BoxCli, WriteKeepsABackupAndTheHistoryAsJson) {
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  const std::string data = tmp / "data";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "edit", project, "--entry", "5=0"}, tmp).status, 0);
  auto run = [&](std::vector<std::string> args) {
    if (args[1] == "write")
      args.insert(args.end(), {"--port", "Simulator", "--config", tmp / "cfg"});
    args.insert(args.end(), {"--data", data, "--json"});
    RunResult r = RunVyk(args, tmp);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json();
  };
  // The simulated Box starts blank: every entry changes.
  const auto dry = run({"box", "write", project, "--dry-run"});
  EXPECT_TRUE(dry["changed"]);
  // Each side reads in its own output kind: the blank Box's mode byte says volts.
  EXPECT_EQ(dry["changes"][1],
            nlohmann::json({{"label", "Entry 0"}, {"old", "**** V (65535)"}, {"new", "0 Hz (0)"}}));
  EXPECT_FALSE(std::filesystem::exists(data));  // a dry run keeps nothing

  const auto write = run({"box", "write", project});
  EXPECT_EQ(write["outcome"], "ok");
  EXPECT_EQ(dry["warnings"].size(), 1u);  // entry 5 falls
  const std::string backup = write["backup"];
  EXPECT_EQ(ReadAll(backup).substr(512, 80), std::string(80, '\xFF'));

  const auto backups = run({"box", "backups"})["backups"];
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0]["path"], backup);
  EXPECT_EQ(backups[0]["project"], project);
  EXPECT_EQ(backups[0]["letter"], "G");

  WriteIni(tmp.path() / "cfg", "[Box]\nBackupBeforeUpdate=0\n");
  EXPECT_TRUE(run({"box", "write", project})["backup"].is_null());

  const auto history = run({"box", "history"})["entries"];
  ASSERT_EQ(history.size(), 2u);
  for (const auto& e : history) {
    EXPECT_EQ(e["operation"], "update");
    EXPECT_EQ(e["outcome"], "ok");
    EXPECT_EQ(e["port"], "Simulator");
    EXPECT_EQ(e["project"], project);
    EXPECT_EQ(e["checksum"].get<std::string>().size(), 8u);
  }
  EXPECT_EQ(history[1]["backup"], backup);  // newest first
}

}  // namespace
}  // namespace vyk::test

// The fault sweep's sample on a pseudo-terminal: `vyk box write|read` against `vyk boxsim` with
// a fault aimed at one command line gives the messages the virtual clock gives, in time.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_test_util.h"
#include "support/boxsim_process.h"
#include "support/fault_sample.h"

namespace vyk::test {
namespace {

class FaultSampleE2e : public testing::TestWithParam<FaultSamplePoint> {};

// What `vyk box` said on stderr, without its progress lines.
std::vector<std::string> Messages(const std::string& err) {
  std::vector<std::string> lines;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);)
    if (line.find(" EEPROM: ") == std::string::npos) lines.push_back(line);
  return lines;
}

// Seconds of waiting the fault may cost: a silenced command line a second for each byte sent
// and one for its reply; any other fault at most one wait.
double WaitsOf(const FaultSamplePoint& p) {
  if (std::string(p.fault) != "silence") return 1;
  const bool write = std::string(p.transfer) == "write";
  const int length = p.command == 1 ? 0 : write && p.command % 2 == 1 ? 5 : 4;  // "C0320", "C03*"
  return length + 2;
}

TEST_P(FaultSampleE2e, GivesTheMessagesOfTheVirtualClock) {
  const FaultSamplePoint& p = GetParam();
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  const std::string before = ReadAll(project);
  BoxSimProcess sim(VYK_CLI_PATH,
                    {"--group", "gm", "--baud", "0", "--fault", p.fault, "--fault-line",
                     std::to_string(kCliLinesBeforeTransfer + p.command), "--fault-byte",
                     std::to_string(p.byte)});
  ASSERT_FALSE(sim.Path().empty());

  // The sweep counts the write's own command lines: no read for a backup goes before them.
  const std::string config = tmp / "config";
  std::filesystem::create_directories(config);
  std::ofstream(config + "/vyk.ini") << "[Box]\nBackupBeforeUpdate=0\n";

  const auto start = std::chrono::steady_clock::now();
  RunResult r = RunVyk({"box", p.transfer, "--port", sim.Path(), "--config", config, project}, tmp);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(Normalized(Messages(r.err), sim.Path()), p.messages) << r.err;
  EXPECT_EQ(r.status == 0, p.messages.empty());
  EXPECT_LT(took.count(), WaitsOf(p) + 2.0);  // the rest of a transfer at baud 0 is quick
  const std::string after = ReadAll(project);
  if (std::string(p.transfer) == "read" && r.status == 0) {
    EXPECT_EQ(after.substr(512, 80), std::string(80, '\xFF'));  // the Box's blank EEPROM
  } else {
    EXPECT_TRUE(after == before) << "the project changed";
  }
}

INSTANTIATE_TEST_SUITE_P(Sample, FaultSampleE2e, testing::ValuesIn(kFaultSample),
                         [](const testing::TestParamInfo<FaultSamplePoint>& info) {
                           std::string name = std::string(info.param.transfer) + "_" +
                                              info.param.fault + "_" +
                                              std::to_string(info.param.command);
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
}  // namespace vyk::test

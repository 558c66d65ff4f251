// `vyk log summary` on a drive whose recording stopped in the middle of a row, and on a file
// that is no log.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/cli_test_util.h"
#include "support/log_text.h"

namespace vyk::test {
namespace {

TEST(LogCli, SummaryOfADrive) {
  TempFolder tmp;
  const std::string drive = tmp / "drive.csv", other = tmp / "other.csv";
  std::ofstream(drive, std::ios::binary)
      << kLogHeader << "s,count,Hz,count,V,count,count,count,count,entry\r\n"
      << "0.000,512,1475.7,410,2.002,0,-3,0,0,16\r\n0.500,520,1498.7,420,2.051,0,-3,0,0,16\r\n"
      << "1.000,96,276.7,200,0.977,0,0,0,0,3\r\n3.000,1000,2882.2,800,3.906,1,0,0,0,31\r\n"
      << "3.5,1000,28";
  std::ofstream(other, std::ios::binary) << "a,b\r\n1,2\r\n";
  const std::string cut = "Warning: " + drive + ": Line 7 is cut short\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out;  // parts of the text, or JSON (with "{")
    std::string err;
  } cases[] = {
      {{drive},
       0,
       {"Readings:            4\nSeconds:             3.000\nReadings per second: 1.00\n",
        "input (Hz)               276.7     2882.2\noutput count (count)       200        800\n",
        "entry  3  1.0 s  33.3 %  #############\nentry 16  1.0 s  33.3 %  #############\n"},
       cut},
      {{drive, "--json"}, 0, {"{"}, cut},
      {{other}, 1, {}, other + " is not a Vyk Edit live log\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"log", "summary"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult r = RunVyk(args, tmp);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    for (const std::string& part : c.out)
      EXPECT_NE(r.out.find(part), std::string::npos) << r.out;
    if (c.out == std::vector<std::string>{"{"}) {
      const auto j = nlohmann::json::parse(r.out);
      EXPECT_EQ(j["columns"]["input"],
                nlohmann::json::parse(R"({"min": 276.7, "max": 2882.2, "unit": "Hz"})"));
      EXPECT_EQ(j["entries"][1]["inputCount"], 512);
      EXPECT_EQ(j["problem"], "Line 7 is cut short");
    }
  }
}

}  // namespace
}  // namespace vyk::test

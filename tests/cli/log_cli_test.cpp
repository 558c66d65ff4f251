// `vyk log summary` on a recorded drive, one that stops at a bad line, and a file that is no log.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/cli_test_util.h"

namespace vyk::test {
namespace {

const std::string kDrive =
    "time,input count,input,output count,output,offset 1,offset 2,offset 3,offset 4,entry\r\n"
    "s,count,Hz,count,V,count,count,count,count,entry\r\n"
    "0.000,512,1475.7,410,2.002,0,-3,0,0,16\r\n"
    "0.500,520,1498.7,420,2.051,0,-3,0,0,16\r\n"
    "1.000,96,276.7,200,0.977,0,0,0,0,3\r\n"
    "3.000,1000,2882.2,800,3.906,1,0,0,0,31\r\n";

TEST(LogCli, SummaryOfADrive) {
  TempFolder tmp;
  const std::string drive = tmp / "drive.csv", cut = tmp / "cut.csv", other = tmp / "other.csv";
  std::ofstream(drive, std::ios::binary) << kDrive;
  std::ofstream(cut, std::ios::binary) << kDrive << "3.5,1000,28";
  std::ofstream(other, std::ios::binary) << "a,b\r\n1,2\r\n";
  const std::string text = "File:                " + drive +
                           "\n"
                           "Readings:            4\n"
                           "Seconds:             3.000\n"
                           "Readings per second: 1.00\n\n"
                           "Column                 Minimum    Maximum\n"
                           "time (s)                 0.000      3.000\n"
                           "input count (count)         96       1000\n"
                           "input (Hz)               276.7     2882.2\n"
                           "output count (count)       200        800\n"
                           "output (V)               0.977      3.906\n"
                           "offset 1 (count)             0          1\n"
                           "offset 2 (count)            -3          0\n"
                           "offset 3 (count)             0          0\n"
                           "offset 4 (count)             0          0\n\n"
                           "Time per table entry:\n"
                           "entry  3  1.0 s  33.3 %  #############\n"
                           "entry 16  1.0 s  33.3 %  #############\n"
                           "entry 31  1.0 s  33.3 %  #############\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;  // out "{": JSON, checked below
  } cases[] = {
      {{drive}, 0, text, ""},
      {{cut}, 0, "", "Warning: " + cut + ": Line 7 is cut short\n"},
      {{drive, "--json"}, 0, "{", ""},
      {{other}, 1, "", other + " is not a Vyk Edit live log\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"log", "summary"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult r = RunVyk(args, tmp);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    if (c.out == "{") {
      const auto j = nlohmann::json::parse(r.out);
      EXPECT_EQ(j["readings"], 4);
      EXPECT_EQ(j["columns"]["input"],
                nlohmann::json::parse(R"({"min": 276.7, "max": 2882.2, "unit": "Hz"})"));
      EXPECT_EQ(j["entries"][1], nlohmann::json::parse(
                                     R"({"entry": 16, "inputCount": 512, "seconds": 1.0,
                                         "share": 0.3333333333333333})"));
      EXPECT_TRUE(j["problem"].is_null());
    } else if (!c.out.empty()) {
      EXPECT_EQ(r.out, c.out);
    }
  }
}

}  // namespace
}  // namespace vyk::test

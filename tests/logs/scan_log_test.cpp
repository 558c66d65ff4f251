#include "logs/scan_log.h"

#include <gmock/gmock.h>

#include <cmath>

#include "logs/live_log.h"
#include "support/log_text.h"

namespace vyk::test {
namespace {

// The forms scan tools and loggers write, read to columns and rows (NaN shown as -1 here; a
// row ends at its last number).
TEST(ScanLog, Forms) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> columns;
    std::vector<std::vector<double>> rows;
    int skipped;
  };
  const std::vector<Case> cases = {
      {"commas", "MAF,STFT\n2.5,-1.5\n2.6,\n", {"MAF", "STFT"}, {{2.5, -1.5}, {2.6}}, 0},
      {"semicolons, decimal commas",
       "\xEF\xBB\xBFMAF (V); STFT (%)\r\n2,5;-1,5\r\n2,6;+3\r\n",
       {"MAF (V)", "STFT (%)"},
       {{2.5, -1.5}, {2.6, 3}},
       0},
      {"tabs", "MAF\tSTFT\n2.5\t1\n", {"MAF", "STFT"}, {{2.5, 1}}, 0},
      {"a Windows-1252 header",
       "ECT (\xB0"
       "C),MAF\n90,2.5\n",
       {"ECT (°C)", "MAF"},
       {{90, 2.5}},
       0},
      {"quotes",
       "\"Time, s\",\"MAF \"\"V\"\"\"\n\"1,0\",\"2.5\"\n1.5,abc\n",
       {"Time, s", "MAF \"V\""},
       {{-1, 2.5}, {1.5}},
       0},
      {"a row of words and a blank line",
       "MAF,STFT\nV,%\n\n2.5,1\n",
       {"MAF", "STFT"},
       {{2.5, 1}},
       1},
      {"the program's own live log",
       kLogHeadVolts + "0.100,512,3.000,400,1.953,0,0,0,0,16\r\n",
       {kLogColumns.begin(), kLogColumns.end()},
       {{0.1, 512, 3, 400, 1.953, 0, 0, 0, 0, 16}},
       1},
  };
  for (const Case& c : cases) {
    const ScanLog log = ParseScanLog(c.text, "drive.csv");
    EXPECT_EQ(log.columns, c.columns) << c.what;
    std::vector<std::vector<double>> rows = log.rows;
    for (auto& row : rows)
      for (double& v : row)
        if (std::isnan(v)) v = -1;
    EXPECT_EQ(rows, c.rows) << c.what;
    EXPECT_EQ(log.skipped, c.skipped) << c.what;
  }
}

TEST(ScanLog, Refused) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "drive.csv has no header row"},
      {"1.5,2.5\n1.6,2.6\n", "drive.csv has no header row: its first row holds no column names"},
      {"MAF,STFT\nV,%\n", "drive.csv has no row of numbers under its header"},
      {std::string(1000, ',') + "\n1\n",
       "drive.csv has 1001 columns in its header row: a log of more than 1000 is not read"},
  };
  for (const auto& [text, message] : cases)
    EXPECT_THAT([&] { ParseScanLog(text, "drive.csv"); },
                testing::ThrowsMessage<ScanLogError>(message));
}

}  // namespace
}  // namespace vyk::test

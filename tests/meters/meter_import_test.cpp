// Meter text files: line ends, header lines, point lines and the 62-point limit.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "meters/meter_import.h"
#include "model/errors.h"
#include "support/temp_folder.h"

namespace vyk {
namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What the record held before: the import keeps what the file does not set.
MeterRecord Earlier() {
  MeterRecord record;
  record.SetPartNumber("OLD");
  record.SetIsMetric(true);
  record.SetDescription1("old one");
  record.SetDescription2("old two");
  record.SetPointCount(5);
  return record;
}

// The record as "part|Hz or V|kg or lb|description 1|description 2|signal,flow;...".
std::string Describe(const MeterRecord& r) {
  std::string text = r.PartNumber() + (r.IsFrequency() ? "|Hz|" : "|V|") +
                     (r.IsMetric() ? "kg|" : "lb|") + r.Description1() + "|" + r.Description2() +
                     "|";
  for (int i = 1; i <= r.PointCount(); ++i)
    text += (i > 1 ? ";" : "") + r.SignalText(i) + "," + r.FlowText(i);
  return text;
}

TEST(ImportMeterText, LineRules) {
  const std::string header = "P-1\r\nVolts\r\nKG/HR\r\nd1x\r\nd2x\r\n";
  struct Case {
    const char* name;
    std::string text;
    const char* expected;
  } cases[] = {
      {"CR LF lines", "P-1\r\nVolts\r\nkg/hr\r\nFirst\r\nSecond\r\n0.5 12\r\n4.853 100\r\n",
       "P-1|V|kg|First|Second|0.50,12.00;4.85,100.00"},
      {"a lone CR ends a line, a lone LF stays", "P-1\nX\rVolts\rlb/hr\r", "P-1\nX|V|lb|||"},
      {"LF only is one line", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\nHz\nlb/hr\n0.5 1\n",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZ|V|kg|||"},
      {"blank lines count, ends trimmed", "\t P-7 \x01\r\n\r\nlb/hr\r\nDesc", "P-7|V|lb|Desc||"},
      {"one quote off each end", "\"P-2\"\r\n\"Volts\"\r\n\"kg/hr\"\r\n\"\"Q\"\"\r\n\r\n\"1 2\"",
       "P-2|V|kg|\"Q\"||1.00,2.00"},
      {"kHz scales", "P\r\nkHz\r\nKg/Hr\r\n\r\n\r\n1.5 12.0\r\n", "OLD|Hz|kg||| 1500,12.00"},
      {"Hz is too short to count", "P-3\r\nHz\r\nlbs\r\n\r\n\r\n500 12\r\n",
       "P-3|V|lb|||500.00,12.00"},
      {"hertz texts", "P-3\r\nHERTZ\r\nlbs\r\n\r\n\r\n500 12\r\n100 1\r\n",
       "P-3|Hz|lb|||  500,12.00;  100,1.00"},
      {"fields",
       header + "0.50\t\t  12.5 word\r\n0.60\r\na b\r\n0.7 1.2.3\r\n0.8 1e\r\n" +
           "+1 .5\r\n1.5e0 5.\r\n1e39 3\r\n. 4\r\n",
       "P-1|V|kg|d1x|d2x|0.50,12.50;1.00,0.50;1.50,5.00"},
      {"no limits, texts cut to 7", header + "7 -1\r\n1 12345.67\r\n",
       "P-1|V|kg|d1x|d2x|7.00,-1.00;1.00,12345.6"},
      {"character 26 ends the file", header + "1 2\r\n3 4\x1a\r\n5 6\r\n",
       "P-1|V|kg|d1x|d2x|1.00,2.00;3.00,4.00"},
  };
  test::TempFolder folder;
  for (const auto& c : cases) {
    WriteText(folder.File("m.txt"), c.text);
    MeterRecord record = Earlier();
    ImportMeterText(folder.File("m.txt"), record);
    EXPECT_EQ(Describe(record), c.expected) << c.name;
  }
}

TEST(ImportMeterText, ValuesKeepTheParsedNumbers) {
  test::TempFolder folder;
  WriteText(folder.File("m.txt"), "P-1\r\nKHz\r\nkg/hr\r\n\r\n\r\n1.5 12345.67\r\n");
  MeterRecord record;
  ImportMeterText(folder.File("m.txt"), record);
  EXPECT_EQ(record.SignalValue(1), 1500.0f);
  EXPECT_EQ(record.FlowValue(1), 12345.67f);
}

TEST(ImportMeterText, A63rdPointLineFailsAndLeavesTheRecordAsItWas) {
  test::TempFolder folder;
  std::string text = "P-1\r\nVolts\r\nkg/hr\r\nd1x\r\nd2x\r\n";
  for (int i = 1; i <= 62; ++i)
    text += std::to_string(i) + " " + std::to_string(i) + "\r\n";
  WriteText(folder.File("62.txt"), text);
  WriteText(folder.File("63.txt"), text + "63 63\r\n");

  MeterRecord record = Earlier();
  ImportMeterText(folder.File("62.txt"), record);
  EXPECT_EQ(record.PointCount(), 62);
  record = Earlier();
  EXPECT_THROW(ImportMeterText(folder.File("63.txt"), record), RangeError);
  EXPECT_EQ(record, Earlier());
  EXPECT_THROW(ImportMeterText(folder.File("missing.txt"), record), InOutError);
  EXPECT_EQ(record, Earlier());
}

}  // namespace
}  // namespace vyk

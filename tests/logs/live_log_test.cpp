#include <gmock/gmock.h>

#include <map>

#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "model/groups.h"
#include "support/file_bytes.h"
#include "support/log_text.h"
#include "support/temp_folder.h"

namespace vyk::test {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

LogReading At(double seconds, int input, int output = 400, std::array<int, 4> offsets = {}) {
  return {seconds, input, offsets, output};
}

TEST(LiveLog, RowsInVoltsAndHertz) {
  const LogUnits ford{false, false, ConversionSettings::ForGroup(kFord)};
  const LogUnits gmHertzIn{true, false, ConversionSettings::ForGroup(kGM)};
  const LogUnits fordHertzOut{false, true, ConversionSettings::ForGroup(kFord)};
  const struct {
    LogUnits units;
    LogReading reading;
    std::string row;
  } cases[] = {
      {ford, At(12.345, 512, 410, {0, -3, 0, 0}), "12.345,512,3.000,410,2.002,0,-3,0,0,16"},
      {ford, At(0.0004, 16, 0), "0.000,16,0.094,0,0.000,0,0,0,0,1"},
      {gmHertzIn, At(3600.5, 512, 410), "3600.500,512,6756.6,410,2.402,0,0,0,0,16"},
      {fordHertzOut, At(1, -5, 1023, {-16, 7, 0, 255}),
       "1.000,-5,-0.029,1023,2948.5,-16,7,0,255,0"},
      {fordHertzOut, At(2, 1100, 2), "2.000,1100,6.445,2,5.8,0,0,0,0,32"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LogRow(c.reading, c.units), c.row);
}

TEST(LiveLog, EveryRowIsOnDiskOnceAppendedAndReadsBack) {
  TempFolder folder;
  const std::string path = folder.File("drive.csv");
  const LogUnits units{true, false, ConversionSettings::ForGroup(kFord)};
  const std::vector<LogReading> drive = {At(0, 0, 0), At(0.055, 300, 512, {4, 0, -2, 0}),
                                         At(0.11, 1024, 1023)};
  std::string bytes = kLogHeader + "s,count,Hz,count,V,count,count,count,count,entry\r\n";
  LogWriter writer(path, units);
  for (size_t n = 0; n < drive.size(); ++n) {
    writer.Append(drive[n]);
    bytes += LogRow(drive[n], units) + "\r\n";
    EXPECT_EQ(ReadBytes(path), bytes);  // while the writer is open
    const LogFile log = ReadLog(path);
    ASSERT_EQ(log.readings.size(), n + 1);
    EXPECT_EQ(LogRow(log.readings[n], units), LogRow(drive[n], units));
    EXPECT_TRUE(log.inputHertz && !log.outputHertz && log.problem.empty());
  }
  EXPECT_EQ(writer.Rows(), 3);
  if (std::filesystem::exists("/dev/full")) {  // a full disk
    EXPECT_THAT([&] { LogWriter("/dev/full", units); },
                ThrowsMessage<LogError>(StrEq("Error writing /dev/full: No space left on device")));
  }
}

TEST(LiveLog, BadFilesAreRefusedOrReadUpToTheBadLine) {
  const std::string row = "0.000,512,3.000,410,2.002,0,-3,0,0,16\r\n";
  const std::string later = "0.500,96,0.562,200,0.977,0,0,0,0,3\r\n";
  std::string unixLines = kLogHeadVolts;
  std::erase(unixLines, '\r');
  const struct {
    std::string text;
    size_t readings;
    std::string problem;  // or the LogError's text
  } cases[] = {
      {"time,input,output\r\n" + row, 0, "x.csv is not a Vyk Edit live log"},
      {kLogHeadVolts, 0, ""},
      {"\xEF\xBB\xBF" + unixLines + "0,512,3,410,2,0,0,0,0,16", 1, ""},
      {kLogHeader + "s,count,mV,count,V,count,count,count,count,entry\r\n" + row, 0,
       "Line 2: expected the units row"},
      {kLogHeadVolts + row + "1.0,512,3.0,410\r\n" + later, 1,
       "Line 4: expected 10 fields, found 4"},
      {kLogHeadVolts + row + later + "0.600,96,0.5", 2, "Line 5 is cut short"},
      {kLogHeadVolts + later + row, 1, "Line 4: the time goes back"},
      {kLogHeadVolts + "nan,96,0.562,200,0.977,0,0,0,0,3\r\n", 0,
       "Line 3: the time is not a number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      const LogFile log = ParseLog(c.text, "x.csv");
      EXPECT_EQ(log.readings.size(), c.readings);
      EXPECT_EQ(log.problem, c.problem);
    } catch (const LogError& e) {
      EXPECT_EQ(e.what(), c.problem);
    }
  }
}

// Stays: 0.5 and 0.5 at entry 16, 2 s capped to 1 at entry 3, 0.25 at entry 32, and the last
// reading (entry 31) as long as the one before it.
TEST(LiveLog, HitMapSharesTheTimeAmongTheEntries) {
  const struct {
    std::vector<LogReading> readings;
    std::map<int, double> seconds;
    double total;
  } cases[] = {
      {{At(0, 512), At(0.5, 520), At(1, 96), At(3, 1024), At(3.25, 1000)},
       {{16, 1}, {3, 1}, {32, 0.25}, {31, 0.25}},
       2.5},
      {{At(5, 16)}, {{1, 1}}, 1},
  };
  for (const auto& [readings, entries, total] : cases) {
    const HitMap map = HitMapOf(readings);
    EXPECT_DOUBLE_EQ(map.total, total);
    for (int k = 0; k < kTableEntries; ++k) {
      const double seconds = entries.count(k) ? entries.at(k) : 0;
      EXPECT_DOUBLE_EQ(map.seconds[k], seconds) << k;
      EXPECT_DOUBLE_EQ(map.Share(k), seconds / total) << k;
    }
  }
}

}  // namespace
}  // namespace vyk::test

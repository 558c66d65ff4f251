// The history's file: one line per transfer, appended, read back field for field.
#include <gtest/gtest.h>

#include "model/records/box_history.h"
#include "support/temp_folder.h"

namespace vyk::test {
namespace {

TEST(BoxHistory, LinesAreAppendedAndReadBackWhole) {
  TempFolder tmp;
  const std::string folder = (tmp.Path() / "new folder").string();
  HistoryEntry odd{"2026-12-08T08:30:05+0100",
                   "update",
                   "/dev/ttyUSB0",
                   "G",
                   "1.0",
                   "C:\\cars\\a\tb.VYK",
                   "03C95E1E",
                   "failed",
                   "write 1A",
                   "Verify error: 20 \r\n\xCD"
                   "0+",
                   ""};
  HistoryEntry plain = odd;
  plain.project = "/home/w/car.VYK";
  plain.message.clear();
  AppendHistory(folder, odd);
  AppendHistory(folder, plain);
  // A line cut short (a full disk) and a later version's extra field.
  {
    std::ofstream out(HistoryPath(folder), std::ios::app | std::ios::binary);
    out << "2026-12-08T09:00:00+0100\tupdate\n" << HistoryLine(plain) << "\textra\n";
  }
  EXPECT_EQ(ReadHistory(folder), (std::vector<HistoryEntry>{odd, plain, plain}));
  const std::string text = ReadBytes(HistoryPath(folder));
  EXPECT_EQ(text.rfind("# time\t", 0), 0u);  // one heading, at the start
  EXPECT_EQ(text.find("# time", 1), std::string::npos);
  EXPECT_NE(text.find("C:\\\\cars\\\\a\\tb.VYK"), std::string::npos);
  EXPECT_EQ(Crc32Text(reinterpret_cast<const uint8_t*>("123456789"), 9), "CBF43926");
}

// The history read from its end: the newest lines first, as many as asked for, across the
// blocks it is read in, with lines that cannot be read counted and passed over.
TEST(BoxHistory, TheNewestEntriesComeFirstAndUnreadableLinesAreCounted) {
  TempFolder tmp;
  const std::string folder = tmp.Path().string();
  auto line = [](int n) {
    HistoryEntry e;
    e.time = std::to_string(n);
    e.message = std::string(100, 'm');  // 5000 lines span several blocks
    return HistoryLine(e);
  };
  std::string many = "# time\n";
  for (int n = 1; n <= 5000; ++n)
    many += line(n) + (n == 2500 ? "\n" + std::string(70000, '\t') + "\n\n" : "\r\n");
  struct Case {
    std::string text;
    size_t last;
    std::vector<std::string> times;  // newest first
    size_t skipped;
  } cases[] = {
      {"", kEveryEntry, {}, 0},
      {line(1) + "\n" + line(2), kEveryEntry, {"2", "1"}, 0},  // no final line end
      {line(1) + "\ncut\tshort\n\xFF\n" + line(2) + "\n", kEveryEntry, {"2", "1"}, 2},
      {std::string(600000, 'x') + "\n" + line(1) + "\n", kEveryEntry, {"1"}, 1},
      {many, 3, {"5000", "4999", "4998"}, 0},
      {many, 2502, {"5000", "2499"}, 1},  // the first and the last; the long line between
  };
  for (const Case& c : cases) {
    WriteBytes(HistoryPath(folder), c.text);
    std::vector<std::string> times;
    const size_t skipped = ReadHistoryNewestFirst(
        folder, c.last, [&](const HistoryEntry& e) { times.push_back(e.time); });
    if (times.size() > 2 && c.times.size() == 2) times = {times.front(), times.back()};
    EXPECT_EQ(times, c.times) << c.text.size();
    EXPECT_EQ(skipped, c.skipped) << c.text.size();
  }
}

}  // namespace
}  // namespace vyk::test

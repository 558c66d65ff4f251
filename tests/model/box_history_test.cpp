// The history's file: one line per transfer, appended, read back field for field.
#include <gtest/gtest.h>

#include "model/box_history.h"
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

}  // namespace
}  // namespace vyk::test

#include "operations/logs/log_correction.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/synthetic_drive.h"
#include "support/temp_folder.h"

namespace vyk::test {
namespace {

// A drive that wants entries 8 and 9 of a new Ford project 4 % richer, as a log of signal,
// the trims split in two, and coolant.
TEST(LogCorrection, AppliesAsOneChangeAndRemembersTheColumns) {
  Harness h;
  h.New(kFord);
  Drive drive{{}, {}, std::vector<int>(kTableEntries, 0)};
  for (int k = 0; k < kTableEntries; ++k) {
    drive.held.push_back(h.state.image.Entry(k));
    drive.truth.push_back(static_cast<int>(std::lround(drive.held[k] * (k / 2 == 4 ? 1.04 : 1))));
  }
  drive.perEntry[8] = drive.perEntry[9] = 21;
  ScanLog log{{"MAF (V)", "STFT", "LTFT", "ECT (C)"}, {}};
  for (const CorrectionSample& s : DriveSamples(drive, h.state.conversion))
    log.rows.push_back({s.signal, s.trim / 2, s.trim / 2, s.coolant});
  const CorrectionColumns columns{"maf (v)", {"STFT", "3"}, "", "", "ECT (C)", ""};
  const EepromImage before = h.state.image;
  const CorrectionResult r = CorrectProjectTable(h.state, log, columns, CorrectionSettings{});
  ASSERT_TRUE(ApplyCorrection(h.session, r));
  for (int k = 0; k < kTableEntries; ++k)
    EXPECT_EQ(h.state.image.Entry(k), drive.truth[k]) << "entry " << k;
  EXPECT_EQ(h.session.history.UndoName(), "Correct From Log");
  ASSERT_TRUE(Undo(h.session));
  EXPECT_EQ(h.state.image, before);
  const TempFolder settings;
  const std::string folder = settings.Path().string();
  EXPECT_EQ(RememberedColumns(folder, log), std::nullopt);
  RememberColumns(folder, log, columns);
  EXPECT_EQ(RememberedColumns(folder, log), columns);
  // Kept before there was a throttle column: five fields.
  const std::string text = CorrectionColumnsText(columns);
  EXPECT_EQ(CorrectionColumnsFromText(text.substr(0, text.rfind('|'))), columns);
}

}  // namespace
}  // namespace vyk::test

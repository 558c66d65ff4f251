// What a comparison of two projects lists, and how it draws their curves.
#include <gtest/gtest.h>

#include <functional>

#include "model/conversions.h"
#include "model/groups.h"
#include "model/image_diff.h"
#include "operations/compare/compare.h"

namespace vyk {
namespace {

ComparedProject FordProject() {
  ComparedProject p{"A", ProjectHeader(), NewImage(kFord)};
  p.header.SetFixedFields();
  p.header.SetGroup(kFord);
  p.header.SetName(FileText("Car"));
  p.header.SetUseMeterName(FileText("(none)"));
  p.header.SetMatchMeterName(FileText("(none)"));
  p.header.SetByteAt(ProjectHeader::kUseMeterGroup, kNoMeterGroup);
  p.header.SetByteAt(ProjectHeader::kMatchMeterGroup, kNoMeterGroup);
  return p;
}

TEST(ImageDiff, ListsWhatDiffersInTheUnitsOfEachSide) {
  using Edit = std::function<void(ComparedProject&)>;
  struct Case {
    const char* what;
    Edit edit;
    std::vector<ImageDifference> expected;
  } cases[] = {
      {"dates only",
       [](ComparedProject& b) { b.header.SetInt32At(ProjectHeader::kSaved, 46000); },
       {}},
      {"an entry",
       [](ComparedProject& b) { b.image.SetEntry(3, 512); },
       {{"Entry 3", "0.562 V (115)", "2.500 V (512)"}}},
      {"the mode byte",
       [](ComparedProject& b) { b.image.SetByte(kModeByte, 0x11); },
       {{"Mode", "01: voltage input, voltage output",
         "11: voltage input, voltage output, limit inverted"}}},
      {"a pot",
       [](ComparedProject& b) { b.image.SetByte(kFirstPotByte + 1, 0xFD); },
       {{"Pot 2", "0", "-3"}}},
      {"the limit",
       [](ComparedProject& b) { b.image.SetEntry(kLimitEntry, 512); },
       {{"Limit", "4.995 V (1023)", "2.500 V (512)"}}},
      {"bytes without a meaning, in the Box and beyond it",
       [](ComparedProject& b) {
         b.image.SetByte(0x4A, 0x00);
         b.image.SetByte(0x50, 0x7F);
       },
       {{"Byte 4A", "FF", "00"}, {"Byte 50", "FF", "7F"}}},
      {"header fields",
       [](ComparedProject& b) {
         b.header.SetName(FileText("Other"));
         b.header.SetUseMeterName(FileText("GM-USE-1"));
         b.header.SetByteAt(ProjectHeader::kUseMeterGroup, kGM);
       },
       {{"Name", "Car", "Other"}, {"Meter to use", "(none)", "GM-USE-1 (GM)"}}},
      {"a group with the same scale",
       [](ComparedProject& b) { b.header.SetGroup(kImport); },
       {{"Group", "Ford", "Import"}}},
      // The same counts at another scale: the entries are compared by their counts.
      {"a group with another scale",
       [](ComparedProject& b) { b.header.SetGroup(kGM); },
       {{"Group", "Ford", "GM"},
        {"Table units", "volts, 5 V full scale", "volts, 6 V full scale"}}},
      {"another output kind",
       [](ComparedProject& b) {
         b.image.SetByte(kModeByte, 0x02);
         b.image.SetEntry(1, 100);
       },
       {{"Table units", "volts, 5 V full scale", "hertz, 2.8822 Hz per count"},
        {"Entry 1", "0.186 V (38)", "288 Hz (100)"},
        {"Mode", "01: voltage input, voltage output", "02: voltage input, frequency output"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ComparedProject a = FordProject();
    ComparedProject b = FordProject();
    c.edit(b);
    EXPECT_EQ(DiffImages({a.header, a.image}, {b.header, b.image}), c.expected);
  }
}

TEST(CompareProjects, DrawsBothCurvesInTheirUnitsOrInCountsWhenTheUnitsDiffer) {
  ComparedProject gm = FordProject();
  gm.header.SetGroup(kGM);
  const Comparison same = CompareProjects(FordProject(), FordProject());
  EXPECT_TRUE(same.sameUnits);
  EXPECT_EQ(same.Summary(), "No differences");
  EXPECT_EQ(same.xTitle, "V In");
  EXPECT_EQ(same.yTitle, "V Out");
  ASSERT_EQ(same.curveB.size(), 32u);
  EXPECT_EQ(same.curveB[31].y, CountOutputVolts(ConversionSettings::ForGroup(kFord), 1023));

  const Comparison other = CompareProjects(FordProject(), gm);
  EXPECT_FALSE(other.sameUnits);
  EXPECT_EQ(other.xTitle, "Input count");
  EXPECT_EQ(other.yTitle, "Output count");
  EXPECT_EQ(other.curveA[1], (ChartPoint{32, 38}));
  EXPECT_EQ(other.Summary().rfind("2 differences. The two tables read in different units", 0), 0u)
      << other.Summary();
}

}  // namespace
}  // namespace vyk

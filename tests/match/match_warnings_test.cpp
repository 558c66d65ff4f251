#include <gtest/gtest.h>

#include <vector>

#include "match/compute_match.h"
#include "match/match_warnings.h"
#include "model/conversions.h"
#include "model/groups.h"

#include "support/test_meters.h"

namespace vyk::test {
namespace {

using Kind = MatchWarningKind;

// A voltage meter in lb/hr whose points fall on input codes 21, 43, 85, 128, 171 and 205.
MeterRecord Volts(std::vector<MeterPointText> points, bool metric = false) {
  return Meter(false, metric, points);
}
const std::vector<MeterPointText> kUsual = {{"0.50", "10.00"},  {"1.00", "40.00"},
                                            {"2.00", "150.00"}, {"3.00", "400.00"},
                                            {"4.00", "800.00"}, {"4.80", "1200.00"}};
const std::vector<MeterPointText> kBeyondFord = {{"0.50", "10.00"},
                                                 {"1.00", "20.00"},
                                                 {"3.00", "60.00"},
                                                 {"5.50", "700.00"},
                                                 {"5.90", "1300.00"}};

TEST(MatchWarnings, PairsOfMeters) {
  struct Case {
    const char* name;
    MeterRecord use;
    MeterRecord match;
    uint8_t group;
    std::vector<Kind> kinds;
    const char* firstText = "";  // checked when given
  } cases[] = {
      {"a meter matched to itself", Volts(kUsual), Volts(kUsual), kFord, {}},
      {"flows far above the meter to use's",
       Volts(kUsual),
       Volts({{"1.00", "2000.00"}, {"2.00", "3000.00"}, {"3.00", "4000.00"}}),
       kGM,
       {Kind::FlowOverlap},
       "The flow ranges overlap by less than half of the meter to use's range: the meter to use "
       "reads 10.00 to 1200.00 lb/hr, the meter to match 2000.00 to 4000.00 lb/hr."},
      // Half of 10..1200 is 595.
      {"an overlap just under half",
       Volts(kUsual),
       Volts({{"1.00", "620.00"}, {"2.00", "2000.00"}, {"4.00", "5000.00"}}),
       kGM,
       {Kind::FlowOverlap}},
      {"an overlap just over half",
       Volts(kUsual),
       Volts({{"1.00", "600.00"}, {"2.00", "2000.00"}, {"4.00", "5000.00"}}),
       kGM,
       {}},
      // 500..1000 kg/hr are 1101..2203 lb/hr at the match's 0.454. The match meter ends at
      // 1200 lb/hr, so the output is extrapolated into 1023 over most of the use meter's range.
      {"a metric meter to use is compared in the match's lb/hr",
       Volts({{"1.00", "500.00"}, {"3.00", "700.00"}, {"4.00", "1000.00"}}, true),
       Volts(kUsual),
       kGM,
       {Kind::FlowOverlap, Kind::OutputLimited}},
      {"a use meter whose signal falls as the flow rises",
       Volts({{"0.50", "10.00"},
              {"1.00", "40.00"},
              {"2.00", "150.00"},
              {"3.00", "140.00"},
              {"4.00", "800.00"},
              {"4.80", "1200.00"}}),
       Volts(kUsual),
       kGM,
       {Kind::UseNotRising},
       "The signals of the meter to use do not rise with flow: 3.00 V at 140.00 lb/hr (point 4), "
       "then 2.00 V at 150.00 lb/hr (point 3)."},
      {"a match meter with one signal at two flows",
       Volts(kUsual),
       Meter(true, false, {{"  500", "10.00"}, {" 1000", "40.00"}, {" 1000", "1300.00"}}),
       kGM,
       {Kind::MatchNotRising},
       "The signals of the meter to match do not rise with flow: 1000 Hz at 40.00 lb/hr (point "
       "2), then 1000 Hz at 1300.00 lb/hr (point 3)."},
      // 5.50 V is beyond Ford's 853 counts: the output stands at 853 from code 160, where
      // 700 lb/hr lands, to the use meter's last point at 205.
      {"a match meter beyond the Ford output",
       Volts(kUsual),
       Volts(kBeyondFord),
       kFord,
       {Kind::OutputLimited}},
      // The use meter ends at 3.00 V (code 128), before the output reaches 853.
      {"limited slots beyond the use meter's points do not count",
       Volts({{"0.50", "10.00"}, {"1.00", "20.00"}, {"3.00", "60.00"}}),
       Volts(kBeyondFord),
       kFord,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ConversionSettings cs = ConversionSettings::ForGroup(c.group);
    MatchTable table;
    ComputeMatch(c.use, c.match, cs.HertzPerCount, cs.MaxOutputCount, table);
    const std::vector<MatchWarning> warnings =
        MatchWarnings(c.use, c.match, table, cs.HertzPerCount, cs.MaxOutputCount);
    std::vector<Kind> kinds;
    for (const MatchWarning& w : warnings)
      kinds.push_back(w.kind);
    EXPECT_EQ(kinds, c.kinds);
    if (*c.firstText != '\0' && !warnings.empty()) {
      EXPECT_EQ(warnings[0].text, c.firstText);
    }
  }
}

// The warning names its threshold and where the flat stretch starts.
TEST(MatchWarnings, LimitedSlotsAreCountedInTheUseMetersRange) {
  const ConversionSettings ford = ConversionSettings::ForGroup(kFord);
  // Slots 21..205 of the use meter; the match meter's 6.00 V is 1024 counts, limited to 853.
  const MeterRecord use = Volts(kUsual);
  const MeterRecord match = Volts({{"0.50", "10.00"}, {"6.00", "40.00"}, {"5.00", "1200.00"}});
  MatchTable table;
  ComputeMatch(use, match, ford.HertzPerCount, ford.MaxOutputCount, table);
  const std::vector<MatchWarning> warnings =
      MatchWarnings(use, match, table, ford.HertzPerCount, ford.MaxOutputCount);
  ASSERT_FALSE(warnings.empty());
  EXPECT_EQ(warnings.back().text,
            "163 slots in the meter to use's range were limited to the maximum output count 853 "
            "(more than 8; the first at input code 43).");
}

}  // namespace
}  // namespace vyk::test

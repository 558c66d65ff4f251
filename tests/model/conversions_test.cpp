// Number reading and the count <-> volts / hertz conversions.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model/app_state.h"
#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/number.h"

namespace vyk {
namespace {

AppState ProjectOf(uint8_t group) {
  AppState state;
  state.conversion = ConversionSettings::ForGroup(group);
  state.header.SetGroup(group);
  return state;
}

TEST(ReadNumber, AcceptsOnlyAWholeDecimalNumber) {
  struct Case {
    const char* text;
    std::optional<float> value;
  } cases[] = {
      {"12", 12.0f},    {"   12", 12.0f}, {"2.", 2.0f},  {".5", 0.5f},    {"+1", 1.0f},
      {"-1e2", -100.f}, {"1E+2", 100.f},  {"0.1", 0.1f}, {"1e-50", 0.0f}, {"1e-99999", 0.0f},
      {"12 ", {}},      {"", {}},         {" ", {}},     {"abc", {}},     {"1e", {}},
      {".", {}},        {"-", {}},        {"1,5", {}},   {"1.2.3", {}},   {"--1", {}},
      {"e5", {}},       {"0x10", {}},     {"1e5x", {}},  {"\t1", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "'");
    EXPECT_EQ(ReadNumber(c.text), c.value);
  }
}

TEST(ReadNumber, BeyondAFloatIsAnOverflow) {
  for (const char* text : {"1e39", "-1e39", "1e99999", "340282357000000000000000000000000000000"})
    EXPECT_THROW(ReadNumber(text), OverflowError) << text;
}

TEST(CountTexts, StartUpConstantsAndCountsBeyondSixteenBits) {
  const ConversionSettings startUp, ford = ConversionSettings::ForGroup(kFord);
  for (int count : {0, 2, 1024, 1025, 0xFFFF}) {
    EXPECT_EQ(InputVoltsText(startUp, count), "?");
    EXPECT_EQ(OutputVoltsText(startUp, count), "?");
    EXPECT_EQ(FrequencyText(startUp, kGM, count), "?");
  }
  for (int count : {-1, 0x10000}) {
    EXPECT_THROW(InputVoltsText(ford, count), RangeError);
    EXPECT_THROW(OutputVoltsText(ford, count), RangeError);
    EXPECT_THROW(FrequencyText(ford, kFord, count), RangeError);
  }
}

TEST(CountTexts, VoltsAndHertz) {
  const auto ford = ConversionSettings::ForGroup(kFord);
  const auto gm = ConversionSettings::ForGroup(kGM);
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      // The float scale puts 32 and 96 counts just below the half.
      {InputVoltsText(ford, 0), " 0.000 "},           {InputVoltsText(ford, 32), " 0.187 "},
      {InputVoltsText(ford, 96), " 0.562 "},          {InputVoltsText(ford, 1024), " 6.000 "},
      {InputVoltsText(ford, 1025), "****"},           {OutputVoltsText(ford, 1023), " 4.995 "},
      {OutputVoltsText(gm, 1023), " 5.994 "},         {OutputVoltsText(ford, 0xFFFF), "****"},
      {FrequencyText(ford, kFord, 0), "0    "},       {FrequencyText(ford, kFord, 1), "0    "},
      {FrequencyText(ford, kFord, 2), "    6 "},      {FrequencyText(ford, kImport, 2), "    6 "},
      {FrequencyText(ford, kFord, 1023), " 2948 "},   {FrequencyText(ford, kFord, 1024), "3000"},
      {FrequencyText(ford, kImport, 0xFFFF), "3000"}, {FrequencyText(gm, kGM, 1023), " 13500 "},
      {FrequencyText(gm, kGM, 1024), " 13500"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, c.expected);
}

TEST(StoreEntry, VoltsTexts) {
  constexpr int kBefore = 0x0123;
  struct Case {
    uint8_t group;
    const char* text;
    int expected;
  } cases[] = {
      {kFord, "5", 1023},  // clamped to 4.995 V
      {kFord, "2.5", 512},  {kFord, "0", 0},        {kFord, "2.5 ", kBefore},
      {kFord, "", kBefore}, {kFord, "-1", kBefore}, {kFord, "abc", kBefore},
      {kGM, "5", 852},  // the 6 V scale cannot reach higher counts from a voltage
      {kGM, "3", 512},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "' group " + std::to_string(c.group));
    AppState state = ProjectOf(c.group);
    state.image.SetEntry(5, kBefore);
    StoreEntryVolts(state, 5, c.text);
    EXPECT_EQ(state.image.Entry(5), c.expected);
  }
}

TEST(StoreEntry, FrequencyTexts) {
  struct Case {
    uint8_t group;
    const char* text;
    int count;   // FrequencyTextToCount
    int stored;  // the entry afterwards
  } cases[] = {
      {kFord, "5", 0, 0},           {kFord, "0", 0, 0},         {kFord, "-7", 0, 0},
      {kFord, "abc", -1, 0},        {kFord, "6", 2, 2},         {kFord, "3000", 1041, 1023},
      {kFord, "20000", 1041, 1023}, {kGM, "13500", 1023, 1023}, {kGM, "20000", 1023, 1023},
      {kImport, "1000", 347, 347},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "' group " + std::to_string(c.group));
    AppState state = ProjectOf(c.group);
    EXPECT_EQ(FrequencyTextToCount(state.conversion, c.text), c.count);
    state.image.SetEntry(5, 0x0123);
    StoreEntryFrequency(state, 5, c.text);
    EXPECT_EQ(state.image.Entry(5), c.stored);
  }
}

TEST(StoreEntry, ErrorsLeaveTheEntry) {
  AppState state = ProjectOf(kFord);
  state.image.SetEntry(7, 300);
  EXPECT_THROW(StoreEntryVolts(state, 7, "-1e30"), RangeError);
  EXPECT_THROW(StoreEntryVolts(state, 7, "1e39"), OverflowError);
  EXPECT_THROW(StoreEntryFrequency(state, 7, "1e39"), OverflowError);
  EXPECT_EQ(state.image.Entry(7), 300);
  EXPECT_THROW(StoreEntryVolts(state, 128, "1"), RangeError);
}

// What a cell shows, typed back in, must store the same count.
TEST(StoreEntry, ShownTextsStoreTheirOwnCount) {
  struct Scale {
    uint8_t group;
    bool volts;
    int highestKept;  // higher counts come back as this one
    int lowestKept;   // lower counts come back as 0
  } scales[] = {
      {kFord, true, 1023, 0}, {kGM, true, 852, 0}, {kFord, false, 1023, 2}, {kGM, false, 1023, 2}};
  for (const auto& scale : scales) {
    AppState state = ProjectOf(scale.group);
    for (int count = 0; count <= 1023; ++count) {
      state.image.SetEntry(3, count);
      if (scale.volts) {
        StoreEntryVolts(state, 3, Trim(EntryVoltsText(state, 3)));
      } else {
        StoreEntryFrequency(state, 3, Trim(EntryFrequencyText(state, 3)));
      }
      int expected = count > scale.highestKept  ? scale.highestKept
                     : count < scale.lowestKept ? 0
                                                : count;
      ASSERT_EQ(state.image.Entry(3), expected)
          << "group " << int(scale.group) << (scale.volts ? " volts" : " hertz");
    }
  }
}

}  // namespace
}  // namespace vyk

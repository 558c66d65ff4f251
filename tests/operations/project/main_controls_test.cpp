// The pot spin buttons, the limit box, the invert box and the two radio groups.
#include <gtest/gtest.h>

#include "operations/project/main_controls.h"
#include "operations/table/image_grids.h"
#include "support/fakes.h"

namespace vyk {
namespace {

using test::Harness;

TEST(AdjustPot, StepsWithinZeroTo99AndShowsASignedByte) {
  struct Case {
    int pot;
    uint8_t byte;  // in the image, then redisplayed
    int step;
    uint8_t expected;
    const char* text;
  } cases[] = {
      {1, 0, -1, 0, "0"},       {2, 99, +1, 99, "99"},    {3, 5, +1, 6, "6"},
      {4, 200, 0, 200, "-56"},  {1, 200, +1, 200, "-56"}, {2, 200, -1, 199, "-57"},
      {3, 128, 0, 128, "-128"}, {4, 255, 0, 255, "-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "pot " << c.pot << " byte " << int(c.byte));
    Harness h;
    h.New(kFord);
    h.state.image.SetByte(kFirstPotByte + c.pot - 1, c.byte);
    AdjustPot(h.session, c.pot, 0);
    h.state.projectModified = false;
    int looks = h.view.looks;
    AdjustPot(h.session, c.pot, c.step);
    EXPECT_GT(h.view.looks, looks);  // the window is refreshed, also when nothing changed
    EXPECT_EQ(h.state.image.Byte(kFirstPotByte + c.pot - 1), c.expected);
    EXPECT_EQ(h.state.controls.potTexts[c.pot - 1], c.text);
    EXPECT_EQ(h.state.projectModified, c.step != 0);  // even a step that changes nothing
  }
}

// A spin starts from a byte typed into the byte grid.
TEST(AdjustPot, SpinStartsFromAByteGridEdit) {
  Harness h;
  h.New(kFord);
  AdjustPot(h.session, 2, +1);
  EepromGridSetEditText(h.session, 5, 5, "32");  // byte 44, pot 2: 50
  AdjustPot(h.session, 2, +1);
  EXPECT_EQ(h.state.image.Byte(68), 51);
}

TEST(LimitBox, LetsInOnlyDigitsPointBackspaceAndDelete) {
  for (char key : {'0', '5', '9', '.', char(8), char(127)})
    EXPECT_TRUE(LimitKeyAccepted(key));
  for (char key : {'a', 'e', 'E', '-', '+', ',', ' ', char(13)})
    EXPECT_FALSE(LimitKeyAccepted(key)) << int(key);
}

TEST(LimitBox, EveryTextWhileTypingIsStored) {
  Harness h;
  h.New(kFord);
  h.state.projectModified = false;
  struct Step {
    const char* text;
    int limit;
  } steps[] = {{"2", 410}, {"2.", 410}, {"2.5", 512}, {"", 512}};
  for (const auto& step : steps) {
    SetLimitText(h.session, step.text);
    EXPECT_EQ(h.state.image.Entry(kLimitEntry), step.limit) << step.text;
  }
  EXPECT_TRUE(h.state.projectModified);
}

TEST(LimitBox, EmptyFrequencyLimitStoresZero) {
  Harness h;
  h.New(kGM);
  ASSERT_EQ(h.state.controls.limitText, "13500");
  SetLimitText(h.session, "");
  EXPECT_EQ(h.state.image.Entry(kLimitEntry), 0);
}

// Typing stores what the Box can hold; once the edit ends the box shows that.
TEST(LimitBox, AnEndedEditShowsTheStoredLimit) {
  Harness h;
  h.New(kGM);
  SetLimitText(h.session, "14000");
  EXPECT_EQ(h.state.image.Entry(kLimitEntry), 0x03FF);
  EndLimitEdit(h.session);
  EXPECT_EQ(h.state.controls.limitText, "13500");
}

// Each handler sets only its own bits of the mode byte and writes the input/output code.
TEST(ModeControls, HandlersSetTheirBitsAndTheIoCode) {
  Harness h;
  h.New(kFord);
  h.state.image.SetByte(kModeByte, 0xE1);
  enum Action { Output, Input, Invert };
  struct Step {
    Action action;
    int value;
    uint8_t mode;
    uint8_t ioCode;
  } steps[] = {
      {Output, kFrequency, 0xE2, 1}, {Input, kFrequency, 0xEA, 3}, {Invert, 1, 0xFA, 3},
      {Output, kVoltage, 0xF9, 2},   {Input, kVoltage, 0xF1, 0},   {Invert, 0, 0xE1, 0},
  };
  for (const auto& step : steps) {
    h.state.projectModified = false;
    if (step.action == Output) SetOutputRGrp(h.session, step.value);
    if (step.action == Input) SetInputRGrp(h.session, step.value);
    if (step.action == Invert) SetInvertLimit(h.session, step.value != 0);
    EXPECT_EQ(h.state.image.Byte(kModeByte), step.mode);
    EXPECT_EQ(h.state.header.IoCode(), step.ioCode);
    EXPECT_TRUE(h.state.projectModified);
  }
  // Switching the output kind shows the limit in the other unit without storing it again.
  EXPECT_EQ(h.state.image.Entry(kLimitEntry), 0x03FF);
  EXPECT_EQ(h.state.controls.limitText, "4.995");
}

}  // namespace
}  // namespace vyk

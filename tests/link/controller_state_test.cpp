// The answer dispatcher's routing into the controller state and the texts it shows.
#include "link/controller_state.h"

#include <gtest/gtest.h>

#include "link/link_texts.h"

namespace quarn::link {
namespace {

// An accepted read answer from its data bytes, with LastValue as the answer check computes it.
TAcceptedAnswer Answer(std::uint8_t function, std::uint16_t address, std::uint8_t count,
                       std::vector<std::uint8_t> data) {
  TAcceptedAnswer answer;
  answer.Function = function;
  answer.Address = address;
  answer.ExpectedCount = count;
  answer.Bytes = data;
  answer.Bytes.insert(answer.Bytes.begin(), {1, function, static_cast<std::uint8_t>(data.size())});
  std::uint32_t v = data.empty() ? 0 : data[0];
  if (data.size() >= 2) v = data[0] * 256U + data[1];
  if (data.size() == 4) v += (data[2] * 256U + data[3]) * 65536U;
  answer.Value = static_cast<std::int32_t>(v);
  return answer;
}

TEST(ControllerStateTest, TextsOfSingleValues) {
  struct Case {
    TAcceptedAnswer answer;
    std::string TControllerState::*text;
    std::string expected;
    TStateField field;
  };
  const Case cases[] = {
      {Answer(2, 0xF001, 1, {0}), &TControllerState::RunStopText, "STOP mode",
       TStateField::RunStop},
      {Answer(2, 0xF001, 1, {1}), &TControllerState::RunStopText, "RUN mode", TStateField::RunStop},
      {Answer(3, 0x500A, 1, {0, 1}), &TControllerState::DirectionText, "Direction: forward",
       TStateField::Direction},
      {Answer(1, 0x500A, 1, {0}), &TControllerState::DirectionText, "Direction: backward",
       TStateField::Direction},
      {Answer(3, 0x5006, 2, {0xFF, 0xFE, 0xFF, 0xFF}), &TControllerState::PositionText,
       "Position: -2", TStateField::Position},
      {Answer(4, 0x5047, 2, {0x86, 0xA0, 0x00, 0x01}), &TControllerState::SpeedText,
       "Speed: 100000", TStateField::Speed},
      {Answer(3, 0x5009, 1, {0, 4}), &TControllerState::MicrostepText, "Microstepping: 1/16",
       TStateField::MotorParameters},
      {Answer(3, 0x5009, 1, {0, 8}), &TControllerState::MicrostepText, "Microstepping: 1/256",
       TStateField::MotorParameters},
      {Answer(3, 0x5000, 2, {0x11, 0x70, 0x00, 0x01}), &TControllerState::MaxSpeedText,
       "MAX_SPEED = 70000", TStateField::MotorParameters},
      {Answer(3, 0x5000, 2, {0x11, 0x70, 0x00, 0x01}), &TControllerState::PanelMaxSpeedText,
       "70000 pulses/sec", TStateField::MotorParameters},
      {Answer(3, 0x5005, 1, {0x01, 0x2C}), &TControllerState::PanelDecelerationText,
       "Deceleration = 300", TStateField::MotorParameters},
      {Answer(3, 0x5011, 1, {0, 3}), &TControllerState::GoUntilInputText,
       "Input number for GOUNTIL command: 3", TStateField::MotorParameters},
      {Answer(3, 0x5015, 1, {0x04, 0xB0}), &TControllerState::HoldCurrentText,
       "Holding current = 1200", TStateField::MotorParameters},
  };
  for (const Case& c : cases) {
    TControllerStateModel model;
    const TStateChanges changes = model.Apply(c.answer);
    EXPECT_EQ(model.Snapshot().*c.text, c.expected) << c.expected;
    EXPECT_TRUE(Changed(changes, c.field)) << c.expected;
  }
}

TEST(ControllerStateTest, MicrostepSixAndUnknownValuesLeaveTheText) {
  TControllerStateModel model;
  model.Apply(Answer(3, 0x5009, 1, {0, 5}));
  for (int value : {6, 9, 200}) {
    model.Apply(Answer(3, 0x5009, 1, {0, static_cast<std::uint8_t>(value)}));
    EXPECT_EQ(model.Snapshot().MicrostepText, "Microstepping: 1/32");
    EXPECT_EQ(model.Snapshot().MicrostepMode, value);
  }
}

TEST(ControllerStateTest, WorkCurrentTextSaysWhenAllThreeCurrentsAgree) {
  TControllerStateModel model;
  model.Apply(Answer(3, 0x5012, 1, {0x03, 0xE8}));
  model.Apply(Answer(3, 0x5013, 1, {0x03, 0xE8}));
  model.Apply(Answer(3, 0x5014, 1, {0x03, 0xE8}));
  EXPECT_EQ(model.Snapshot().WorkCurrentText, "Work current = ACC/DEC current = 1000");
  model.Apply(Answer(3, 0x5013, 1, {0x03, 0xE9}));
  EXPECT_EQ(model.Snapshot().WorkCurrentText, "Work current = 1000");
}

TEST(ControllerStateTest, InputsOutputsAndErrorFlagsSpreadBitByBit) {
  TControllerStateModel model;
  model.Apply(Answer(2, 0x1000, 8, {0b10000101}));
  model.Apply(Answer(2, 0x2003, 1, {1}));  // a single input from the middle of the range
  model.Apply(Answer(2, 0xE000, 5, {0b00011}));
  const TControllerState s = model.Snapshot();
  EXPECT_EQ(s.Outputs, (std::array<std::uint8_t, 8>{1, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(s.OutputLamps[0], TLampColour::Yellow);
  EXPECT_EQ(s.OutputLamps[1], TLampColour::White);
  EXPECT_EQ(s.Inputs, (std::array<std::uint8_t, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(s.ErrorGroups[kGeneralError].Text, "Error occurred");
  EXPECT_TRUE(s.ErrorGroups[kGeneralError].DetailVisible);
  EXPECT_EQ(s.ErrorGroups[kBatteryError].Text, "CR2032 discharged");
  EXPECT_EQ(s.ErrorGroups[kBatteryError].Lamp, TLampColour::Red);
  EXPECT_EQ(s.ErrorGroups[kProgramMemoryError].Text, "ROM - no error");
  EXPECT_FALSE(s.ErrorGroups[kProgramMemoryError].DetailVisible);
  EXPECT_EQ(s.ErrorGroups[kUserProgramError].Lamp, TLampColour::Green);
}

TEST(ControllerStateTest, ErrorCodesFollowTheRegisterCount) {
  TControllerStateModel model;
  model.Apply(Answer(4, 0xE002, 3, {0, 3, 0, 9, 0x20, 0x12}));
  TControllerState s = model.Snapshot();
  EXPECT_EQ(s.ProgramMemoryErrorCode, 3);
  EXPECT_EQ(s.ModbusErrorCode, 9);
  EXPECT_EQ(s.UserProgramErrorCode, 0x2012);
  EXPECT_EQ(s.ErrorGroups[kUserProgramError].CodeText, "code: 0x2012");

  model.Apply(Answer(4, 0xE002, 1, {0, 5}));
  s = model.Snapshot();
  EXPECT_EQ(s.ProgramMemoryErrorCode, 5);
  EXPECT_EQ(s.ModbusErrorCode, 9);  // untouched: only one code was asked for
  EXPECT_EQ(s.ErrorGroups[kProgramMemoryError].CodeText, "code: 5");

  model.Apply(Answer(4, 0xE002, 3, {0, 0, 0, 0, 0, 7}));
  model.Apply(Answer(4, 0xE084, 1, {0, 12}));
  model.Apply(Answer(2, 0xE004, 1, {1}));
  s = model.Snapshot();
  EXPECT_EQ(s.ErrorGroups[kUserProgramError].Text, "Error in user program");
  EXPECT_EQ(s.ErrorGroups[kUserProgramError].CodeText, "code: 0x07");
  EXPECT_EQ(s.ErrorGroups[kUserProgramError].LineText, "line: 12");
}

TEST(ControllerStateTest, MotorStatusLamps) {
  TControllerStateModel model;
  model.Apply(Answer(4, 0x5037, 1, {0, 0b0100101}));  // energized bit, accel, busy move
  const TControllerState s = model.Snapshot();
  EXPECT_EQ(s.MotorLamps[kEnergizedLamp], TLampColour::Grey);
  EXPECT_EQ(s.MotorLamps[kHoldLamp], TLampColour::Grey);
  EXPECT_EQ(s.MotorLamps[kAccelLamp], TLampColour::Yellow);
  EXPECT_EQ(s.MotorLamps[kBusyMoveLamp], TLampColour::Yellow);
  EXPECT_EQ(s.MotorLamps[kBusyRunLamp], TLampColour::Grey);
  model.Apply(Answer(4, 0x5037, 1, {0, 0}));
  EXPECT_EQ(model.Snapshot().MotorLamps[kEnergizedLamp], TLampColour::Yellow);
}

TEST(ControllerStateTest, VersionLabelFromTheThreeVersionWords) {
  TControllerStateModel model;
  model.Apply(Answer(4, 0x8001, 2, {0, 3, 0, 1}));   // device type 3, hardware version 1
  model.Apply(Answer(4, 0x8003, 2, {0, 1, 0, 10}));  // firmware 1.10
  const TStateChanges changes = model.Apply(Answer(4, 0x8005, 2, {0, 2, 0, 0}));
  EXPECT_TRUE(Changed(changes, TStateField::Versions));
  EXPECT_EQ(model.Snapshot().VersionText, "HW3.1  FW1.10   BL2.0");
  model.ResetForDisconnect();
  EXPECT_EQ(model.Snapshot().VersionText, "");
  EXPECT_EQ(model.Snapshot().Firmware, 0U);
}

TEST(ControllerStateTest, UnroutedAnswersChangeNothing) {
  TControllerStateModel model;
  const TControllerState before = model.Snapshot();
  EXPECT_TRUE(model.Apply(Answer(2, 0xF000, 1, {1})).none());  // ROM state: read by the worker
  EXPECT_TRUE(model.Apply(Answer(3, 0x4000, 1, {0, 1})).none());
  EXPECT_TRUE(model.Apply(Answer(4, 0xE084, 2, {0, 1, 0, 2})).none());  // line only alone
  EXPECT_EQ(model.Snapshot().RunStopText, before.RunStopText);
}

}  // namespace
}  // namespace quarn::link

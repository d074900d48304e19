#include "link/controller_state.h"

#include <iterator>

#include "link/hex_text.h"
#include "link/link_texts.h"
#include "link/modbus_functions.h"

namespace quarn::link {
namespace {

using Changes = TStateChanges;
using State = TControllerState;

std::string Text(std::string_view caption, std::int64_t value) {
  return std::string(caption) + std::to_string(value);
}

// Upper-case hexadecimal without leading zeros, but never shorter than two digits.
std::string HexAtLeastTwoDigits(std::uint16_t value) {
  int digits = 2;
  while (digits < 4 && (value >> (4 * digits)) != 0) ++digits;
  return ToHex(value, digits);
}

TLampColour OnOff(bool on, TLampColour when_on, TLampColour when_off) {
  return on ? when_on : when_off;
}

// ---- Bits: one coil or input at `address`, `bit` its state.

void SetRunStop(State& s, std::uint8_t value) {
  s.RunStop = value;
  switch (value) {
    case 0:
      s.RunStopText = texts::kStopMode;
      s.RunStopLamp = TLampColour::Green;
      break;
    case 1:
      s.RunStopText = texts::kRunMode;
      s.RunStopLamp = TLampColour::Red;
      break;
    default:
      s.RunStopText = texts::kRunStopUnknown;
      s.RunStopLamp = TLampColour::White;
      break;
  }
}

void SetDirection(State& s, std::int32_t value) {
  s.Direction = static_cast<std::uint8_t>(value);
  s.DirectionText = value == 1 ? texts::kDirectionForward : texts::kDirectionBackward;
}

// The texts of the five error groups follow the flags and the codes together.
void RefreshErrorGroups(State& s) {
  for (int i = 0; i < kErrorGroupCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    TErrorGroupView& view = s.ErrorGroups[index];
    const bool fault = s.ErrorFlags[index] != 0;
    view.Lamp = fault ? TLampColour::Red : TLampColour::Green;
    view.Text = fault ? texts::kErrorGroupFault[index] : texts::kErrorGroupOk[index];
    view.DetailVisible = fault;
    view.CodeText.clear();
    view.LineText.clear();
  }
  s.ErrorGroups[kProgramMemoryError].CodeText =
      Text(texts::kGroupErrorCode, s.ProgramMemoryErrorCode);
  s.ErrorGroups[kModbusError].CodeText = Text(texts::kGroupErrorCode, s.ModbusErrorCode);
  s.ErrorGroups[kUserProgramError].CodeText =
      std::string(texts::kErrorCodeHex) + HexAtLeastTwoDigits(s.UserProgramErrorCode);
  s.ErrorGroups[kUserProgramError].LineText = Text(texts::kErrorLine, s.UserProgramErrorLine);
}

void ApplyCoil(State& s, std::uint16_t address, bool bit, Changes& c) {
  if (address == 0x500A) {
    SetDirection(s, bit ? 1 : 0);
    Mark(c, TStateField::Direction);
  } else if (address == 0x502F) {
    s.InternalVoltageFault = bit;
    s.InternalVoltageLamp = OnOff(bit, TLampColour::Red, TLampColour::Green);
    Mark(c, TStateField::Voltages);
  } else if (address == 0x5030) {
    s.SupplyVoltageFault = bit;
    s.SupplyVoltageLamp = OnOff(bit, TLampColour::Red, TLampColour::Green);
    Mark(c, TStateField::Voltages);
  } else if (address >= 0x6200 && address < 0x6200 + kBreakpointSlots) {
    s.BreakpointActive[address - 0x6200U] = bit;
    Mark(c, TStateField::Breakpoints);
  } else if (address == 0x8100) {
    s.Protocol = bit;
    Mark(c, TStateField::CommSettings);
  } else if (address == 0xF001 || address == 0xF002) {
    (address == 0xF001 ? s.MainProtection : s.ServiceProtection) = bit;
    Mark(c, TStateField::Protection);
  }
}

void ApplyInput(State& s, std::uint16_t address, bool bit, Changes& c) {
  if (address >= 0x1000 && address <= 0x1007) {
    s.Outputs[address - 0x1000U] = bit;
    s.OutputLamps[address - 0x1000U] = OnOff(bit, TLampColour::Yellow, TLampColour::White);
    Mark(c, TStateField::Outputs);
  } else if (address >= 0x2000 && address <= 0x2007) {
    s.Inputs[address - 0x2000U] = bit;
    s.InputLamps[address - 0x2000U] = OnOff(bit, TLampColour::Yellow, TLampColour::White);
    Mark(c, TStateField::Inputs);
  } else if (address == 0x6000 || address == 0x6100 || address == 0x6101) {
    (address == 0x6000   ? s.DebugOperandError
     : address == 0x6100 ? s.DebugState
                         : s.DebugSuspended) = bit;
    Mark(c, TStateField::Debug);
  } else if (address >= 0xE000 && address <= 0xE004) {
    s.ErrorFlags[address - 0xE000U] = bit;
    RefreshErrorGroups(s);
    Mark(c, TStateField::Errors);
  } else if (address == 0xF001) {
    SetRunStop(s, bit);
    Mark(c, TStateField::RunStop);
  }
}

// Bit i of a coil or input answer is the state of address + i: the data bytes hold eight a byte,
// lowest address in the lowest bit.
void ApplyBits(State& s, const TAcceptedAnswer& a, Changes& c) {
  constexpr std::size_t kDataStart = 3;
  for (unsigned i = 0; i < a.ExpectedCount; ++i) {
    const std::size_t byte = kDataStart + i / 8;
    const unsigned data = byte < a.Bytes.size() ? a.Bytes[byte] : 0U;
    const bool bit = ((data >> (i % 8)) & 1U) != 0;
    const auto address = static_cast<std::uint16_t>(a.Address + i);
    if (a.Function == kReadCoils) {
      ApplyCoil(s, address, bit, c);
    } else {
      ApplyInput(s, address, bit, c);
    }
  }
}

// ---- Registers: the answer's value belongs to the register at its start address.

void RefreshWorkCurrent(State& s) {
  const bool all_equal = s.WorkCurrent == s.AccCurrent && s.WorkCurrent == s.DecCurrent;
  s.WorkCurrentText = Text(all_equal ? texts::kWorkCurrentAll : texts::kWorkCurrent, s.WorkCurrent);
}

void SetMicrostep(State& s, std::int32_t v) {
  s.MicrostepMode = v;
  if (v < 0 || v >= static_cast<std::int32_t>(std::size(texts::kMicrostepModes))) return;
  const std::string_view mode = texts::kMicrostepModes[static_cast<std::size_t>(v)];
  if (!mode.empty()) s.MicrostepText = std::string(texts::kMicrostepping) + std::string(mode);
}

void ApplyHolding(State& s, const TAcceptedAnswer& a, Changes& c) {
  const std::int32_t v = a.Value;
  TStateField field = TStateField::MotorParameters;
  switch (a.Address) {
    case 0x5000:
      s.MaxSpeed = v;
      s.MaxSpeedText = Text(texts::kMaxSpeed, v);
      s.PanelMaxSpeedText = std::to_string(v) + std::string(texts::kPulsesPerSecond);
      break;
    case 0x5002:
      s.MinSpeed = v;
      s.MinSpeedText = Text(texts::kMinSpeed, v);
      s.PanelMinSpeedText = std::to_string(v);
      break;
    case 0x5004:
      s.Acceleration = v;
      s.AccelerationText = Text(texts::kAcceleration, v);
      s.PanelAccelerationText = Text(texts::kPanelAcceleration, v);
      break;
    case 0x5005:
      s.Deceleration = v;
      s.DecelerationText = Text(texts::kDeceleration, v);
      s.PanelDecelerationText = Text(texts::kPanelDeceleration, v);
      break;
    case 0x5006:
      s.Position = v;
      s.PositionText = Text(texts::kPosition, v);
      field = TStateField::Position;
      break;
    case 0x5009:
      SetMicrostep(s, v);
      break;
    case 0x500A:
      SetDirection(s, v);
      field = TStateField::Direction;
      break;
    case 0x500B:
      s.FullStepSpeed = v;
      s.FullStepSpeedText = Text(texts::kFullStepSpeed, v);
      break;
    case 0x500D:
      s.FullStepEnable = v;
      break;
    case 0x500E:
      s.TargetPosition = v;
      break;
    case 0x5010:
      s.MotionCommand = v;
      break;
    case 0x5011:
      s.GoUntilInput = v;
      s.GoUntilInputText = Text(texts::kGoUntilInput, v);
      break;
    case 0x5012:
      s.AccCurrent = v;
      RefreshWorkCurrent(s);
      break;
    case 0x5013:
      s.DecCurrent = v;
      RefreshWorkCurrent(s);
      break;
    case 0x5014:
      s.WorkCurrent = v;
      RefreshWorkCurrent(s);
      break;
    case 0x5015:
      s.HoldCurrent = v;
      s.HoldCurrentText = Text(texts::kHoldingCurrent, v);
      break;
    case 0x5016:
      s.AutoMinSpeed = v;
      break;
    case 0x5017:
      s.ErrorHandling = v;
      for (std::size_t bit = 0; bit < s.ErrorHandlingChecks.size(); ++bit) {
        s.ErrorHandlingChecks[bit] = ((v >> bit) & 1) != 0;
      }
      break;
    case 0x5027:
      s.MotorErrorCode = v;
      break;
    case 0x6200:
    case 0x6201:
    case 0x6202:
    case 0x6203:
      s.BreakpointLine[a.Address - 0x6200U] = v;
      field = TStateField::Breakpoints;
      break;
    case 0x8100:
      s.BaudRate = v;
      field = TStateField::CommSettings;
      break;
    case 0x8102:
      s.Parity = static_cast<std::uint16_t>(v);
      field = TStateField::CommSettings;
      break;
    case 0x8103:
      s.ControllerId = static_cast<std::uint16_t>(v);
      field = TStateField::CommSettings;
      break;
    case 0xF400:
      s.ProgramLinesToRead = v;
      field = TStateField::ProgramLines;
      break;
    default:
      return;
  }
  Mark(c, field);
}

void SetMotorStatus(State& s, std::uint8_t status) {
  s.MotorStatus = status;
  s.MotorLamps[kEnergizedLamp] = OnOff((status & 1U) != 0, TLampColour::Grey, TLampColour::Yellow);
  for (int lamp = kHoldLamp; lamp < kMotorLampCount; ++lamp) {
    const bool set = ((static_cast<unsigned>(status) >> lamp) & 1U) != 0;
    s.MotorLamps[static_cast<std::size_t>(lamp)] =
        OnOff(set, TLampColour::Yellow, TLampColour::Grey);
  }
}

void RefreshVersions(State& s) {
  s.VersionText = VersionLabel(s.Hardware, s.Firmware, s.Bootloader);
}

// Error code i of a GET_ERROR_CODES answer sits in data bytes 2i and 2i + 1, high byte first.
void ApplyErrorCodes(State& s, const TAcceptedAnswer& a) {
  std::uint16_t* const codes[] = {&s.ProgramMemoryErrorCode, &s.ModbusErrorCode,
                                  &s.UserProgramErrorCode};
  const unsigned first = a.Address - 0xE002U;
  for (unsigned i = 0; i < a.ExpectedCount && first + i < 3; ++i) {
    const std::size_t high = 2 * i + 3;
    if (high + 1 >= a.Bytes.size()) break;
    *codes[first + i] = static_cast<std::uint16_t>(a.Bytes[high] * 256U + a.Bytes[high + 1]);
  }
  RefreshErrorGroups(s);
}

void ApplyInputRegister(State& s, const TAcceptedAnswer& a, Changes& c) {
  const std::int32_t v = a.Value;
  const auto u = static_cast<std::uint32_t>(v);
  TStateField field = TStateField::Debug;
  switch (a.Address) {
    case 0x5037:
      SetMotorStatus(s, static_cast<std::uint8_t>(v));
      field = TStateField::MotorStatus;
      break;
    case 0x5047:
      s.Speed = v;
      s.SpeedText = Text(texts::kSpeed, v);
      field = TStateField::Speed;
      break;
    case 0x6002:
      s.DebugOperandValue = v;
      break;
    case 0x6004:
      s.DebugOperandSignal = v;
      break;
    case 0x6100:
      s.DebugCurrentIndex = v;
      break;
    case 0x8001:
    case 0x8003:
    case 0x8005:
      (a.Address == 0x8001 ? s.Hardware : a.Address == 0x8003 ? s.Firmware : s.Bootloader) = u;
      RefreshVersions(s);
      field = TStateField::Versions;
      break;
    case 0x8007:
      s.RegmapVersion = u;
      field = TStateField::MapVersions;
      break;
    case 0x8009:
      s.CommandListVersion = u;
      field = TStateField::MapVersions;
      break;
    case 0x800A:
      s.OperandListVersion = u;
      field = TStateField::MapVersions;
      break;
    case 0xE002:
    case 0xE003:
    case 0xE004:
      ApplyErrorCodes(s, a);
      field = TStateField::ErrorCodes;
      break;
    case 0xE084:
      if (a.ExpectedCount != 1) return;
      s.UserProgramErrorLine = static_cast<std::uint16_t>(v);
      RefreshErrorGroups(s);
      field = TStateField::ErrorCodes;
      break;
    default:
      return;
  }
  Mark(c, field);
}

void ClearMotionOf(State& s) {
  s.DirectionText = texts::kDirectionCaption;
  s.PositionText = texts::kPosition;
  s.SpeedText = texts::kSpeed;
  s.MotorLamps.fill(TLampColour::Grey);
}

Changes MotionChanges() {
  Changes c;
  for (TStateField f : {TStateField::Direction, TStateField::Position, TStateField::Speed,
                        TStateField::MotorStatus}) {
    Mark(c, f);
  }
  return c;
}

}  // namespace

std::string VersionLabel(std::uint32_t hardware, std::uint32_t firmware, std::uint32_t bootloader) {
  const auto pair = [](std::uint32_t word) {
    return std::to_string(VersionMajor(word)) + "." + std::to_string(VersionMinor(word));
  };
  return std::string(texts::kVersionHw) + pair(hardware) + std::string(texts::kVersionFw) +
         pair(firmware) + std::string(texts::kVersionBl) + pair(bootloader);
}

TControllerState InitialControllerState() {
  TControllerState s;
  ClearMotionOf(s);
  return s;
}

TControllerStateModel::TControllerStateModel() : state_(InitialControllerState()) {}

TStateChanges TControllerStateModel::Apply(const TAcceptedAnswer& answer) {
  Changes changes;
  std::lock_guard lock(mutex_);
  switch (answer.Function) {
    case kReadCoils:
    case kReadInputs:
      ApplyBits(state_, answer, changes);
      break;
    case kReadHoldingRegisters:
      ApplyHolding(state_, answer, changes);
      break;
    case kReadInputRegisters:
      ApplyInputRegister(state_, answer, changes);
      break;
    default:
      break;
  }
  return changes;
}

TControllerState TControllerStateModel::Snapshot() const {
  std::lock_guard lock(mutex_);
  return state_;
}

TStateChanges TControllerStateModel::ResetForConnect() {
  std::lock_guard lock(mutex_);
  state_.InputLamps.fill(TLampColour::White);
  state_.OutputLamps.fill(TLampColour::White);
  state_.Hardware = state_.Firmware = state_.Bootloader = 0;
  RefreshVersions(state_);
  ClearMotionOf(state_);
  Changes c = MotionChanges();
  for (TStateField f : {TStateField::Inputs, TStateField::Outputs, TStateField::Versions}) {
    Mark(c, f);
  }
  return c;
}

TStateChanges TControllerStateModel::ResetForDisconnect() {
  std::lock_guard lock(mutex_);
  state_.Hardware = state_.Firmware = state_.Bootloader = 0;
  state_.VersionText.clear();
  Changes c;
  Mark(c, TStateField::Versions);
  return c;
}

TStateChanges TControllerStateModel::ClearMotion() {
  std::lock_guard lock(mutex_);
  ClearMotionOf(state_);
  return MotionChanges();
}

}  // namespace quarn::link

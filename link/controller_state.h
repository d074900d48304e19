// The controller state as the main window shows it: every value the answer dispatcher routes out
// of the controller's answers, together with the texts and lamp colours it is shown with.
//
// The link's answer dispatcher writes the model on the link worker thread; the window reads a
// snapshot on its own thread after the ControllerStateChanged event, which names the parts that
// changed so that only those are redrawn. Both sides go through one lock, so a snapshot never
// sees a half-written answer.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/byte_arrays.h"

namespace quarn::link {

enum class TLampColour : std::uint8_t { White, Green, Red, Yellow, Grey };

// The parts of the state the window redraws separately.
enum class TStateField : std::uint8_t {
  RunStop,          // RunStop, RunStopText, RunStopLamp
  Outputs,          // Outputs
  Inputs,           // Inputs
  Errors,           // ErrorFlags and every error-group text, lamp and visibility
  ErrorCodes,       // the three error codes and the user-program error line (and their texts)
  Direction,        // Direction, DirectionText
  Position,         // Position, PositionText
  Speed,            // Speed, SpeedText
  MotorStatus,      // MotorStatus and its lamps
  MotorParameters,  // the parameter values and their texts
  Voltages,         // supply and internal voltage lamps
  Protection,       // main and service program protection
  CommSettings,     // protocol, baud rate, parity, device id of the controller
  Versions,         // hardware, firmware, boot-loader versions and VersionText
  MapVersions,      // the three map versions (stored only)
  Debug,            // debugger values (stored for the debugger)
  Breakpoints,      // breakpoint lines and activity (stored for the debugger)
  ProgramLines,     // number of program lines to read (program download)
  Count
};

using TStateChanges = std::bitset<static_cast<std::size_t>(TStateField::Count)>;

inline void Mark(TStateChanges& changes, TStateField field) {
  changes.set(static_cast<std::size_t>(field));
}
inline bool Changed(const TStateChanges& changes, TStateField field) {
  return changes.test(static_cast<std::size_t>(field));
}

// Error groups by flag index, as GET_ERRORS reports them.
enum TErrorGroup : std::uint8_t {
  kGeneralError = 0,
  kBatteryError = 1,
  kProgramMemoryError = 2,
  kModbusError = 3,
  kUserProgramError = 4,
};
inline constexpr int kErrorGroupCount = 5;

// One error group as the window shows it.
struct TErrorGroupView {
  TLampColour Lamp = TLampColour::White;
  std::string Text;            // "No errors", "CR2032 discharged", "ROM error", ...
  bool DetailVisible = false;  // group lamps (general), battery hint, code (and line) labels
  std::string CodeText;  // "code: 3", "code: 0x2012"; empty for the general and battery groups
  std::string LineText;  // "line: 12" for the user-program group
};

// Motor status lamps, bit by bit of GET_MOTOR_STATUS.
enum TMotorLamp : std::uint8_t {
  kEnergizedLamp = 0,  // grey when bit 0 is set, yellow when clear
  kHoldLamp,           // bit 1
  kAccelLamp,          // bit 2 "Accel"
  kDecelLamp,          // bit 3 "Decel"
  kConstSpeedLamp,     // bit 4 "Const speed"
  kBusyMoveLamp,       // bit 5 "BUSY_MOVE"
  kBusyRunLamp,        // bit 6 "BUSY_RUN"
};
inline constexpr int kMotorLampCount = 7;

inline constexpr int kBreakpointSlots = 4;

struct TControllerState {
  // Run/stop: 0 STOP, 1 RUN, 2 unknown.
  std::uint8_t RunStop = 2;
  std::string RunStopText = "RUN/STOP";
  TLampColour RunStopLamp = TLampColour::White;

  std::array<std::uint8_t, 8> Outputs{};  // Y0-Y7, 0 off, 1 on
  std::array<std::uint8_t, 8> Inputs{};   // X0-X7
  std::array<TLampColour, 8> OutputLamps{};
  std::array<TLampColour, 8> InputLamps{};

  std::array<std::uint8_t, kErrorGroupCount> ErrorFlags{};
  std::array<TErrorGroupView, kErrorGroupCount> ErrorGroups{};
  std::uint16_t ProgramMemoryErrorCode = 0;
  std::uint16_t ModbusErrorCode = 0;
  std::uint16_t UserProgramErrorCode = 0;
  std::uint16_t UserProgramErrorLine = 0;

  std::uint8_t Direction = 0;
  std::string DirectionText;  // "Direction: forward" / "Direction: backward"; "Direction: " cleared
  std::int32_t Position = 0;
  std::string PositionText;  // "Position: " v; "Position: " cleared
  std::int32_t Speed = 0;
  std::string SpeedText;  // "Speed: " v; "Speed: " cleared
  std::uint8_t MotorStatus = 0;
  std::array<TLampColour, kMotorLampCount> MotorLamps{};

  // Motor parameters, as read from their GET_ registers.
  std::int32_t MaxSpeed = 0;
  std::int32_t MinSpeed = 0;
  std::int32_t Acceleration = 0;
  std::int32_t Deceleration = 0;
  std::int32_t FullStepSpeed = 0;
  std::int32_t FullStepEnable = 0;
  std::int32_t MicrostepMode = 0;
  std::int32_t TargetPosition = 0;
  std::int32_t MotionCommand = 0;
  std::int32_t GoUntilInput = 0;
  std::int32_t AccCurrent = 0;
  std::int32_t DecCurrent = 0;
  std::int32_t WorkCurrent = 0;
  std::int32_t HoldCurrent = 0;
  std::int32_t AutoMinSpeed = 0;
  std::int32_t ErrorHandling = 0;  // bit 0 thermal, 1 software, 2 command, 3 data error
  std::int32_t MotorErrorCode = 0;
  // Texts of the parameter labels and of the motor panel.
  std::string MaxSpeedText;                   // "MAX_SPEED = " v
  std::string MinSpeedText;                   // "MIN_SPEED = " v
  std::string AccelerationText;               // "ACCELERATION = " v
  std::string DecelerationText;               // "DECELERATION = " v
  std::string FullStepSpeedText;              // "FULL_STEP_SPEED = " v
  std::string PanelMaxSpeedText;              // v " pulses/sec"
  std::string PanelMinSpeedText;              // v
  std::string PanelAccelerationText;          // "Acceleration = " v
  std::string PanelDecelerationText;          // "Deceleration = " v
  std::string MicrostepText;                  // "Microstepping: 1/16"
  std::string GoUntilInputText;               // "Input number for GOUNTIL command: " v
  std::string WorkCurrentText;                // "Work current = " v, or with "ACC/DEC current = "
  std::string HoldCurrentText;                // "Holding current = " v
  std::array<bool, 4> ErrorHandlingChecks{};  // thermal, software, command, data error

  // Voltage faults: 0 fine, 1 fault. The lamps exist only for models with the registers.
  std::uint8_t SupplyVoltageFault = 0;
  std::uint8_t InternalVoltageFault = 0;
  TLampColour SupplyVoltageLamp = TLampColour::White;
  TLampColour InternalVoltageLamp = TLampColour::White;

  // Program protection as coils 0xF001 and 0xF002 report it: 1 readable, 0 protected.
  std::uint8_t MainProtection = 0;
  std::uint8_t ServiceProtection = 0;

  // The controller's own line settings.
  std::uint8_t Protocol = 0;  // 0 ASCII, 1 RTU
  std::int32_t BaudRate = 0;
  std::uint16_t Parity = 0;  // 0 none with two stop bits, 1 odd, 2 even
  std::uint16_t ControllerId = 0;

  // Versions: firmware and boot-loader major in the low half, minor in the high half; hardware:
  // device type in the low half, hardware version in the high half.
  std::uint32_t Hardware = 0;
  std::uint32_t Firmware = 0;
  std::uint32_t Bootloader = 0;
  std::string VersionText;
  std::uint32_t RegmapVersion = 0;
  std::uint32_t CommandListVersion = 0;
  std::uint32_t OperandListVersion = 0;

  // Stored for the debugger.
  std::uint8_t DebugOperandError = 0;
  std::uint8_t DebugState = 0;
  std::uint8_t DebugSuspended = 0;
  std::int32_t DebugOperandValue = 0;
  std::int32_t DebugOperandSignal = 0;
  std::int32_t DebugCurrentIndex = 0;
  std::array<std::uint8_t, kBreakpointSlots> BreakpointActive{};
  std::array<std::int32_t, kBreakpointSlots> BreakpointLine{};

  // Program download: lines in the packet being read.
  std::int32_t ProgramLinesToRead = 0;
};

// One answer the answer check accepted, as the dispatcher routes it.
struct TAcceptedAnswer {
  std::uint8_t Function = 0;
  std::uint16_t Address = 0;
  std::int32_t Value = 0;          // LastValue
  std::uint8_t ExpectedCount = 0;  // coils, inputs or registers asked for
  TReqResArray Bytes;              // id, function, byte count or address, data (no LRC)
};

// Major and minor of a firmware or boot-loader version word.
inline std::uint16_t VersionMajor(std::uint32_t word) { return static_cast<std::uint16_t>(word); }
inline std::uint16_t VersionMinor(std::uint32_t word) {
  return static_cast<std::uint16_t>(word >> 16);
}

// "HW3.1  FW1.10   BL1.2".
std::string VersionLabel(std::uint32_t hardware, std::uint32_t firmware, std::uint32_t bootloader);

// The state before any answer: captions without values, lamps white or grey.
TControllerState InitialControllerState();

class TControllerStateModel {
 public:
  TControllerStateModel();

  // Routes one accepted answer into the state; answers what changed. Link worker thread.
  TStateChanges Apply(const TAcceptedAnswer& answer);

  // A consistent copy for the window. Any thread.
  TControllerState Snapshot() const;

  // Connect: lamps of inputs and outputs white, versions and motion state cleared.
  TStateChanges ResetForConnect();
  // Disconnect: versions cleared, the version text emptied.
  TStateChanges ResetForDisconnect();
  // The reset timer saw no poll for a while: the motion display is cleared.
  TStateChanges ClearMotion();

 private:
  mutable std::mutex mutex_;
  TControllerState state_;
};

}  // namespace quarn::link

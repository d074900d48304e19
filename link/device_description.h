// The records that carry what the workbench knows about one controller model: its named
// registers, the lists it reads and polls, its error texts and a few limits.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/register_request.h"
#include "program_model/device_traits.h"
#include "program_model/instructions.h"
#include "program_model/program_code.h"

namespace quarn::link {

using program_model::TSingleInterruption;

// A named register with a fixed or default value.
struct TDC_Record {
  std::uint8_t Function = 0;
  std::uint16_t Address = 0;
  std::uint32_t Count = 0;
  std::int32_t Value = 0;
  std::uint32_t Valid = 0;  // non-zero when the record was found
  std::string Name;

  friend bool operator==(const TDC_Record&, const TDC_Record&) = default;
};
using TDC_Records_Array = std::vector<TDC_Record>;

// Parameter groups of the register table; they order the parameter lists of the window.
enum ParameterGroup : std::uint8_t {
  kGroupSpeed = 0,
  kGroupMovement = 1,
  kGroupInterruptions = 2,
  kGroupError = 3,
  kGroupMotorControl = 4,
  kGroupInfo = 5,
  kGroupOther = 6,
  kGroupNone = 7,
};

// What a write to the register does.
enum RegisterAccess : std::uint8_t {
  kAccessRead = 0,
  kAccessCommand = 1,  // a write that triggers an action
  kAccessWrite = 2,
};

// ParamId of a system register that is not a motor parameter.
inline constexpr std::int32_t kSystemParamId = 23;

// One row of a model's register table.
struct TFieldDescr {
  std::int32_t ParamId = 0;
  std::int32_t DOperand = 0;  // n of the program operand Dn holding the parameter; 0: none
  std::int32_t Bits = 0;      // 1, 16 or 32; 0 for block transfers
  TDC_Record Register;
  std::string Caption;
  std::string Description;
  std::int32_t MinValue = 0;
  std::int32_t MaxValue = 0;
  std::uint8_t Group = 0;
  std::uint8_t Access = 0;
  std::string GroupCaption;
  std::string TextForOne;  // texts of a two-valued parameter, empty otherwise
  std::string TextForZero;

  friend bool operator==(const TFieldDescr&, const TFieldDescr&) = default;
};
using TFieldDescrArray = std::vector<TFieldDescr>;

struct TErrorCode {
  std::uint16_t Code = 0;
  std::string Text;

  friend bool operator==(const TErrorCode&, const TErrorCode&) = default;
};

// One error group: the controller keeps the group's current code in CodeRegister.
struct TDeviceErrors {
  std::uint8_t GroupId = 0;
  std::uint16_t CodeRegister = 0;
  std::vector<TErrorCode> Codes;

  friend bool operator==(const TDeviceErrors&, const TDeviceErrors&) = default;
};

// Turns the bytes of one stored instruction read back from the controller into an IL line.
using TProgramDecoder = program_model::DecodeResult (*)(std::span<const std::uint8_t> bytes);

inline constexpr int kOptionByteCount = 16;
// Option bytes whose meaning the debugger relies on.
inline constexpr int kOptionRunState = 0;  // the RUN/STOP value that means RUN
inline constexpr int kOptionDebugOn = 10;  // value written to switch a debug register on
inline constexpr int kOptionDebugOff = 11;

// The three catalogue records the interruption editing inserts, in this order.
enum InterruptionInstruction : std::uint8_t { kFendRecord = 0, kIRecord = 1, kIretRecord = 2 };

// One controller model. Built once at start; never changed afterwards.
struct TDeviceDescription {
  std::string ModelName;
  std::string ListCaption;  // text of the model drop-down
  std::uint8_t MotionOperandKind = 0;
  std::string MotionOperand;     // the D operand of CMD_MOVE_RUN
  std::string MicrostepOperand;  // the D operand of SET_MICRO
  TFieldDescrArray Fields;
  TDC_Records_Array ParameterReads;  // read when the motor parameters are fetched
  TRegistersArray PollRegisters;     // polled one per tick for the state display
  std::int32_t BreakpointCount = 0;
  std::array<std::int32_t, 3> VersionWords{};  // carried along; nothing consults them
  std::string DirectControlPage;
  std::vector<TSingleInterruption> Interruptions;
  std::array<program_model::TInstructions, 3> InterruptionInstructions{};  // FEND, I, IRET
  std::vector<TDeviceErrors> ErrorGroups;
  std::array<std::uint8_t, kOptionByteCount> OptionBytes{};
  std::uint8_t PacketLines = 0;  // instructions per read-back packet
  std::uint8_t StoredWords = 0;  // words of one stored instruction
  std::uint8_t SpareByte = 0;
  std::int32_t HighestMainLine = 0;
  std::int32_t HighestServiceLine = 0;
  std::int32_t SpeedMin = 0;
  std::int32_t SpeedMax = 0;
  std::int32_t AccelMax = 0;
  std::int32_t AccelMin = 0;
  std::int32_t CurrentMin = 0;  // work-current range, from the SET_RUN_CUR row
  std::int32_t CurrentMax = 0;
  std::int32_t PositionMax = 0;
  std::int32_t PositionMin = 0;
  std::string EndMnemonic;
  std::uint16_t EndApiNumber = 0;
  TProgramDecoder ProgramDecoder = nullptr;
};

}  // namespace quarn::link

// The error table. The controller holds the current code of each group in an input register;
// GET_ERROR_CODES reads the three together.
#include "link/error_table.h"

#include <algorithm>
#include <string_view>

#include "link/device_texts.h"

namespace quarn::link {
namespace {

struct ErrorRow {
  std::uint16_t Code;
  std::string_view Text;
};

struct ErrorGroupRow {
  std::uint8_t GroupId;
  std::uint16_t CodeRegister;
  std::span<const ErrorRow> Codes;
};

// clang-format off
constexpr ErrorRow kProgramMemoryRows[] = {
    {1, "Read protection for the main program has not been set"},
    {2, "Read protection for the service program has not been set"},
    {3, "Failed to erase the main program sector"},
    {4, "Failed to erase the service program sector"},
    {5, "Failed to write the instruction to the main program"},
    {6, "Failed to write the instruction to the service program"},
};

constexpr ErrorRow kModbusRows[] = {
    {1, "Memory allocation error"},
    {2, "Checksum error"},
    {3, "An error occurred while receiving and processing a broadcast packet"},
    {4, "Frame size mismatch"},
    {5, "Function error (0Fh). Not all bits have been overwritten"},
    {6, "Function error (10h). Not all registers have been overwritten"},
    {7, "Function error (17h). Not all registers have been overwritten"},
    {8, "Lost frame due to DMA error"},
    {9, "Lost frame due to overflowing frame processing stack"},
};

// The controller uses 0x2034 and 0x2055 for two faults each; only the first text can be shown.
constexpr ErrorRow kUserProgramRows[] = {
    {0x2012, "Unknown command"},
    {0x1007, "Internal error, type of signal collision is not identified"},
    {0x1005, "Internal error, signal type in case of level collision is not identified"},
    {0x1006, "Internal error, signal type when inverted level collision is not identified"},
    {0x2002, "LD instruction, stack overflow"},
    {0x2001, "The type of the main signal is not identified"},
    {0x2000, "Processing of LD-type commands, the instruction code has changed"},
    {0x1001, "Internal error, unknown type of single collision"},
    {0x1000, "Internal error, single collision at the current value. The signal type of the operand is unknown"},
    {0x200B, "Processing of AND-type command when removing the signal from the output stack. Unknown collision type"},
    {0x1004, "Group collision internal error. Unknown collision type"},
    {0x1002, "Group collision internal error. The type of operand signal for level collision is not defined"},
    {0x1003, "Group collision internal error. The type of operand signal for inverse level collision is not defined"},
    {0x200C, "Processing of AND-type command, the instruction code has changed"},
    {0x200D, "Processing of OR-type command, the instruction code has changed"},
    {0x2010, "There are not entries in the main stack when the ANB instruction is applied"},
    {0x200F, "Applying of ANB instruction error. There are not entries in the output stack, and there is only one entry in the main stack."},
    {0x200E, "Unknown signal in the output stack with ANB command"},
    {0x2011, "The absence of at least two elements in the main stack for applying the ORB instruction"},
    {0x2013, "Brunching stack overflow, instruction MPS"},
    {0x2016, "Brunching stack is empty, instructions MRD, MPP"},
    {0x2015, "Main stack overflow, instructions MRD, MPP"},
    {0x2014, "Signal type is not recognized when assigning selector, instructions MRD, MPP"},
    {0x2017, "Stack overflow, instruction NEXT"},
    {0x3012, "Prescan – index P is ut of range"},
    {0x3014, "Prescan – index I is ut of range"},
    {0x3013, "Prescan. Unable to create a new timed interruption, limit on quantity exceeded"},
    {0x201D, "Incorrect operand type, instructions CJ/CJP"},
    {0x201C, "Operand is out of range, instructions CJ/CJP"},
    {0x2024, "Incorrect operand type, instructions CALL/CALLP"},
    {0x2023, "Operand is out of range, instructions CALL/CALLP"},
    {0x2025, "There are no return points in the stack, instruction SRET"},
    {0x2004, "A command END/FEND was received during interruption processing"},
    {0x202A, "A command IRET was received in the main program"},
    {0x2056, "Instruction END, main stack is not empty"},
    {0x2057, "Instruction END, brunching stack is not empty"},
    {0x2058, "Instruction END, cycles stack is not empty"},
    {0x2059, "Instruction END, subprograms stack is not empty"},
    {0x2026, "Instruction IRET, main stack is not empty"},
    {0x2027, "Instruction IRET, brunching stack is not empty"},
    {0x2028, "Instruction IRET, cycles stack is not empty"},
    {0x2029, "Instruction IRET, subprogram stack is not empty"},
    {0x2020, "Instruction CALL/CALLP, unknown index operand"},
    {0x201E, "Instruction CALL/CALLP, index operand A is out of range"},
    {0x201F, "Instruction CALL/CALLP, index operand B is out of range"},
    {0x201A, "Instruction CJ/CJP, unknown index operand"},
    {0x2018, "Instruction CJ/CJP, index operand A is out of range"},
    {0x2019, "Instruction CJ/CJP, index operand B is out of range"},
    {0x201B, "Instruction CJ/CJP, the requested pointer does not exist"},
    {0x2022, "Instruction CALL/CALLP, the requested mark does not exist"},
    {0x2021, "Instruction CALL/CALLP, stack overflow"},
    {0x2003, "Incorrect operand, instruction OUT"},
    {0x200A, "Incorrect operand, instruction SET/RST"},
    {0x2005, "Instruction SET can not be applied to operand C"},
    {0x2006, "Instruction SET can not be applied to operand T"},
    {0x2007, "Instruction SET can not be applied to operand D"},
    {0x2008, "Instruction SET can not be applied to operand A"},
    {0x2009, "Instruction SET can not be applied to operand B"},
    {0x202D, "Instruction INV, unknown signal type"},
    {0x202B, "Instruction TMR, the first argument is not typical"},
    {0x202C, "Instruction CNT, the first argument is not typical"},
    {0x202E, "Instruction INC/DEC, incorrect operand"},
    {0x2037, "Instruction ADD/SUB/MUL/DIV/WAND/WOR/WXOR, type of 3d operand is incorrect"},
    {0x2038, "Instruction NEG/ABS, incorrect operand type"},
    {0x2030, "Instruction CMP, type of 3d operand is incorrect"},
    {0x2031, "Instruction ZCP, type of 3d operand is incorrect"},
    {0x202F, "Instruction MOV/BMOV/FMOV, incorrect type of destination operand"},
    {0x2039, "Instruction XCH, data type of 1st operand is incorrect"},
    {0x203A, "Instruction XCH, data type of 2d  operand is incorrect"},
    {0x203B, "Instruction ROR/ROL, data type of 1st operand is incorrect"},
    {0x2033, "Instruction ZRST, operands are not of the same type"},
    {0x2032, "Instruction ZRST, operand type is incorrect"},
    {0x2036, "Instruction DIV, division by zero of an integer"},
    {0x2046, "Instruction DECO, type of 2d operand is incorrect"},
    {0x2047, "Instruction ENCO, type of 2d operand is incorrect"},
    {0x2048, "Instruction SUM, type of 2d operand is incorrect"},
    {0x2049, "Instruction BON, type of 2d operand is incorrect"},
    {0x204B, "Instruction SQR, type of 2d operand is incorrect"},
    {0x204A, "Instruction SQR, negative value"},
    {0x204C, "Instruction POW, type of 3d operand is incorrect"},
    {0x203C, "Instruction FLT, type of 2d operand is incorrect"},
    {0x203D, "Instruction INT, type of 2d operand is incorrect"},
    {0x203E, "Instruction PWM, the third operand is not applicable for PWM signal output"},
    {0x203F, "Instruction PWM, type of 3d operand is incorrect"},
    {0x2041, "Instruction DECMP, type of 1st operand is incorrect"},
    {0x2040, "Instruction DECMP, type of 2d operand is incorrect"},
    {0x2042, "Instruction DECMP, type of 3d operand is incorrect"},
    {0x2045, "Instruction DEZCP, type of 3d operand is incorrect"},
    {0x2044, "Instruction DEZCP, type of 1st operand is incorrect"},
    {0x2043, "Instruction DEZCP, type of 2d operand is incorrect"},
    {0x2050, "Instruction DEADD/DESUB/DEMUL/DEDIV/DEPOW, type of 3d operand is incorrect"},
    {0x204F, "Instruction DEADD/DESUB/DEMUL/DEDIV/DEPOW, type of 1st operand is incorrect"},
    {0x204E, "Instruction DEADD/DESUB/DEMUL/DEDIV/DEPOW, type of 2d operand is incorrect"},
    {0x204D, "Instruction DEDIV, divide by zero"},
    {0x3015, "Prescan error, unknown command detected"},
    {0x2053, "Instruction DESQR, type of 1st operand is incorrect"},
    {0x2052, "Instruction DESQR, type of 2d operand is incorrect"},
    {0x2051, "Instruction DESQR negative value"},
    {0x2035, "Instruction LD#, stack overflow"},
    {0x2034, "Instruction LD#, main signal type not recognized"},
    {0x2034, "Switch interruptions queue overflow"},
    {0x4001, "Timed interruptions queue overflow TIM0"},
    {0x4002, "Timed interruptions queue overflow TIM1"},
    {0x4003, "Timed interruptions queue overflow TIM2"},
    {0x4004, "Timed interruptions queue overflow TIM3"},
    {0x4005, "External interruptions queue overflow IN0"},
    {0x4006, "External interruptions queue overflow IN1"},
    {0x4007, "External interruptions queue overflow IN2"},
    {0x4008, "External interruptions queue overflow IN3"},
    {0x4009, "External interruptions queue overflow IN4"},
    {0x400A, "External interruptions queue overflow IN5"},
    {0x400B, "External interruptions queue overflow IN6"},
    {0x400C, "External interruptions queue overflow IN7"},
    {0x400D, "Driver interruptions queue overflow"},
    {0x400E, "Motor status change interruption queue overflow"},
    {0x2054, "Instruction TRD, incorrect operand type"},
    {0x2055, "Instruction TWR, incorrect operand type"},
    {0x2055, "Stacks are empty, no signal value"},
    {0x3001, "The main stack is empty, no signal value"},
    {0x3003, "The index register value is out of range"},
    {0x3004, "Index of operand X is out of range"},
    {0x3005, "Index of operand Y is out of range"},
    {0x3006, "Index of operand M is out of range"},
    {0x3007, "Index of operand C is out of range"},
    {0x3008, "Index of operand T is out of range"},
    {0x3009, "Index of operand A/B is out of range"},
    {0x300A, "Index of operand D is out of range"},
    {0x300B, "Index of operand P is out of range"},
    {0x300C, "Index of operand I is out of range"},
    {0x300D, "Unknown operand type"},
    {0x300F, "Impossible to get the operand value"},
    {0x300E, "FLOAT number is used with 16-bit instruction"},
    {0x3010, "Getting operand value - incorrect operand type"},
    {0x3011, "Getting token of operand  - incorrect operand type"},
    {0x5000, "Power supply + 5V - short circuit"},
    {0x205A, "Instruction TWR, incorrect time format"},
};
// clang-format on

constexpr ErrorGroupRow kErrorGroups[] = {
    {kProgramMemoryErrors, 0xE002, kProgramMemoryRows},
    {kModbusErrors, 0xE003, kModbusRows},
    {kUserProgramErrors, 0xE004, kUserProgramRows},
};

}  // namespace

std::vector<TDeviceErrors> BuildErrorGroups() {
  std::vector<TDeviceErrors> groups;
  for (const ErrorGroupRow& row : kErrorGroups) {
    TDeviceErrors group{row.GroupId, row.CodeRegister, {}};
    for (const ErrorRow& code : row.Codes) {
      group.Codes.push_back({code.Code, std::string(code.Text)});
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

std::string ErrorText(std::uint8_t groupId, std::uint16_t code,
                      std::span<const TDeviceErrors> groups) {
  const auto group = std::ranges::find(groups, groupId, &TDeviceErrors::GroupId);
  if (group == groups.end()) return std::string(texts::kUndefinedError);
  const auto entry = std::ranges::find(group->Codes, code, &TErrorCode::Code);
  if (entry == group->Codes.end()) return std::string(texts::kUndefinedError);
  return entry->Text;
}

std::string ErrorText(std::uint8_t groupId, std::uint16_t code) {
  static const std::vector<TDeviceErrors> groups = BuildErrorGroups();
  return ErrorText(groupId, code, groups);
}

}  // namespace quarn::link

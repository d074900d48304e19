// Operand kinds, their constant descriptors and the text notation of operands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::program_model {

// Ordinals are fixed: tables and stored files index by them.
enum TOperandType : std::uint8_t {
  OpTypeNull = 0,
  OpTypeX = 1,
  OpTypeY = 2,
  OpTypeM = 3,
  OpTypeT = 4,
  OpTypeC = 5,
  OpTypeK = 6,
  OpTypeH = 7,
  OpTypeF = 8,
  OpTypeD = 9,
  OpTypeP = 10,
  OpTypeI = 11,
  OpTypeA = 12,
  OpTypeB = 13,
  OpTypeEmpty = 14,
};
inline constexpr int kOperandTypeCount = 15;

using TTypeOperandsArr = std::vector<TOperandType>;

// Descriptor of one operand kind; also the item of an instruction slot's allowed list.
// While the parser works on one operand, Max carries the operand's value.
struct TOperand {
  TOperandType OperandType = OpTypeNull;
  std::string Letter;
  std::int64_t Max = 0;
  std::int64_t Min = 0;
  bool IndexAllowed = false;
  TOperandType IndexType = OpTypeNull;
  std::uint8_t IndexNumber = 0;
  std::int32_t Max16 = 0;
  std::int32_t Min16 = 0;
  std::int64_t Max32 = 0;
  std::int64_t Min32 = 0;
};
using TOperandsArr = std::vector<TOperand>;

// One operand of a parsed or decoded instruction.
struct TSingleOperand {
  TOperandType OperandType = OpTypeNull;
  std::int64_t Value = 0;
  TOperandType IndexType = OpTypeNull;
  std::uint8_t IndexNumber = 0;

  friend bool operator==(const TSingleOperand&, const TSingleOperand&) = default;
};

// The constant kind table, indexed by TOperandType.
const TOperand& OperandKind(TOperandType kind);

char OperandLetter(TOperandType kind);             // ' ' for Null, Empty and unknown kinds
TOperandType OperandTypeOfLetter(char ch);         // OpTypeNull for anything but the 13 letters
TOperandType OperandTypeOfName(std::string_view);  // first kind whose Letter equals the text
int AllowedIndexOf(TOperandType kind, const TOperandsArr& list);  // -1 when absent
bool IsAddressOperand(TOperandType kind);                         // X Y M T C D A B
bool IsConstantKind(TOperandType kind);                           // K H F
// width 0: 16-bit content range, 1: 32-bit, anything else 0.
std::int64_t OperandContentMax(TOperandType kind, int width);
std::int64_t OperandContentMin(TOperandType kind, int width);

struct OctalValue {
  std::int64_t Value = 0;
  bool Error = false;
};
OctalValue OctalToInt(std::string_view text);
std::string IntToOctal(std::int64_t value);  // empty for negative values

std::string FormatOperand(const TSingleOperand& operand);
// A raw 32-bit value as the program decoder shows it; letter is a character code (0 for none).
std::string FormatOperandValue(std::uint8_t letter, std::int32_t value32);

// Single-precision text of an F operand's bit pattern ("1.5", "-0.25", "1e+10").
std::string FormatSingle(std::uint32_t bits);

}  // namespace quarn::program_model

#include "program_model/operands.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace quarn::program_model {
namespace {

// Index 0..14 follows TOperandType. The 16/32-bit content ranges are what the debugger offers
// when the user forces a value into such an operand.
const std::array<TOperand, kOperandTypeCount>& KindTable() {
  static const std::array<TOperand, kOperandTypeCount> table = {{
      {OpTypeNull, "Null", 1, 0, false, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeX, "X", 127, 0, true, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeY, "Y", 127, 0, true, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeM, "M", 127, 0, true, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeT, "T", 63, 0, true, OpTypeNull, 0, 65535, 0, 0, 0},
      {OpTypeC, "C", 65, 0, true, OpTypeNull, 0, 65535, 0, 0, 0},
      {OpTypeK, "K", 2147483647, -2147483647, true, OpTypeNull, 0, 32767, -32768, 2147483647,
       -2147483647},
      {OpTypeH, "H", 4294967295, 0, true, OpTypeNull, 0, 65535, 0, 4294967295, 0},
      {OpTypeF, "F", 4294967295, 0, true, OpTypeNull, 0, 0, 0, 4294967295, 0},
      {OpTypeD, "D", 391, 0, true, OpTypeNull, 0, 32767, -32768, 2147483647, -2147483647},
      {OpTypeP, "P", 31, 0, true, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeI, "I", 2001, 0, false, OpTypeNull, 0, 0, 0, 0, 0},
      {OpTypeA, "A", 7, 0, true, OpTypeNull, 0, 65535, 0, 0, 0},
      {OpTypeB, "B", 7, 0, true, OpTypeNull, 0, 65535, 0, 0, 0},
      {OpTypeEmpty, "", 2001, 0, false, OpTypeNull, 0, 0, 0, 0, 0},
  }};
  return table;
}

// The letters of kinds 1..13 in ordinal order.
constexpr std::string_view kLetters = "XYMTCKHFDPIAB";

bool IsOctalKind(TOperandType kind) {
  return kind == OpTypeX || kind == OpTypeY || kind == OpTypeA || kind == OpTypeB;
}

std::string HexText(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xFu]);
    value >>= 4;
  } while (value != 0);
  if (text.size() < 2) text.insert(text.begin(), '0');
  return text;
}

}  // namespace

const TOperand& OperandKind(TOperandType kind) {
  const auto& table = KindTable();
  return table[kind < kOperandTypeCount ? kind : OpTypeNull];
}

char OperandLetter(TOperandType kind) {
  if (kind >= OpTypeX && kind <= OpTypeB) return kLetters[kind - 1];
  return ' ';
}

TOperandType OperandTypeOfLetter(char ch) {
  const std::size_t pos = kLetters.find(ch);
  if (ch == '\0' || pos == std::string_view::npos) return OpTypeNull;
  return static_cast<TOperandType>(pos + 1);
}

TOperandType OperandTypeOfName(std::string_view name) {
  for (const TOperand& row : KindTable()) {
    if (row.Letter == name) return row.OperandType;
  }
  return OpTypeNull;
}

int AllowedIndexOf(TOperandType kind, const TOperandsArr& list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].OperandType == kind) return static_cast<int>(i);
  }
  return -1;
}

bool IsAddressOperand(TOperandType kind) {
  switch (kind) {
    case OpTypeX:
    case OpTypeY:
    case OpTypeM:
    case OpTypeT:
    case OpTypeC:
    case OpTypeD:
    case OpTypeA:
    case OpTypeB:
      return true;
    default:
      return false;
  }
}

bool IsConstantKind(TOperandType kind) {
  return kind == OpTypeK || kind == OpTypeH || kind == OpTypeF;
}

std::int64_t OperandContentMax(TOperandType kind, int width) {
  const TOperand& row = OperandKind(kind);
  if (width == 0) return row.Max16;
  if (width == 1) return row.Max32;
  return 0;
}

std::int64_t OperandContentMin(TOperandType kind, int width) {
  const TOperand& row = OperandKind(kind);
  if (width == 0) return row.Min16;
  if (width == 1) return row.Min32;
  return 0;
}

OctalValue OctalToInt(std::string_view text) {
  // Digits are weighed from the last one; leading zeros cost nothing, so a long run of them
  // still reads. A value beyond 64 bits cannot name any operand and reads as an error.
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  std::int64_t weight = 1;
  bool weightOverflow = false;
  for (std::size_t i = text.size(); i-- > 0;) {
    const char ch = text[i];
    if (ch < '0' || ch > '7') return {0, true};
    const std::int64_t digit = ch - '0';
    if (digit != 0) {
      if (weightOverflow || weight > (kLimit - value) / digit) return {0, true};
      value += digit * weight;
    }
    if (!weightOverflow) {
      if (weight > kLimit / 8) {
        weightOverflow = true;
      } else {
        weight *= 8;
      }
    }
  }
  return {value, false};
}

std::string IntToOctal(std::int64_t value) {
  if (value < 0) return {};
  if (value == 0) return "0";
  std::string text;
  auto rest = static_cast<std::uint64_t>(value);
  while (rest != 0) {
    text.insert(text.begin(), static_cast<char>('0' + (rest & 7u)));
    rest >>= 3;
  }
  return text;
}

std::string FormatSingle(std::uint32_t bits) {
  // Plain decimal notation, the shortest text that reads back to the same pattern: the operand
  // syntax has no exponent, so a read-back program must stay uploadable as it stands.
  const float value = std::bit_cast<float>(bits);
  std::array<char, 64> buffer{};
  const auto result = std::isfinite(value)
                          ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed)
                          : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatOperand(const TSingleOperand& operand) {
  if (operand.OperandType == OpTypeNull) return {};
  std::string text(1, OperandLetter(operand.OperandType));
  const auto low32 = static_cast<std::uint32_t>(operand.Value);
  switch (operand.OperandType) {
    case OpTypeX:
    case OpTypeY:
    case OpTypeA:
    case OpTypeB:
      text += IntToOctal(operand.Value);
      break;
    case OpTypeH:
      text += HexText(low32);
      break;
    case OpTypeF:
      text += FormatSingle(low32);
      break;
    default:
      text += std::to_string(operand.Value);
      break;
  }
  if (operand.IndexType != OpTypeNull) {
    if (IsConstantKind(operand.OperandType)) text += '@';
    text += OperandLetter(operand.IndexType);
    text += std::to_string(operand.IndexNumber);
  }
  return text;
}

std::string FormatOperandValue(std::uint8_t letter, std::int32_t value32) {
  if (letter == 0) return std::to_string(value32);
  const TOperandType kind = OperandTypeOfLetter(static_cast<char>(letter));
  if (IsOctalKind(kind)) return IntToOctal(value32);
  switch (kind) {
    case OpTypeC:
    case OpTypeD:
    case OpTypeI:
    case OpTypeK:
    case OpTypeM:
    case OpTypeP:
    case OpTypeT:
      return std::to_string(value32);
    case OpTypeF:
      return FormatSingle(static_cast<std::uint32_t>(value32));
    case OpTypeH:
      return HexText(static_cast<std::uint32_t>(value32));
    default:
      return " ";
  }
}

}  // namespace quarn::program_model

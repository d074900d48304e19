#include "ladder/quick_operands.h"

#include <array>
#include <charconv>

#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

constexpr std::array<TOperandType, 11> kOperand1Kinds = {OpTypeX, OpTypeY, OpTypeM, OpTypeT,
                                                         OpTypeC, OpTypeK, OpTypeH, OpTypeF,
                                                         OpTypeD, OpTypeA, OpTypeB};
constexpr std::array<TOperandType, 10> kOperand2Kinds = {
    OpTypeX, OpTypeY, OpTypeM, OpTypeT, OpTypeC, OpTypeK, OpTypeH, OpTypeD, OpTypeA, OpTypeB};
constexpr std::array<std::string_view, 9> kComparisons = {"LD&", "LD|",  "LD^",  "LD=", "LD>",
                                                          "LD<", "LD<>", "LD<=", "LD>="};

// A field's number in the notation of its kind: octal for X, Y, A, B, hexadecimal for H,
// decimal otherwise; the text placed in the cell is read the same way when it is compiled.
std::optional<std::int64_t> FieldValue(TOperandType kind, std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (kind == OpTypeX || kind == OpTypeY || kind == OpTypeA || kind == OpTypeB) {
    const OctalValue octal = OctalToInt(text);
    if (octal.Error) return std::nullopt;
    return octal.Value;
  }
  const int base = kind == OpTypeH ? 16 : 10;
  if (base == 16 && text.find_first_of("abcdef-") != std::string_view::npos) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// 0 when both operands fit, else the number of the first that does not.
int FirstMisfit(std::string_view mnemonic, const QuickOperands& fields) {
  const TInstructions instruction = FindInstructionByMnemonic(mnemonic);
  const std::array<std::pair<TOperandType, const std::string*>, 2> operands = {
      {{fields.Kind1, &fields.Value1}, {fields.Kind2, &fields.Value2}}};
  for (int slot = 1; slot <= 2; ++slot) {
    const auto& [kind, text] = operands[static_cast<std::size_t>(slot - 1)];
    const auto value = FieldValue(kind, *text);
    if (!value ||
        !OperandFits(TSingleOperand{kind, *value, OpTypeNull, 0}, slot, instruction.ApiNumber)) {
      return slot;
    }
  }
  return 0;
}

std::string OperandText(TOperandType kind, const std::string& value) {
  return std::string(1, OperandLetter(kind)) + value;
}

}  // namespace

std::span<const TOperandType> QuickOperand1Kinds() { return kOperand1Kinds; }
std::span<const TOperandType> QuickOperand2Kinds() { return kOperand2Kinds; }
std::span<const std::string_view> QuickComparisons() { return kComparisons; }

std::string QuickDefaultValue(TOperandType kind) {
  const std::int64_t min = OperandKind(kind).Min;
  return min > 0 ? std::to_string(min) : "0";
}

std::string QuickMnemonic(std::string_view button, const QuickOperands& fields) {
  if (button != "LD" && button != "DLD") return std::string(button);
  std::string comparison = fields.Comparison;
  for (std::size_t at = comparison.find("LD"); at != std::string::npos;
       at = comparison.find("LD")) {
    comparison.erase(at, 2);
  }
  return std::string(button) + comparison;
}

bool QuickOperandsFit(std::string_view mnemonic, const QuickOperands& fields) {
  return FirstMisfit(mnemonic, fields) == 0;
}

bool AddQuickInstruction(LadderEditor& editor, std::string_view mnemonic,
                         const QuickOperands& fields) {
  if (const int slot = FirstMisfit(mnemonic, fields); slot != 0) {
    editor.Grid().Events().ShowMessage(std::string(texts::kWrongParameter) + std::to_string(slot));
    return false;
  }
  return editor.PlaceInstruction(
      FindInstructionByMnemonic(mnemonic),
      {OperandText(fields.Kind1, fields.Value1), OperandText(fields.Kind2, fields.Value2)});
}

}  // namespace quarn::ladder

// The quick operand fields of the ladder tool bar: MOV, DMOV and the comparison contacts
// placed with two operands typed next to their buttons.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ladder/ladder_editor.h"
#include "program_model/operands.h"

namespace quarn::ladder {

struct QuickOperands {
  program_model::TOperandType Kind1 = program_model::OpTypeK;
  std::string Value1 = "0";
  program_model::TOperandType Kind2 = program_model::OpTypeD;
  std::string Value2 = "0";
  std::string Comparison = "LD&";
};

// The choices of the two operand-kind lists and of the comparison list, in their order.
std::span<const program_model::TOperandType> QuickOperand1Kinds();
std::span<const program_model::TOperandType> QuickOperand2Kinds();
std::span<const std::string_view> QuickComparisons();

// The value a field gets when its kind is chosen: the kind's smallest value when above 0.
std::string QuickDefaultValue(program_model::TOperandType kind);

// The mnemonic of a quick button: "MOV", "DMOV", or "LD" / "DLD" with the chosen comparison
// ("LD<>" gives "LD<>" and "DLD<>").
std::string QuickMnemonic(std::string_view button, const QuickOperands& fields);

// Both fields hold a number in their kind's notation that the instruction accepts there.
bool QuickOperandsFit(std::string_view mnemonic, const QuickOperands& fields);

// Places the instruction with the two quick operands at the cursor. An operand the instruction
// does not accept is refused with "Wrong parameter " and its number.
bool AddQuickInstruction(LadderEditor& editor, std::string_view mnemonic,
                         const QuickOperands& fields);

}  // namespace quarn::ladder

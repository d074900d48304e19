// The instruction catalogue: 241 entries, built once, read through lookups that never fail.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "program_model/instructions.h"

namespace quarn::program_model {

inline constexpr int kCatalogueSize = 241;
inline constexpr int kGroupCount = 12;

// Builds a fresh catalogue; every call gives the same content.
std::vector<TInstructions> BuildCatalogue();
// The process-wide catalogue, built on first use (thread-safe).
const std::vector<TInstructions>& InstructionCatalogue();
std::span<const TInstrAPI_Name> MnemonicTable();
std::string_view GroupTitle(int group);  // empty outside 0..11

// The catalogue entry itself (the placeholder when none matches), for hot paths that need no copy.
const TInstructions& CatalogueEntryByMnemonic(std::string_view mnemonic);
const TInstructions& CatalogueEntryByApi(std::uint16_t api);

TInstructions FindInstructionByMnemonic(std::string_view mnemonic);  // case-sensitive
TInstructions FindInstructionByApi(std::uint16_t api);
// These two answer catalogue entries (the placeholder when none matches), valid for the process.
const TInstructions& FindInstructionByElementKind(std::uint8_t code);
// A ladder cell given by its element-kind text and its display text.
const TInstructions& FindInstructionOfCellText(std::string_view elementKindText,
                                               std::string_view displayText);

std::uint16_t ApiNumberOfMnemonic(std::string_view mnemonic);
std::uint8_t ElementKindOfMnemonic(std::string_view mnemonic);
std::string DescriptionOfMnemonic(std::string_view mnemonic);

int OperandCount(const TInstructions& instruction);
std::uint8_t CellCount(const TInstructions& instruction);
// Whether the operand may stand in slot 1..4 of the instruction with that API number.
// API number 0 (the placeholder, no slots) answers false.
bool OperandFits(const TSingleOperand& operand, int slot, std::uint16_t api);

}  // namespace quarn::program_model

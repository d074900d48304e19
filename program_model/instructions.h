// Catalogue instruction records and parsed instructions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "program_model/operands.h"

namespace quarn::program_model {

// An instruction's role in rung logic.
enum LogicKindCode : std::uint8_t {
  LogicLoad = 0,
  LogicSeries = 1,
  LogicParallel = 2,
  LogicBlock = 3,
  LogicApply = 4,
  LogicCoil = 5,
  LogicNop = 6,
  LogicInvert = 7,
  LogicLabel = 8,
  LogicCompareLoad = 9,
  LogicCompareSeries = 10,
  LogicCompareParallel = 11,
};

inline constexpr int kSlotCount = 4;
inline constexpr std::uint8_t kNoGroup = 12;

// One operand slot of a catalogue instruction; an empty list means the slot is unused.
struct TInstructionOperand {
  TOperandsArr AllowedOperands;
  std::string Role;
  std::string RoleText;
};

struct TInstructions {
  std::string Mnemonic;
  bool Impulse = false;       // bit 11 of ApiNumber
  bool Is32Bit = false;       // bit 12
  std::uint8_t ApiClass = 0;  // bits 15..13
  std::array<TInstructionOperand, kSlotCount> Operands;
  std::uint16_t ApiNumber = 0;  // 0: the placeholder "Unknown"
  std::string Description;
  std::uint8_t ElementKind = 0;
  std::uint8_t LogicKind = LogicLoad;
  std::uint8_t Group = kNoGroup;
};

// A parsed instruction: a copy of its catalogue entry and one operand per used slot.
struct TSingleInstruction {
  TInstructions Instruction;
  std::vector<TSingleOperand> Operands;
};

// A row of the mnemonic table.
struct TInstrAPI_Name {
  const char* Mnemonic;
  std::uint16_t ApiNumber;
  std::uint8_t ElementKind;
  const char* Description;
};

// API number layout.
inline constexpr bool ApiImpulse(std::uint16_t api) { return (api & 0x0800u) != 0; }
inline constexpr bool ApiIs32Bit(std::uint16_t api) { return (api & 0x1000u) != 0; }
inline constexpr std::uint8_t ApiClassOf(std::uint16_t api) {
  return static_cast<std::uint8_t>(api >> 13);
}

}  // namespace quarn::program_model

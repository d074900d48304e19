// The catalogue as constant data: one row per entry for the mnemonic table, one row per family of
// entries that share their operand slots, logic kind and group.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "program_model/instructions.h"

namespace quarn::program_model::catalogue_table {

// One operand slot: role, role text and the accepted kinds as letters in the order they are
// offered to the user ("_" stands for the bare number of a label line).
struct SlotRow {
  const char* Role;
  const char* RoleText;
  const char* Kinds;
};

// Entries First..Last share everything but mnemonic, API number and description.
struct CatalogueFamily {
  int First;
  int Last;
  LogicKindCode Logic;
  std::uint8_t Group;
  std::array<SlotRow, kSlotCount> Slots;
};

// An allowed operand whose upper bound is narrower than the kind table's.
struct SlotMaxOverride {
  int Entry;
  int Slot;  // 0-based
  std::int64_t Max;
};

std::span<const CatalogueFamily> Families();
std::span<const SlotMaxOverride> MaxOverrides();

}  // namespace quarn::program_model::catalogue_table

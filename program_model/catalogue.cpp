#include "program_model/catalogue.h"

#include <array>
#include <cstring>
#include <unordered_map>

#include "program_model/catalogue_table.h"
#include "program_model/device_traits.h"
#include "program_model/element_kinds.h"

namespace quarn::program_model {
namespace {

TOperandsArr AllowedList(const char* kinds) {
  TOperandsArr list;
  for (const char* ch = kinds; *ch != '\0'; ++ch) {
    const TOperandType kind = *ch == '_' ? OpTypeEmpty : OperandTypeOfLetter(*ch);
    const TOperand& row = OperandKind(kind);
    TOperand item;
    item.OperandType = row.OperandType;
    item.Letter = row.Letter;
    item.Max = row.Max;
    item.Min = row.Min;
    item.IndexAllowed = row.IndexAllowed;
    list.push_back(std::move(item));
  }
  return list;
}

void FillEntry(TInstructions& entry, const TInstrAPI_Name& row,
               const catalogue_table::CatalogueFamily& family) {
  entry.Mnemonic = row.Mnemonic;
  entry.ApiNumber = row.ApiNumber;
  entry.Description = row.Description;
  entry.ElementKind = row.ElementKind;
  entry.Impulse = ApiImpulse(row.ApiNumber);
  entry.Is32Bit = ApiIs32Bit(row.ApiNumber);
  entry.ApiClass = ApiClassOf(row.ApiNumber);
  entry.LogicKind = family.Logic;
  entry.Group = family.Group;
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    const catalogue_table::SlotRow& slotRow = family.Slots[slot];
    if (slotRow.Kinds == nullptr) continue;
    entry.Operands[slot].AllowedOperands = AllowedList(slotRow.Kinds);
    entry.Operands[slot].Role = slotRow.Role;
    entry.Operands[slot].RoleText = slotRow.RoleText;
  }
}

// Lookup structures over the process-wide catalogue, built with it.
struct CatalogueIndex {
  std::vector<TInstructions> entries;
  std::unordered_map<std::string_view, std::size_t> byMnemonic;
  std::array<std::uint8_t, 65536> byApi{};  // entry index; 0 is the placeholder
};

const CatalogueIndex& Index() {
  static const CatalogueIndex index = [] {
    CatalogueIndex built;
    built.entries = BuildCatalogue();
    for (std::size_t i = 0; i < built.entries.size(); ++i) {
      const TInstructions& entry = built.entries[i];
      built.byMnemonic.emplace(entry.Mnemonic, i);  // the first entry of a mnemonic wins
      if (entry.ApiNumber != 0 && built.byApi[entry.ApiNumber] == 0) {
        built.byApi[entry.ApiNumber] = static_cast<std::uint8_t>(i);
      }
    }
    return built;
  }();
  return index;
}

const TContacts* ElementKindRow(std::string_view name) {
  for (const TContacts& row : ElementKindTable()) {
    if (row.Name == name) return &row;
  }
  return nullptr;
}

}  // namespace

std::vector<TInstructions> BuildCatalogue() {
  std::vector<TInstructions> catalogue(kCatalogueSize);
  const auto rows = MnemonicTable();
  for (const catalogue_table::CatalogueFamily& family : catalogue_table::Families()) {
    for (int i = family.First; i <= family.Last; ++i) {
      const auto at = static_cast<std::size_t>(i);
      FillEntry(catalogue[at], rows[at], family);
    }
  }
  for (const catalogue_table::SlotMaxOverride& over : catalogue_table::MaxOverrides()) {
    auto& list = catalogue[static_cast<std::size_t>(over.Entry)]
                     .Operands[static_cast<std::size_t>(over.Slot)]
                     .AllowedOperands;
    for (TOperand& item : list) item.Max = over.Max;
  }
  return catalogue;
}

const std::vector<TInstructions>& InstructionCatalogue() { return Index().entries; }

const TInstructions& CatalogueEntryByMnemonic(std::string_view mnemonic) {
  const CatalogueIndex& index = Index();
  const auto found = index.byMnemonic.find(mnemonic);
  return index.entries[found != index.byMnemonic.end() ? found->second : 0];
}

const TInstructions& CatalogueEntryByApi(std::uint16_t api) {
  const CatalogueIndex& index = Index();
  return index.entries[index.byApi[api]];
}

TInstructions FindInstructionByMnemonic(std::string_view mnemonic) {
  return CatalogueEntryByMnemonic(mnemonic);
}

TInstructions FindInstructionByApi(std::uint16_t api) { return CatalogueEntryByApi(api); }

const TInstructions& FindInstructionByElementKind(std::uint8_t code) {
  switch (code) {
    case EkLD:
      return CatalogueEntryByMnemonic("LD");
    case EkLDI:
      return CatalogueEntryByMnemonic("LDI");
    case EkOUT:
      return CatalogueEntryByMnemonic("OUT");
    case EkLDF:
      return CatalogueEntryByMnemonic("LDF");
    case EkLDP:
      return CatalogueEntryByMnemonic("LDP");
    case EkTransStart:
    case EkTransOperand1:
    case EkTransOperand2:
    case EkTransEnd:
      return CatalogueEntryByMnemonic("LD&");
    case EkINV:
      return CatalogueEntryByMnemonic("INV");
    default:
      return InstructionCatalogue()[0];
  }
}

const TInstructions& FindInstructionOfCellText(std::string_view elementKindText,
                                               std::string_view displayText) {
  // An operand instruction is named by its display text.
  if (elementKindText.find("TransStart") != std::string_view::npos ||
      elementKindText.find("InstrStart") != std::string_view::npos) {
    return CatalogueEntryByMnemonic(displayText);
  }
  // Later names win, so "LDI" overrides the "LD" it contains.
  static constexpr std::array<std::string_view, 6> kCellKinds = {"LD",  "LDI", "OUT",
                                                                 "LDF", "LDP", "INV"};
  const TInstructions* result = &InstructionCatalogue()[0];
  for (std::string_view name : kCellKinds) {
    if (elementKindText.find(name) == std::string_view::npos) continue;
    const TContacts* row = ElementKindRow(name);
    if (row != nullptr) result = &FindInstructionByElementKind(row->Code);
  }
  return *result;
}

namespace {
const TInstrAPI_Name* MnemonicRow(std::string_view mnemonic) {
  for (const TInstrAPI_Name& row : MnemonicTable()) {
    if (mnemonic == row.Mnemonic) return &row;
  }
  return nullptr;
}
}  // namespace

std::uint16_t ApiNumberOfMnemonic(std::string_view mnemonic) {
  const TInstrAPI_Name* row = MnemonicRow(mnemonic);
  return row != nullptr ? row->ApiNumber : 0;
}

std::uint8_t ElementKindOfMnemonic(std::string_view mnemonic) {
  const TInstrAPI_Name* row = MnemonicRow(mnemonic);
  return row != nullptr ? row->ElementKind : 0;
}

std::string DescriptionOfMnemonic(std::string_view mnemonic) {
  const TInstrAPI_Name* row = MnemonicRow(mnemonic);
  return row != nullptr ? row->Description : "Unknown";
}

int OperandCount(const TInstructions& instruction) {
  int count = 0;
  while (count < kSlotCount &&
         !instruction.Operands[static_cast<std::size_t>(count)].AllowedOperands.empty()) {
    ++count;
  }
  return count;
}

std::uint8_t CellCount(const TInstructions& instruction) {
  int base = 0;
  switch (instruction.LogicKind) {
    case LogicApply:
    case LogicInvert:
    case LogicCompareLoad:
    case LogicCompareSeries:
    case LogicCompareParallel:
      base = 1;
      break;
    case LogicCoil:
      base = -1;  // the coil draws its operand in its own cell
      break;
    default:
      break;
  }
  for (const TInstructionOperand& slot : instruction.Operands) {
    if (!slot.AllowedOperands.empty()) ++base;
  }
  return static_cast<std::uint8_t>(base & 0xFF);
}

namespace {
bool WithinInterruptionKind(std::int64_t value) {
  for (const TSingleInterruption& kind : CurrentDeviceTraits().Interruptions()) {
    if (kind.Mnemonic == "I" && value >= kind.Lowest && value <= kind.Highest) return true;
  }
  return false;
}
}  // namespace

bool OperandFits(const TSingleOperand& operand, int slot, std::uint16_t api) {
  if (api == 0) return false;
  const TInstructions& instruction = CatalogueEntryByApi(api);
  if (operand.OperandType == OpTypeNull && instruction.LogicKind != LogicLabel) return false;
  if (slot < 1 || slot > kSlotCount) return false;
  const TOperandsArr& allowed =
      instruction.Operands[static_cast<std::size_t>(slot - 1)].AllowedOperands;
  const int at = AllowedIndexOf(operand.OperandType, allowed);
  if (at < 0) return false;
  const TOperand& item = allowed[static_cast<std::size_t>(at)];
  if (operand.Value < item.Min || operand.Value > item.Max) return false;
  if (api == CurrentDeviceTraits().InterruptApi()) return WithinInterruptionKind(operand.Value);
  return true;
}

}  // namespace quarn::program_model

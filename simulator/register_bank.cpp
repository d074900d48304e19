#include "simulator/register_bank.h"

#include <algorithm>

namespace quarn::simulator {
namespace {

constexpr std::size_t kAddresses = 0x10000;

bool Within(std::uint32_t base, std::uint32_t length, std::uint32_t from, std::uint32_t count) {
  return base < from + count && from < base + length;
}

}  // namespace

TFunctionTable TableOfFunction(std::uint8_t function) {
  switch (function) {
    case 1:
      return {TTable::Coils, false, true};
    case 2:
      return {TTable::DiscreteInputs, false, true};
    case 3:
      return {TTable::Holding, false, true};
    case 4:
      return {TTable::InputRegisters, false, true};
    case 5:
    case 15:
      return {TTable::Coils, true, true};
    case 6:
    case 16:
      return {TTable::Holding, true, true};
    default:
      return {};
  }
}

TRegisterBank::TRegisterBank() {
  for (TCells& cells : tables_) cells.resize(kAddresses);
}

void TRegisterBank::AddFields(const link::TFieldDescrArray& fields) {
  for (const link::TFieldDescr& field : fields) {
    const link::TDC_Record& reg = field.Register;
    const TFunctionTable target = TableOfFunction(reg.Function);
    if (!target.Known) continue;
    const std::uint32_t count = std::max<std::uint32_t>(1, reg.Count);
    if (!target.Writes) {
      AddReadable(target.Table, reg.Address, count);
      continue;
    }
    AddWritable(target.Table, reg.Address, count);
    // A coil that is written can be read back, as on any Modbus slave: the workbench reads
    // back what it writes (CLR_ERRORS has no reading row of its own).
    if (target.Table == TTable::Coils) AddReadable(target.Table, reg.Address, count);
    // Rows without a width carry blocks of data, not one value.
    if (field.Bits == 0) continue;
    AddRule({target.Table, reg.Address, static_cast<std::uint8_t>(count == 2 ? 2 : 1),
             field.MinValue, field.MaxValue});
  }
}

void TRegisterBank::AddReadable(TTable table, std::uint16_t address, std::uint32_t count) {
  TCells& cells = Cells(table);
  for (std::uint32_t a = address; a < kAddresses && a < address + count; ++a)
    cells[a].Readable = true;
}

void TRegisterBank::AddWritable(TTable table, std::uint16_t address, std::uint32_t count) {
  TCells& cells = Cells(table);
  for (std::uint32_t a = address; a < kAddresses && a < address + count; ++a)
    cells[a].Writable = true;
}

void TRegisterBank::AddRule(const TWriteRule& rule) { rules_.push_back(rule); }

bool TRegisterBank::CanRead(TTable table, std::uint16_t address, std::uint32_t count) const {
  const TCells& cells = Cells(table);
  if (count == 0 || address + count > kAddresses) return false;
  return std::all_of(cells.begin() + address, cells.begin() + address + count,
                     [](const TCell& cell) { return cell.Readable; });
}

bool TRegisterBank::CanWrite(TTable table, std::uint16_t address, std::uint32_t count) const {
  const TCells& cells = Cells(table);
  if (count == 0 || address + count > kAddresses) return false;
  return std::all_of(cells.begin() + address, cells.begin() + address + count,
                     [](const TCell& cell) { return cell.Writable; });
}

bool TRegisterBank::ValuesFit(TTable table, std::uint16_t address,
                              std::span<const std::uint16_t> values) const {
  const auto count = static_cast<std::uint32_t>(values.size());
  // Rules at the same place form one group; the value must fit one rule of each group.
  for (const TWriteRule& rule : rules_) {
    if (rule.Table != table || !Within(rule.Address, rule.Registers, address, count)) continue;
    const bool fitsGroup = std::any_of(rules_.begin(), rules_.end(), [&](const TWriteRule& other) {
      if (other.Table != rule.Table || other.Address != rule.Address ||
          other.Registers != rule.Registers) {
        return false;
      }
      const std::int64_t value = RuleValue(other, address, values);
      return value >= other.Min && value <= other.Max;
    });
    if (!fitsGroup) return false;
  }
  return true;
}

// The value a rule sees: the written values where the write covers the rule's registers, the
// stored ones elsewhere (a 32-bit value may be written one half at a time).
std::int64_t TRegisterBank::RuleValue(const TWriteRule& rule, std::uint16_t address,
                                      std::span<const std::uint16_t> values) const {
  auto word = [&](std::uint32_t at) -> std::uint32_t {
    if (at >= address && at - address < values.size()) return values[at - address];
    return Get(rule.Table, static_cast<std::uint16_t>(at));
  };
  if (rule.Registers == 2) {
    const std::uint32_t raw = word(rule.Address) | (word(rule.Address + 1U) << 16);
    return static_cast<std::int32_t>(raw);
  }
  const std::uint32_t raw = word(rule.Address);
  // A single register holds a signed value only when its range says so.
  return rule.Min < 0 ? std::int64_t{static_cast<std::int16_t>(raw)} : std::int64_t{raw};
}

std::uint16_t TRegisterBank::Get(TTable table, std::uint16_t address) const {
  return Cells(table)[address].Value;
}

void TRegisterBank::Set(TTable table, std::uint16_t address, std::uint16_t value) {
  Cells(table)[address].Value = value;
}

std::uint32_t TRegisterBank::Get32(TTable table, std::uint16_t address) const {
  const auto high = static_cast<std::uint16_t>(address + 1U);
  return Get(table, address) | (std::uint32_t{Get(table, high)} << 16);
}

void TRegisterBank::Set32(TTable table, std::uint16_t address, std::uint32_t value) {
  Set(table, address, static_cast<std::uint16_t>(value & 0xFFFFU));
  Set(table, static_cast<std::uint16_t>(address + 1U), static_cast<std::uint16_t>(value >> 16));
}

}  // namespace quarn::simulator

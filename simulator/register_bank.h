// The addresses a controller has and the values they hold: four tables of 65536 cells, each
// cell readable, writable, both or absent, and the value ranges that writes must respect.
//
// The bank is filled from a model's register table: a row read with function 1, 2, 3 or 4
// makes its addresses readable in that function's table, a row written with 5, 6, 15 or 16
// makes them writable, and a written row with a width (Bits) adds its MinValue..MaxValue as a
// rule. Several rows may share an address (the motion-command rows each fix one value of
// 0x5010): a written value must fit at least one of them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "link/device_description.h"
#include "simulator/slave_data.h"

namespace quarn::simulator {

// The table a Modbus function addresses, and whether it reads or writes it.
struct TFunctionTable {
  TTable Table = TTable::Coils;
  bool Writes = false;
  bool Known = false;
};
TFunctionTable TableOfFunction(std::uint8_t function);

// A value range for a register (one or two registers, low register first) or a coil.
struct TWriteRule {
  TTable Table = TTable::Holding;
  std::uint16_t Address = 0;
  std::uint8_t Registers = 1;  // 1, or 2 for a 32-bit value
  std::int64_t Min = 0;
  std::int64_t Max = 0;
};

class TRegisterBank {
 public:
  TRegisterBank();

  // Adds every row of the table (see above).
  void AddFields(const link::TFieldDescrArray& fields);
  void AddReadable(TTable table, std::uint16_t address, std::uint32_t count);
  void AddWritable(TTable table, std::uint16_t address, std::uint32_t count);
  void AddRule(const TWriteRule& rule);

  bool CanRead(TTable table, std::uint16_t address, std::uint32_t count) const;
  bool CanWrite(TTable table, std::uint16_t address, std::uint32_t count) const;
  // Whether the values, written from `address` on, leave every rule they touch satisfied.
  bool ValuesFit(TTable table, std::uint16_t address, std::span<const std::uint16_t> values) const;

  std::uint16_t Get(TTable table, std::uint16_t address) const;
  void Set(TTable table, std::uint16_t address, std::uint16_t value);
  // Two registers, low 16 bits in the first.
  std::uint32_t Get32(TTable table, std::uint16_t address) const;
  void Set32(TTable table, std::uint16_t address, std::uint32_t value);

 private:
  struct TCell {
    std::uint16_t Value = 0;
    bool Readable = false;
    bool Writable = false;
  };
  using TCells = std::vector<TCell>;

  std::int64_t RuleValue(const TWriteRule& rule, std::uint16_t address,
                         std::span<const std::uint16_t> values) const;

  TCells& Cells(TTable table) { return tables_[static_cast<std::size_t>(table)]; }
  const TCells& Cells(TTable table) const { return tables_[static_cast<std::size_t>(table)]; }

  std::array<TCells, kTableCount> tables_;
  std::vector<TWriteRule> rules_;
};

}  // namespace quarn::simulator

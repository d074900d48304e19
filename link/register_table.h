// The register table of the controller models as constant data: the rows every model has, the
// rows later models append, and the register lists built from them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quarn::link {

// One row of the register table with every column.
struct FieldRow {
  std::string_view Name;
  std::uint8_t Function;
  std::uint16_t Address;
  std::uint32_t Count;
  std::int32_t Bits;
  std::int32_t ParamId;
  std::int32_t DOperand;
  std::uint8_t Group;   // ParameterGroup
  std::uint8_t Access;  // RegisterAccess
  std::int32_t MinValue;
  std::int32_t MaxValue;
  std::int32_t Value;  // default value of a parameter, or the value a command writes
  std::string_view Caption;
  std::string_view TextForOne;
  std::string_view TextForZero;
  std::string_view Description;
};

// Rows 0 to 113: every model has them, in this order. Row 0 is the empty placeholder.
std::span<const FieldRow> SharedFieldRows();
// Rows 114 to 116, appended by the later models: a model takes the first few of them.
std::span<const FieldRow> AppendedFieldRows();

// The registers read to fetch the motor parameters (breakpoint reads follow them).
std::span<const std::string_view> ParameterReadNames();
// The registers polled for the state display, in polling order; a model polls them up to the
// first one it does not have.
std::span<const std::string_view> PollRegisterNames();

// The rows whose range differs per model (the phase currents).
std::span<const std::string_view> CurrentRowNames();

}  // namespace quarn::link

#include "link/register_map.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/current_description.h"
#include "link/modbus_functions.h"

namespace quarn::link {
namespace {

template <typename Match>
const TFieldDescr* FindRow(const TDeviceDescription& description, Match match) {
  const auto row = std::ranges::find_if(description.Fields, match);
  return row == description.Fields.end() ? nullptr : &*row;
}

const TFieldDescr* FindRowByName(const TDeviceDescription& description, std::string_view name) {
  return FindRow(description,
                 [name](const TFieldDescr& field) { return field.Register.Name == name; });
}

TFieldDescr CopyOrZero(const TFieldDescr* row) { return row != nullptr ? *row : TFieldDescr{}; }

bool Fits(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value >= low && value <= high;
}

bool FitsInt32(std::int64_t value) {
  return Fits(value, std::numeric_limits<std::int32_t>::min(),
              std::numeric_limits<std::int32_t>::max());
}

// One register holds 16 bits: a negative value is sent in two's complement, so both the signed
// and the unsigned 16-bit range can be written; anything wider would be cut off silently.
bool Fits16(std::int64_t value) {
  return Fits(value, std::numeric_limits<std::int16_t>::min(),
              std::numeric_limits<std::uint16_t>::max());
}

std::uint8_t ByteOf(std::int64_t value, int shift) {
  return static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) >> shift) & 0xFFu);
}

}  // namespace

bool EncodeWrite(std::uint8_t function, std::uint16_t count, std::int64_t value,
                 TBytesArray& data) {
  switch (function) {
    case kReadCoils:
    case kReadInputs:
    case kReadHoldingRegisters:
    case kReadInputRegisters:
      data.clear();
      return true;
    case kWriteSingleCoil:
      // Any non-zero value switches the coil on; taking the low byte alone would switch it off
      // for a multiple of 256.
      data = {0x00, value != 0 ? std::uint8_t{1} : std::uint8_t{0}};
      return true;
    case kWriteSingleRegister:
      if (!Fits16(value)) return false;
      data = {ByteOf(value, 8), ByteOf(value, 0)};
      return true;
    case kWriteMultipleRegisters:
      if (count == 0 || (count != 2 && !Fits16(value))) return false;
      // Low register first: bits 15..0, then bits 31..16.
      data.assign(2u * count, 0);
      data[0] = ByteOf(value, 8);
      data[1] = ByteOf(value, 0);
      if (count == 2) {
        data[2] = ByteOf(value, 24);
        data[3] = ByteOf(value, 16);
      }
      return true;
    default:
      return false;
  }
}

TFieldDescr FindField(std::string_view name, const TDeviceDescription& description) {
  return CopyOrZero(FindRowByName(description, name));
}

TFieldDescr FindField(std::string_view name) { return FindField(name, CurrentDescription()); }

TFieldDescr FindFieldByCaption(std::string_view caption, const TDeviceDescription& description) {
  return CopyOrZero(FindRow(
      description, [caption](const TFieldDescr& field) { return field.Caption == caption; }));
}

TFieldDescr FindFieldByCaption(std::string_view caption) {
  return FindFieldByCaption(caption, CurrentDescription());
}

namespace {

// The number n of an operand written exactly as a row names it: "D" and n in decimal without
// leading zeros. Anything else names no row.
std::optional<std::int32_t> DOperandNumber(std::string_view operand) {
  if (operand.size() < 2 || operand.front() != 'D' || operand[1] < '0' || operand[1] > '9' ||
      (operand[1] == '0' && operand.size() > 2)) {
    return std::nullopt;
  }
  std::int32_t number = 0;
  const char* end = operand.data() + operand.size();
  const auto [stop, error] = std::from_chars(operand.data() + 1, end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

}  // namespace

TFieldDescr FindFieldByOperand(std::string_view operand, const TDeviceDescription& description) {
  const std::optional<std::int32_t> number = DOperandNumber(operand);
  if (!number || *number == 0) return TFieldDescr{};
  return CopyOrZero(FindRow(
      description, [n = *number](const TFieldDescr& field) { return field.DOperand == n; }));
}

TFieldDescr FindFieldByOperand(std::string_view operand) {
  return FindFieldByOperand(operand, CurrentDescription());
}

TDC_Record FindParameterRecord(std::string_view name, const TDeviceDescription& description) {
  const TFieldDescr* row = FindRowByName(description, name);
  return row != nullptr ? row->Register : TDC_Record{};
}

TDC_Record FindParameterRecord(std::string_view name) {
  return FindParameterRecord(name, CurrentDescription());
}

std::size_t FieldIndex(std::string_view name, const TDeviceDescription& description) {
  const TFieldDescr* row = FindRowByName(description, name);
  return row != nullptr ? static_cast<std::size_t>(row - description.Fields.data()) : 0;
}

bool MakeRegisterRequest(TRWmbrReg& request, std::string_view name, bool raw,
                         const TDeviceDescription& description, std::uint8_t progressWeight,
                         std::uint8_t expectedValue, bool repeatUntilEqual, bool waitForValue,
                         std::int64_t value) {
  const TFieldDescr* row = FindRowByName(description, name);
  if (row == nullptr || !FitsInt32(value)) return false;
  const TDC_Record& reg = row->Register;
  const auto count = static_cast<std::uint16_t>(reg.Count & 0xFFu);
  TBytesArray data;
  if (!raw && !EncodeWrite(reg.Function, count, value, data)) return false;

  request.Address = reg.Address;
  request.Count = count;
  request.Function = reg.Function;
  request.Name = reg.Name;
  request.Data = std::move(data);
  request.ProgressWeight = progressWeight;
  request.ExpectedValue = expectedValue;
  request.RepeatUntilEqual = repeatUntilEqual;
  request.WaitForValue = waitForValue;
  return true;
}

bool MakeRegisterRequest(TRWmbrReg& request, std::string_view name, bool raw,
                         std::uint8_t progressWeight, std::uint8_t expectedValue,
                         bool repeatUntilEqual, bool waitForValue, std::int64_t value) {
  return MakeRegisterRequest(request, name, raw, CurrentDescription(), progressWeight,
                             expectedValue, repeatUntilEqual, waitForValue, value);
}

}  // namespace quarn::link

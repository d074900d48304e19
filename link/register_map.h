// Lookups that turn a register name into a row of a model's register table or into a request.
// Lookups never fail: a row that is not there gives a zeroed record. The forms without a
// description consult CurrentDescription(), and find nothing while no model is selected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "link/device_description.h"
#include "link/register_request.h"

namespace quarn::link {

// The first row named so (exact, case-sensitive); a zeroed record when there is none.
TFieldDescr FindField(std::string_view name, const TDeviceDescription& description);
TFieldDescr FindField(std::string_view name);

// The first row whose Caption equals the text.
TFieldDescr FindFieldByCaption(std::string_view caption, const TDeviceDescription& description);
TFieldDescr FindFieldByCaption(std::string_view caption);

// The first row whose program operand ("D" and DOperand in decimal, as in "D361") equals the
// text. Rows without an operand never match, so "D0" names no register.
TFieldDescr FindFieldByOperand(std::string_view operand, const TDeviceDescription& description);
TFieldDescr FindFieldByOperand(std::string_view operand);

// The Register of the named row; all zero when there is none.
TDC_Record FindParameterRecord(std::string_view name, const TDeviceDescription& description);
TDC_Record FindParameterRecord(std::string_view name);

// 0-based position of the named row in Fields; 0 when it is not there.
std::size_t FieldIndex(std::string_view name, const TDeviceDescription& description);

// The data bytes of a write of `value` by `function` to `count` registers: none for a read (1 to
// 4); for a coil (5) {0, 1} when the value is non-zero, else {0, 0}; for one register (6, or 16
// with a count other than 2) the value high byte first, when it fits 16 bits signed or unsigned;
// for two registers (16 with count 2) the low register first, then bits 31..16. Answers false,
// leaving `data` untouched, when the function cannot be written or the value does not fit.
bool EncodeWrite(std::uint8_t function, std::uint16_t count, std::int64_t value, TBytesArray& data);

// Fills a request for the named register: address, count, function and name from its row, the
// four list settings from the arguments, Label left as it is, and the data bytes of a write of
// value (none for reads, or when raw is set). Answers false, leaving the request untouched, when
// the register is not in the description, the value does not fit the register (32-bit signed for
// two registers, 16 bits signed or unsigned for one), or the function cannot be written.
// A coil is switched on by any non-zero value.
bool MakeRegisterRequest(TRWmbrReg& request, std::string_view name, bool raw,
                         const TDeviceDescription& description, std::uint8_t progressWeight,
                         std::uint8_t expectedValue, bool repeatUntilEqual, bool waitForValue,
                         std::int64_t value);
bool MakeRegisterRequest(TRWmbrReg& request, std::string_view name, bool raw,
                         std::uint8_t progressWeight, std::uint8_t expectedValue,
                         bool repeatUntilEqual, bool waitForValue, std::int64_t value);

}  // namespace quarn::link

// The ladder element kinds (TContacts) and their lookups.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarn::program_model {

struct TContacts {
  std::uint8_t Code;
  std::string_view Name;
  std::string_view ImageName;
};

// Codes of the element kinds, as stored in the grid and in LD files.
enum ElementKindCode : std::uint8_t {
  EkEmpty = 0,
  EkCommonBus = 1,
  EkLD = 2,
  EkLDI = 3,
  EkOUT = 4,
  EkLDF = 5,
  EkLDP = 6,
  EkTransStart = 7,
  EkTransOperand1 = 8,
  EkTransOperand2 = 9,
  EkTransEnd = 10,
  EkInstrStart = 11,
  EkInstrOperand1 = 12,
  EkInstrOperand2 = 13,
  EkInstrOperand3 = 14,
  EkInstrOperand4 = 15,
  EkInstrEnd = 16,
  EkVLine1 = 17,
  EkVLine2 = 18,
  EkHLine = 19,
  EkINV = 20,
  EkLabel = 21,
};

// The table in its stored order (not sorted by code).
std::span<const TContacts> ElementKindTable();

std::string ElementKindName(std::uint8_t code);         // empty when no row has the code
std::string ElementImageOfCode(std::uint8_t code);      // "IMG_temp" when none
std::string ElementImageOfName(std::string_view name);  // "IMG_temp" when none
// The code whose Name followed by ";" equals the text.
std::optional<std::uint8_t> ElementCodeOfTaggedName(std::string_view text);

}  // namespace quarn::program_model

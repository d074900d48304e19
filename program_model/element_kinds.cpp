#include "program_model/element_kinds.h"

#include <array>

namespace quarn::program_model {
namespace {

// Stored order: the ladder grid and LD files name element kinds by these rows.
constexpr std::array<TContacts, 22> kElementKinds = {{
    {EkCommonBus, "CommonBus", "IMG_Common_bus"},
    {EkLD, "LD", "IMG_Open_contact"},
    {EkLDI, "LDI", "IMG_Close_contact"},
    {EkOUT, "OUT", "IMG_coil_output"},
    {EkLDF, "LDF", "IMG_falling_edge"},
    {EkLDP, "LDP", "IMG_rising_edge"},
    {EkInstrStart, "InstrStart", "IMG_InstrStart"},
    {EkInstrOperand1, "InstrOperand1", "IMG_InstrMiddle"},
    {EkInstrOperand2, "InstrOperand2", "IMG_InstrMiddle"},
    {EkInstrOperand3, "InstrOperand3", "IMG_InstrMiddle"},
    {EkInstrOperand4, "InstrOperand4", "IMG_InstrMiddle"},
    {EkInstrEnd, "InstrEnd", "IMG_InstrEnd"},
    {EkVLine1, "VLine1", "IMG_Vert_line_part1"},
    {EkVLine2, "VLine2", "IMG_Vert_line_part2"},
    {EkHLine, "HLine", "IMG_Horiz_line"},
    {EkTransStart, "TransStart", "IMG_TransLogicStart"},
    {EkTransOperand1, "TransOperand1", "IMG_empty"},
    {EkTransOperand2, "TransOperand2", "IMG_empty"},
    {EkTransEnd, "TransEnd", "IMG_TransLogicEnd"},
    {EkEmpty, "Empty", "IMG_empty"},
    {EkINV, "INV", "IMG_inverse_logic"},
    {EkLabel, "Label", "IMG_empty"},
}};

constexpr std::string_view kUnknownImage = "IMG_temp";

const TContacts* RowOfCode(std::uint8_t code) {
  for (const TContacts& row : kElementKinds) {
    if (row.Code == code) return &row;
  }
  return nullptr;
}

}  // namespace

std::span<const TContacts> ElementKindTable() { return kElementKinds; }

std::string ElementKindName(std::uint8_t code) {
  const TContacts* row = RowOfCode(code);
  return row != nullptr ? std::string(row->Name) : std::string();
}

std::string ElementImageOfCode(std::uint8_t code) {
  const TContacts* row = RowOfCode(code);
  return std::string(row != nullptr ? row->ImageName : kUnknownImage);
}

std::string ElementImageOfName(std::string_view name) {
  for (const TContacts& row : kElementKinds) {
    if (row.Name == name) return std::string(row.ImageName);
  }
  return std::string(kUnknownImage);
}

std::optional<std::uint8_t> ElementCodeOfTaggedName(std::string_view text) {
  for (const TContacts& row : kElementKinds) {
    if (text.size() == row.Name.size() + 1 && text.starts_with(row.Name) && text.back() == ';') {
      return row.Code;
    }
  }
  return std::nullopt;
}

}  // namespace quarn::program_model

// The element-kind text of a ladder cell: kind names each followed by ";" ("CommonBus;LD;").
//
// A cell keeps its kinds as text, because the LD file stores that text as it stands; the grid
// keeps a bit mask beside it (bit k set when kind code k is present) so that queries never scan
// text. Tokens are whole names: no kind name ends with another kind's name, so a token test is
// the same as looking for "Name;" anywhere in the text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "program_model/element_kinds.h"

namespace quarn::ladder {

using KindMask = std::uint32_t;

inline constexpr KindMask KindBit(std::uint8_t code) { return KindMask{1} << code; }

// The cells of a comparison or apply instruction after its first one that hold an operand.
inline constexpr KindMask kOperandCells =
    KindBit(program_model::EkTransOperand1) | KindBit(program_model::EkTransOperand2) |
    KindBit(program_model::EkInstrOperand1) | KindBit(program_model::EkInstrOperand2) |
    KindBit(program_model::EkInstrOperand3) | KindBit(program_model::EkInstrOperand4);
// The last cell of a comparison or apply instruction.
inline constexpr KindMask kElementEnds =
    KindBit(program_model::EkTransEnd) | KindBit(program_model::EkInstrEnd);
// Every cell of a comparison or apply instruction after its first one.
inline constexpr KindMask kContinuation = kOperandCells | kElementEnds;

// "LD;" for code 2; empty for a code that names no kind.
std::string KindToken(std::uint8_t code);
// The code of one token "Name;" (exact spelling, ";" included).
std::optional<std::uint8_t> KindCodeOfToken(std::string_view token);
// The kinds present in a kinds text. Text after the last ";" and unknown names are ignored.
KindMask MaskOfKinds(std::string_view kinds);
// Removes every token of that kind, or only the first one.
void RemoveKindToken(std::string& kinds, std::uint8_t code, bool firstOnly = false);

}  // namespace quarn::ladder

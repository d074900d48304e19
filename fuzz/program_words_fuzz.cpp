// Any bytes as one stored instruction read back from a controller, and as an instruction image.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace pm = quarn::program_model;

namespace {

constexpr std::uint8_t kHighestIndexRegister = 7;

// Whether an operand could have been written from a program line; the images the ladder editor
// converts all come from the parser, which writes
// - an F constant as the bit pattern of a finite single-precision number (an infinity or a NaN
//   pattern has no text that reads back),
// - an index register only as A0 to A7 or B0 to B7.
bool FromARealProgram(const pm::TSingleOperand& operand) {
  if (operand.OperandType == pm::OpTypeF &&
      !std::isfinite(std::bit_cast<float>(static_cast<std::uint32_t>(operand.Value)))) {
    return false;
  }
  if (operand.IndexType == pm::OpTypeNull) return true;
  return (operand.IndexType == pm::OpTypeA || operand.IndexType == pm::OpTypeB) &&
         operand.IndexNumber <= kHighestIndexRegister;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const pm::DecodeResult decoded = pm::DecodeProgramWords(bytes);
  if (decoded.Success && size != 2 * static_cast<std::size_t>(pm::kStoredWords)) __builtin_trap();
  if (decoded.Success && !decoded.Decoded.Text.starts_with(decoded.Decoded.Instruction.Mnemonic)) {
    __builtin_trap();
  }
  if (decoded.Decoded.Operands.size() > pm::kSlotCount) __builtin_trap();

  pm::InstructionImage image{};
  std::copy_n(data, std::min(size, image.size()), image.begin());
  const pm::TSingleInstruction single = pm::ImageToInstruction(image);
  if (single.Operands.size() > static_cast<std::size_t>(pm::OperandCount(single.Instruction))) {
    __builtin_trap();
  }
  // What the ladder editor takes from an image it must be able to write back as a line.
  if (!single.Operands.empty() && std::ranges::all_of(single.Operands, FromARealProgram)) {
    std::string line = single.Instruction.Mnemonic;
    for (const pm::TSingleOperand& operand : single.Operands) {
      line += '\t';
      line += operand.OperandType == pm::OpTypeEmpty ? std::to_string(operand.Value)
                                                     : pm::FormatOperand(operand);
    }
    if (!pm::CheckIlLine(line).Valid) __builtin_trap();
  }
  return 0;
}

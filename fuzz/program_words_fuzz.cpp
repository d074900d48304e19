// Any bytes as one stored instruction read back from a controller, and as an instruction image.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace pm = quarn::program_model;

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
  if (!single.Operands.empty()) {
    std::string line = single.Instruction.Mnemonic;
    for (const pm::TSingleOperand& operand : single.Operands) {
      line += '\t';
      line += operand.OperandType == pm::OpTypeEmpty ? std::to_string(operand.Value)
                                                     : pm::FormatOperand(operand);
    }
    (void)pm::CheckIlLine(line);
  }
  return 0;
}

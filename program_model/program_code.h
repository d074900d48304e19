// Translation between instructions and the controller's program words.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "program_model/instructions.h"

namespace quarn::program_model {

inline constexpr int kImageWords = 21;
inline constexpr int kImageBytes = 2 * kImageWords;
inline constexpr int kStoredWords = 17;  // words of one stored instruction on the built-in models

// One instruction as sent to the controller: 21 words, high byte first.
using InstructionImage = std::array<std::uint8_t, kImageBytes>;

// Image word of the first of the five words of operand slot 1..4 (letter, value low and high,
// index letter, index number); word 0 is the API number.
constexpr int SlotBase(int slot) { return 1 + 5 * (slot - 1); }

std::uint16_t ImageWord(const InstructionImage& image, int word);
void SetImageWord(InstructionImage& image, int word, std::uint16_t value);
std::array<std::uint16_t, kImageWords> ImageWords(const InstructionImage& image);

// A watched operand, or a watchable operand of a decoded instruction.
struct TDebugOperand {
  std::uint8_t OperandLetter = 0;
  std::uint16_t OperandIndex = 0;
  std::int64_t Value = 0;
  std::uint8_t Signal = 0;  // 0 L, 2 H, 3 HF, 4 LF
  bool Active = false;
  bool Is32Bit = false;
  bool ValueValid = false;
  std::uint8_t DisplayFormat = 0;  // 0 decimal, 1 hexadecimal, 2 floating point

  friend bool operator==(const TDebugOperand&, const TDebugOperand&) = default;
};

struct TDebugInstruction {
  std::string Text = "Unknown";
  TInstructions Instruction;
  std::vector<TDebugOperand> Operands;
};

struct DecodeResult {
  bool Success = false;
  bool EndReached = false;  // the instruction is the model's END: a download stops after it
  TDebugInstruction Decoded;
};

// The bytes of one stored instruction exactly as received (words high byte first).
DecodeResult DecodeProgramWords(std::span<const std::uint8_t> bytes);

// Words as they travel, high byte first.
std::vector<std::uint8_t> WordsToBytes(std::span<const std::uint16_t> words);

// The stored words the controller answers for an image (the read-back layout).
std::vector<std::uint16_t> ImageToStoredWords(const InstructionImage& image);

TSingleInstruction ImageToInstruction(const InstructionImage& image);
TSingleInstruction ParseToInstruction(std::string_view text);

}  // namespace quarn::program_model

// Generated valid lines travel the whole way a program takes: parsed into its image, stored as
// the controller keeps it, read back, decoded to text and parsed again.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace quarn::program_model {
namespace {

std::string InBase(std::int64_t value, int base) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
  std::string text(buffer, end);
  for (char& ch : text) {
    if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return text;
}

// Writes operands in their usual text form, independently of the formatter under test.
class LineGenerator {
 public:
  explicit LineGenerator(std::uint32_t seed) : random_(seed) {}

  struct Generated {
    std::string line;
    std::string canonical;  // as the decoder writes it (empty when the F text may differ)
    std::vector<TSingleOperand> operands;
  };

  Generated Next() {
    const auto& catalogue = InstructionCatalogue();
    const TInstructions& entry = catalogue[Pick(1, kCatalogueSize - 1)];
    Generated out;
    out.line = entry.Mnemonic;
    out.canonical = entry.Mnemonic;
    bool exactText = true;
    for (int slot = 0; slot < OperandCount(entry); ++slot) {
      const TOperandsArr& allowed = entry.Operands[static_cast<std::size_t>(slot)].AllowedOperands;
      const TOperand& kind = allowed[Pick(0, static_cast<int>(allowed.size()) - 1)];
      TSingleOperand operand;
      std::string text = Operand(entry, kind, operand, exactText);
      out.line += Separator() + text;
      out.canonical += "\t" + text;
      out.operands.push_back(operand);
    }
    if (Pick(0, 3) == 0) out.line += " // note";
    if (!exactText) out.canonical.clear();
    return out;
  }

 private:
  std::size_t Pick(int low, int high) {
    return static_cast<std::size_t>(std::uniform_int_distribution<int>(low, high)(random_));
  }
  std::int64_t Value(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
  }
  std::string Separator() {
    static const char* const kSeparators[] = {"\t", " ", "  ", " \t"};
    return kSeparators[Pick(0, 3)];
  }

  std::string Operand(const TInstructions& entry, const TOperand& kind, TSingleOperand& operand,
                      bool& exactText) {
    operand.OperandType = kind.OperandType;
    if (kind.OperandType == OpTypeEmpty) {
      operand.Value = entry.Mnemonic == "I" ? InterruptionNumber() : Value(kind.Min, kind.Max);
      return std::to_string(operand.Value);
    }
    std::string text(1, OperandLetter(kind.OperandType));
    switch (kind.OperandType) {
      case OpTypeX:
      case OpTypeY:
      case OpTypeA:
      case OpTypeB:
        operand.Value = Value(kind.Min, kind.Max);
        text += InBase(operand.Value, 8);
        break;
      case OpTypeH:
        operand.Value = Value(0, 0x7FFFFFFF);  // from 80000000 up the pattern reads negative
        text += InBase(operand.Value, 16);
        if (text.size() == 2) text.insert(1, "0");
        break;
      case OpTypeF: {
        const float number = static_cast<float>(Value(-100000, 100000)) / 64.0f;
        operand.Value = std::bit_cast<std::uint32_t>(number);
        text += std::to_string(static_cast<double>(number));  // six decimals, no exponent
        exactText = false;
        break;
      }
      default:
        operand.Value = Value(kind.Min, kind.Max);
        text += std::to_string(operand.Value);
        break;
    }
    if (kind.IndexAllowed && Pick(0, 2) == 0) {
      operand.IndexType = Pick(0, 1) == 0 ? OpTypeA : OpTypeB;
      operand.IndexNumber = static_cast<std::uint8_t>(Pick(0, 7));
      const bool constant =
          kind.OperandType == OpTypeK || kind.OperandType == OpTypeH || kind.OperandType == OpTypeF;
      if (constant) text += '@';
      text += OperandLetter(operand.IndexType);
      text += std::to_string(operand.IndexNumber);
    }
    return text;
  }

  std::int64_t InterruptionNumber() {
    static const std::pair<int, int> kRanges[] = {{0, 0}, {1, 100}, {1000, 1007}, {2000, 2001}};
    const auto& range = kRanges[Pick(0, 3)];
    return Value(range.first, range.second);
  }

  std::mt19937 random_;
};

TEST(RoundTrip, ParseStoreDecodeParseKeepsTheImage) {
  LineGenerator generator(20240611);
  for (int i = 0; i < 20000; ++i) {
    const LineGenerator::Generated generated = generator.Next();
    const ParseResult first = ParseIlLine(generated.line);
    ASSERT_EQ(first.Code, 0) << generated.line;

    const TSingleInstruction single = ImageToInstruction(first.Image);
    ASSERT_EQ(single.Operands, generated.operands) << generated.line;

    const DecodeResult decoded = DecodeProgramWords(WordsToBytes(ImageToStoredWords(first.Image)));
    ASSERT_TRUE(decoded.Success) << generated.line;
    if (!generated.canonical.empty()) {
      ASSERT_EQ(decoded.Decoded.Text, generated.canonical);
    }
    const ParseResult second = ParseIlLine(decoded.Decoded.Text);
    ASSERT_EQ(second.Code, 0) << decoded.Decoded.Text;
    ASSERT_EQ(second.Image, first.Image) << generated.line << " -> " << decoded.Decoded.Text;
  }
}

TEST(RoundTrip, EverySingleTextReadsBackToItsPattern) {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::uint32_t> bits;
  int checked = 0;
  while (checked < 20000) {
    const std::uint32_t pattern =
        checked < 4 ? std::array<std::uint32_t, 4>{1u, 0x80000001u, 0x7F7FFFFFu,
                                                   0xFF7FFFFFu}[static_cast<std::size_t>(checked)]
                    : bits(random);
    if (!std::isfinite(std::bit_cast<float>(pattern))) continue;
    ++checked;
    const std::string line = "DEADD\tF" + FormatSingle(pattern) + "\tD0\tD1";
    const ParseResult parsed = ParseIlLine(line);
    ASSERT_EQ(parsed.Code, 0) << line;
    const std::uint32_t back =
        (static_cast<std::uint32_t>(ImageWord(parsed.Image, 3)) << 16) | ImageWord(parsed.Image, 2);
    ASSERT_EQ(back, pattern) << line;
  }
}

}  // namespace
}  // namespace quarn::program_model

#include "program_model/program_code.h"

#include "program_model/catalogue.h"
#include "program_model/device_traits.h"
#include "program_model/element_kinds.h"
#include "program_model/il_parser.h"

namespace quarn::program_model {
namespace {

constexpr std::size_t kMinimumStoredBytes = 2 * kStoredWords;

// A letter code taken from a program word; anything beyond one byte names no kind.
TOperandType KindOfLetterWord(std::uint16_t code) {
  if (code == 0 || code > 0xFF) return OpTypeNull;
  return OperandTypeOfLetter(static_cast<char>(code));
}

std::int32_t Join32(std::uint16_t low, std::uint16_t high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | low);
}

class StoredWords {
 public:
  explicit StoredWords(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint16_t Word(std::size_t at) const {
    return static_cast<std::uint16_t>((bytes_[2 * at] << 8) | bytes_[2 * at + 1]);
  }
  // Operand j (0..3) of the read-back layout.
  std::int32_t Value(std::size_t j) const { return Join32(Word(1 + 4 * j), Word(2 + 4 * j)); }
  std::uint16_t IndexNumber(std::size_t j) const { return Word(3 + 4 * j); }
  std::uint8_t IndexLetter(std::size_t j) const {
    return static_cast<std::uint8_t>(Word(4 + 4 * j) >> 8);
  }
  std::uint8_t KindLetter(std::size_t j) const {
    return static_cast<std::uint8_t>(Word(4 + 4 * j) & 0xFFu);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

TDebugOperand WatchOperand(std::uint8_t letter, std::int32_t value) {
  TDebugOperand watch;
  watch.OperandLetter = letter;
  watch.OperandIndex = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
  watch.Signal = 1;
  return watch;
}

void AppendHexBytes(std::string& text, std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xFu];
    text += ' ';
    if (i % 2 == 1) text += ' ';
  }
}

bool KnownIndexLetter(std::uint8_t letter) { return letter == 0 || letter == 'A' || letter == 'B'; }

// Appends the index register of operand j; false when its letter is none the controller uses.
bool AppendIndex(std::string& text, const StoredWords& words, std::size_t j) {
  const std::uint8_t letter = words.IndexLetter(j);
  if (letter == 0) return true;
  text += static_cast<char>(letter);
  text += FormatOperandValue(letter, words.IndexNumber(j));
  return KnownIndexLetter(letter);
}

bool DecodeLabel(const StoredWords& words, TDebugInstruction& decoded) {
  const std::uint8_t letter = words.KindLetter(0);
  decoded.Text += '\t';
  decoded.Text += FormatOperandValue(letter, words.Value(0));
  decoded.Operands.push_back(WatchOperand(letter, words.Value(0)));
  const bool known = letter == 0 || KindOfLetterWord(letter) != OpTypeNull;
  return AppendIndex(decoded.Text, words, 0) && known;
}

bool DecodeOperands(const StoredWords& words, TDebugInstruction& decoded) {
  bool known = true;
  for (std::size_t j = 0; j < kSlotCount; ++j) {
    const std::uint8_t letter = words.KindLetter(j);
    if (letter == 0) break;
    const TOperandType kind = KindOfLetterWord(letter);
    if (kind == OpTypeNull) known = false;
    if (IsAddressOperand(kind)) decoded.Operands.push_back(WatchOperand(letter, words.Value(j)));
    decoded.Text += '\t';
    decoded.Text += static_cast<char>(letter);
    decoded.Text += FormatOperandValue(letter, words.Value(j));
    if (IsConstantKind(kind) && words.IndexLetter(j) != 0) decoded.Text += '@';
    if (!AppendIndex(decoded.Text, words, j)) known = false;
  }
  return known;
}

}  // namespace

std::uint16_t ImageWord(const InstructionImage& image, int word) {
  if (word < 0 || word >= kImageWords) return 0;
  const auto at = static_cast<std::size_t>(2 * word);
  return static_cast<std::uint16_t>((image[at] << 8) | image[at + 1]);
}

void SetImageWord(InstructionImage& image, int word, std::uint16_t value) {
  if (word < 0 || word >= kImageWords) return;
  const auto at = static_cast<std::size_t>(2 * word);
  image[at] = static_cast<std::uint8_t>(value >> 8);
  image[at + 1] = static_cast<std::uint8_t>(value & 0xFFu);
}

std::array<std::uint16_t, kImageWords> ImageWords(const InstructionImage& image) {
  std::array<std::uint16_t, kImageWords> words{};
  for (int i = 0; i < kImageWords; ++i) words[static_cast<std::size_t>(i)] = ImageWord(image, i);
  return words;
}

std::vector<std::uint8_t> WordsToBytes(std::span<const std::uint16_t> words) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * words.size());
  for (std::uint16_t word : words) {
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFFu));
  }
  return bytes;
}

std::vector<std::uint16_t> ImageToStoredWords(const InstructionImage& image) {
  std::vector<std::uint16_t> words(kStoredWords, 0);
  words[0] = ImageWord(image, 0);
  for (int j = 0; j < kSlotCount; ++j) {
    const int from = SlotBase(j + 1);
    const auto to = static_cast<std::size_t>(1 + 4 * j);
    const auto letter = static_cast<std::uint16_t>(ImageWord(image, from) & 0xFFu);
    const auto indexLetter = static_cast<std::uint16_t>(ImageWord(image, from + 3) & 0xFFu);
    words[to] = ImageWord(image, from + 1);
    words[to + 1] = ImageWord(image, from + 2);
    words[to + 2] = ImageWord(image, from + 4);
    words[to + 3] = static_cast<std::uint16_t>((indexLetter << 8) | letter);
  }
  return words;
}

DecodeResult DecodeProgramWords(std::span<const std::uint8_t> bytes) {
  DecodeResult result;
  const DeviceProgramTraits& traits = CurrentDeviceTraits();
  const int wordsPerInstruction = traits.WordsPerInstruction();
  if (wordsPerInstruction <= 0 ||
      bytes.size() != 2 * static_cast<std::size_t>(wordsPerInstruction) ||
      bytes.size() < kMinimumStoredBytes) {
    return result;
  }
  const StoredWords words(bytes);
  const std::uint16_t api = words.Word(0);
  TDebugInstruction& decoded = result.Decoded;
  decoded.Instruction = CatalogueEntryByApi(api);
  result.EndReached = api == traits.EndApi();
  decoded.Text = decoded.Instruction.Mnemonic;
  if (decoded.Instruction.ApiNumber == 0) {
    AppendHexBytes(decoded.Text, bytes);
    return result;
  }
  // Letters outside the operand notation cannot come from a program the workbench wrote: such
  // words are reported as not convertible rather than shown as an instruction.
  result.Success = decoded.Instruction.LogicKind == LogicLabel ? DecodeLabel(words, decoded)
                                                               : DecodeOperands(words, decoded);
  return result;
}

TSingleInstruction ImageToInstruction(const InstructionImage& image) {
  const std::uint16_t api = ImageWord(image, 0);
  TSingleInstruction single;
  single.Instruction = CatalogueEntryByApi(api);
  const int count = OperandCount(single.Instruction);
  const bool label = single.Instruction.ElementKind == EkLabel;
  for (int slot = 1; slot <= count; ++slot) {
    const int base = SlotBase(slot);
    const std::uint16_t letter = ImageWord(image, base);
    TSingleOperand operand;
    operand.OperandType = label && letter == 0 ? OpTypeEmpty : KindOfLetterWord(letter);
    operand.Value = Join32(ImageWord(image, base + 1), ImageWord(image, base + 2));
    // An F constant is a bit pattern, kept zero-extended as the parser keeps it: a negative
    // number would otherwise read below the F range and the instruction would be refused.
    if (operand.OperandType == OpTypeF) operand.Value = static_cast<std::uint32_t>(operand.Value);
    operand.IndexType = KindOfLetterWord(ImageWord(image, base + 3));
    operand.IndexNumber = static_cast<std::uint8_t>(ImageWord(image, base + 4) & 0xFFu);
    if (!OperandFits(operand, slot, api)) return {};
    single.Operands.push_back(operand);
  }
  return single;
}

TSingleInstruction ParseToInstruction(std::string_view text) {
  return ImageToInstruction(ParseIlLine(text).Image);
}

}  // namespace quarn::program_model

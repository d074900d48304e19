#include "program_model/il_parser.h"

#include <array>
#include <bit>
#include <charconv>

#include "program_model/catalogue.h"

namespace quarn::program_model {
namespace {

// Prefixes put before a wrong line when it is turned into a comment.
constexpr std::string_view kWrongParameter = "// wrong parameter ";
constexpr std::string_view kWrongParameterTail = ": -> ";
constexpr std::string_view kWrongParametersNumber = "// wrong parameters number: -> ";
constexpr std::string_view kWrongCommand = "// wrong command: -> ";

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  return text.substr(at);
}

bool IsCommentLine(std::string_view trimmed) {
  return trimmed.starts_with("//") || trimmed.starts_with(";");
}

std::string_view Token(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return text.substr(0, end);
}

bool EndsCleanly(std::string_view rest) { return rest.empty() || rest.starts_with("//"); }

// The characters that may follow the kind letter of an operand token.
std::string_view CharacterSet(TOperandType kind) {
  switch (kind) {
    case OpTypeX:
    case OpTypeY:
    case OpTypeA:
    case OpTypeB:
      return "01234567AB";
    case OpTypeK:
      return "-0123456789@AB";
    case OpTypeH:
      return "0123456789@ABCDEF";
    case OpTypeF:
      return "-.0123456789@AB";
    case OpTypeEmpty:
      return "0123456789";
    default:
      return "0123456789AB";
  }
}

bool ReadDecimal32(std::string_view text, std::int64_t& value) {
  std::int32_t read = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), read);
  if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
    return false;
  }
  value = read;
  return true;
}

bool ReadHex32(std::string_view text, std::int64_t& value) {
  std::uint32_t read = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), read, 16);
  if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
    return false;
  }
  value = static_cast<std::int32_t>(read);  // from 80000000 up the pattern reads negative
  return true;
}

bool ReadSingle(std::string_view text, std::int64_t& value) {
  // Read straight to single precision, so the number is rounded once.
  float read = 0.0f;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), read);
  if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
    return false;
  }
  value = std::bit_cast<std::uint32_t>(read);
  return true;
}

bool ReadValue(TOperandType kind, std::string_view number, std::int64_t& value) {
  switch (kind) {
    case OpTypeK:
      return ReadDecimal32(number, value);
    case OpTypeH:
      return ReadHex32(number, value);
    case OpTypeF:
      return ReadSingle(number, value);
    case OpTypeX:
    case OpTypeY:
    case OpTypeA:
    case OpTypeB: {
      const OctalValue octal = OctalToInt(number);
      value = octal.Value;
      return !octal.Error;
    }
    default:
      return ReadDecimal32(number, value);
  }
}

void WriteValue(InstructionImage& image, int slot, std::uint16_t letter, std::int64_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  SetImageWord(image, SlotBase(slot), letter);
  SetImageWord(image, SlotBase(slot) + 1, static_cast<std::uint16_t>(bits & 0xFFFFu));
  SetImageWord(image, SlotBase(slot) + 2, static_cast<std::uint16_t>(bits >> 16));
}

// Reads one operand token into the image; false when the operand is wrong.
bool ReadOperand(std::string_view token, bool label, int slot, std::uint16_t api,
                 InstructionImage& image) {
  TSingleOperand operand;
  std::string_view body = token;
  if (label) {
    operand.OperandType = OpTypeEmpty;
  } else {
    operand.OperandType = OperandTypeOfLetter(token.front());
    if (operand.OperandType == OpTypeNull) return false;
    body.remove_prefix(1);
    if (body.empty()) return false;
  }
  if (body.find_first_not_of(CharacterSet(operand.OperandType)) != std::string_view::npos) {
    return false;
  }

  std::string_view number = body;
  std::string_view index;
  if (IsConstantKind(operand.OperandType)) {
    const std::size_t at = body.find('@');
    if (at != std::string_view::npos) {
      if (body.size() < 4) return false;
      number = body.substr(0, at);
      index = body.substr(at + 1);
    }
  } else if (!label) {
    const std::size_t at = body.find_first_of("AB");
    number = body.substr(0, at);
    if (at != std::string_view::npos) index = body.substr(at);
  }
  if (!ReadValue(operand.OperandType, number, operand.Value)) return false;
  const std::uint16_t letter =
      label ? 0 : static_cast<std::uint16_t>(static_cast<unsigned char>(token.front()));
  WriteValue(image, slot, letter, operand.Value);

  if (!index.empty()) {
    if (index.size() != 2 || (index[0] != 'A' && index[0] != 'B') || index[1] < '0' ||
        index[1] > '7') {
      return false;
    }
    operand.IndexType = OperandTypeOfLetter(index[0]);
    operand.IndexNumber = static_cast<std::uint8_t>(index[1] - '0');
    SetImageWord(image, SlotBase(slot) + 3, static_cast<std::uint16_t>(index[0]));
    SetImageWord(image, SlotBase(slot) + 4, operand.IndexNumber);
  }
  return OperandFits(operand, slot, api);
}

}  // namespace

ParseResult ParseIlLine(std::string_view text) {
  ParseResult result;
  std::string_view rest = TrimLeft(text);
  if (rest.empty()) return result;  // IlWrongCommand

  const std::string_view mnemonic = Token(rest);
  const TInstructions& instruction = CatalogueEntryByMnemonic(mnemonic);
  if (instruction.ApiNumber == 0) return result;
  SetImageWord(result.Image, 0, instruction.ApiNumber);
  rest = TrimLeft(rest.substr(mnemonic.size()));

  const int count = OperandCount(instruction);
  if (count == 0) {
    result.Code = EndsCleanly(rest) ? IlValid : IlTextAfterCommand;
    return result;
  }
  const bool label = instruction.LogicKind == LogicLabel;
  for (int slot = 1; slot <= count; ++slot) {
    rest = TrimLeft(rest);
    if (rest.empty()) {
      result.Code = IlTooFewOperands;
      return result;
    }
    const std::string_view token = Token(rest);
    if (!ReadOperand(token, label, slot, instruction.ApiNumber, result.Image)) {
      result.Code = slot;
      return result;
    }
    rest.remove_prefix(token.size());
  }
  result.Code = EndsCleanly(TrimLeft(rest)) ? IlValid : IlTextAfterOperands;
  return result;
}

std::string_view InstructionLine(std::string_view line) {
  const std::string_view trimmed = TrimLeft(line);
  return IsCommentLine(trimmed) ? std::string_view{} : trimmed;
}

CheckResult CheckIlLine(std::string_view line) {
  const std::string_view trimmed = TrimLeft(line);
  CheckResult result;
  if (trimmed.empty()) {
    result.Code = IlTextAfterCommand;
  } else if (IsCommentLine(trimmed)) {
    result.Code = IlComment;
  } else {
    result.Code = ParseIlLine(CommandText(line)).Code;
  }
  result.Valid = result.Code == IlValid;
  return result;
}

std::string_view CommandText(std::string_view line) {
  std::size_t end = line.find("//");
  const std::size_t semicolon = line.find(';');
  if (semicolon < end) end = semicolon;
  return line.substr(0, end);
}

std::string WrongLinePrefix(int code) {
  if (code >= IlWrongOperand1 && code <= IlWrongOperand4) {
    return std::string(kWrongParameter) + std::to_string(code) + std::string(kWrongParameterTail);
  }
  if (code == IlTooFewOperands) return std::string(kWrongParametersNumber);
  if (code == IlWrongCommand) return std::string(kWrongCommand);
  return {};
}

void CleanUpProgram(std::vector<std::string>& lines, WrongLines choice) {
  // Lines are compacted in place: deleting one by one would move the rest of the program for
  // every removed line.
  std::size_t kept = 0;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    std::string& line = lines[at];
    int code = CheckIlLine(line).Code;
    if (code == IlTextAfterCommand) {
      if (TrimLeft(line).empty()) continue;
      // An operand-less instruction followed by more text is no empty line: it is handled as
      // a line with too many operands, so Comment keeps it instead of dropping it.
      code = IlTooFewOperands;
    }
    const bool wrong = code >= IlWrongOperand1 && code <= IlWrongCommand;
    if (wrong && choice == WrongLines::Clear) continue;
    if (wrong) line.insert(0, WrongLinePrefix(code));
    if (kept != at) lines[kept] = std::move(line);
    ++kept;
  }
  lines.resize(kept);
}

}  // namespace quarn::program_model

#include "link/hex_text.h"

namespace quarn::link {

std::optional<std::uint8_t> HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return static_cast<std::uint8_t>(ch - '0');
  if (ch >= 'A' && ch <= 'F') return static_cast<std::uint8_t>(ch - 'A' + 10);
  if (ch >= 'a' && ch <= 'f') return static_cast<std::uint8_t>(ch - 'a' + 10);
  return std::nullopt;
}

bool IsUpperHexDigit(char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'); }

std::optional<std::uint32_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char ch : text) {
    const auto digit = HexDigitValue(ch);
    if (!digit) return std::nullopt;
    value = (value << 4) | *digit;
  }
  return value;
}

std::optional<std::uint32_t> HexAt(std::string_view text, std::size_t position, std::size_t count) {
  if (position == 0 || position - 1 > text.size() || count > text.size() - (position - 1)) {
    return std::nullopt;
  }
  return ParseHex(text.substr(position - 1, count));
}

std::string ToHex(std::uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xFU];
    value >>= 4;
  }
  return text;
}

}  // namespace quarn::link

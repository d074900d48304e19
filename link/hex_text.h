// Hexadecimal text as Modbus ASCII uses it: two characters per byte, high nibble first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarn::link {

// Value of one hexadecimal digit of either case; nullopt for anything else (any byte value).
std::optional<std::uint8_t> HexDigitValue(char ch);

// True for '0'-'9' and 'A'-'F' only: the characters a controller puts in a frame.
bool IsUpperHexDigit(char ch);

// Value of a run of hexadecimal digits of either case (at most 8); nullopt when the text is
// empty, too long or holds anything but hexadecimal digits.
std::optional<std::uint32_t> ParseHex(std::string_view text);

// Value of `count` characters of `text` starting at the 1-based `position`; nullopt when the
// characters are missing or not hexadecimal. Positions are 1-based because the answer layout
// is described that way.
std::optional<std::uint32_t> HexAt(std::string_view text, std::size_t position, std::size_t count);

// `value` as exactly `digits` upper-case hexadecimal characters (higher digits dropped).
std::string ToHex(std::uint32_t value, int digits);

}  // namespace quarn::link

// Byte arrays that travel between the link layers.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quarn::link {

// A request PDU (device id, function, fields) or the decoded bytes of an answer.
using TReqResArray = std::vector<std::uint8_t>;
// An ASCII frame exactly as it goes out on the line: ':' hex LRC CR LF.
using TStrToPort = std::vector<std::uint8_t>;
// Any other buffer of raw bytes (register data, received chunks).
using TBytesArray = std::vector<std::uint8_t>;

// The bytes of a text, as a port writes or a check reads them; valid as long as the text.
inline std::span<const std::uint8_t> TextBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace quarn::link

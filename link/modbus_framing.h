// Request PDUs and their Modbus ASCII frames.
//
// A PDU here is what the LRC covers: device id, function code and the function's fields.
// The frame is ':' followed by every PDU byte and the LRC as two upper-case hexadecimal
// characters each, then CR LF (2 x PDU length + 5 characters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/byte_arrays.h"
#include "link/register_request.h"

namespace quarn::link {

inline constexpr std::size_t kMinPduLength = 6;         // shorter PDUs are never framed or sent
inline constexpr std::size_t kMaxWriteDataBytes = 255;  // what the byte-count field can say

// The PDU for one request to `deviceId`:
//   1-4:   id, function, address, count (16-bit fields high byte first)
//   5:     id, 5, address, 0xFF 0x00 when the second data byte is non-zero, else 0x00 0x00
//   6:     id, 6, address, the two data bytes
//   15,16: id, function, address, count, byte count, data bytes (a zero byte appended to
//          odd-length data)
//   other: the 6-byte layout with the last two bytes zero
// Returns an empty array, which FrameAscii refuses, when the request cannot be sent as it
// stands: a single write without its two data bytes (sending 0 in their place would write a
// value nobody asked for) or a multiple write whose data the byte-count field cannot describe.
TReqResArray BuildRequestPdu(const TRWmbrReg& request, std::uint8_t deviceId);

// Register count the answer to `request` is expected to carry: the low byte of Count for reads
// (functions 1-4), 0 for every other function.
std::uint8_t ExpectedCountOf(const TRWmbrReg& request);

// Two's complement of the 8-bit sum of the bytes.
std::uint8_t ComputeLrc(std::span<const std::uint8_t> bytes);

// The ASCII frame of a PDU; empty when the PDU is shorter than kMinPduLength.
TStrToPort FrameAscii(std::span<const std::uint8_t> pdu);
// The ASCII frame of any byte string: ':', two hex digits a byte, the LRC, CR LF. A slave's
// answers are framed so whatever their length.
TStrToPort FrameBytes(std::span<const std::uint8_t> bytes);

}  // namespace quarn::link

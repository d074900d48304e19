// Request PDUs and frames written out byte by byte, the way a master puts them on the line,
// so that the tests also reach requests the workbench never builds.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/byte_arrays.h"
#include "link/modbus_framing.h"

namespace quarn::simulator::testing {

using Pdu = link::TReqResArray;

inline void PushWord(Pdu& pdu, std::uint16_t value) {
  pdu.push_back(static_cast<std::uint8_t>(value >> 8));
  pdu.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Functions 1-6: id, function, address, a second 16-bit field (count or value).
inline Pdu Request(std::uint8_t id, std::uint8_t function, std::uint16_t address,
                   std::uint16_t field) {
  Pdu pdu{id, function};
  PushWord(pdu, address);
  PushWord(pdu, field);
  return pdu;
}

inline Pdu WriteRegisters(std::uint8_t id, std::uint16_t address,
                          std::span<const std::uint16_t> values) {
  Pdu pdu{id, 16};
  PushWord(pdu, address);
  PushWord(pdu, static_cast<std::uint16_t>(values.size()));
  pdu.push_back(static_cast<std::uint8_t>(2 * values.size()));
  for (const std::uint16_t value : values) PushWord(pdu, value);
  return pdu;
}
inline Pdu WriteRegisters(std::uint8_t id, std::uint16_t address,
                          std::initializer_list<std::uint16_t> values) {
  return WriteRegisters(id, address, std::span<const std::uint16_t>(values.begin(), values.size()));
}

inline Pdu WriteCoils(std::uint8_t id, std::uint16_t address, std::initializer_list<bool> bits) {
  Pdu pdu{id, 15};
  PushWord(pdu, address);
  PushWord(pdu, static_cast<std::uint16_t>(bits.size()));
  pdu.push_back(static_cast<std::uint8_t>((bits.size() + 7) / 8));
  pdu.resize(pdu.size() + (bits.size() + 7) / 8, 0);
  std::size_t i = 0;
  for (const bool bit : bits) {
    if (bit) pdu[7 + i / 8] |= static_cast<std::uint8_t>(1U << (i % 8));
    ++i;
  }
  return pdu;
}

inline std::string Frame(const Pdu& pdu) {
  const link::TStrToPort frame = link::FrameAscii(pdu);
  return {frame.begin(), frame.end()};
}

using link::TextBytes;

}  // namespace quarn::simulator::testing

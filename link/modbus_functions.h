// The Modbus function codes the link sends and answers, and which of them read or write.
#pragma once

#include <cstdint>

namespace quarn::link {

inline constexpr std::uint8_t kReadCoils = 1;
inline constexpr std::uint8_t kReadInputs = 2;
inline constexpr std::uint8_t kReadHoldingRegisters = 3;
inline constexpr std::uint8_t kReadInputRegisters = 4;
inline constexpr std::uint8_t kWriteSingleCoil = 5;
inline constexpr std::uint8_t kWriteSingleRegister = 6;
inline constexpr std::uint8_t kWriteMultipleCoils = 15;
inline constexpr std::uint8_t kWriteMultipleRegisters = 16;

constexpr bool IsReadFunction(unsigned function) {
  return function >= kReadCoils && function <= kReadInputRegisters;
}

constexpr bool IsWriteFunction(unsigned function) {
  return function == kWriteSingleCoil || function == kWriteSingleRegister ||
         function == kWriteMultipleCoils || function == kWriteMultipleRegisters;
}

}  // namespace quarn::link

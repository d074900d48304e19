// Every text the Modbus framing and answer check produce, and the outcome codes of the check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace quarn::link {

// Why an answer was rejected; the numbers are the ones the transfer log has always shown.
enum class TRejectCode : std::uint8_t {
  None = 0,
  ModbusException = 1,
  WrongTermination = 2,
  DataLength = 3,
  WrongId = 4,
  WrongAddress = 5,
  WrongCommand = 6,
  BadPacket = 7,
  BadLrc = 8,
};

namespace texts {

inline constexpr std::string_view kWrongModbusCommand = "Wrong Modbus Command";
inline constexpr std::string_view kDamagedPackets = "One or more of data packets are damaged:";
inline constexpr std::string_view kGetStatePrefix = "Get state - ";

inline constexpr std::string_view kExceptionHeader = "Mobas error occurred: \r\n";
inline constexpr std::string_view kRequestCmd = "Request cmd = 0x";
inline constexpr std::string_view kRequestStart = "; Request start address = 0x";
inline constexpr std::string_view kRegistersNumber = "; Registaers number = ";
inline constexpr std::string_view kErrorCode = "Error code = ";

// Rejection texts by TRejectCode (index 0 unused); each is followed directly by the received
// line, code 1 with the exception report in between.
inline constexpr std::string_view kRejection[] = {
    "",
    "Wrong response: Modbus error ",
    "Wrong response - wrong terminated symbols ",
    "Wrong response: data length errore ",
    "Wrong response: ID error ",
    "Wrong response: Register address error",
    "Wrong response: command error",
    "Wrong response: error in Modbus packet",
    "Wrong response: error LRC",
};

// Names of the standard exception codes 1 to 8 (index 0 unused).
inline constexpr std::string_view kExceptionName[] = {
    "",
    " = Illegal Function",
    " = Illegal Data Address",
    " = Illegal Data Value",
    " = Slave Device Failure",
    " = Acknowledge",
    " = Slave Device Busy",
    " = Negative Acknowledge",
    " = Memory Parity Error",
};

}  // namespace texts

inline std::string_view RejectionText(TRejectCode code) {
  const auto index = static_cast<std::size_t>(code);
  return index < std::size(texts::kRejection) ? texts::kRejection[index] : std::string_view{};
}

}  // namespace quarn::link

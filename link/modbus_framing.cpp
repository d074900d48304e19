#include "link/modbus_framing.h"

#include "link/hex_text.h"
#include "link/modbus_functions.h"

namespace quarn::link {
namespace {

std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }
std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFFU); }

TReqResArray Header(const TRWmbrReg& request, std::uint8_t deviceId) {
  return {deviceId, request.Function, High(request.Address), Low(request.Address)};
}

TReqResArray MultipleWritePdu(const TRWmbrReg& request, std::uint8_t deviceId) {
  TBytesArray data = request.Data;
  if (data.size() % 2 != 0) data.push_back(0);
  if (data.size() > kMaxWriteDataBytes) return {};
  TReqResArray pdu = Header(request, deviceId);
  pdu.push_back(High(request.Count));
  pdu.push_back(Low(request.Count));
  pdu.push_back(static_cast<std::uint8_t>(data.size()));
  pdu.insert(pdu.end(), data.begin(), data.end());
  return pdu;
}

}  // namespace

TReqResArray BuildRequestPdu(const TRWmbrReg& request, std::uint8_t deviceId) {
  const std::uint8_t function = request.Function;
  if (function == kWriteMultipleCoils || function == kWriteMultipleRegisters) {
    return MultipleWritePdu(request, deviceId);
  }
  TReqResArray pdu = Header(request, deviceId);
  if (IsReadFunction(function)) {
    pdu.push_back(High(request.Count));
    pdu.push_back(Low(request.Count));
  } else if (function == kWriteSingleCoil || function == kWriteSingleRegister) {
    if (request.Data.size() < 2) return {};
    if (function == kWriteSingleCoil) {
      pdu.push_back(request.Data[1] != 0 ? 0xFF : 0x00);
      pdu.push_back(0x00);
    } else {
      pdu.push_back(request.Data[0]);
      pdu.push_back(request.Data[1]);
    }
  } else {
    pdu.push_back(0);
    pdu.push_back(0);
  }
  return pdu;
}

std::uint8_t ExpectedCountOf(const TRWmbrReg& request) {
  return IsReadFunction(request.Function) ? Low(request.Count) : 0;
}

std::uint8_t ComputeLrc(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t byte : bytes) sum += byte;
  return static_cast<std::uint8_t>((256U - (sum & 0xFFU)) & 0xFFU);
}

TStrToPort FrameAscii(std::span<const std::uint8_t> pdu) {
  if (pdu.size() < kMinPduLength) return {};
  return FrameBytes(pdu);
}

TStrToPort FrameBytes(std::span<const std::uint8_t> bytes) {
  TStrToPort frame;
  frame.reserve(2 * bytes.size() + 5);
  frame.push_back(':');
  const auto append_byte = [&frame](std::uint8_t byte) {
    for (char ch : ToHex(byte, 2)) frame.push_back(static_cast<std::uint8_t>(ch));
  };
  for (std::uint8_t byte : bytes) append_byte(byte);
  append_byte(ComputeLrc(bytes));
  frame.push_back('\r');
  frame.push_back('\n');
  return frame;
}

}  // namespace quarn::link

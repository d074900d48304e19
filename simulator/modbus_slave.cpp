#include "simulator/modbus_slave.h"

#include <vector>

#include "link/modbus_functions.h"

namespace quarn::simulator {
namespace {

constexpr std::uint8_t kExceptionFlag = 0x80;
constexpr std::size_t kHeader = 2;          // device id, function
constexpr std::size_t kFixedRequest = 6;    // id, function, two 16-bit fields
constexpr std::size_t kMultipleHeader = 7;  // ... and the byte count of 15 and 16
constexpr std::uint16_t kCoilOn = 0xFF00;
constexpr std::uint16_t kCoilOff = 0x0000;
constexpr std::uint32_t kAddressSpace = 0x10000;

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

void PushWord(link::TReqResArray& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFFU));
}

bool RunsPastEnd(std::uint16_t address, std::uint16_t count) {
  return std::uint32_t{address} + count > kAddressSpace;
}

// The address and count of a request, or the exception they earn.
struct TRange {
  TException Code = TException::None;
  std::uint16_t Address = 0;
  std::uint16_t Count = 0;
};

TRange CheckedRange(std::span<const std::uint8_t> request, std::uint16_t maxCount) {
  TRange range{TException::None, Word(request, 2), Word(request, 4)};
  if (range.Count == 0 || range.Count > maxCount) {
    range.Code = TException::IllegalDataValue;
  } else if (RunsPastEnd(range.Address, range.Count)) {
    range.Code = TException::IllegalDataAddress;
  }
  return range;
}

// A read: id, function, address, count and nothing more.
TRange ReadRange(std::span<const std::uint8_t> request, std::uint16_t maxCount) {
  if (request.size() != kFixedRequest) return {TException::IllegalDataValue};
  return CheckedRange(request, maxCount);
}

// A multiple write: its byte count must be what `count` items take, and the data must be there.
TRange WriteRange(std::span<const std::uint8_t> request, std::uint16_t maxCount,
                  std::size_t (*bytesFor)(std::size_t count)) {
  if (request.size() < kMultipleHeader) return {TException::IllegalDataValue};
  const std::size_t byteCount = request[6];
  if (byteCount != bytesFor(Word(request, 4)) || request.size() != kMultipleHeader + byteCount) {
    return {TException::IllegalDataValue};
  }
  return CheckedRange(request, maxCount);
}

std::size_t CoilBytes(std::size_t count) { return (count + 7) / 8; }
std::size_t RegisterBytes(std::size_t count) { return 2 * count; }

}  // namespace

struct TModbusSlave::TReply {
  TException Code = TException::None;
  link::TReqResArray Body;  // what follows the function code in a normal answer
};

link::TReqResArray ExceptionPdu(std::uint8_t deviceId, std::uint8_t function, TException code) {
  return {deviceId, static_cast<std::uint8_t>(function | kExceptionFlag),
          static_cast<std::uint8_t>(code)};
}

std::optional<link::TReqResArray> TModbusSlave::Serve(std::span<const std::uint8_t> request) {
  if (request.size() < kHeader) return std::nullopt;
  const std::uint8_t id = request[0];
  const std::uint8_t function = request[1];
  const bool broadcast = id == kBroadcastId;
  if (id != device_id_ && !broadcast) return std::nullopt;
  // A broadcast read would have every slave answer at once; slaves ignore it.
  if (broadcast && !link::IsWriteFunction(function)) return std::nullopt;

  TReply reply;
  switch (function) {
    case link::kReadCoils:
      reply = ReadBits(TTable::Coils, request);
      break;
    case link::kReadInputs:
      reply = ReadBits(TTable::DiscreteInputs, request);
      break;
    case link::kReadHoldingRegisters:
      reply = ReadRegisters(TTable::Holding, request);
      break;
    case link::kReadInputRegisters:
      reply = ReadRegisters(TTable::InputRegisters, request);
      break;
    case link::kWriteSingleCoil:
      reply = WriteSingleCoil(request);
      break;
    case link::kWriteSingleRegister:
      reply = WriteSingleRegister(request);
      break;
    case link::kWriteMultipleCoils:
      reply = WriteMultipleCoils(request);
      break;
    case link::kWriteMultipleRegisters:
      reply = WriteMultipleRegisters(request);
      break;
    default:
      reply.Code = TException::IllegalFunction;
      break;
  }
  if (broadcast) return std::nullopt;
  if (reply.Code != TException::None) return ExceptionPdu(device_id_, function, reply.Code);
  link::TReqResArray answer{device_id_, function};
  answer.insert(answer.end(), reply.Body.begin(), reply.Body.end());
  return answer;
}

TModbusSlave::TReply TModbusSlave::ReadBits(TTable table, std::span<const std::uint8_t> request) {
  const TRange range = ReadRange(request, kMaxReadBits);
  if (range.Code != TException::None) return {range.Code, {}};
  const std::uint16_t count = range.Count;
  std::vector<bool> bits;
  const TException code = data_.ReadBits(table, range.Address, count, bits);
  if (code != TException::None) return {code, {}};
  // Bits packed from the least significant bit of the first byte on, as Modbus sends them.
  TReply reply;
  const std::size_t bytes = CoilBytes(count);
  reply.Body.assign(1 + bytes, 0);
  reply.Body[0] = static_cast<std::uint8_t>(bytes);
  for (std::size_t i = 0; i < count && i < bits.size(); ++i) {
    if (bits[i]) reply.Body[1 + i / 8] |= static_cast<std::uint8_t>(1U << (i % 8));
  }
  return reply;
}

TModbusSlave::TReply TModbusSlave::ReadRegisters(TTable table,
                                                 std::span<const std::uint8_t> request) {
  const TRange range = ReadRange(request, kMaxReadRegisters);
  if (range.Code != TException::None) return {range.Code, {}};
  const std::uint16_t count = range.Count;
  std::vector<std::uint16_t> values;
  const TException code = data_.ReadRegisters(table, range.Address, count, values);
  if (code != TException::None) return {code, {}};
  TReply reply;
  reply.Body.push_back(static_cast<std::uint8_t>(2 * count));
  for (std::size_t i = 0; i < count; ++i) PushWord(reply.Body, i < values.size() ? values[i] : 0);
  return reply;
}

TModbusSlave::TReply TModbusSlave::WriteSingleCoil(std::span<const std::uint8_t> request) {
  if (request.size() != kFixedRequest) return {TException::IllegalDataValue, {}};
  const std::uint16_t value = Word(request, 4);
  if (value != kCoilOn && value != kCoilOff) return {TException::IllegalDataValue, {}};
  const TException code = data_.WriteCoils(Word(request, 2), {value == kCoilOn});
  if (code != TException::None) return {code, {}};
  // The answer echoes the request.
  return {TException::None, {request.begin() + kHeader, request.end()}};
}

TModbusSlave::TReply TModbusSlave::WriteSingleRegister(std::span<const std::uint8_t> request) {
  if (request.size() != kFixedRequest) return {TException::IllegalDataValue, {}};
  const std::uint16_t value[] = {Word(request, 4)};
  const TException code = data_.WriteRegisters(Word(request, 2), value);
  if (code != TException::None) return {code, {}};
  return {TException::None, {request.begin() + kHeader, request.end()}};
}

TModbusSlave::TReply TModbusSlave::WriteMultipleCoils(std::span<const std::uint8_t> request) {
  const TRange range = WriteRange(request, kMaxWriteCoils, CoilBytes);
  if (range.Code != TException::None) return {range.Code, {}};
  std::vector<bool> bits(range.Count);
  for (std::size_t i = 0; i < range.Count; ++i) {
    bits[i] = ((request[kMultipleHeader + i / 8] >> (i % 8)) & 1) != 0;
  }
  const TException code = data_.WriteCoils(range.Address, bits);
  if (code != TException::None) return {code, {}};
  return {TException::None, {request.begin() + kHeader, request.begin() + kFixedRequest}};
}

TModbusSlave::TReply TModbusSlave::WriteMultipleRegisters(std::span<const std::uint8_t> request) {
  const TRange range = WriteRange(request, kMaxWriteRegisters, RegisterBytes);
  if (range.Code != TException::None) return {range.Code, {}};
  std::vector<std::uint16_t> values(range.Count);
  for (std::size_t i = 0; i < range.Count; ++i) {
    values[i] = Word(request, kMultipleHeader + 2 * i);
  }
  const TException code = data_.WriteRegisters(range.Address, values);
  if (code != TException::None) return {code, {}};
  return {TException::None, {request.begin() + kHeader, request.begin() + kFixedRequest}};
}

}  // namespace quarn::simulator

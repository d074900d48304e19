#include "link/modbus_exchange.h"

#include "link/hex_text.h"
#include "link/modbus_framing.h"
#include "link/modbus_functions.h"

namespace quarn::link {
namespace {

// Answer layouts, in characters. A read answer is ':' id function byte-count data LRC CR LF,
// a write answer ':' id function address value LRC CR LF: 11 and 17 characters besides the
// data. Counting the LRC matters: without it an answer two characters short would pass the
// length checks and its LRC would be taken for data.
constexpr std::uint8_t kReadFixedLength = 11;
constexpr std::uint8_t kWriteFixedLength = 17;
constexpr std::uint8_t kByteCountPosition = 6;
constexpr unsigned kExceptionFlag = 0x80;

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The value of a read answer from its data bytes: one byte as is, two as a 16-bit register,
// four as two registers low word first; no data gives no value, other lengths give 0.
std::int32_t ReadValue(const TReqResArray& bytes, std::uint8_t byte_count) {
  const auto data = [&bytes](std::size_t i) -> std::uint32_t {
    return 3 + i < bytes.size() ? bytes[3 + i] : 0U;
  };
  if (byte_count > 4) return 0;
  std::uint32_t value = data(0);
  if (byte_count >= 2) value = data(0) * 256U + data(1);
  if (byte_count == 4) value += (data(2) * 256U + data(3)) * 65536U;
  return static_cast<std::int32_t>(value);
}

}  // namespace

TReqResArray TModbusExchange::BuildRequestPdu(const TRWmbrReg& request, std::uint8_t deviceId) {
  record_.ExpectedCount = ExpectedCountOf(request);
  return link::BuildRequestPdu(request, deviceId);
}

bool TModbusExchange::PrepareExpectation(std::span<const std::uint8_t> frame) {
  record_.ResponseBytes.clear();
  record_.ResponseValid = false;
  const std::string_view text = AsText(frame);
  const auto function = HexAt(text, 4, 2);
  const auto address = HexAt(text, 6, 4);
  if (!function || !address) return false;
  if (IsReadFunction(*function)) {
    const auto count = HexAt(text, 10, 4);
    if (!count) return false;
    record_.ByteCountPos = kByteCountPosition;
    record_.FixedLength = kReadFixedLength;
    record_.RequestCount = static_cast<std::uint16_t>(*count);
  } else if (IsWriteFunction(*function)) {
    record_.ByteCountPos = 0;
    record_.FixedLength = kWriteFixedLength;
    record_.RequestCount =
        (*function == kWriteSingleCoil || *function == kWriteSingleRegister) ? 1 : 0;
  }
  record_.RequestFunction = static_cast<std::uint8_t>(*function);
  record_.RequestAddress = static_cast<std::uint16_t>(*address);
  record_.ResponseByteCount = 0;
  return true;
}

TCheckOutcome TModbusExchange::CheckResponse(std::span<const std::uint8_t> chunk) {
  TCheckOutcome outcome;
  if (!chunk.empty()) Log(TTransferLogCode::Raw, AsText(chunk));
  buffer_.append(AsText(chunk));

  const std::size_t start = buffer_.rfind(':');
  if (start != std::string::npos && start > 0) {
    ReportDamaged();
    buffer_.erase(0, start);
    outcome.Damaged = true;
  }
  const std::size_t end = start == std::string::npos ? start : buffer_.find("\r\n");
  if (end == std::string::npos) {
    if (buffer_.size() > kReceiveBufferLimit) {
      ReportDamaged();
      buffer_.clear();
      outcome.Damaged = true;
    }
    return outcome;
  }
  const std::string line = buffer_.substr(0, end + 2);
  buffer_.erase(0, end + 2);
  if (record_.CommandBusy) {
    Log(TTransferLogCode::Recv, line);
  } else {
    Log(TTransferLogCode::Recv, std::string(texts::kGetStatePrefix) + line);
  }
  const bool damaged = outcome.Damaged;
  outcome = Examine(line);
  outcome.Damaged = damaged;
  return outcome;
}

void TModbusExchange::ReportDamaged() {
  Log(TTransferLogCode::Recv, std::string(texts::kDamagedPackets) + buffer_);
}

TCheckOutcome TModbusExchange::Examine(std::string_view line) {
  TAnswerHeader header{0, record_.CurrentRegister};
  TRejectCode code = CheckHeader(line, header);
  if (code == TRejectCode::None) code = DecodeBody(line);
  if (code != TRejectCode::None) return Reject(code, line);
  TCheckOutcome outcome;
  Accept(header, outcome);
  return outcome;
}

// Checks everything up to the byte count, in the order the rejection codes are ranked.
TRejectCode TModbusExchange::CheckHeader(std::string_view line, TAnswerHeader& header) {
  const std::size_t length = line.size();
  if (length < 2 || line.substr(length - 2) != "\r\n") return TRejectCode::WrongTermination;
  if (length < record_.FixedLength) return TRejectCode::DataLength;
  const auto id = HexAt(line, 2, 2);
  if (!id) return TRejectCode::BadPacket;
  if (*id != record_.DeviceId) return TRejectCode::WrongId;
  const auto function = HexAt(line, 4, 2);
  if (!function) return TRejectCode::BadPacket;
  if (*function >= kExceptionFlag) return TRejectCode::ModbusException;
  if (*function != record_.RequestFunction) return TRejectCode::WrongCommand;
  if (IsWriteFunction(*function)) {
    const auto answered = HexAt(line, 6, 4);
    if (!answered) return TRejectCode::BadPacket;
    if (*answered != record_.RequestAddress) return TRejectCode::WrongAddress;
    header.Address = static_cast<std::uint16_t>(*answered);
  }
  if (record_.ByteCountPos == 0) {
    record_.ResponseByteCount = 0;
  } else if (record_.ByteCountPos + 1U < length) {
    const auto count = HexAt(line, record_.ByteCountPos, 2);
    if (!count) return TRejectCode::BadPacket;
    record_.ResponseByteCount = static_cast<std::uint8_t>(*count);
  }
  header.Function = static_cast<std::uint8_t>(*function);
  return TRejectCode::None;
}

// Checks the length against the byte count, decodes the pairs and verifies the LRC.
TRejectCode TModbusExchange::DecodeBody(std::string_view line) {
  const std::size_t length = line.size();
  if (length < static_cast<std::size_t>(ExpectedLength()) || length < 5) {
    return TRejectCode::DataLength;
  }
  const auto lrc = HexAt(line, length - 3, 2);
  if (!lrc) return TRejectCode::BadPacket;
  TReqResArray bytes;
  for (std::size_t pos = 2; pos < length - 4; pos += 2) {
    const char high = line[pos - 1];
    const char low = line[pos];
    if (!IsUpperHexDigit(high) || !IsUpperHexDigit(low)) return TRejectCode::BadPacket;
    bytes.push_back(static_cast<std::uint8_t>(*HexDigitValue(high) * 16 + *HexDigitValue(low)));
  }
  if (ComputeLrc(bytes) != *lrc) return TRejectCode::BadLrc;
  record_.ResponseBytes = std::move(bytes);
  return TRejectCode::None;
}

void TModbusExchange::Accept(const TAnswerHeader& header, TCheckOutcome& outcome) {
  record_.ResponseValid = true;
  record_.ResponseFunction = header.Function;
  record_.ResponseAddress = header.Address;
  outcome.Status = TAnswerStatus::Accepted;
  outcome.AnswerAccepted = true;
  if (IsReadFunction(header.Function)) {
    const std::uint8_t byte_count = record_.ResponseByteCount;
    record_.LastValue = byte_count == 0 ? 0 : ReadValue(record_.ResponseBytes, byte_count);
    outcome.ValueReady = byte_count != 0;
  }
}

TCheckOutcome TModbusExchange::Reject(TRejectCode code, std::string_view line) {
  record_.ResponseBytes.clear();
  TCheckOutcome outcome;
  outcome.Status = TAnswerStatus::Rejected;
  outcome.Code = code;
  outcome.Message = std::string(RejectionText(code));
  if (code == TRejectCode::ModbusException) outcome.Message += ExceptionReport(line);
  outcome.Message += line;
  Log(TTransferLogCode::Recv, outcome.Message);
  return outcome;
}

std::string TModbusExchange::ExceptionReport(std::string_view received) const {
  std::string report(texts::kExceptionHeader);
  report += texts::kRequestCmd;
  report += ToHex(record_.RequestFunction, 2);
  report += texts::kRequestStart;
  report += ToHex(record_.RequestAddress, 4);
  report += texts::kRegistersNumber;
  report += std::to_string(record_.RequestCount);
  report += "\r\n";
  const auto code = HexAt(received, 6, 2);
  if (!code) return report;
  report += texts::kErrorCode;
  report += std::to_string(*code);
  if (*code >= 1 && *code < std::size(texts::kExceptionName))
    report += texts::kExceptionName[*code];
  return report;
}

int TModbusExchange::ExpectedLength() const {
  return 2 * record_.ResponseByteCount + record_.FixedLength;
}

void TModbusExchange::Log(TTransferLogCode code, std::string_view text) const {
  if (log_ != nullptr) log_->TransferLogLine(code, text);
}

}  // namespace quarn::link

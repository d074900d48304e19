// The exchange of one frame with the controller: what answer the frame in flight expects, and
// the check that cuts answers out of the received characters and accepts or rejects them.
//
// One object serves the whole link. It is not thread-safe: the single link worker thread that
// owns the frame in flight owns this object, prepares each frame with it and feeds it the
// received chunks in arrival order. After every CheckResponse call the owner gives the serial
// port read permission again (TSerialPort::GrantReadPermission), whatever the outcome.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/byte_arrays.h"
#include "link/exchange_record.h"
#include "link/modbus_texts.h"
#include "link/register_request.h"
#include "link/transfer_log.h"

namespace quarn::link {

enum class TAnswerStatus : std::uint8_t {
  NeedMore,  // no complete answer yet: feed more characters
  Accepted,  // one answer passed every check
  Rejected,  // one answer was taken out of the buffer and failed a check
};

struct TCheckOutcome {
  TAnswerStatus Status = TAnswerStatus::NeedMore;
  TRejectCode Code = TRejectCode::None;  // why a Rejected answer failed
  bool AnswerAccepted = false;           // the answer-accepted signal
  bool ValueReady = false;               // a read answer carried data: LastValue is fresh
  bool Damaged = false;  // characters before the last ':' were reported damaged and dropped
  std::string Message;   // the rejection text with the received line, as logged
};

class TModbusExchange {
 public:
  // Characters kept while waiting for the end of an answer. The longest answer a controller
  // can give is a read of 255 data bytes, 2 x 255 + 11 = 521 characters; anything that grows
  // beyond this limit without CR LF cannot become a valid answer and is reported damaged and
  // dropped, so a flood of characters never grows memory.
  static constexpr std::size_t kReceiveBufferLimit = 1024;

  // `log` may be null: the exchange is then quiet (the WRITE_LOG setting off).
  explicit TModbusExchange(TTransferLogSink* log = nullptr) : log_(log) {}

  void SetTransferLog(TTransferLogSink* log) { log_ = log; }

  TExchangeRecord& Record() { return record_; }
  const TExchangeRecord& Record() const { return record_; }

  // The PDU of a request (see link/modbus_framing.h); also sets ExpectedCount.
  TReqResArray BuildRequestPdu(const TRWmbrReg& request, std::uint8_t deviceId);

  // Fills the expectation from the frame about to be sent. Returns false ("Wrong Modbus
  // Command") when a field the answer is checked against is not hexadecimal or missing;
  // ResponseBytes and ResponseValid are cleared either way.
  bool PrepareExpectation(std::span<const std::uint8_t> frame);

  // Appends a chunk of received bytes (any values) and examines at most one answer.
  TCheckOutcome CheckResponse(std::span<const std::uint8_t> chunk);

  // The report logged for a Modbus exception answer.
  std::string ExceptionReport(std::string_view received) const;

  // Length the answer line must reach for the byte count it announced.
  int ExpectedLength() const;

  // Drops whatever was received and not yet consumed (on connect and disconnect).
  void ClearReceiveBuffer() { buffer_.clear(); }
  std::size_t BufferedCharacters() const { return buffer_.size(); }

 private:
  struct TAnswerHeader {
    std::uint8_t Function;
    std::uint16_t Address;  // from a write answer, else the register being served
  };

  TCheckOutcome Examine(std::string_view line);
  TRejectCode CheckHeader(std::string_view line, TAnswerHeader& header);
  TRejectCode DecodeBody(std::string_view line);
  void Accept(const TAnswerHeader& header, TCheckOutcome& outcome);
  TCheckOutcome Reject(TRejectCode code, std::string_view line);
  void ReportDamaged();
  void Log(TTransferLogCode code, std::string_view text) const;

  TTransferLogSink* log_;
  TExchangeRecord record_;
  std::string buffer_;  // one character per received byte
};

}  // namespace quarn::link

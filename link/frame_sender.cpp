#include "link/frame_sender.h"

#include <string_view>

#include "link/link_texts.h"
#include "link/modbus_texts.h"

namespace quarn::link {
namespace {

using Clock = std::chrono::steady_clock;

// A frame shorter than this cannot hold a request.
constexpr std::size_t kMinFrameLength = 11;
// How long input that the port still holds may take to reach the worker before a write.
constexpr std::chrono::milliseconds kDrainLimit{20};

std::string FrameText(const TStrToPort& frame) { return {frame.begin(), frame.end()}; }

}  // namespace

TFrameSender::TFrameSender(TSerialPort& port, TReceiveQueue& queue, TModbusExchange& exchange,
                           TSenderHooks hooks)
    : port_(port), queue_(queue), exchange_(exchange), hooks_(std::move(hooks)) {}

void TFrameSender::Reset() {
  owed_answers_ = 0;
  queue_.Clear();
  exchange_.ClearReceiveBuffer();
  // A dropped chunk was never examined, so the port still waits for the permission that would
  // have followed; without it the next line drain would wait for input the port holds back.
  port_.GrantReadPermission();
}

void TFrameSender::Status(const std::string& text) const {
  if (hooks_.Status) hooks_.Status(text);
}

void TFrameSender::Log(TTransferLogCode code, const std::string& text) const {
  if (hooks_.Log) hooks_.Log(code, text);
}

bool TFrameSender::Stopping() const { return hooks_.Stop && hooks_.Stop(); }

TSendResult TFrameSender::Send(const TStrToPort& frame, bool isPoll, const TSenderTimes& times) {
  TSendResult result;
  if (Stopping()) {
    result.Status = TSendStatus::Stopped;
    return result;
  }
  if (!port_.IsOpen()) return result;
  Status(std::string(texts::kSending));
  if (frame.size() < kMinFrameLength) {
    Status(std::string(texts::kWrongDataForTransfer));
    return result;
  }
  // Leftovers are examined against the previous frame's expectation, before it is replaced.
  bool line_fault = !SettleLine(times.AnswerWait);
  if (!exchange_.PrepareExpectation(frame)) {
    Status(std::string(texts::kWrongModbusCommand));
    return result;
  }
  const std::string prefix = isPoll ? std::string(texts::kGetStatePrefix) : std::string();
  int written = 0;
  int lines = 0;
  for (int attempt = 0;; ++attempt) {
    result.Attempts = attempt;
    if (attempt == times.Attempts) {
      Status(std::string(texts::kCommunicationFailed));
      result.Status = TSendStatus::GaveUp;
      break;
    }
    if (attempt > 0) {
      Status(std::string(texts::kAttempt) + std::to_string(attempt + 1) +
             std::string(texts::kAttemptTail));
      line_fault = !SettleLine(std::chrono::milliseconds(0));
    }
    if (Stopping()) {
      result.Status = TSendStatus::Stopped;
      break;
    }
    port_.GrantReadPermission();
    // A line that went away refuses the write; the modem lines themselves are not consulted,
    // since an RS-485 adapter reports CTS or DSR active in normal work.
    if (line_fault || !port_.Write(frame)) {
      Status(std::string(texts::kErrorSendingCommand));
      if (!queue_.SleepUntil(Clock::now() + times.RetryDelay, hooks_.Stop)) {
        result.Status = TSendStatus::Stopped;
        break;
      }
      continue;
    }
    ++written;
    Log(TTransferLogCode::Send, prefix + FrameText(frame));
    TCheckOutcome outcome;
    const TWait wait = AwaitAnswer(Clock::now() + times.AnswerWait, outcome, lines);
    if (wait == TWait::Answered) {
      result.Status = TSendStatus::Accepted;
      result.Outcome = std::move(outcome);
      result.Attempts = attempt + 1;
      break;
    }
    if (wait == TWait::Stopped) {
      result.Status = TSendStatus::Stopped;
      break;
    }
    Status(std::string(texts::kNoAnswer));
    Log(TTransferLogCode::Error, std::string(texts::kNoAnswer));
    Status(std::string(texts::kNoAnswerToCommand));
  }
  owed_answers_ = written > lines ? written - lines : 0;
  return result;
}

// Waits for the answer line of the frame just written; `lines` counts every answer line that
// arrived meanwhile, accepted or not.
TFrameSender::TWait TFrameSender::AwaitAnswer(Clock::time_point deadline, TCheckOutcome& outcome,
                                              int& lines) {
  for (;;) {
    std::optional<TBytesArray> chunk = queue_.Take(deadline, hooks_.Stop);
    if (!chunk) return Stopping() ? TWait::Stopped : TWait::TimedOut;
    TCheckOutcome examined;
    if (Examine(*chunk, examined)) ++lines;
    if (examined.AnswerAccepted) {
      outcome = std::move(examined);
      return TWait::Answered;
    }
  }
}

bool TFrameSender::Examine(const TBytesArray& chunk, TCheckOutcome& outcome) {
  exchange_.Record().CommandBusy = hooks_.CommandBusy && hooks_.CommandBusy();
  outcome = exchange_.CheckResponse(chunk);
  port_.GrantReadPermission();
  return outcome.Status != TAnswerStatus::NeedMore;
}

// Clears the line before a write: answers still owed by earlier frames are awaited (at most
// `lateWait`) and dropped, then whatever else arrived, including input the port still holds,
// is examined (so the transfer log shows it) and dropped. Answers false when the line is gone.
bool TFrameSender::SettleLine(std::chrono::milliseconds lateWait) {
  TCheckOutcome ignored;
  if (owed_answers_ > 0 && lateWait.count() > 0) {
    const auto deadline = Clock::now() + lateWait;
    while (owed_answers_ > 0) {
      std::optional<TBytesArray> chunk = queue_.Take(deadline, hooks_.Stop);
      if (!chunk) break;
      if (Examine(*chunk, ignored)) --owed_answers_;
    }
  }
  owed_answers_ = 0;
  while (std::optional<TBytesArray> chunk = queue_.TakeReady()) Examine(*chunk, ignored);
  const auto drain_limit = Clock::now() + kDrainLimit;
  TLineStatus line = port_.LineErrors();
  while (line.QueuedBytes > 0 && Clock::now() < drain_limit) {
    std::optional<TBytesArray> chunk = queue_.Take(drain_limit, hooks_.Stop);
    if (!chunk && Stopping()) break;  // Take no longer waits: do not spin on the line status
    if (chunk) Examine(*chunk, ignored);
    line = port_.LineErrors();
  }
  exchange_.ClearReceiveBuffer();
  return (line.Errors & kLineHangUp) == 0;
}

}  // namespace quarn::link

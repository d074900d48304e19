// The sender: puts one frame on the line and gets its answer, with the attempts the link allows.
//
// Each attempt first clears the line of anything left over (so an answer that comes too late for
// an earlier frame is never taken for this frame's answer), gives the port read permission,
// writes the frame and then examines the received chunks as they arrive until the answer check
// accepts one or the answer wait is over. When every attempt went unanswered the sender gives up
// and reports the link as failed.
//
// Late answers: reads carry no address, so an answer that arrives after its frame's wait ran
// out would pass the check of a following read of the same shape. The sender counts the
// attempts it wrote and the answer lines it received for a frame; when an attempt is still owed
// its answer, the next frame first waits (at most one answer wait) for that answer and drops it.
// Without faults on the line no attempt goes unanswered and no time is spent on this.
//
// Used by the link worker thread only.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "link/byte_arrays.h"
#include "link/modbus_exchange.h"
#include "link/receive_queue.h"
#include "link/serial_port.h"

namespace quarn::link {

struct TSenderTimes {
  std::chrono::milliseconds AnswerWait{180};  // per attempt
  std::chrono::milliseconds RetryDelay{80};   // after a frame that could not be written
  int Attempts = 3;
};

// What the sender reports while it works; every hook is called on the worker thread.
struct TSenderHooks {
  std::function<void(const std::string&)> Status;  // the sender's status text
  std::function<void(TTransferLogCode, const std::string&)> Log;
  std::function<bool()> Stop;         // the frame is to be abandoned (closing, cancelled)
  std::function<bool()> CommandBusy;  // a command list holds the link (log prefix of answers)
};

enum class TSendStatus {
  Accepted,  // an answer passed the check: see Outcome and the exchange record
  GaveUp,    // every attempt went unanswered or unwritten: the link has failed
  NotSent,   // the frame was refused before any attempt (port closed, malformed frame)
  Stopped,   // abandoned on a stop request
};

struct TSendResult {
  TSendStatus Status = TSendStatus::NotSent;
  TCheckOutcome Outcome;
  int Attempts = 0;  // attempts written or tried
};

class TFrameSender {
 public:
  TFrameSender(TSerialPort& port, TReceiveQueue& queue, TModbusExchange& exchange,
               TSenderHooks hooks);

  // Sends `frame` (a state poll's frames are logged with the "Get state - " prefix).
  TSendResult Send(const TStrToPort& frame, bool isPoll, const TSenderTimes& times);

  // A new connection: nothing from before can still be owed.
  void Reset();

 private:
  enum class TWait { Answered, TimedOut, Stopped };

  bool SettleLine(std::chrono::milliseconds lateWait);
  TWait AwaitAnswer(std::chrono::steady_clock::time_point deadline, TCheckOutcome& outcome,
                    int& lines);
  // Examines one chunk; answers whether it completed an answer line (accepted or not).
  bool Examine(const TBytesArray& chunk, TCheckOutcome& outcome);
  void Status(const std::string& text) const;
  void Log(TTransferLogCode code, const std::string& text) const;
  bool Stopping() const;

  TSerialPort& port_;
  TReceiveQueue& queue_;
  TModbusExchange& exchange_;
  const TSenderHooks hooks_;
  int owed_answers_ = 0;  // attempts of earlier frames still without their answer line
};

}  // namespace quarn::link

// The times and counts the link works with, and the bounds derived from them.
//
// The link takes these values as they are; the settings file's ranges are the shell's business.
// The window and the command line fill them from the shell's shared data, tests use short ones.
#pragma once

#include <chrono>

namespace quarn::link {

using std::chrono::milliseconds;

struct LinkTimings {
  milliseconds ReadPause{30};         // pause of the receive loop in slow mode; part of PortCycle
  milliseconds PermissionWait{50};    // how long the receive side waits for read permission
  milliseconds ExtraWait{0};          // added to every answer wait
  milliseconds AnswerHandling{100};   // time allowed for handling an answer
  milliseconds WorkerCloseWait{150};  // shut-down wait for a program-reading worker
  milliseconds RepeatPause{100};      // pause before a RepeatUntilEqual request goes again
  milliseconds GeneralWait{50};       // part of the request wait
  int ReadAttempts = 1;               // tries of the request worker per request
  int SenderAttempts = 3;             // tries per frame; no setting changes it
  int MaxReadRegisters = 123;         // registers per block read of a program download
  bool WriteLog = true;               // transfer-log lines are produced
  milliseconds StateInterval{200};    // status polling, one register per tick
  milliseconds StateResetInterval{1200};
};

// Every bound the link derives; computed in one place so that the parts can never disagree.
struct TDerivedTimes {
  milliseconds PortCycle;         // ReadPause + PermissionWait
  milliseconds AnswerWait;        // PortCycle + AnswerHandling
  milliseconds FullAnswerWait;    // ExtraWait + AnswerWait
  milliseconds TotalTimeout;      // one request with all its frame attempts, plus GeneralWait
  milliseconds SenderAnswerWait;  // one attempt's wait for its answer
  milliseconds RetryDelay;        // pause after a frame that could not be written
  milliseconds PacketSenderWait;  // download: wait for the previous frame to end
  milliseconds PacketWorkerWait;  // download: wait per request of a list
  milliseconds CloseSenderWait;   // shut-down bound for a frame in flight
};

TDerivedTimes DeriveTimes(const LinkTimings& timings);

}  // namespace quarn::link

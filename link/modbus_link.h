// TModBus: the single link object. It carries request lists to the controller, one frame at a
// time, and reports progress, results and failures through the link events.
//
// Threads. One link worker thread owns the request lists (the command slot and the slot of a
// list pushed aside), the frame in flight and the answer check. The port's receive thread only
// queues the chunks it reads; the worker examines them as they arrive, so an answer is taken the
// moment its CR LF is in. Every wait of the worker is an upper bound on a condition variable.
// Accepted answers go to the answer sink on the worker thread (the connection's answer
// dispatcher, which writes the lock-guarded controller state); everything the window shows is
// posted to the UI thread through the dispatcher, in order.
//
// Priorities. A command list (upload, direct control, parameter reads, identification) pushes a
// running state poll aside: the poll ends at its next check and the command list follows. A
// command list pushed aside by another command list runs to its end, and the new one waits for
// it at most PredecessorWait. A state poll is refused while any list exists.
//
// The request operations may be called from any thread (the program download calls them from
// its own); the events they cause still arrive on the UI thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "link/controller_state.h"
#include "link/device_description.h"
#include "link/dispatcher.h"
#include "link/event_relay.h"
#include "link/frame_sender.h"
#include "link/link_events.h"
#include "link/link_timings.h"
#include "link/modbus_exchange.h"
#include "link/receive_queue.h"
#include "link/register_request.h"
#include "link/serial_port.h"

namespace quarn::link {

// Receives every accepted answer, in order, on the link worker thread.
class TAnswerSink {
 public:
  virtual ~TAnswerSink() = default;
  virtual void AnswerAccepted(const TAcceptedAnswer& answer) = 0;
};

// What the link asks of the connection it serves. Calls arrive on the UI thread.
class TLinkOwner {
 public:
  virtual ~TLinkOwner() = default;
  virtual void StopStateTimer() = 0;
  virtual void RestartStateTimer() = 0;
  // Every attempt of a frame failed: disconnect and show the sender's status.
  virtual void LinkFailed(const std::string& status) = 0;
  // The identification chain has ended (the breakpoint displays are refreshed then).
  virtual void IdentificationFinished() = 0;
};

// The run/stop state a direct command requires of the controller.
enum class TRequiredState : std::uint8_t { Stop = 0, Run = 1 };

// How polls have been failing; read by the connection's reset timer.
struct TPollFailures {
  bool Failed = false;
  int Count = 0;
  int NoAnswerKind = 0;  // 1 no answer, 2 the frame could not be sent
};

class TModBus {
 public:
  TModBus(TSerialPort& port, TDispatcher& ui, TLinkEvents& events, const LinkTimings& timings);
  ~TModBus();  // Shutdown()
  TModBus(const TModBus&) = delete;
  TModBus& operator=(const TModBus&) = delete;

  // Wiring, before the first connection.
  void SetAnswerSink(TAnswerSink* sink) { sink_ = sink; }
  void SetOwner(TLinkOwner* owner) { owner_ = owner; }
  // Takes effect for lists started afterwards.
  void SetTimings(const LinkTimings& timings);
  LinkTimings Timings() const;
  TDerivedTimes Times() const;

  // The port was just opened: every request field back to its initial state.
  void Connected();
  // The port was closed: running and waiting lists end at once, the identification stops.
  void Disconnected();
  // The application closes: every list ends, the worker thread ends; no event follows.
  void Shutdown();

  // Hands a list to the worker; answers whether it was accepted. The worker gets its own copy.
  bool SendRequests(bool isCommand, std::uint8_t deviceId, const std::string& label,
                    const TRegistersArray& list);
  // The same for a command list, answering the list's number (0 when it was refused) for
  // WaitForList.
  std::uint64_t SendCommandList(std::uint8_t deviceId, const std::string& label,
                                const TRegistersArray& list);
  // Waits until list `id` has ended (or been dropped); false when `limit` ran out first. Any
  // thread but the UI thread.
  bool WaitForList(std::uint64_t id, std::chrono::milliseconds limit, TListOutcome& outcome) const;
  // One read per record (functions 1 to 4 only, else nothing is sent), as a command list.
  bool SendNamedReads(std::uint8_t deviceId, const std::string& label,
                      const TDC_Records_Array& records);
  // Writes of named registers, after a read of GET_RUN_STOP that must show `required` when
  // `checkRunStop` is set; with `readBack` each write is followed by a read of the same
  // registers. Records must be writes of one or two registers whose values EncodeWrite takes
  // (functions 5, 6 and 16); anything else sends nothing and answers false.
  bool SendDirectCommand(std::uint8_t deviceId, const TDC_Records_Array& records, bool checkRunStop,
                         TRequiredState required, bool readBack);
  bool SendDirectCommand(std::uint8_t deviceId, const TDC_Record& record, bool checkRunStop,
                         TRequiredState required, bool readBack);
  bool SendDirectCommand(std::uint8_t deviceId, const TDC_Record& record, std::int32_t value,
                         bool checkRunStop, TRequiredState required, bool readBack);
  // Starts the identification: versions, then map versions, then the parameter reads of the
  // selected model (CurrentDescription at that moment).
  bool GetVersionInfo(std::uint8_t deviceId);

  // The running list is to end at its next check (the identification is refused, for one).
  void AbortRunning();

  bool CommandBusy() const { return command_busy_; }
  bool Identifying() const { return identifying_; }
  bool Busy() const;  // a list is running or waiting
  // Waits until no list runs or waits; answers false when `limit` ran out first. Never call it on
  // the UI thread while the link needs the UI (it never does: the worker only posts).
  bool WaitIdle(std::chrono::milliseconds limit) const;

  TPollFailures PollFailures() const;
  void ClearPollFailures();
  void ClearPollFailed();

 private:
  struct TJob;
  enum class TJobEnd { Finished, Error, Stopped };
  enum class TChainStep : std::uint8_t { None, VersionInfo, MapsInfo, InitialInformation };

  // The three SendDirectCommand forms, each under its own label.
  bool SendDirectList(std::uint8_t deviceId, std::string_view label,
                      const TDC_Records_Array& records, bool checkRunStop, TRequiredState required,
                      bool readBack);
  std::uint64_t StartJob(bool isCommand, std::uint8_t deviceId, const std::string& label,
                         TRegistersArray list, TChainStep step);
  void WorkerLoop();
  std::shared_ptr<TJob> NextJob(std::unique_lock<std::mutex>& lock);
  void RunAndFinish(const std::shared_ptr<TJob>& job);
  TJobEnd RunJob(TJob& job);
  TJobEnd RunRequest(TJob& job, std::size_t index, int& tries, bool& repeat);
  TJobEnd Fail(TJob& job, std::string_view text, std::size_t index, int noAnswerKind);
  void FinishJob(const std::shared_ptr<TJob>& job, TJobEnd end);
  void ContinueChain(const TJob& job);
  void RecordEnd(const TJob& job, const TListOutcome& outcome);  // mutex_ held
  void ExpireWaitingCommand();
  bool StopCheck(const TJob& job) const;
  bool Closing() const { return closing_; }
  void Dispatch();

  void ShowProgress(const TJob& job);
  void SetStatus(const std::string& text);
  void LogError(const std::string& text);
  void PostOwner(void (TLinkOwner::*call)());

  TSerialPort& port_;
  TEventRelay relay_;
  TRelayLogSink log_sink_;
  TAnswerSink* sink_ = nullptr;
  TLinkOwner* owner_ = nullptr;

  // Worker-thread state.
  TReceiveQueue queue_;
  TModbusExchange exchange_;
  TFrameSender sender_;
  std::string status_text_;
  std::uint64_t served_generation_ = 0;  // the connection the exchange state belongs to
  bool quiet_ = false;                   // the transfer log is off for the running list

  // Shared state, under mutex_.
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  LinkTimings timings_;
  std::shared_ptr<TJob> command_slot_;
  std::shared_ptr<TJob> displaced_slot_;
  std::shared_ptr<TJob> running_;
  TPollFailures poll_failures_;
  std::uint64_t next_id_ = 1;
  std::deque<std::pair<std::uint64_t, TListOutcome>> ended_;  // the last lists that ended
  std::uint64_t generation_ = 1;  // counts connections; a list of an older one is dropped

  std::atomic<bool> command_busy_{false};
  std::atomic<bool> identifying_{false};
  std::atomic<bool> closing_{false};
  std::atomic<bool> frame_cancelled_{false};  // the frame in flight is to be abandoned
  // A connection on which a frame went unanswered by every attempt; 0 for none.
  std::atomic<std::uint64_t> failed_generation_{0};
  std::thread worker_;
};

}  // namespace quarn::link

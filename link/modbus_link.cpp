#include "link/modbus_link.h"

#include <utility>

#include "link/current_description.h"
#include "link/link_texts.h"
#include "link/modbus_framing.h"
#include "link/modbus_functions.h"
#include "link/request_lists.h"

namespace quarn::link {
namespace {

using Clock = std::chrono::steady_clock;

int ProgressTotal(const TRegistersArray& list) {
  int total = 0;
  for (const TRWmbrReg& request : list) total += request.ProgressWeight;
  return total;
}

}  // namespace

struct TModBus::TJob {
  std::uint64_t Id = 0;
  TRegistersArray List;
  std::string Label;
  bool IsCommand = false;
  std::uint8_t DeviceId = 1;
  TChainStep Step = TChainStep::None;
  std::uint64_t Generation = 0;
  LinkTimings Timings;
  TDerivedTimes Times{};

  bool WaitPredecessor = false;
  Clock::time_point PredecessorDeadline;
  bool Started = false;  // under mutex_

  std::atomic<bool> AbortRequested{false};
  std::atomic<bool> Displaced{false};
  std::atomic<bool> Cancelled{false};

  // The worker's own.
  int ProgressCount = 0;
  int ProgressTotal = 0;
  bool Failed = true;
  std::string Error;
};

TModBus::TModBus(TSerialPort& port, TDispatcher& ui, TLinkEvents& events,
                 const LinkTimings& timings)
    : port_(port),
      relay_(ui, events),
      log_sink_(relay_),
      exchange_(&log_sink_),
      sender_(port, queue_, exchange_,
              TSenderHooks{
                  [this](const std::string& text) { SetStatus(text); },
                  [this](TTransferLogCode code, const std::string& text) {
                    if (!quiet_) log_sink_.TransferLogLine(code, text);
                  },
                  [this] { return closing_ || frame_cancelled_; },
                  [this] { return command_busy_.load(); },
              }),
      timings_(timings) {
  port_.SetOnRead(queue_.Feeder());
  worker_ = std::thread(&TModBus::WorkerLoop, this);
}

TModBus::~TModBus() { Shutdown(); }

void TModBus::SetTimings(const LinkTimings& timings) {
  std::lock_guard lock(mutex_);
  timings_ = timings;
}

LinkTimings TModBus::Timings() const {
  std::lock_guard lock(mutex_);
  return timings_;
}

TDerivedTimes TModBus::Times() const { return DeriveTimes(Timings()); }

// ---- Connection lifecycle

void TModBus::Connected() {
  std::lock_guard lock(mutex_);
  ++generation_;
  poll_failures_ = {};
  command_busy_ = false;
  identifying_ = false;
}

void TModBus::Disconnected() {
  std::shared_ptr<TJob> dropped;
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    for (const std::shared_ptr<TJob>& job : {command_slot_, displaced_slot_, running_}) {
      if (job) job->Cancelled = true;
    }
    frame_cancelled_ = true;
    if (command_slot_ && !command_slot_->Started) {
      dropped = std::exchange(command_slot_, nullptr);
      RecordEnd(*dropped, TListOutcome{dropped->Label, dropped->IsCommand, false, true, {}});
    }
    command_busy_ = false;
    identifying_ = false;
  }
  queue_.Wake();
  changed_.notify_all();
}

void TModBus::Shutdown() {
  if (closing_.exchange(true)) return;
  Disconnected();
  if (worker_.joinable()) worker_.join();
  relay_.Detach();
}

void TModBus::AbortRunning() {
  {
    std::lock_guard lock(mutex_);
    if (running_) running_->Cancelled = true;
    frame_cancelled_ = true;
    identifying_ = false;
  }
  queue_.Wake();
}

// ---- Starting lists

bool TModBus::SendRequests(bool isCommand, std::uint8_t deviceId, const std::string& label,
                           const TRegistersArray& list) {
  return StartJob(isCommand, deviceId, label, list, TChainStep::None) != 0;
}

std::uint64_t TModBus::SendCommandList(std::uint8_t deviceId, const std::string& label,
                                       const TRegistersArray& list) {
  return StartJob(true, deviceId, label, list, TChainStep::None);
}

bool TModBus::SendNamedReads(std::uint8_t deviceId, const std::string& label,
                             const TDC_Records_Array& records) {
  std::optional<TRegistersArray> list = NamedReadsList(records);
  return list && SendRequests(true, deviceId, label, *list);
}

bool TModBus::SendDirectCommand(std::uint8_t deviceId, const TDC_Records_Array& records,
                                bool checkRunStop, TRequiredState required, bool readBack) {
  return SendDirectList(deviceId, texts::kLabelDirectCommand1, records, checkRunStop, required,
                        readBack);
}

bool TModBus::SendDirectCommand(std::uint8_t deviceId, const TDC_Record& record, bool checkRunStop,
                                TRequiredState required, bool readBack) {
  return SendDirectList(deviceId, texts::kLabelDirectCommand2, {record}, checkRunStop, required,
                        readBack);
}

bool TModBus::SendDirectCommand(std::uint8_t deviceId, const TDC_Record& record, std::int32_t value,
                                bool checkRunStop, TRequiredState required, bool readBack) {
  TDC_Record with_value = record;
  with_value.Value = value;
  return SendDirectList(deviceId, texts::kLabelDirectCommand3, {with_value}, checkRunStop, required,
                        readBack);
}

bool TModBus::SendDirectList(std::uint8_t deviceId, std::string_view label,
                             const TDC_Records_Array& records, bool checkRunStop,
                             TRequiredState required, bool readBack) {
  std::optional<TRegistersArray> list =
      DirectCommandList(records, checkRunStop, required == TRequiredState::Run, readBack);
  return list && SendRequests(true, deviceId, std::string(label), *list);
}

bool TModBus::GetVersionInfo(std::uint8_t deviceId) {
  identifying_ = true;
  if (StartJob(true, deviceId, std::string(texts::kLabelGetVersionInfo), VersionInfoList(),
               TChainStep::VersionInfo) != 0) {
    return true;
  }
  identifying_ = false;
  return false;
}

std::uint64_t TModBus::StartJob(bool isCommand, std::uint8_t deviceId, const std::string& label,
                                TRegistersArray list, TChainStep step) {
  if (closing_) return 0;
  if (isCommand) {
    if (relay_.Ui().OnUiThread()) {
      if (owner_ != nullptr) owner_->StopStateTimer();
    } else {
      PostOwner(&TLinkOwner::StopStateTimer);
    }
    command_busy_ = true;
  }
  auto job = std::make_shared<TJob>();
  job->List = std::move(list);
  job->Label = label;
  job->IsCommand = isCommand;
  job->DeviceId = deviceId;
  job->Step = step;
  job->ProgressTotal = ProgressTotal(job->List);
  {
    std::lock_guard lock(mutex_);
    job->Generation = generation_;
    job->Timings = timings_;
    job->Times = DeriveTimes(timings_);
    if (!isCommand) {
      if (command_slot_ || displaced_slot_) {
        if (timings_.WriteLog) LogError(std::string(texts::kCannotReadStatus));
        return 0;
      }
    } else if (command_slot_) {
      // The identification chain owns the link until it ends; a step of the chain itself never
      // meets a taken slot, since each step starts as the previous one leaves.
      if (identifying_ && step == TChainStep::None) return 0;
      if (displaced_slot_) {
        if (timings_.WriteLog) LogError(std::string(texts::kCommandNotSent));
        return 0;
      }
      const std::shared_ptr<TJob>& pushed = command_slot_;
      pushed->AbortRequested = true;
      pushed->Displaced = true;
      const std::size_t factor =
          pushed->IsCommand && !pushed->List.empty() ? pushed->List.size() : 1;
      job->WaitPredecessor = true;
      job->PredecessorDeadline =
          Clock::now() + job->Times.TotalTimeout * static_cast<std::int64_t>(factor);
      displaced_slot_ = std::exchange(command_slot_, nullptr);
    }
    job->Id = next_id_++;
    command_slot_ = job;
  }
  changed_.notify_all();
  queue_.Wake();  // a running poll pushed aside ends at its next check
  return job->Id;
}

// ---- The worker

void TModBus::WorkerLoop() {
  std::unique_lock lock(mutex_);
  while (!closing_) {
    std::shared_ptr<TJob> job = NextJob(lock);
    if (!job) continue;
    lock.unlock();
    RunAndFinish(job);
    lock.lock();
  }
}

// The list to run next: the one in the command slot, once no list pushed aside still runs.
std::shared_ptr<TModBus::TJob> TModBus::NextJob(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] {
    return closing_ || (command_slot_ && !command_slot_->Started && !displaced_slot_);
  });
  if (closing_) return nullptr;
  command_slot_->Started = true;
  running_ = command_slot_;
  frame_cancelled_ = running_->Cancelled.load();
  return command_slot_;
}

void TModBus::RunAndFinish(const std::shared_ptr<TJob>& job) {
  TJobEnd end = TJobEnd::Stopped;
  if (job->WaitPredecessor && Clock::now() > job->PredecessorDeadline) {
    job->Error = texts::kCommandNotSent;
    if (job->Timings.WriteLog) LogError(job->Error);
    end = TJobEnd::Error;
  } else if (!job->Cancelled) {
    end = RunJob(*job);
  }
  FinishJob(job, end);
}

bool TModBus::StopCheck(const TJob& job) const {
  return closing_ || job.Cancelled || (!job.IsCommand && (command_busy_ || job.AbortRequested));
}

TModBus::TJobEnd TModBus::RunJob(TJob& job) {
  if (job.Generation != served_generation_) {
    // The first list of a new connection: nothing received or owed before it counts.
    served_generation_ = job.Generation;
    sender_.Reset();
    exchange_.Record() = TExchangeRecord{};
  }
  quiet_ = !job.Timings.WriteLog;
  exchange_.SetTransferLog(quiet_ ? nullptr : &log_sink_);
  job.ProgressCount = 0;
  job.Failed = true;
  if (command_busy_) ShowProgress(job);
  std::size_t index = 0;
  int tries = 0;
  for (;;) {
    if (StopCheck(job)) return TJobEnd::Stopped;
    if (job.Displaced) ExpireWaitingCommand();
    if (index >= job.List.size()) return TJobEnd::Finished;
    bool repeat = false;
    const TJobEnd end = RunRequest(job, index, tries, repeat);
    if (end != TJobEnd::Finished) return end;
    if (!repeat) ++index;
  }
}

// One step of a list: the request at `index`. Answers Finished when the list goes on (with
// `repeat` set when the same request is to go again), otherwise how the list ends.
TModBus::TJobEnd TModBus::RunRequest(TJob& job, std::size_t index, int& tries, bool& repeat) {
  const TRWmbrReg& request = job.List[index];
  const auto stop = [this, &job] { return StopCheck(job); };
  if (tries > 0 && !queue_.SleepUntil(Clock::now() + job.Times.TotalTimeout, stop)) {
    return TJobEnd::Stopped;
  }
  job.Failed = true;
  if (request.Function == 0) {
    job.Failed = false;
    tries = 0;
    return TJobEnd::Finished;
  }
  exchange_.Record().CurrentRegister = request.Address;
  exchange_.Record().DeviceId = job.DeviceId;
  if (!port_.IsOpen() || failed_generation_ == job.Generation) {
    relay_.Post([](TLinkEvents& events) { events.MessageBox(std::string(texts::kNoConnection)); });
    return Fail(job, texts::kErrorSendingSequence, index, 2);
  }
  const TStrToPort frame = FrameAscii(exchange_.BuildRequestPdu(request, job.DeviceId));
  if (frame.empty()) return Fail(job, texts::kErrorSendingSequence, index, 2);
  job.ProgressCount += request.ProgressWeight;
  if (command_busy_) ShowProgress(job);

  const TSenderTimes times{job.Times.SenderAnswerWait, job.Times.RetryDelay,
                           job.Timings.SenderAttempts};
  const TSendResult sent = sender_.Send(frame, !job.IsCommand, times);
  if (sent.Status == TSendStatus::Stopped) return TJobEnd::Stopped;
  if (sent.Status != TSendStatus::Accepted) {
    if (sent.Status == TSendStatus::GaveUp && !StopCheck(job)) {
      // The connection is gone: later requests of it are refused as if the port were closed,
      // until the window has disconnected and a new connection begins.
      failed_generation_ = job.Generation;
      relay_.PostTask([this] {
        if (owner_ != nullptr) owner_->LinkFailed(std::string(texts::kCommunicationFailed));
      });
    }
    Fail(job, texts::kNoResponse1, index, 1);
    if (++tries >= job.Timings.ReadAttempts) return TJobEnd::Error;
    repeat = true;  // the same request again, after the worker's pause
    return TJobEnd::Finished;
  }
  const TExchangeRecord& record = exchange_.Record();
  if (IsReadFunction(request.Function)) {
    if (!sent.Outcome.ValueReady) return Fail(job, texts::kNoResponse2, index, 1);
    if (!record.ResponseValid) return Fail(job, texts::kNoResponse3, index, 1);
  }
  if (record.ResponseFunction != request.Function) {
    return Fail(job, texts::kModbusResponseError, index, 0);
  }
  Dispatch();
  if (request.WaitForValue && record.LastValue != request.ExpectedValue) {
    if (!request.RepeatUntilEqual) return Fail(job, texts::kTransferNotFinished, index, 0);
    ShowProgress(job);
    if (!queue_.SleepUntil(Clock::now() + job.Timings.RepeatPause, stop)) return TJobEnd::Stopped;
    tries = 0;
    repeat = true;
    return TJobEnd::Finished;
  }
  job.Failed = false;
  tries = 0;
  return TJobEnd::Finished;
}

TModBus::TJobEnd TModBus::Fail(TJob& job, std::string_view text, std::size_t index,
                               int noAnswerKind) {
  job.Failed = true;
  job.Error = std::string(text) + std::to_string(index);
  if (noAnswerKind != 0) {
    std::lock_guard lock(mutex_);
    poll_failures_.NoAnswerKind = noAnswerKind;
  }
  if (job.Timings.WriteLog) LogError(job.Error);
  return TJobEnd::Error;
}

void TModBus::Dispatch() {
  if (sink_ == nullptr) return;
  const TExchangeRecord& record = exchange_.Record();
  TAcceptedAnswer answer;
  answer.Function = record.ResponseFunction;
  answer.Address = record.ResponseAddress;
  answer.Value = record.LastValue;
  answer.ExpectedCount = record.ExpectedCount;
  answer.Bytes = record.ResponseBytes;
  sink_->AnswerAccepted(answer);
}

// A command waiting for a list pushed aside gives up once its wait has run out.
void TModBus::ExpireWaitingCommand() {
  std::shared_ptr<TJob> expired;
  {
    std::lock_guard lock(mutex_);
    if (command_slot_ && command_slot_->WaitPredecessor && !command_slot_->Started &&
        Clock::now() > command_slot_->PredecessorDeadline) {
      expired = std::exchange(command_slot_, nullptr);
    }
  }
  if (!expired) return;
  expired->Error = texts::kCommandNotSent;
  if (expired->Timings.WriteLog) LogError(expired->Error);
  TListOutcome outcome{expired->Label, expired->IsCommand, false, true, expired->Error};
  {
    std::lock_guard lock(mutex_);
    RecordEnd(*expired, outcome);
  }
  changed_.notify_all();
  relay_.Post([outcome](TLinkEvents& events) { events.RequestListEnded(outcome); });
}

void TModBus::FinishJob(const std::shared_ptr<TJob>& job, TJobEnd end) {
  const bool reached_end = end == TJobEnd::Finished;
  if (reached_end) {
    relay_.Post([](TLinkEvents& events) { events.StatusLamp(TLampColour::Green); });
    if (job->Failed) {
      relay_.Post([](TLinkEvents& events) {
        events.StatusLamp(TLampColour::Red);
        events.ResultLine(std::string(texts::kResultFailed), TLampColour::Red);
      });
    } else if (job->IsCommand) {
      relay_.Post([](TLinkEvents& events) {
        events.ResultLine(std::string(texts::kResultSuccessful), TLampColour::Green);
      });
    }
    if (port_.IsOpen()) {
      SetStatus(std::string(texts::kComPortReady));
    } else {
      SetStatus(std::string(texts::kWorkerNotConnected));
      relay_.Post([](TLinkEvents& events) { events.StatusLamp(TLampColour::White); });
    }
  }
  TListOutcome outcome{job->Label, job->IsCommand, reached_end, job->Failed || !reached_end,
                       job->Error};
  {
    std::lock_guard lock(mutex_);
    // A command list that ends, whether at its end or by an error, gives the link back to the
    // state poll, unless another command list is still waiting for it. The one that pushed this
    // list aside may have given up waiting meanwhile, so the slot is asked, not the list.
    const bool successor_waiting = command_slot_ && command_slot_ != job;
    if (job->IsCommand && !successor_waiting && end != TJobEnd::Stopped && !closing_) {
      command_busy_ = false;
      PostOwner(&TLinkOwner::RestartStateTimer);
    }
    if (!job->IsCommand && end != TJobEnd::Stopped) {
      if (end == TJobEnd::Error) {
        poll_failures_.Failed = true;
        ++poll_failures_.Count;
      } else {
        poll_failures_.Count = 0;
      }
    }
    RecordEnd(*job, outcome);
    if (displaced_slot_ == job) displaced_slot_.reset();
    if (command_slot_ == job) command_slot_.reset();
    running_.reset();
    ContinueChain(*job);
  }
  changed_.notify_all();
  // Posted once the slot is free, so that the window sees the link idle when it hears of it.
  relay_.Post([outcome](TLinkEvents& events) { events.RequestListEnded(outcome); });
}

// The identification runs as a chain of three lists, each started as the previous one ends
// (also when it ended early). Called with mutex_ held.
void TModBus::ContinueChain(const TJob& job) {
  if (job.Step == TChainStep::None) return;
  // A step of an older connection's chain: Disconnected() has already ended that chain, and the
  // flag may belong to a new identification by now.
  if (job.Generation != generation_) return;
  // A new identification took the slot while this step ran; the flag is that chain's.
  if (command_slot_) return;
  if (closing_ || failed_generation_ == generation_ || !identifying_) {
    identifying_ = false;
    return;
  }
  std::optional<TRegistersArray> next;
  TChainStep step = TChainStep::None;
  std::string_view label;
  if (job.Step == TChainStep::VersionInfo) {
    next = MapsInfoList();
    step = TChainStep::MapsInfo;
    label = texts::kLabelGetMapsInfo;
  } else if (job.Step == TChainStep::MapsInfo) {
    next = NamedReadsList(CurrentDescription().ParameterReads);
    step = TChainStep::InitialInformation;
    label = texts::kLabelGetInitialInformation;
  }
  if (!next || next->empty()) {
    identifying_ = false;
    PostOwner(&TLinkOwner::IdentificationFinished);
    return;
  }
  PostOwner(&TLinkOwner::StopStateTimer);
  command_busy_ = true;
  auto chained = std::make_shared<TJob>();
  chained->Id = next_id_++;
  chained->List = std::move(*next);
  chained->Label = std::string(label);
  chained->IsCommand = true;
  chained->DeviceId = job.DeviceId;
  chained->Step = step;
  chained->Generation = generation_;
  chained->Timings = timings_;
  chained->Times = DeriveTimes(timings_);
  chained->ProgressTotal = ProgressTotal(chained->List);
  command_slot_ = std::move(chained);
}

// ---- Reports

void TModBus::ShowProgress(const TJob& job) {
  if (status_text_.find(texts::kProgressDots) != std::string::npos) {
    status_text_ = texts::kDataTransferring;
  } else {
    status_text_ += '.';
  }
  TProgressView progress{
      job.ProgressCount, job.ProgressTotal,
      std::string(texts::kCommandsTransferred) + std::to_string(job.ProgressCount)};
  relay_.Post([progress, status = status_text_](TLinkEvents& events) {
    events.StatusText(status);
    events.Progress(progress);
    events.StatusLamp(TLampColour::Yellow);
  });
}

void TModBus::SetStatus(const std::string& text) {
  status_text_ = text;
  relay_.Post([text](TLinkEvents& events) { events.StatusText(text); });
}

void TModBus::LogError(const std::string& text) {
  log_sink_.TransferLogLine(TTransferLogCode::Error, text);
}

void TModBus::PostOwner(void (TLinkOwner::*call)()) {
  relay_.PostTask([this, call] {
    if (owner_ != nullptr) (owner_->*call)();
  });
}

// ---- Queries

void TModBus::RecordEnd(const TJob& job, const TListOutcome& outcome) {
  constexpr std::size_t kRemembered = 16;
  ended_.emplace_back(job.Id, outcome);
  if (ended_.size() > kRemembered) ended_.pop_front();
}

bool TModBus::WaitForList(std::uint64_t id, std::chrono::milliseconds limit,
                          TListOutcome& outcome) const {
  std::unique_lock lock(mutex_);
  const auto ended = [&] {
    for (const auto& [ended_id, ended_outcome] : ended_) {
      if (ended_id == id) {
        outcome = ended_outcome;
        return true;
      }
    }
    return closing_.load();
  };
  return changed_.wait_for(lock, limit, ended);
}

bool TModBus::Busy() const {
  std::lock_guard lock(mutex_);
  return command_slot_ || displaced_slot_ || running_;
}

bool TModBus::WaitIdle(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit,
                           [this] { return !command_slot_ && !displaced_slot_ && !running_; });
}

TPollFailures TModBus::PollFailures() const {
  std::lock_guard lock(mutex_);
  return poll_failures_;
}

void TModBus::ClearPollFailures() {
  std::lock_guard lock(mutex_);
  poll_failures_ = {};
}

void TModBus::ClearPollFailed() {
  std::lock_guard lock(mutex_);
  poll_failures_.Failed = false;
}

}  // namespace quarn::link

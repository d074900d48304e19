#include "link/connection_session.h"

#include <algorithm>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/error_table.h"
#include "link/link_texts.h"
#include "link/modbus_functions.h"
#include "link/register_map.h"

namespace quarn::link {
namespace {

constexpr std::uint16_t kHardwareRegister = 0x8001;
constexpr std::uint16_t kFirmwareRegister = 0x8003;
// Firmware before 1.10 is refused; program reading works from 1.8 on.
constexpr std::uint16_t kRequiredMinor = 10;
constexpr std::uint16_t kReadingMinor = 8;
constexpr int kQuietTicksBeforeClearing = 3;
constexpr int kFailuresBeforeGivingUp = 3;
constexpr int kMinPollInterval = 100;

std::uint8_t ClampDeviceId(int id) {
  return static_cast<std::uint8_t>(std::clamp(id, kMinDeviceId, kMaxDeviceId));
}

}  // namespace

TConnectionSession::TConnectionSession(TSerialPort& port, TDispatcher& ui, TLinkEvents& events,
                                       const LinkTimings& timings)
    : port_(port), events_(events), relay_(ui, events), modbus_(port, ui, events, timings) {
  modbus_.SetOwner(this);
  modbus_.SetAnswerSink(this);
  timers_.StateIntervalMs =
      std::max(kMinPollInterval, static_cast<int>(timings.StateInterval.count()));
  timers_.ResetIntervalMs = static_cast<int>(timings.StateResetInterval.count());
  if (!ModelList().empty() && CurrentDescription().ModelName.empty()) SelectModel(ModelList()[0]);
}

TConnectionSession::~TConnectionSession() {
  modbus_.Shutdown();
  relay_.Detach();
}

void TConnectionSession::SetTimings(const LinkTimings& timings) { modbus_.SetTimings(timings); }

// ---- Connect and disconnect

TPortOpenResult TConnectionSession::Connect(const std::string& port, int deviceId, bool identify) {
  if (port_.IsOpen()) CloseAndReset();
  PostState(state_.ResetForConnect());
  device_id_ = ClampDeviceId(deviceId);
  port_.SetLineSettings(TLineSettings{});  // 115200 baud, 7 data bits, even parity, 1 stop bit
  if (refresher_ != nullptr) refresher_->SetScanPaused(true);
  const TPortOpenResult opened = port_.Open(port);
  if (opened.Opened && refresher_ != nullptr) refresher_->SetPortInUse(port_.Path());
  if (refresher_ != nullptr) refresher_->SetScanPaused(false);
  if (!opened.Opened) {
    CloseAndReset();
    return opened;
  }
  modbus_.Connected();
  ShowConnection();
  events_.StatusText(std::string(texts::kComPortReady));
  events_.StatusLamp(TLampColour::Green);
  SetTimers(false, false);
  if (identify) {
    modbus_.GetVersionInfo(device_id_);
  } else {
    RestartStateTimer();
  }
  return opened;
}

void TConnectionSession::Disconnect() { CloseAndReset(); }

void TConnectionSession::CloseAndReset() {
  SetTimers(false, false);
  modbus_.Disconnected();
  port_.Close();
  if (refresher_ != nullptr) refresher_->SetPortInUse({});
  PostState(state_.ResetForDisconnect());
  ShowConnection();
  events_.StatusText(std::string(texts::kNotConnected));
  events_.StatusLamp(TLampColour::White);
  if (on_disconnect_) on_disconnect_();
}

void TConnectionSession::ShowConnection() {
  TConnectionView view;
  view.Connected = port_.IsOpen();
  view.Port = port_.Path();
  view.ConnectionText = view.Connected ? view.Port + std::string(texts::kConnectedSuffix) : "";
  view.ButtonCaption = view.Connected ? texts::kDisconnectCaption : texts::kConnectCaption;
  view.PortSelectorEnabled = !view.Connected;
  view.ModelSelectorEnabled = !view.Connected;
  events_.ConnectionChanged(view);
}

void TConnectionSession::SetDeviceId(int deviceId) { device_id_ = ClampDeviceId(deviceId); }

bool TConnectionSession::SelectModelByIndex(int index) {
  const auto models = ModelList();
  if (index < 0 || static_cast<std::size_t>(index) >= models.size()) return false;
  model_index_ = index;
  SelectModel(models[static_cast<std::size_t>(index)]);
  events_.ModelSelected(CurrentDescription());
  return true;
}

bool TConnectionSession::ClearErrors() {
  if (!port_.IsOpen()) {
    events_.MessageBox(std::string(texts::kNoConnection));
    return false;
  }
  const TDC_Record record = FindParameterRecord("CLR_ERRORS");
  if (record.Valid == 0) return false;
  return modbus_.SendDirectCommand(device_id_, record, false, TRequiredState::Stop, true);
}

// ---- Timers

void TConnectionSession::SetTimers(bool stateTimer, bool resetTimer) {
  if (timers_.StateTimerEnabled == stateTimer && timers_.ResetTimerEnabled == resetTimer) return;
  timers_.StateTimerEnabled = stateTimer;
  timers_.ResetTimerEnabled = resetTimer;
  events_.TimersChanged(timers_);
}

void TConnectionSession::SetPollInterval(int intervalMs) {
  timers_.StateIntervalMs = std::max(kMinPollInterval, intervalMs);
  events_.TimersChanged(timers_);
}

void TConnectionSession::StopStateTimer() { SetTimers(false, timers_.ResetTimerEnabled); }

void TConnectionSession::RestartStateTimer() {
  if (!port_.IsOpen()) return;
  SetTimers(true, modbus_.Identifying() ? timers_.ResetTimerEnabled : true);
}

void TConnectionSession::SetDebugging(bool active, bool monitoring) {
  debugging_ = active;
  monitoring_ = active && monitoring;
}

// One register per tick, so that a command list never waits long for the link.
void TConnectionSession::StateTimerTick() {
  if (!port_.IsOpen() || modbus_.Identifying() || debugging_ || modbus_.CommandBusy()) return;
  const TRegistersArray& polled = CurrentDescription().PollRegisters;
  if (polled.empty()) return;
  if (poll_position_ >= polled.size()) poll_position_ = 0;
  events_.PollLabel(polled[poll_position_].Name);
  const std::string label = std::string(texts::kLabelStatePoll) + std::to_string(poll_position_);
  if (modbus_.SendRequests(false, device_id_, label, {polled[poll_position_]})) {
    poll_position_ = (poll_position_ + 1) % polled.size();
    quiet_reset_ticks_ = 0;
  }
}

void TConnectionSession::ResetTimerTick() {
  if (modbus_.Identifying() || (debugging_ && monitoring_)) return;
  if (++quiet_reset_ticks_ == kQuietTicksBeforeClearing) PostState(state_.ClearMotion());
  const TPollFailures failures = modbus_.PollFailures();
  if (!failures.Failed) {
    RestartStateTimer();
  } else if (failures.Count > kFailuresBeforeGivingUp) {
    const bool link_lost = failures.NoAnswerKind == 1 || failures.NoAnswerKind == 2;
    SetTimers(false, !link_lost && timers_.ResetTimerEnabled);
    if (link_lost) {
      events_.PortListCleared();
      modbus_.ClearPollFailures();
    }
  } else {
    modbus_.ClearPollFailed();
    RestartStateTimer();
  }
}

// ---- Link failures and the identification

void TConnectionSession::LinkFailed(const std::string& status) {
  if (!port_.IsOpen()) return;
  CloseAndReset();
  events_.MessageBox(std::string(texts::kWrongConnection) + status);
}

void TConnectionSession::IdentificationFinished() {
  // The debugger refreshes its breakpoint displays here; the reads have reached the state model.
  PostState([] {
    TStateChanges changes;
    Mark(changes, TStateField::Breakpoints);
    return changes;
  }());
}

void TConnectionSession::RefuseController(const std::string& message) {
  if (!port_.IsOpen()) return;
  events_.MessageBox(message);
  CloseAndReset();
}

// The answer dispatcher. Link worker thread.
void TConnectionSession::AnswerAccepted(const TAcceptedAnswer& answer) {
  // The identification compares the hardware word with the one before this answer; the state is
  // copied only for the answer that carries it.
  const bool hardware_answer =
      answer.Function == kReadInputRegisters && answer.Address == kHardwareRegister;
  const std::uint32_t previous_hardware = hardware_answer ? state_.Snapshot().Hardware : 0;
  const TStateChanges changes = state_.Apply(answer);
  collector_.TakeAnswer(answer);
  if (answer.Function == kReadInputRegisters) CheckIdentification(answer, previous_hardware);
  if (changes.any()) PostState(changes);
  if (answer_observer_) answer_observer_(answer);
}

// An outdated firmware or an unknown device ends the connection; a known device selects its
// model at once, so that the parameter reads that follow use that model's registers.
void TConnectionSession::CheckIdentification(const TAcceptedAnswer& answer,
                                             std::uint32_t previousHardware) {
  const auto word = static_cast<std::uint32_t>(answer.Value);
  std::string refusal;
  if (answer.Address == kFirmwareRegister) {
    if (VersionMajor(word) == 1 && VersionMinor(word) < kRequiredMinor) {
      refusal = texts::kOutdatedFirmware;
    }
  } else if (answer.Address == kHardwareRegister && word != previousHardware) {
    if (const TDeviceDescription* model = FindModelByKey(word)) {
      SelectModel(*model);
      const auto models = ModelList();
      const int index = static_cast<int>(model - models.data());
      relay_.PostTask([this, index] { SelectModelByIndex(index); });
    } else if (word != 0) {
      refusal = std::string(texts::kUnknownDevice) + std::to_string(word) +
                std::string(texts::kUnknownDeviceId) + std::to_string(word & 0xFFFFU) +
                std::string(texts::kUnknownDeviceHw) + std::to_string(word >> 16);
    }
  }
  if (refusal.empty()) return;
  modbus_.AbortRunning();
  relay_.PostTask([this, refusal] { RefuseController(refusal); });
}

void TConnectionSession::PostState(const TStateChanges& changes) {
  relay_.Post([changes](TLinkEvents& events) { events.ControllerStateChanged(changes); });
}

// ---- Texts of the state panel

std::string TConnectionSession::UserProgramErrorText() const {
  const TControllerState state = state_.Snapshot();
  return state.ErrorGroups[kUserProgramError].CodeText.substr(texts::kGroupErrorCode.size()) +
         ": " + ErrorText(kUserProgramErrors, state.UserProgramErrorCode);
}

std::string TConnectionSession::HighlightLineQuestion() const {
  return std::string(texts::kHighlightLine) +
         std::to_string(state_.Snapshot().UserProgramErrorLine) +
         std::string(texts::kHighlightLineTail);
}

bool TConnectionSession::FirmwareSupportsReading() const {
  const std::uint32_t firmware = state_.Snapshot().Firmware;
  return VersionMajor(firmware) > 1 ||
         (VersionMajor(firmware) == 1 && VersionMinor(firmware) >= kReadingMinor);
}

}  // namespace quarn::link

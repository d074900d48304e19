// The connection to one controller as the main window drives it: connect and disconnect, the
// identification and the choice of model, state polling with its reset rules, and the answer
// dispatcher that keeps the controller-state model.
//
// Everything here runs on the UI thread, except the answer dispatcher (AnswerAccepted), which
// the link worker calls for every accepted answer: it writes the lock-guarded state model and
// posts what changed. The window's two timers (or the headless loop) call StateTimerTick and
// ResetTimerTick; TimersChanged tells them when to run and at which interval.
//
// Construct the session before the port is first opened: the link takes the port's received
// bytes from then on. A session made while no model is selected selects the first one, as the
// window does at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/controller_state.h"
#include "link/device_description.h"
#include "link/dispatcher.h"
#include "link/event_relay.h"
#include "link/link_events.h"
#include "link/link_timings.h"
#include "link/modbus_link.h"
#include "link/port_list_refresher.h"
#include "link/reading_collector.h"
#include "link/serial_port.h"

namespace quarn::link {

// The device addresses the connection takes; others are brought into this range.
inline constexpr int kMinDeviceId = 1;
inline constexpr int kMaxDeviceId = 255;

class TConnectionSession final : public TLinkOwner, public TAnswerSink {
 public:
  TConnectionSession(TSerialPort& port, TDispatcher& ui, TLinkEvents& events,
                     const LinkTimings& timings);
  ~TConnectionSession() override;
  TConnectionSession(const TConnectionSession&) = delete;
  TConnectionSession& operator=(const TConnectionSession&) = delete;

  // The background port scan, paused while a port opens and told which port is in use.
  void SetPortListRefresher(TRenewComPortList* refresher) { refresher_ = refresher; }
  // Called whenever the connection closes (the program download stops then).
  void SetDisconnectListener(std::function<void()> listener) {
    on_disconnect_ = std::move(listener);
  }
  // Also told of every accepted answer, after the dispatcher; called on the link worker thread.
  // Set it while no list runs.
  void SetAnswerObserver(std::function<void(const TAcceptedAnswer&)> observer) {
    answer_observer_ = std::move(observer);
  }

  // Opens `port` with the controller's line settings and starts the identification (unless
  // `identify` is false: the selected model is then kept, as for tools that read registers by
  // name). On failure the window shows "Not connected"; the result's message names the reason
  // (and the dialout group when the rights are missing).
  TPortOpenResult Connect(const std::string& port, int deviceId, bool identify = true);
  void Disconnect();
  bool Connected() const { return port_.IsOpen(); }

  void SetDeviceId(int deviceId);  // 1 to 255
  std::uint8_t DeviceId() const { return device_id_; }

  // The model drop-down: index into ModelList(). False for an index out of range.
  bool SelectModelByIndex(int index);
  int SelectedModelIndex() const { return model_index_; }

  // The clear-errors button: CLR_ERRORS with read-back, without the run/stop check.
  bool ClearErrors();

  // Timers.
  void StateTimerTick();
  void ResetTimerTick();
  void SetPollInterval(int intervalMs);  // the hidden 200 / 1000 / 10000 ms buttons
  TTimerView Timers() const { return timers_; }

  // The debugger's hooks: polling pauses while debugging is active; the reset timer rests
  // while the debugger's monitoring runs as well.
  void SetDebugging(bool active, bool monitoring);

  TControllerState State() const { return state_.Snapshot(); }
  // "0x2012: Unknown command" for the user-program error code.
  std::string UserProgramErrorText() const;
  // The question asked when the user-program error line is clicked.
  std::string HighlightLineQuestion() const;
  // Program reading is supported from firmware 1.8 on.
  bool FirmwareSupportsReading() const;

  TModBus& Modbus() { return modbus_; }
  TFastReadingProcess& Collector() { return collector_; }
  const TEventRelay& Relay() const { return relay_; }
  TLinkEvents& Events() { return events_; }  // UI thread
  LinkTimings Timings() const { return modbus_.Timings(); }
  void SetTimings(const LinkTimings& timings);

  // TLinkOwner (UI thread).
  void StopStateTimer() override;
  void RestartStateTimer() override;
  void LinkFailed(const std::string& status) override;
  void IdentificationFinished() override;

  // TAnswerSink (link worker thread).
  void AnswerAccepted(const TAcceptedAnswer& answer) override;

 private:
  void CloseAndReset();
  void RefuseController(const std::string& message);
  void CheckIdentification(const TAcceptedAnswer& answer, std::uint32_t previousHardware);
  void SetTimers(bool stateTimer, bool resetTimer);
  void PostState(const TStateChanges& changes);
  void ShowConnection();

  TSerialPort& port_;
  TLinkEvents& events_;
  TEventRelay relay_;
  TControllerStateModel state_;
  TFastReadingProcess collector_;
  TModBus modbus_;

  TRenewComPortList* refresher_ = nullptr;
  std::function<void()> on_disconnect_;
  std::function<void(const TAcceptedAnswer&)> answer_observer_;
  std::uint8_t device_id_ = 1;
  int model_index_ = 0;
  TTimerView timers_;
  std::size_t poll_position_ = 0;
  int quiet_reset_ticks_ = 0;
  bool debugging_ = false;
  bool monitoring_ = false;
};

}  // namespace quarn::link

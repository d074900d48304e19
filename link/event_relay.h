// Delivers the link's events on the UI thread, from any thread, and stops delivering once the
// object that owns the relay is gone: work still queued in the dispatcher then does nothing
// instead of reaching a destroyed object.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "link/dispatcher.h"
#include "link/link_events.h"
#include "link/transfer_log.h"

namespace quarn::link {

class TEventRelay {
 public:
  TEventRelay(TDispatcher& ui, TLinkEvents& events);
  ~TEventRelay();
  TEventRelay(const TEventRelay&) = delete;
  TEventRelay& operator=(const TEventRelay&) = delete;

  // Queues a call of the events interface on the UI thread.
  void Post(std::function<void(TLinkEvents&)> call) const;
  // Queues work of the relay's owner; it runs only while the owner is still there.
  void PostTask(std::function<void()> task) const;
  // After this, nothing queued runs any more. Called by the owner's destructor.
  void Detach();

  TDispatcher& Ui() const { return ui_; }

 private:
  struct TShared {
    std::atomic<bool> attached{true};
    TLinkEvents* events;
  };
  TDispatcher& ui_;
  std::shared_ptr<TShared> shared_;
};

// A transfer-log sink that hands every line to the UI thread through a relay.
class TRelayLogSink final : public TTransferLogSink {
 public:
  explicit TRelayLogSink(const TEventRelay& relay) : relay_(relay) {}
  void TransferLogLine(TTransferLogCode code, std::string_view text) override;

 private:
  const TEventRelay& relay_;
};

}  // namespace quarn::link

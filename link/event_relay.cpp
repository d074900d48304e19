#include "link/event_relay.h"

namespace quarn::link {

TEventRelay::TEventRelay(TDispatcher& ui, TLinkEvents& events)
    : ui_(ui), shared_(std::make_shared<TShared>()) {
  shared_->events = &events;
}

TEventRelay::~TEventRelay() { Detach(); }

void TEventRelay::Detach() { shared_->attached = false; }

void TEventRelay::Post(std::function<void(TLinkEvents&)> call) const {
  ui_.Post([shared = shared_, call = std::move(call)] {
    if (shared->attached) call(*shared->events);
  });
}

void TEventRelay::PostTask(std::function<void()> task) const {
  ui_.Post([shared = shared_, task = std::move(task)] {
    if (shared->attached) task();
  });
}

void TRelayLogSink::TransferLogLine(TTransferLogCode code, std::string_view text) {
  relay_.Post([code, line = std::string(text)](TLinkEvents& events) {
    events.TransferLogLine(code, line);
  });
}

}  // namespace quarn::link

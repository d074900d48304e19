#include "link/receive_queue.h"

namespace quarn::link {

TReadCallback TReceiveQueue::Feeder() const {
  return [shared = shared_](std::span<const std::uint8_t> chunk, std::uint32_t) {
    {
      std::lock_guard lock(shared->mutex);
      shared->chunks.emplace_back(chunk.begin(), chunk.end());
    }
    shared->arrived.notify_all();
  };
}

std::optional<TBytesArray> TReceiveQueue::Take(Clock::time_point deadline, const TStop& stop) {
  std::unique_lock lock(shared_->mutex);
  const bool ready = shared_->arrived.wait_until(
      lock, deadline, [&] { return !shared_->chunks.empty() || (stop && stop()); });
  if (!ready || shared_->chunks.empty() || (stop && stop())) return std::nullopt;
  TBytesArray chunk = std::move(shared_->chunks.front());
  shared_->chunks.pop_front();
  return chunk;
}

std::optional<TBytesArray> TReceiveQueue::TakeReady() {
  std::lock_guard lock(shared_->mutex);
  if (shared_->chunks.empty()) return std::nullopt;
  TBytesArray chunk = std::move(shared_->chunks.front());
  shared_->chunks.pop_front();
  return chunk;
}

bool TReceiveQueue::SleepUntil(Clock::time_point deadline, const TStop& stop) {
  std::unique_lock lock(shared_->mutex);
  return !shared_->arrived.wait_until(lock, deadline, [&] { return stop && stop(); });
}

void TReceiveQueue::Wake() {
  { std::lock_guard lock(shared_->mutex); }  // a waiter between its check and its wait sees it
  shared_->arrived.notify_all();
}

void TReceiveQueue::Clear() {
  std::lock_guard lock(shared_->mutex);
  shared_->chunks.clear();
}

}  // namespace quarn::link

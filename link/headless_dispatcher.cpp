#include "link/headless_dispatcher.h"

#include <memory>

namespace quarn::link {

THeadlessDispatcher::THeadlessDispatcher() : ui_thread_(std::this_thread::get_id()) {}

THeadlessDispatcher::~THeadlessDispatcher() { Close(); }

bool THeadlessDispatcher::OnUiThread() const { return std::this_thread::get_id() == ui_thread_; }

void THeadlessDispatcher::Post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    if (closing_) return;
    queue_.push_back(std::move(work));
  }
  changed_.notify_all();
}

bool THeadlessDispatcher::Invoke(std::function<void()> work) {
  if (OnUiThread()) {
    if (Closing()) return false;
    work();
    return true;
  }
  // The waiter's flag lives in shared state: the piece of work may still sit in the queue when
  // Close releases the waiter, and is dropped with the queue then.
  auto done = std::make_shared<bool>(false);
  std::unique_lock lock(mutex_);
  if (closing_) return false;
  queue_.push_back([work = std::move(work), done, this] {
    work();
    std::lock_guard inner(mutex_);
    *done = true;
  });
  changed_.notify_all();
  changed_.wait(lock, [&] { return *done || closing_; });
  return *done;
}

bool THeadlessDispatcher::RunOne(std::unique_lock<std::mutex>& lock) {
  if (queue_.empty()) return false;
  std::function<void()> work = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  work();
  lock.lock();
  changed_.notify_all();  // an Invoke waiter may be done now
  return true;
}

bool THeadlessDispatcher::RunUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (closing_ || Clock::now() >= deadline) break;
    lock.unlock();
    const bool finished = done && done();
    lock.lock();
    if (finished) return true;
    if (RunOne(lock)) continue;
    if (changed_.wait_until(lock, deadline, [&] { return !queue_.empty() || closing_; })) continue;
    break;  // deadline passed with nothing to run
  }
  lock.unlock();
  return done && done();
}

bool THeadlessDispatcher::RunFor(std::chrono::milliseconds span,
                                 const std::function<bool()>& done) {
  return RunUntil(done, Clock::now() + span);
}

int THeadlessDispatcher::RunPending() {
  std::unique_lock lock(mutex_);
  std::size_t count = queue_.size();
  int ran = 0;
  while (count-- > 0 && !closing_ && RunOne(lock)) ++ran;
  return ran;
}

void THeadlessDispatcher::Close() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    dropped.swap(queue_);
  }
  changed_.notify_all();
  // `dropped` goes out of scope here, outside the lock: what the queued work captured may have
  // destructors of its own.
}

bool THeadlessDispatcher::Closing() const {
  std::lock_guard lock(mutex_);
  return closing_;
}

}  // namespace quarn::link

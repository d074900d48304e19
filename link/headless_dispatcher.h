// A dispatcher without a toolkit: a small event loop that the thread which created it runs by
// calling RunUntil (or RunPending). Work posted from other threads waits in a queue until then.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "link/dispatcher.h"

namespace quarn::link {

class THeadlessDispatcher final : public TDispatcher {
 public:
  using Clock = std::chrono::steady_clock;

  THeadlessDispatcher();  // the constructing thread becomes the UI thread
  ~THeadlessDispatcher() override;
  THeadlessDispatcher(const THeadlessDispatcher&) = delete;
  THeadlessDispatcher& operator=(const THeadlessDispatcher&) = delete;

  void Post(std::function<void()> work) override;
  bool Invoke(std::function<void()> work) override;
  bool OnUiThread() const override;

  // Runs queued work until `done` answers true or the deadline passes; answers `done`'s last
  // word. `done` is asked before each piece of work and whenever the queue runs dry. UI thread.
  bool RunUntil(const std::function<bool()>& done, Clock::time_point deadline);
  bool RunFor(std::chrono::milliseconds span, const std::function<bool()>& done);
  // Runs what is queued now, without waiting; answers how many pieces ran. UI thread.
  int RunPending();

  // Drops queued work and releases every waiting Invoke; later Post and Invoke do nothing.
  void Close();
  bool Closing() const;

 private:
  bool RunOne(std::unique_lock<std::mutex>& lock);

  const std::thread::id ui_thread_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool closing_ = false;
};

}  // namespace quarn::link

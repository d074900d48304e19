// Hands received chunks from the serial port's receive thread to the link worker.
//
// The port's read callback only appends the chunk and wakes the worker; the worker takes the
// chunks in arrival order, examines them and then grants the port read permission again. The
// queue also carries the worker's wake-ups for stop requests, so every wait of the worker is one
// condition-variable wait with an upper bound.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "link/byte_arrays.h"
#include "link/serial_port.h"

namespace quarn::link {

class TReceiveQueue {
 public:
  using Clock = std::chrono::steady_clock;
  using TStop = std::function<bool()>;  // asked under the queue's lock; must not block

  // A read callback for the port that feeds this queue. It holds the queue's shared state, not
  // the queue, so it stays harmless if the port outlives the queue.
  TReadCallback Feeder() const;

  // The next chunk, waiting until `deadline`; nullopt when the time is up or `stop` says so.
  std::optional<TBytesArray> Take(Clock::time_point deadline, const TStop& stop);
  // A chunk that is already there; never waits.
  std::optional<TBytesArray> TakeReady();
  // Sleeps until `deadline`; answers false when `stop` ended the sleep early.
  bool SleepUntil(Clock::time_point deadline, const TStop& stop);

  // Wakes every wait so that it asks its stop condition again.
  void Wake();
  void Clear();

 private:
  struct TShared {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<TBytesArray> chunks;
  };
  std::shared_ptr<TShared> shared_ = std::make_shared<TShared>();
};

}  // namespace quarn::link

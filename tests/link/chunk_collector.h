// Test consumer of a serial port: records every chunk and, when asked, grants read permission
// after each one the way the link does. What it records lives in a state shared with the
// callback, so the collector may go before the port's receive thread has finished a call.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "link/byte_arrays.h"
#include "link/serial_port.h"

namespace quarn::link::testing {

class ChunkCollector {
 public:
  ChunkCollector(TSerialPort& port, bool grant_each) : state_(std::make_shared<State>()) {
    port.SetOnRead(
        [state = state_, &port, grant_each](std::span<const std::uint8_t> chunk, std::uint32_t) {
          {
            std::lock_guard lock(state->mutex);
            state->chunks.emplace_back(chunk.begin(), chunk.end());
            state->bytes.insert(state->bytes.end(), chunk.begin(), chunk.end());
          }
          state->arrived.notify_all();
          if (grant_each) port.GrantReadPermission();
        });
  }

  bool WaitForBytes(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(state_->mutex);
    return state_->arrived.wait_for(lock, limit, [&] { return state_->bytes.size() >= count; });
  }
  bool WaitForChunks(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(state_->mutex);
    return state_->arrived.wait_for(lock, limit, [&] { return state_->chunks.size() >= count; });
  }
  std::vector<TBytesArray> Chunks() {
    std::lock_guard lock(state_->mutex);
    return state_->chunks;
  }
  TBytesArray Bytes() {
    std::lock_guard lock(state_->mutex);
    return state_->bytes;
  }

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<TBytesArray> chunks;
    TBytesArray bytes;
  };
  std::shared_ptr<State> state_;
};

}  // namespace quarn::link::testing

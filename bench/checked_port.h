// A port of the workbench's kind whose answers are checked as they arrive, for the round-trip
// benchmarks: Send prepares the check and writes the request, WaitAccepted waits for an answer
// that passed it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "link/modbus_exchange.h"
#include "link/posix_serial_port.h"

namespace quarn::bench {

class CheckedPort {
 public:
  explicit CheckedPort(std::uint16_t currentRegister = 0) {
    exchange_.Record().DeviceId = 1;
    exchange_.Record().CurrentRegister = currentRegister;
    port_.SetOnRead([this](std::span<const std::uint8_t> chunk, std::uint32_t) {
      {
        std::lock_guard lock(mutex_);
        accepted_ = exchange_.CheckResponse(chunk).AnswerAccepted || accepted_;
      }
      accepted_cv_.notify_one();
      port_.GrantReadPermission();
    });
  }
  ~CheckedPort() { port_.Close(); }
  CheckedPort(const CheckedPort&) = delete;
  CheckedPort& operator=(const CheckedPort&) = delete;

  bool Open(const std::string& path) { return port_.Open(path).Opened; }

  void Send(std::string_view request) {
    {
      std::lock_guard lock(mutex_);
      exchange_.PrepareExpectation(link::TextBytes(request));
      accepted_ = false;
    }
    port_.Write(link::TextBytes(request));
  }

  bool WaitAccepted(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    return accepted_cv_.wait_for(lock, wait, [&] { return accepted_; });
  }

 private:
  link::TPosixSerialPort port_;
  link::TModbusExchange exchange_;
  std::mutex mutex_;
  std::condition_variable accepted_cv_;
  bool accepted_ = false;
};

}  // namespace quarn::bench

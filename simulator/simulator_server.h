// Serves a byte stream as a Modbus ASCII slave on a thread of its own: cuts request frames
// out of the input, has each one answered by the request handler, and writes the answers,
// paced at a baud rate and with injected faults when asked.
//
// Stop is prompt: the thread sleeps in ppoll() on the stream and on a wake-up eventfd, and
// every wait (pacing, delays, a stalled output) is a deadline of that one ppoll.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "link/byte_arrays.h"
#include "simulator/byte_stream.h"
#include "simulator/fault_injection.h"

namespace quarn::simulator {

// Answers one request PDU (LRC checked, without it); nullopt for silence. Called on the
// server's thread.
using TRequestHandler =
    std::function<std::optional<link::TReqResArray>(std::span<const std::uint8_t> pdu)>;
// Receives one line of the verbose log; called on the server's thread.
using TLogSink = std::function<void(std::string_view line)>;

struct TServerSettings {
  std::uint32_t PaceBaud = 0;  // 0: characters pass at once
  TFaultSettings Faults;
  TLogSink Log;  // null: quiet
};

struct TServerStats {
  std::uint64_t Frames = 0;     // well-formed frames with a correct LRC
  std::uint64_t BadLrc = 0;     // well-formed frames with a wrong LRC (not answered)
  std::uint64_t Malformed = 0;  // broken or overlong frames (not answered)
  std::uint64_t Answers = 0;    // answers produced by the handler
  std::uint64_t Dropped = 0;    // of those: withheld by fault injection
  std::uint64_t Corrupted = 0;  // sent with a wrong LRC
  std::uint64_t Delayed = 0;
  std::uint64_t Split = 0;
  std::uint64_t Discarded = 0;  // answers thrown away because the stream would not take them
};

// An output that nobody reads for this long is thrown away instead of piling up.
inline constexpr auto kOutputStallLimit = std::chrono::seconds(1);
// Input taken from the stream in one round, and input held for its paced line time: while
// that much is held, the stream is not read, so a fast writer waits as on a real line.
inline constexpr std::size_t kReadLimit = 64 * 1024;

class TSimulatorServer {
 public:
  TSimulatorServer(TRequestHandler handler, TServerSettings settings);
  ~TSimulatorServer();
  TSimulatorServer(const TSimulatorServer&) = delete;
  TSimulatorServer& operator=(const TSimulatorServer&) = delete;

  // Opens the stream and starts the thread; false with Error() when either fails.
  bool Start(std::unique_ptr<TByteStream> stream);
  // Ends the thread and closes the stream; a no-op when not running.
  void Stop();
  bool Running() const { return thread_.joinable(); }
  const std::string& Error() const { return error_; }

  TServerStats Stats() const;

 private:
  class TLoop;

  TRequestHandler handler_;
  TServerSettings settings_;
  std::string error_;
  int wake_fd_ = -1;
  std::atomic<bool> stopping_{false};
  std::unique_ptr<TByteStream> stream_;
  std::unique_ptr<TLoop> loop_;
  std::thread thread_;
  mutable std::mutex stats_mutex_;
  TServerStats stats_;
};

}  // namespace quarn::simulator

// Cost of the bottom of the link: the answer check, and a request/answer round trip through
// the termios port on a pseudo-terminal (no line speed: what the software adds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>

#include "link/modbus_exchange.h"
#include "link/posix_serial_port.h"
#include "link/pseudo_terminal.h"

namespace {

using namespace quarn::link;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

constexpr std::string_view kRequest = ":010350000002AA\r\n";
constexpr std::string_view kAnswer = ":01030400100001E7\r\n";

void BM_CheckResponseSplitAnswer(benchmark::State& state) {
  TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  for (auto _ : state) {
    exchange.PrepareExpectation(Bytes(kRequest));
    exchange.CheckResponse(Bytes(kAnswer.substr(0, 7)));
    const TCheckOutcome outcome = exchange.CheckResponse(Bytes(kAnswer.substr(7)));
    benchmark::DoNotOptimize(outcome.AnswerAccepted);
  }
}
BENCHMARK(BM_CheckResponseSplitAnswer);

// One frame out through the port, the answer back from the master side, checked on arrival.
void BM_PseudoTerminalRoundTrip(benchmark::State& state) {
  TPseudoTerminal pty;
  TPosixSerialPort port;
  TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  std::mutex mutex;
  std::condition_variable accepted_cv;
  bool accepted = false;
  port.SetOnRead([&](std::span<const std::uint8_t> chunk, std::uint32_t) {
    {
      std::lock_guard lock(mutex);
      accepted = exchange.CheckResponse(chunk).AnswerAccepted || accepted;
    }
    accepted_cv.notify_one();
    port.GrantReadPermission();
  });
  if (!pty.Open() || !port.Open(pty.SlavePath()).Opened) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  for (auto _ : state) {
    {
      std::lock_guard lock(mutex);
      exchange.PrepareExpectation(Bytes(kRequest));
      accepted = false;
    }
    port.Write(Bytes(kRequest));
    pty.Read(kRequest.size(), std::chrono::seconds(1));
    pty.Write(Bytes(kAnswer), std::chrono::seconds(1));
    std::unique_lock lock(mutex);
    if (!accepted_cv.wait_for(lock, std::chrono::seconds(1), [&] { return accepted; })) {
      state.SkipWithError("answer not accepted");
      break;
    }
  }
  port.Close();
}
BENCHMARK(BM_PseudoTerminalRoundTrip)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// Cost of the bottom of the link: the answer check, and a request/answer round trip through
// the termios port on a pseudo-terminal (no line speed: what the software adds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string_view>

#include "bench/checked_port.h"
#include "link/modbus_exchange.h"
#include "link/pseudo_terminal.h"

namespace {

using namespace quarn::link;

using quarn::link::TextBytes;

constexpr std::string_view kRequest = ":010350000002AA\r\n";
constexpr std::string_view kAnswer = ":01030400100001E7\r\n";

void BM_CheckResponseSplitAnswer(benchmark::State& state) {
  TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  for (auto _ : state) {
    exchange.PrepareExpectation(TextBytes(kRequest));
    exchange.CheckResponse(TextBytes(kAnswer.substr(0, 7)));
    const TCheckOutcome outcome = exchange.CheckResponse(TextBytes(kAnswer.substr(7)));
    benchmark::DoNotOptimize(outcome.AnswerAccepted);
  }
}
BENCHMARK(BM_CheckResponseSplitAnswer);

// One frame out through the port, the answer back from the master side, checked on arrival.
void BM_PseudoTerminalRoundTrip(benchmark::State& state) {
  TPseudoTerminal pty;
  quarn::bench::CheckedPort port;
  if (!pty.Open() || !port.Open(pty.SlavePath())) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  for (auto _ : state) {
    port.Send(kRequest);
    pty.Read(kRequest.size(), std::chrono::seconds(1));
    pty.Write(TextBytes(kAnswer), std::chrono::seconds(1));
    if (!port.WaitAccepted(std::chrono::seconds(1))) {
      state.SkipWithError("answer not accepted");
      break;
    }
  }
}
BENCHMARK(BM_PseudoTerminalRoundTrip)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

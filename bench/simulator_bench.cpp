// What the simulator costs: serving one request in-process, and a full round trip from the
// workbench's port through the simulator's pseudo-terminal, unpaced and paced at 115200 baud
// (where the line time of the 17 + 19 characters is 3.125 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string_view>

#include "bench/checked_port.h"
#include "simulator/controller.h"
#include "simulator/modbus_slave.h"
#include "simulator/simulator.h"

namespace {

using namespace quarn;

constexpr std::string_view kRequest = ":010350000002AA\r\n";  // maximum speed, two registers

void BM_ServeReadInProcess(benchmark::State& state) {
  std::string error;
  auto controller = simulator::TController::Create({}, error);
  simulator::TModbusSlave slave(*controller, 1);
  const link::TReqResArray request{1, 3, 0x50, 0x00, 0x00, 0x02};
  for (auto _ : state) benchmark::DoNotOptimize(slave.Serve(request));
}
BENCHMARK(BM_ServeReadInProcess);

void BM_RoundTripThroughSimulator(benchmark::State& state) {
  simulator::TSimulatorOptions options;
  options.Server.PaceBaud = static_cast<std::uint32_t>(state.range(0));
  std::string error;
  auto sim = simulator::TSimulator::Create(options, error);
  if (!sim || !sim->StartOnPty()) {
    state.SkipWithError("no simulator");
    return;
  }
  bench::CheckedPort port(0x5000);
  if (!port.Open(sim->SlavePath())) {
    state.SkipWithError("cannot open the pseudo-terminal");
    return;
  }
  for (auto _ : state) {
    port.Send(kRequest);
    if (!port.WaitAccepted(std::chrono::seconds(2))) {
      state.SkipWithError("no answer");
      break;
    }
  }
}
BENCHMARK(BM_RoundTripThroughSimulator)
    ->Arg(0)
    ->Arg(115200)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();

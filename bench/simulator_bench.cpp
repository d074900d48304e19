// What the simulator costs: serving one request in-process, and a full round trip from the
// workbench's port through the simulator's pseudo-terminal, unpaced and paced at 115200 baud
// (where the line time of the 17 + 19 characters is 3.125 ms).
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <string_view>

#include "link/modbus_exchange.h"
#include "link/posix_serial_port.h"
#include "simulator/controller.h"
#include "simulator/modbus_slave.h"
#include "simulator/simulator.h"

namespace {

using namespace quarn;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

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
  link::TPosixSerialPort port;
  link::TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  exchange.Record().CurrentRegister = 0x5000;
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
  if (!port.Open(sim->SlavePath()).Opened) {
    state.SkipWithError("cannot open the pseudo-terminal");
    return;
  }
  for (auto _ : state) {
    {
      std::lock_guard lock(mutex);
      accepted = false;
      exchange.PrepareExpectation(Bytes(kRequest));
    }
    port.Write(Bytes(kRequest));
    std::unique_lock lock(mutex);
    if (!accepted_cv.wait_for(lock, std::chrono::seconds(2), [&] { return accepted; })) {
      state.SkipWithError("no answer");
      break;
    }
  }
  port.Close();
}
BENCHMARK(BM_RoundTripThroughSimulator)
    ->Arg(0)
    ->Arg(115200)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();

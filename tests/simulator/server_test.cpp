// The simulator served on a real pseudo-terminal and on the in-memory port pair.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/device_models.h"
#include "link/memory_port.h"
#include "link/modbus_exchange.h"
#include "link/posix_serial_port.h"
#include "link/pseudo_terminal.h"
#include "simulator/simulator.h"
#include "tests/link/chunk_collector.h"
#include "tests/simulator/request_pdus.h"

namespace quarn::simulator {
namespace {

using namespace std::chrono_literals;
using link::testing::ChunkCollector;
using testing::TextBytes;
using testing::Frame;
using testing::Request;
using Clock = std::chrono::steady_clock;

std::unique_ptr<TSimulator> MakeSimulator(const TSimulatorOptions& options = {}) {
  std::string error;
  auto simulator = TSimulator::Create(options, error);
  EXPECT_NE(simulator, nullptr) << error;
  return simulator;
}

// One request through a port and the workbench's answer check: the value read, or nullopt
// when no answer was accepted within the time.
std::optional<std::int32_t> Exchange(link::TSerialPort& port, ChunkCollector& collector,
                                     const testing::Pdu& request,
                                     std::chrono::milliseconds limit = 2s) {
  link::TModbusExchange exchange;
  exchange.Record().DeviceId = request[0];
  exchange.Record().CurrentRegister = static_cast<std::uint16_t>((request[2] << 8) | request[3]);
  const std::string frame = Frame(request);
  if (!exchange.PrepareExpectation(TextBytes(frame))) return std::nullopt;
  const std::size_t before = collector.Bytes().size();
  if (!port.Write(TextBytes(frame))) return std::nullopt;
  const auto deadline = Clock::now() + limit;
  std::size_t seen = before;
  while (Clock::now() < deadline) {
    const link::TBytesArray bytes = collector.Bytes();
    if (bytes.size() > seen) {
      const link::TCheckOutcome outcome =
          exchange.CheckResponse(std::span<const std::uint8_t>(bytes).subspan(seen));
      seen = bytes.size();
      if (outcome.AnswerAccepted) return exchange.Record().LastValue;
      if (outcome.Status == link::TAnswerStatus::Rejected) return std::nullopt;
    }
    collector.WaitForBytes(seen + 1, 10ms);
  }
  return std::nullopt;
}

class PtyServerTest : public ::testing::Test {
 protected:
  void Open(TSimulatorOptions options = {}) {
    simulator = MakeSimulator(options);
    ASSERT_NE(simulator, nullptr);
    ASSERT_TRUE(simulator->StartOnPty()) << simulator->Error();
    Connect();
  }
  void Connect() {
    collector = std::make_unique<ChunkCollector>(port, true);
    const link::TPortOpenResult opened = port.Open(simulator->SlavePath());
    ASSERT_TRUE(opened.Opened) << opened.Message;
  }

  std::unique_ptr<TSimulator> simulator;
  link::TPosixSerialPort port;
  std::unique_ptr<ChunkCollector> collector;
};

TEST_F(PtyServerTest, WorkbenchPortGetsCheckedAnswers) {
  Open();
  EXPECT_EQ(Exchange(port, *collector, Request(1, 4, 0x8001, 2)), link::ModelKey(3, 0));
  EXPECT_EQ(Exchange(port, *collector, Request(1, 6, 0x5004, 300)), std::optional<std::int32_t>(0));
  EXPECT_EQ(Exchange(port, *collector, Request(1, 3, 0x5004, 1)), 300);
  simulator->WithController([](TController& c) { c.SetRunning(true); });
  EXPECT_EQ(Exchange(port, *collector, Request(1, 2, 0xF001, 1)), 1);
  // Another device id and a wrong LRC get no answer; the next good frame does.
  EXPECT_EQ(Exchange(port, *collector, Request(2, 3, 0x5004, 1), 200ms), std::nullopt);
  ASSERT_TRUE(port.Write(TextBytes(":010350040001A8\r\n")));
  EXPECT_EQ(Exchange(port, *collector, Request(1, 3, 0x5004, 1)), 300);
  const TServerStats stats = simulator->Stats();
  EXPECT_EQ(stats.BadLrc, 1U);
  EXPECT_EQ(stats.Frames, 6U);
  EXPECT_EQ(stats.Answers, 5U);
}

TEST_F(PtyServerTest, SurvivesTheClientClosingAndReopening) {
  Open();
  EXPECT_EQ(Exchange(port, *collector, Request(1, 3, 0x5004, 1)), 100);
  for (int round = 0; round < 3; ++round) {
    port.Close();
    std::this_thread::sleep_for(20ms);
    Connect();
    EXPECT_EQ(Exchange(port, *collector, Request(1, 3, 0x5004, 1)), 100) << round;
  }
}

TEST_F(PtyServerTest, GarbageIsIgnoredAndTheNextFrameAnswered) {
  Open();
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 256));
  garbage += ":" + std::string(5000, '1');  // an overlong frame at the end
  ASSERT_TRUE(port.Write(TextBytes(garbage)));
  EXPECT_EQ(Exchange(port, *collector, Request(1, 3, 0x5004, 1), 5s), 100);
}

TEST_F(PtyServerTest, PacedCharactersTakeTheirLineTime) {
  TSimulatorOptions options;
  options.Server.PaceBaud = 9600;  // about 1.04 ms a character
  Open(options);
  const testing::Pdu request = Request(1, 3, 0x5004, 1);  // 17 characters out, 15 back
  const auto start = Clock::now();
  EXPECT_EQ(Exchange(port, *collector, request), 100);
  const auto elapsed = Clock::now() - start;
  const auto lineTime = std::chrono::microseconds((17 + 15) * 10 * 1'000'000 / 9600);
  EXPECT_GE(elapsed, lineTime);
  EXPECT_LT(elapsed, lineTime + 60ms);
}

TEST_F(PtyServerTest, StopIsPromptWhileAnAnswerIsHeldBack) {
  TSimulatorOptions options;
  options.Server.Faults.DelayTime = 10s;
  Open(options);
  ASSERT_TRUE(port.Write(TextBytes(Frame(Request(1, 3, 0x5004, 1)))));
  std::this_thread::sleep_for(50ms);
  const auto start = Clock::now();
  simulator->Stop();
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_FALSE(simulator->Running());
}

// A serial device is opened with the link's own port; a pseudo-terminal's slave stands in for
// the device, and the test writes to its master as the workbench's line would.
TEST(DeviceServer, ServesADeviceOpenedWithTheLinkPort) {
  link::TPseudoTerminal line;
  ASSERT_TRUE(line.Open());
  auto simulator = MakeSimulator();
  ASSERT_TRUE(simulator->StartOnDevice(line.SlavePath())) << simulator->Error();
  ASSERT_TRUE(line.Write(TextBytes(Frame(Request(1, 3, 0x5004, 1))), 1s));
  const link::TBytesArray answer = line.Read(15, 2s);
  EXPECT_EQ(std::string(answer.begin(), answer.end()), ":010302006496\r\n");
  simulator->Stop();
  // A device that cannot be opened says so.
  EXPECT_FALSE(simulator->StartOnDevice("/nonexistent/ttyX"));
  EXPECT_NE(simulator->Error().find("/nonexistent/ttyX"), std::string::npos) << simulator->Error();
}

// The shares of dropped, corrupted and split answers follow the rates, and the same seed gives
// the same answers on the wire.
TEST(MemoryPortServer, FaultInjectionIsSeededAndFollowsTheRates) {
  TSimulatorOptions options;
  options.Server.Faults.Drop = 0.2;
  options.Server.Faults.Corrupt = 0.3;
  options.Server.Faults.Split = 0.4;
  options.Server.Faults.Seed = 42;
  constexpr int kRequests = 400;
  auto run = [&options] {
    auto [client, server] = link::TMemoryPort::CreatePair();
    auto simulator = MakeSimulator(options);
    EXPECT_TRUE(simulator->StartOnPort(*server)) << simulator->Error();
    ChunkCollector collector(*client, true);
    EXPECT_TRUE(client->Open("workbench").Opened);
    std::string burst;
    for (int i = 0; i < kRequests; ++i) burst += Frame(Request(1, 3, 0x5004, 1));
    EXPECT_TRUE(client->Write(TextBytes(burst)));
    // Wait until every answer that will come has come.
    std::size_t last = 0;
    do {
      last = collector.Bytes().size();
      collector.WaitForBytes(last + 1, 300ms);
    } while (collector.Bytes().size() != last);
    const TServerStats stats = simulator->Stats();
    simulator->Stop();
    client->Close();
    const link::TBytesArray bytes = collector.Bytes();
    return std::pair{stats, std::string(bytes.begin(), bytes.end())};
  };
  const auto [stats, wire] = run();
  EXPECT_EQ(stats.Answers, static_cast<std::uint64_t>(kRequests));
  // A dropped answer cannot also be spoilt or split: those shares are of the answers sent.
  const auto sent = static_cast<double>(kRequests - stats.Dropped);
  EXPECT_NEAR(static_cast<double>(stats.Dropped) / kRequests, 0.2, 0.07);
  EXPECT_NEAR(static_cast<double>(stats.Corrupted) / sent, 0.3, 0.07);
  EXPECT_NEAR(static_cast<double>(stats.Split) / sent, 0.4, 0.07);
  // On the wire: one line per answer not dropped, a wrong LRC on the corrupted ones.
  const std::string good = ":010302006496\r\n";
  std::size_t lines = 0, goodLines = 0;
  for (std::size_t at = 0; (at = wire.find(':', at)) != std::string::npos; ++at) {
    ++lines;
    goodLines += wire.compare(at, good.size(), good) == 0 ? 1U : 0U;
  }
  EXPECT_EQ(lines, kRequests - stats.Dropped);
  EXPECT_EQ(goodLines, kRequests - stats.Dropped - stats.Corrupted);
  EXPECT_EQ(run().second, wire);
}

TEST(MemoryPortServer, ServesTheSamePortAgainAfterAStop) {
  auto [client, server] = link::TMemoryPort::CreatePair();
  auto simulator = MakeSimulator();
  ChunkCollector collector(*client, true);
  ASSERT_TRUE(client->Open("workbench").Opened);
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(simulator->StartOnPort(*server)) << simulator->Error();
    EXPECT_EQ(Exchange(*client, collector, Request(1, 3, 0x5004, 1)), 100) << round;
    simulator->Stop();
    EXPECT_FALSE(server->IsOpen());
  }
}

TEST(MemoryPortServer, EveryAnswerIsDelayedWhenOnlyADelayIsGiven) {
  TSimulatorOptions options;
  options.Server.Faults.DelayTime = 80ms;
  auto [client, server] = link::TMemoryPort::CreatePair();
  auto simulator = MakeSimulator(options);
  ASSERT_TRUE(simulator->StartOnPort(*server));
  ChunkCollector collector(*client, true);
  ASSERT_TRUE(client->Open("workbench").Opened);
  for (int i = 0; i < 2; ++i) {
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(*client, collector, Request(1, 3, 0x5004, 1)), 100);
    EXPECT_GE(Clock::now() - start, 80ms);
  }
  EXPECT_EQ(simulator->Stats().Delayed, 2U);
  simulator->Stop();
}

}  // namespace
}  // namespace quarn::simulator

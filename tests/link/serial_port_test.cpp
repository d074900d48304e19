// The termios port on a real pseudo-terminal, and the in-memory port pair.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "link/memory_port.h"
#include "link/modbus_exchange.h"
#include "link/modbus_framing.h"
#include "link/port_texts.h"
#include "link/posix_serial_port.h"
#include "link/pseudo_terminal.h"
#include "tests/link/chunk_collector.h"

namespace quarn::link {
namespace {

using namespace std::chrono_literals;
using testing::ChunkCollector;
using Clock = std::chrono::steady_clock;

TBytesArray Pattern(std::size_t count) {
  TBytesArray bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

// Runs `action` and tells whether it returned within `limit`.
template <typename Action>
bool ReturnsWithin(std::chrono::milliseconds limit, Action action) {
  const auto start = Clock::now();
  action();
  return Clock::now() - start < limit;
}

// Waits until the port reports `count` received bytes waiting (permission withheld).
bool WaitForQueued(TSerialPort& port, std::size_t count) {
  const auto deadline = Clock::now() + 5s;
  while (port.LineErrors().QueuedBytes < count) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class PtyPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.Open()) << pty.LastError();
    collector = std::make_unique<ChunkCollector>(port, grant_each);
  }
  void OpenPort() {
    const TPortOpenResult result = port.Open(pty.SlavePath());
    ASSERT_TRUE(result.Opened) << result.Message;
  }

  bool grant_each = true;
  TPseudoTerminal pty;
  TPosixSerialPort port;
  std::unique_ptr<ChunkCollector> collector;
};

TEST_F(PtyPortTest, FramesPassBothWaysUnchanged) {
  OpenPort();
  EXPECT_EQ(port.Path(), pty.SlavePath());
  EXPECT_EQ(port.LineSettings(), TLineSettings{});
  const std::string_view frame = ":010350000002AA\r\n";
  ASSERT_TRUE(port.Write(TextBytes(frame)));
  const TBytesArray sent = pty.Read(frame.size(), 2s);
  EXPECT_EQ(std::string(sent.begin(), sent.end()), frame);

  // Raw mode: CR, LF, NUL, bytes above 127 and the control characters a terminal would
  // otherwise act on (^C, ^D, ^Q, ^S, DEL) arrive as sent.
  const std::string answer = std::string(":0103\r\n\0\xFF\x80\x03\x04\x11\x13\x7F\r", 17);
  ASSERT_TRUE(pty.Write(TextBytes(answer), 1s));
  ASSERT_TRUE(collector->WaitForBytes(answer.size()));
  const TBytesArray got = collector->Bytes();
  EXPECT_EQ(std::string(got.begin(), got.end()), answer);
  EXPECT_TRUE(pty.Read(1, 50ms).empty());  // nothing echoed back

  EXPECT_EQ(port.ModemStatus(), 0U);  // a pseudo-terminal has no modem lines
  EXPECT_EQ(port.LineErrors().Errors, 0U);
}

// The bottom of the link end to end: a request framed and written by our port, the controller's
// answer written on the master side in pieces, the chunks fed to the answer check in order.
TEST_F(PtyPortTest, RequestAndAnswerTravelTheLine) {
  OpenPort();
  TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  exchange.Record().CurrentRegister = 0x5000;
  TRWmbrReg request;
  request.Function = 3;
  request.Address = 0x5000;
  request.Count = 2;
  const TStrToPort frame = FrameAscii(exchange.BuildRequestPdu(request, 1));
  ASSERT_TRUE(exchange.PrepareExpectation(frame));
  ASSERT_TRUE(port.Write(frame));
  EXPECT_EQ(pty.Read(frame.size(), 2s), frame);

  const std::string answer = ":01030400100001E7\r\n";
  for (std::string_view piece :
       {std::string_view(answer).substr(0, 6), std::string_view(answer).substr(6, 10),
        std::string_view(answer).substr(16)}) {
    ASSERT_TRUE(pty.Write(TextBytes(piece), 1s));
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_TRUE(collector->WaitForBytes(answer.size()));
  TCheckOutcome outcome;
  for (const TBytesArray& chunk : collector->Chunks()) outcome = exchange.CheckResponse(chunk);
  EXPECT_TRUE(outcome.AnswerAccepted);
  EXPECT_TRUE(outcome.ValueReady);
  EXPECT_EQ(exchange.Record().LastValue, 65552);
}

class PtyHeldPermissionTest : public PtyPortTest {
 protected:
  PtyHeldPermissionTest() { grant_each = false; }
};

TEST_F(PtyHeldPermissionTest, BurstArrivesAsFullChunkThenRestAfterPermission) {
  OpenPort();
  // The first byte uses the permission given at open; the burst then waits in the device.
  ASSERT_TRUE(pty.Write(TextBytes("x"), 1s));
  ASSERT_TRUE(collector->WaitForChunks(1));
  const TBytesArray burst = Pattern(1500);
  ASSERT_TRUE(pty.Write(burst, 1s));
  ASSERT_TRUE(WaitForQueued(port, 1500));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(collector->Chunks().size(), 1U);

  port.GrantReadPermission();
  ASSERT_TRUE(collector->WaitForChunks(2));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(collector->Chunks().size(), 2U);  // the rest waits for the next permission
  port.GrantReadPermission();
  ASSERT_TRUE(collector->WaitForChunks(3));

  const auto chunks = collector->Chunks();
  EXPECT_EQ(chunks[1].size(), kInBufSize);
  EXPECT_EQ(chunks[2].size(), 500U);
  TBytesArray joined = chunks[1];
  joined.insert(joined.end(), chunks[2].begin(), chunks[2].end());
  EXPECT_EQ(joined, burst);
}

TEST_F(PtyHeldPermissionTest, CloseReturnsPromptlyWhateverIsPending) {
  OpenPort();
  ASSERT_TRUE(pty.Write(TextBytes("first"), 1s));
  ASSERT_TRUE(collector->WaitForChunks(1));
  ASSERT_TRUE(pty.Write(Pattern(300), 1s));  // waiting for permission that never comes
  ASSERT_TRUE(WaitForQueued(port, 300));
  EXPECT_TRUE(ReturnsWithin(500ms, [&] { port.Close(); }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.Write(TextBytes("x")));

  // A write stalled because nobody drains the line is cut short by Close as well.
  OpenPort();
  auto writer = std::async(std::launch::async, [&] { return port.Write(Pattern(1 << 20)); });
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(ReturnsWithin(500ms, [&] { port.Close(); }));
  EXPECT_EQ(writer.wait_for(500ms), std::future_status::ready);
  EXPECT_FALSE(writer.get());
}

TEST_F(PtyPortTest, ConnectDisconnectConnectOnTheSamePseudoTerminal) {
  for (int round = 0; round < 3; ++round) {
    OpenPort();
    const std::string text = "round " + std::to_string(round) + "\r\n";
    ASSERT_TRUE(port.Write(TextBytes(text)));
    const TBytesArray sent = pty.Read(text.size(), 2s);
    EXPECT_EQ(std::string(sent.begin(), sent.end()), text) << round;
    const std::size_t before = collector->Bytes().size();
    ASSERT_TRUE(pty.Write(TextBytes(text), 1s));
    ASSERT_TRUE(collector->WaitForBytes(before + text.size())) << round;
    port.Close();
  }
  // A new port object on the same device, as after restarting the connection.
  TPosixSerialPort again;
  ChunkCollector collected(again, true);
  ASSERT_TRUE(again.Open(pty.SlavePath()).Opened);
  ASSERT_TRUE(pty.Write(TextBytes("again"), 1s));
  EXPECT_TRUE(collected.WaitForBytes(5));
}

TEST_F(PtyPortTest, FarEndGoingAwayIsReportedAsHangUp) {
  OpenPort();
  pty.Close();
  const auto deadline = Clock::now() + 5s;
  while ((port.LineErrors().Errors & kLineHangUp) == 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_NE(port.LineErrors().Errors & kLineHangUp, 0U);
  EXPECT_FALSE(port.Write(TextBytes("x")));
  EXPECT_TRUE(ReturnsWithin(500ms, [&] { port.Close(); }));
}

TEST(PosixSerialPort, OpenFailureNamesThePathAndTheReason) {
  const std::string file = ::testing::TempDir() + "quarn_not_a_port";
  std::ofstream(file) << "x";
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {"/dev/quarn-no-such-port", "No such file or directory"},
      {file, std::string(texts::kNotASerialPort)},
  };
  TPosixSerialPort port;
  for (const auto& c : cases) {
    const TPortOpenResult result = port.Open(c.path);
    EXPECT_FALSE(result.Opened);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(result.Message, "Cannot open port " + c.path + ": " + c.reason);
  }
  // Permission is what users meet on a fresh machine; the text tells them the way out.
  const std::string denied = PortOpenFailureText("/dev/ttyUSB0", EACCES);
  EXPECT_EQ(denied.rfind("Cannot open port /dev/ttyUSB0: Permission denied", 0), 0U) << denied;
  EXPECT_NE(denied.find("sudo usermod -aG dialout $USER"), std::string::npos);
}

TEST(MemoryPort, EndsCarryBytesBothWaysInBoundedChunks) {
  auto [a, b] = TMemoryPort::CreatePair();
  ASSERT_TRUE(a && b);
  ChunkCollector at_a(*a, true);
  ChunkCollector at_b(*b, true);
  ASSERT_TRUE(a->Open("memory-a").Opened);
  ASSERT_TRUE(b->Open("memory-b").Opened);
  const TBytesArray big = Pattern(2500);
  ASSERT_TRUE(a->Write(big));
  ASSERT_TRUE(b->Write(TextBytes("answer\r\n")));
  ASSERT_TRUE(at_b.WaitForBytes(big.size()));
  ASSERT_TRUE(at_a.WaitForBytes(8));
  EXPECT_EQ(at_b.Bytes(), big);
  for (const auto& chunk : at_b.Chunks()) EXPECT_LE(chunk.size(), kInBufSize);
  EXPECT_GE(at_b.Chunks().size(), 3U);
  EXPECT_EQ(a->ModemStatus(), 0U);
}

TEST(MemoryPort, ReopenDropsWhatArrivedWhileClosedAndDeadPeerFailsWrites) {
  auto [a, b] = TMemoryPort::CreatePair();
  ChunkCollector at_b(*b, true);
  ASSERT_TRUE(a->Open("a").Opened);
  ASSERT_TRUE(a->Write(TextBytes("stale")));
  ASSERT_TRUE(b->Open("b").Opened);
  ASSERT_TRUE(a->Write(TextBytes("fresh")));
  ASSERT_TRUE(at_b.WaitForBytes(5));
  EXPECT_EQ(at_b.Bytes(), TBytesArray({'f', 'r', 'e', 's', 'h'}));

  b.reset();  // the other end is gone: no SIGPIPE, the write just fails
  EXPECT_FALSE(a->Write(TextBytes("lost")));
  EXPECT_TRUE(ReturnsWithin(500ms, [&] { a->Close(); }));
}

TEST(MemoryPort, ReadCallbackMayCloseOrDestroyThePort) {
  auto ends = TMemoryPort::CreatePair();
  auto& a = ends.first;  // named references: the callbacks below capture them
  auto& b = ends.second;
  std::promise<void> closed;
  a->SetOnRead([&](std::span<const std::uint8_t>, std::uint32_t) {
    a->Close();
    closed.set_value();
  });
  ASSERT_TRUE(a->Open("a").Opened);
  ASSERT_TRUE(b->Open("b").Opened);
  ASSERT_TRUE(b->Write(TextBytes("bye")));
  ASSERT_EQ(closed.get_future().wait_for(5s), std::future_status::ready);
  EXPECT_FALSE(a->IsOpen());

  ChunkCollector at_a(*a, true);  // and it can be opened again afterwards
  ASSERT_TRUE(a->Open("a").Opened);
  ASSERT_TRUE(b->Write(TextBytes("again")));
  EXPECT_TRUE(at_a.WaitForBytes(5));

  std::promise<void> destroyed;
  a->SetOnRead([&](std::span<const std::uint8_t>, std::uint32_t) {
    a.reset();
    destroyed.set_value();
  });
  a->Close();
  ASSERT_TRUE(a->Open("a").Opened);
  ASSERT_TRUE(b->Write(TextBytes("gone")));
  ASSERT_EQ(destroyed.get_future().wait_for(5s), std::future_status::ready);
  EXPECT_EQ(a, nullptr);
  std::this_thread::sleep_for(20ms);  // the receive thread ends on its own
}

}  // namespace
}  // namespace quarn::link

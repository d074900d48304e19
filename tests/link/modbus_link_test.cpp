// The request worker's rules against a scripted slave on the in-memory port pair: lists, their
// results, attempts, priorities, refusals, repeats and late answers.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/link_texts.h"
#include "link/request_lists.h"
#include "tests/link/link_fixture.h"

namespace quarn::link {
namespace {

using namespace testing;

const std::string kError = "log2";

using ModbusLinkTest = LinkFixture;

TEST_F(ModbusLinkTest, CommandListRunsInOrderAndSucceeds) {
  slave_->Locked([](RegisterBank& bank) { bank.Holding[0x5000] = 0x1234; });
  const TRegistersArray list = {WriteOf(0x5004, 300), ReadOf(3, 0x5000), WriteOf(0x5005, 7, 2)};
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "list", list));
  ASSERT_TRUE(WaitEnded(1));

  EXPECT_EQ(Addresses(), (std::vector<std::uint16_t>{0x5004, 0x5000, 0x5005}));
  EXPECT_EQ(events_.Of("result"), (std::vector<std::string>{"Data transfer result:  successful"}));
  EXPECT_EQ(events_.last_progress.Text, "Commands transferred: 3");
  EXPECT_EQ(events_.last_progress.Total, 3);
  EXPECT_TRUE(events_.Of(kError).empty());
  // Every frame on the wire is in the transfer log as a sent line, in order.
  EXPECT_EQ(events_.Of("log0"), slave_->Requests());
  const auto answers = sink_.Answers();
  ASSERT_EQ(answers.size(), 3U);
  EXPECT_EQ(answers[1].Function, 3);
  EXPECT_EQ(answers[1].Address, 0x5000);
  EXPECT_EQ(answers[1].Value, 0x1234);
  EXPECT_EQ(owner_.calls, (std::vector<std::string>{"stop timer", "restart timer"}));
  EXPECT_FALSE(modbus_->CommandBusy());
}

TEST_F(ModbusLinkTest, HowAListEnds) {
  struct Case {
    const char* name;
    TRegistersArray list;
    std::vector<std::string> results;
    std::vector<std::string> errors;
  };
  TRWmbrReg skipped;  // function 0: an empty slot
  const Case cases[] = {
      {"empty list", {}, {"Data transfer result: failed "}, {}},
      {"function 0 only", {skipped}, {"Data transfer result:  successful"}, {}},
      {"value mismatch without repeat",
       {WriteOf(0x5004, 1), Expecting(ReadOf(2, 0xF001), 0, false)},
       {},
       {"Data transfer not finished, line: 1"}},
      {"read answer without data",
       {ReadOf(3, 0x5000, 0)},
       {},
       {"No response to command sequence 2, line: 0"}},
  };
  slave_->Locked([](RegisterBank& bank) { bank.Inputs[0xF001] = true; });
  std::size_t ended = 0;
  for (const Case& c : cases) {
    events_.lines.clear();
    ASSERT_TRUE(modbus_->SendRequests(true, 1, c.name, c.list)) << c.name;
    ASSERT_TRUE(WaitEnded(++ended)) << c.name;
    EXPECT_EQ(events_.Of("result"), c.results) << c.name;
    EXPECT_EQ(events_.Of(kError), c.errors) << c.name;
    EXPECT_FALSE(modbus_->CommandBusy()) << c.name;
  }
}

TEST_F(ModbusLinkTest, RepeatUntilEqualAsksAgainUntilTheValueMatches) {
  std::atomic<int> busy_reads{3};
  slave_->SetScript([&](const TReqResArray& request) -> std::vector<Reply> {
    RegisterBank bank;
    bank.Inputs[0xF000] = busy_reads-- > 0;  // busy for the first three reads
    return {Reply{Frame(*bank.Serve(request))}};
  });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "rom", {Expecting(ReadOf(2, 0xF000), 0, true)}));
  ASSERT_TRUE(WaitEnded(1));
  EXPECT_EQ(slave_->RequestCount(), 4U);
  EXPECT_TRUE(events_.Has("result", "Data transfer result:  successful"));
}

TEST_F(ModbusLinkTest, AnUnansweredFrameGoesThreeTimesThenTheLinkFails) {
  slave_->SetScript([](const TReqResArray&) { return std::vector<Reply>{}; });
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "silent", {ReadOf(3, 0x5000), ReadOf(3, 0x5002)}));
  ASSERT_TRUE(WaitEnded(1));
  const auto took = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(slave_->RequestCount(), 3U);  // the second request never goes out
  EXPECT_EQ(events_.Count(kError, "No answer!"), 3);
  EXPECT_TRUE(events_.Has(kError, "No response to command sequence 1, line: 0"));
  EXPECT_TRUE(events_.Has("status", "Attempt 3=> "));
  EXPECT_TRUE(events_.Has("status", "Communication failed. Port disconnected"));
  RunUi(20ms);
  EXPECT_EQ(owner_.calls.back(), "restart timer");
  EXPECT_NE(std::find(owner_.calls.begin(), owner_.calls.end(),
                      "failed Communication failed. Port disconnected"),
            owner_.calls.end());
  // Three answer waits: bounded, and no fixed sleep beyond them.
  EXPECT_GE(took, 3 * DeriveTimes(timings_).SenderAnswerWait);
  EXPECT_LT(took, 1s);
}

TEST_F(ModbusLinkTest, AfterTheLinkFailedAFurtherTryFindsNoConnection) {
  timings_.ReadAttempts = 2;
  modbus_->SetTimings(timings_);
  slave_->SetScript([](const TReqResArray&) { return std::vector<Reply>{}; });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "silent", {ReadOf(3, 0x5000)}));
  ASSERT_TRUE(WaitEnded(1));
  EXPECT_EQ(slave_->RequestCount(), 3U);
  EXPECT_EQ(events_.Of(kError).back(), "Error sending commands sequence, line: 0");
  EXPECT_TRUE(events_.Has("message", "No connection"));
}

TEST_F(ModbusLinkTest, RejectedAnswerIsRetriedAndTheRetryTaken) {
  std::atomic<int> seen{0};
  slave_->SetScript([&](const TReqResArray& request) -> std::vector<Reply> {
    RegisterBank bank;
    bank.Holding[0x5000] = 42;
    std::string answer = Frame(*bank.Serve(request));
    if (seen++ == 0) answer[answer.size() - 3] ^= 1;  // a damaged LRC the first time
    return {Reply{answer}};
  });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "retry", {ReadOf(3, 0x5000)}));
  ASSERT_TRUE(WaitEnded(1));
  EXPECT_EQ(slave_->RequestCount(), 2U);
  EXPECT_TRUE(events_.Has("result", "Data transfer result:  successful"));
  ASSERT_EQ(sink_.Answers().size(), 1U);
  EXPECT_EQ(sink_.Answers()[0].Value, 42);
}

// Reads carry no address: an answer that comes after its frame's wait ran out must not be taken
// for the next read of the same shape.
TEST_F(ModbusLinkTest, ALateAnswerIsNotTakenForTheNextRead) {
  std::atomic<int> first_reads{0};
  slave_->SetScript([&](const TReqResArray& request) -> std::vector<Reply> {
    RegisterBank bank;
    bank.Holding[0x5000] = 111;
    bank.Holding[0x5002] = 222;
    const std::string answer = Frame(*bank.Serve(request));
    if (request[3] == 0x00) {
      // The first read of 0x5000 is answered after its wait, the second at once.
      return {Reply{answer, first_reads++ == 0 ? 45ms : 0ms}};
    }
    return {Reply{answer, 20ms}};
  });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "late", {ReadOf(3, 0x5000), ReadOf(3, 0x5002)}));
  ASSERT_TRUE(WaitEnded(1));
  const auto answers = sink_.Answers();
  ASSERT_EQ(answers.size(), 2U);
  EXPECT_EQ(answers[0].Value, 111);
  EXPECT_EQ(answers[1].Value, 222);
  EXPECT_TRUE(events_.Has("result", "Data transfer result:  successful"));
}

// A state poll whose answer is slow, so that other lists meet it running.
class PriorityTest : public LinkFixture {
 protected:
  void SetUp() override {
    // Answer waits long enough that the slow poll is answered well within them, however
    // loaded the machine: 210 ms a frame, TotalTimeout 210 + 220 x 2 + 10 = 660 ms.
    timings_.AnswerHandling = 200ms;
    LinkFixture::SetUp();
    slave_->SetScript([](const TReqResArray& request) -> std::vector<Reply> {
      RegisterBank bank;
      const bool poll = request[2] == 0x10;  // the polled outputs at 0x1000
      return {Reply{Frame(*bank.Serve(request)), poll ? 100ms : 0ms}};
    });
  }
  TRegistersArray Poll() { return {ReadOf(2, 0x1000, 8), ReadOf(2, 0x1000, 8)}; }
};

TEST_F(PriorityTest, ACommandPushesARunningPollAside) {
  ASSERT_TRUE(modbus_->SendRequests(false, 1, "poll", Poll()));
  ASSERT_TRUE(slave_->WaitForRequests(1));
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "command", {WriteOf(0x5004, 1)}));
  ASSERT_TRUE(WaitEnded(2));
  // The poll ended after its first frame, without reaching its end; the command followed.
  EXPECT_EQ(Addresses(), (std::vector<std::uint16_t>{0x1000, 0x5004}));
  ASSERT_EQ(events_.outcomes.size(), 2U);
  EXPECT_EQ(events_.outcomes[0].Label, "poll");
  EXPECT_FALSE(events_.outcomes[0].ReachedEnd);
  EXPECT_EQ(events_.outcomes[1].Label, "command");
  EXPECT_TRUE(events_.outcomes[1].ReachedEnd);
  EXPECT_TRUE(events_.Has("result", "Data transfer result:  successful"));
  // The state poll's frames are logged as such.
  EXPECT_EQ(events_.Of("log0")[0].rfind("Get state - :", 0), 0U);
}

TEST_F(PriorityTest, RefusalsWhileListsRun) {
  ASSERT_TRUE(modbus_->SendRequests(false, 1, "poll", Poll()));
  ASSERT_TRUE(slave_->WaitForRequests(1));
  EXPECT_FALSE(modbus_->SendRequests(false, 1, "second poll", Poll()));
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "first command", {WriteOf(0x5004, 1)}));
  EXPECT_FALSE(modbus_->SendRequests(true, 1, "second command", {WriteOf(0x5005, 1)}));
  ASSERT_TRUE(WaitEnded(2));
  EXPECT_EQ(events_.Of(kError), (std::vector<std::string>{
                                    "Can not read status. The read/write thread is not ready.",
                                    "Command was not sent. The read/write thread is not ready."}));
  EXPECT_EQ(Addresses(), (std::vector<std::uint16_t>{0x1000, 0x5004}));
}

TEST_F(PriorityTest, ACommandPushedAsideRunsToItsEndAndTheNextWaitsAtMostItsBound) {
  // The first command repeats a read until the ROM is ready, for longer than the second
  // command is prepared to wait (TotalTimeout x 1 request = 660 ms).
  std::atomic<bool> ready{false};
  slave_->SetScript([&](const TReqResArray& request) -> std::vector<Reply> {
    RegisterBank bank;
    bank.Inputs[0xF000] = !ready;
    return {Reply{Frame(*bank.Serve(request))}};
  });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "busy", {Expecting(ReadOf(2, 0xF000), 0, true)}));
  ASSERT_TRUE(slave_->WaitForRequests(1));
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "waiting", {WriteOf(0x5004, 1)}));
  RunUi(900ms);
  ready = true;
  ASSERT_TRUE(WaitEnded(2));
  ASSERT_EQ(events_.outcomes.size(), 2U);
  EXPECT_EQ(events_.outcomes[0].Label, "waiting");
  EXPECT_FALSE(events_.outcomes[0].ReachedEnd);
  EXPECT_EQ(events_.outcomes[1].Label, "busy");
  EXPECT_TRUE(events_.outcomes[1].ReachedEnd);
  EXPECT_TRUE(events_.Has(kError, "Command was not sent. The read/write thread is not ready."));
  for (std::uint16_t address : Addresses()) EXPECT_EQ(address, 0xF000);
  // Nothing waits any more once the first command ends: the link goes back to the state poll.
  RunUi(20ms);
  EXPECT_FALSE(modbus_->CommandBusy());
  EXPECT_EQ(owner_.calls.back(), "restart timer");
}

TEST_F(PriorityTest, ACommandWithinItsBoundRunsAfterThePushedAsideCommand) {
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "first", {ReadOf(2, 0x1000, 8), WriteOf(0x5004, 1)}));
  ASSERT_TRUE(slave_->WaitForRequests(1));
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "second", {WriteOf(0x5005, 2)}));
  ASSERT_TRUE(WaitEnded(2));
  EXPECT_EQ(Addresses(), (std::vector<std::uint16_t>{0x1000, 0x5004, 0x5005}));
  EXPECT_EQ(events_.Count("result", "Data transfer result:  successful"), 2);
}

TEST_F(ModbusLinkTest, IdentificationRunsItsThreeListsAndRefusesOtherCommands) {
  ASSERT_TRUE(SelectModel(ModelList()[2]));
  slave_->Locked([](RegisterBank& bank) {
    bank.InputRegisters[0x8001] = 3;  // KLEM-B
    bank.InputRegisters[0x8002] = 1;
  });
  slave_->Hold();  // the chain must still run when the command comes
  ASSERT_TRUE(modbus_->GetVersionInfo(1));
  EXPECT_TRUE(modbus_->Identifying());
  EXPECT_FALSE(modbus_->SendRequests(true, 1, "upload", {WriteOf(0x5004, 1)}));
  slave_->Release();
  ASSERT_TRUE(WaitEnded(3));
  RunUi(20ms);
  EXPECT_FALSE(modbus_->Identifying());
  ASSERT_EQ(events_.outcomes.size(), 3U);
  EXPECT_EQ(events_.outcomes[0].Label, "GetVersionInfo");
  EXPECT_EQ(events_.outcomes[1].Label, "GetMapsInfo");
  EXPECT_EQ(events_.outcomes[2].Label, "GetInitialInformation");
  const std::vector<std::uint16_t> addresses = Addresses();
  ASSERT_GE(addresses.size(), 6U);
  EXPECT_EQ(std::vector<std::uint16_t>(addresses.begin(), addresses.begin() + 6),
            (std::vector<std::uint16_t>{0x8005, 0x8003, 0x8001, 0x8009, 0x800A, 0x8007}));
  EXPECT_EQ(addresses.size(), 6 + CurrentDescription().ParameterReads.size());
  EXPECT_EQ(owner_.calls.back(), "identified");
}

// Holds the link worker in the first answer it accepts once armed, until the test opens the
// gate, so that a list stays in flight for as long as the test needs.
class GateSink : public TAnswerSink {
 public:
  void AnswerAccepted(const TAcceptedAnswer&) override {
    std::unique_lock lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  void Arm() {
    std::lock_guard lock(mutex_);
    entered_ = false;
    open_ = false;
  }
  bool WaitEntered() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 5s, [this] { return entered_; });
  }
  void Open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool open_ = true;
};

class GatedLinkTest : public LinkFixture {
 protected:
  void SetUp() override {
    LinkFixture::SetUp();
    modbus_->SetAnswerSink(&gate_);
  }
  void TearDown() override {
    gate_.Open();  // a failed assertion must not leave the worker held
    LinkFixture::TearDown();
  }
  GateSink gate_;
};

// A new identification started while the first step of an older one is still in flight (after a
// quick reconnection, or simply asked again) runs all its steps; the older chain goes no further.
TEST_F(GatedLinkTest, ANewIdentificationOutlivesTheStepOfAnOlderOne) {
  ASSERT_TRUE(SelectModel(ModelList()[2]));
  for (const bool reconnect : {true, false}) {
    SCOPED_TRACE(reconnect ? "after a reconnection" : "on the same connection");
    events_.outcomes.clear();
    owner_.calls.clear();
    gate_.Arm();
    ASSERT_TRUE(modbus_->GetVersionInfo(1));
    ASSERT_TRUE(gate_.WaitEntered());
    if (reconnect) {
      modbus_->Disconnected();
      modbus_->Connected();
    }
    ASSERT_TRUE(modbus_->GetVersionInfo(1));
    gate_.Open();
    ASSERT_TRUE(WaitEnded(4));
    ASSERT_TRUE(modbus_->WaitIdle(5s));
    RunUi(20ms);
    std::vector<std::string> labels;
    for (const TListOutcome& outcome : events_.outcomes) labels.push_back(outcome.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"GetVersionInfo", "GetVersionInfo", "GetMapsInfo",
                                                "GetInitialInformation"}));
    EXPECT_FALSE(modbus_->Identifying());
    EXPECT_EQ(owner_.calls.back(), "identified");
  }
}

TEST_F(ModbusLinkTest, DirectCommandChecksRunStopFirst) {
  slave_->Locked([](RegisterBank& bank) { bank.Inputs[0xF001] = true; });  // RUN
  TDC_Record record{6, 0x5004, 1, 300, 1, "SET_ACCEL"};
  ASSERT_TRUE(modbus_->SendDirectCommand(1, record, true, TRequiredState::Stop, true));
  ASSERT_TRUE(WaitEnded(1));
  EXPECT_EQ(events_.Of(kError), (std::vector<std::string>{"Data transfer not finished, line: 0"}));
  EXPECT_EQ(Addresses(), (std::vector<std::uint16_t>{0xF001}));

  ASSERT_TRUE(modbus_->SendDirectCommand(1, record, 500, true, TRequiredState::Run, true));
  ASSERT_TRUE(WaitEnded(2));
  EXPECT_EQ(events_.outcomes[1].Label, "SendDirectCommand - 3");
  EXPECT_TRUE(events_.outcomes[1].ReachedEnd);
  slave_->Locked([](RegisterBank& bank) { EXPECT_EQ(bank.Holding[0x5004], 500); });
  EXPECT_EQ(sink_.Answers().back().Value, 500);  // the read-back
}

// Any non-zero value switches a coil on, a multiple of 256 included.
TEST_F(ModbusLinkTest, ADirectCoilCommandOfAMultipleOf256SwitchesTheCoilOn) {
  const TDC_Record spin{5, 0x5100, 1, 0, 1, "SPIN"};
  ASSERT_TRUE(modbus_->SendDirectCommand(1, spin, 256, false, TRequiredState::Stop, false));
  ASSERT_TRUE(WaitEnded(1));
  EXPECT_TRUE(events_.Has("result", "Data transfer result:  successful"));
  const auto pdu = DecodeFrame(slave_->Requests().back());
  ASSERT_TRUE(pdu && pdu->size() >= 6);
  EXPECT_EQ((*pdu)[4], 0xFF);
  EXPECT_EQ((*pdu)[5], 0x00);
  slave_->Locked([](RegisterBank& bank) { EXPECT_TRUE(bank.Coils[0x5100]); });
}

TEST(RequestListsTest, DirectCommandList) {
  const TDC_Records_Array records = {{16, 0x5000, 2, 70000, 1, "SET_MAX_SPEED"},
                                     {5, 0x5100, 1, 1, 1, "SPIN"}};
  const auto list = DirectCommandList(records, true, false, true);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 5U);
  EXPECT_EQ((*list)[0].Function, 2);
  EXPECT_EQ((*list)[0].Address, 0xF001);
  EXPECT_TRUE((*list)[0].WaitForValue);
  EXPECT_EQ((*list)[0].ExpectedValue, 0);
  EXPECT_EQ((*list)[1].Data, (TBytesArray{0x11, 0x70, 0x00, 0x01}));
  EXPECT_EQ((*list)[1].ProgressWeight, 1);
  EXPECT_EQ((*list)[2].Function, 3);  // read-back of a register write
  EXPECT_EQ((*list)[2].Count, 2);
  EXPECT_EQ((*list)[3].Data, (TBytesArray{0x00, 0x01}));
  EXPECT_EQ((*list)[4].Function, 1);  // read-back of a coil write

  EXPECT_FALSE(DirectCommandList({{3, 0x5000, 2, 0, 1, "GET_MAX_SPEED"}}, false, false, false));
  EXPECT_FALSE(DirectCommandList({{16, 0x5000, 3, 0, 1, "X"}}, false, false, false));
  // One register cannot carry a value wider than 16 bits.
  EXPECT_FALSE(DirectCommandList({{6, 0x5004, 1, 70000, 1, "SET_ACCEL"}}, false, false, false));
  EXPECT_FALSE(NamedReadsList({{2, 0xF001, 1, 0, 1, "A"}, {6, 0x5004, 1, 0, 1, "B"}}));
  EXPECT_EQ(NamedReadsList({{2, 0xF001, 1, 0, 1, "A"}})->size(), 1U);
}

TEST_F(ModbusLinkTest, QuietLinkWritesNoLogLines) {
  timings_.WriteLog = false;
  modbus_->SetTimings(timings_);
  slave_->SetScript([](const TReqResArray&) { return std::vector<Reply>{}; });
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "quiet", {ReadOf(3, 0x5000)}));
  ASSERT_TRUE(WaitEnded(1));
  for (const std::string& line : events_.lines) EXPECT_NE(line.rfind("log", 0), 0U) << line;
}

TEST_F(ModbusLinkTest, ShutdownEndsAWaitingListPromptly) {
  slave_->SetScript([](const TReqResArray&) { return std::vector<Reply>{}; });
  timings_.AnswerHandling = 5s;
  modbus_->SetTimings(timings_);
  ASSERT_TRUE(modbus_->SendRequests(true, 1, "long", {ReadOf(3, 0x5000)}));
  ASSERT_TRUE(slave_->WaitForRequests(1));
  const auto start = std::chrono::steady_clock::now();
  modbus_->Shutdown();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_FALSE(modbus_->SendRequests(true, 1, "after", {ReadOf(3, 0x5000)}));
}

}  // namespace
}  // namespace quarn::link

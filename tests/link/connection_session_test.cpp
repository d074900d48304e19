// Connecting, identifying the controller, polling its state and the reset timer's rules, with
// a scripted slave on the in-memory port pair.
#include "link/connection_session.h"

#include <gtest/gtest.h>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/link_texts.h"
#include "tests/link/link_fixture.h"

namespace quarn::link {
namespace {

using namespace testing;

class SessionTest : public SlaveFixture {
 protected:
  void SetUp() override {
    SlaveFixture::SetUp();
    session_ = std::make_unique<TConnectionSession>(*host_, ui_, events_, FastTimings());
    ASSERT_TRUE(session_->SelectModelByIndex(0));
  }
  void TearDown() override { session_.reset(); }

  // The controller's identification: device type and hardware version, firmware major.minor.
  void Identity(std::uint16_t devId, std::uint16_t hw, std::uint16_t major, std::uint16_t minor) {
    slave_->Locked([=](RegisterBank& bank) {
      bank.InputRegisters[0x8001] = devId;
      bank.InputRegisters[0x8002] = hw;
      bank.InputRegisters[0x8003] = major;
      bank.InputRegisters[0x8004] = minor;
      bank.InputRegisters[0x8005] = 1;
    });
  }

  // Connects and runs the UI loop until the identification has ended one way or the other.
  void ConnectAndIdentify() {
    ASSERT_TRUE(session_->Connect("controller", 1).Opened);
    ui_.RunFor(5s, [&] {
      return !session_->Modbus().Identifying() && !session_->Modbus().Busy() &&
             (!session_->Connected() || session_->Timers().StateTimerEnabled);
    });
    ui_.RunFor(20ms, nullptr);
  }

  std::unique_ptr<TConnectionSession> session_;
};

TEST_F(SessionTest, IdentificationSelectsTheModelOrRefusesTheController) {
  struct Case {
    std::uint16_t dev_id, hw, major, minor;
    std::string model;    // selected model, empty when refused
    std::string message;  // message shown, empty when none
  };
  const Case cases[] = {
      {3, 1, 1, 10, "KLEM-B", ""},
      {3, 0, 2, 0, "KLEM-B", ""},
      {1, 3, 1, 10, "KLEM-A ver.2", ""},
      {2, 1, 1, 12, "KLEM-A ver.3", ""},
      {4, 0, 1, 10, "KLEM-C", ""},
      {3, 1, 1, 9, "", std::string(texts::kOutdatedFirmware)},
      {4, 2, 1, 10, "", "Unknown device. HW version 131076 . DEV_ID=4; HW_VERSION=2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model + c.message);
    ASSERT_TRUE(session_->SelectModelByIndex(0));
    events_.lines.clear();
    Identity(c.dev_id, c.hw, c.major, c.minor);
    ConnectAndIdentify();
    if (c.model.empty()) {
      EXPECT_FALSE(session_->Connected());
      EXPECT_EQ(events_.Of("message"), std::vector<std::string>{c.message});
      EXPECT_EQ(session_->State().VersionText, "");
    } else {
      EXPECT_TRUE(session_->Connected());
      EXPECT_TRUE(events_.Of("message").empty());
      EXPECT_EQ(CurrentDescription().ModelName, c.model);
      EXPECT_EQ(ModelList()[static_cast<std::size_t>(session_->SelectedModelIndex())].ModelName,
                c.model);
      EXPECT_TRUE(session_->Timers().StateTimerEnabled);
      EXPECT_EQ(session_->State().VersionText,
                "HW" + std::to_string(c.dev_id) + "." + std::to_string(c.hw) + "  FW" +
                    std::to_string(c.major) + "." + std::to_string(c.minor) + "   BL1.0");
    }
    session_->Disconnect();
  }
}

TEST_F(SessionTest, ConnectionViewAndStatusTexts) {
  Identity(3, 1, 1, 10);
  ASSERT_TRUE(session_->Connect("controller", 300).Opened);
  EXPECT_EQ(session_->DeviceId(), 255);  // the address field allows 1 to 255
  EXPECT_TRUE(events_.Has("connection", "controller connected"));
  EXPECT_TRUE(events_.Has("status", "Com port ready"));
  session_->Disconnect();
  EXPECT_TRUE(events_.Has("connection", "closed"));
  EXPECT_EQ(events_.Of("status").back(), "Not connected");
}

TEST_F(SessionTest, PollingVisitsEveryPollRegisterInTurn) {
  Identity(1, 2, 1, 10);  // KLEM-A ver.2: eleven poll registers
  ConnectAndIdentify();
  ASSERT_TRUE(session_->Connected());
  const TRegistersArray& polled = CurrentDescription().PollRegisters;
  ASSERT_EQ(polled.size(), 11U);
  const std::size_t before = slave_->RequestCount();
  for (std::size_t tick = 0; tick < polled.size() + 1; ++tick) {
    session_->StateTimerTick();
    ASSERT_TRUE(ui_.RunFor(2s, [&] { return !session_->Modbus().Busy(); }));
  }
  const std::vector<std::string> frames = slave_->Requests();
  ASSERT_EQ(frames.size(), before + polled.size() + 1);
  for (std::size_t i = 0; i <= polled.size(); ++i) {
    const auto pdu = DecodeFrame(frames[before + i]);
    ASSERT_TRUE(pdu);
    const TRWmbrReg& expected = polled[i % polled.size()];
    EXPECT_EQ((*pdu)[1], expected.Function) << i;
    EXPECT_EQ(((*pdu)[2] << 8) | (*pdu)[3], expected.Address) << i;
  }
  ui_.RunPending();  // the log lines posted meanwhile
  EXPECT_TRUE(events_.Has("log0", "Get state - " + frames[before]));
}

TEST_F(SessionTest, AFailedFrameDisconnectsWithTheSenderStatus) {
  Identity(3, 1, 1, 10);
  ConnectAndIdentify();
  ASSERT_TRUE(session_->Connected());
  slave_->SetScript([](const TReqResArray&) { return std::vector<Reply>{}; });
  session_->StateTimerTick();
  ui_.RunFor(5s, [&] { return !session_->Connected(); });
  EXPECT_FALSE(session_->Connected());
  EXPECT_EQ(
      events_.Of("message"),
      std::vector<std::string>{
          "Wrong connection or data transfer error: Communication failed. Port disconnected"});
  EXPECT_FALSE(session_->Timers().StateTimerEnabled);
}

TEST_F(SessionTest, ResetTimerGivesUpAfterMoreThanThreeFailedPolls) {
  Identity(3, 1, 1, 10);
  ConnectAndIdentify();
  ASSERT_TRUE(session_->Connected());
  // Answers that carry no data fail the poll without failing the link.
  slave_->SetScript([](const TReqResArray& request) -> std::vector<Reply> {
    return {Reply{Frame({request[0], request[1], 0})}};
  });
  for (int failed = 1; failed <= 4; ++failed) {
    session_->StateTimerTick();
    ASSERT_TRUE(ui_.RunFor(2s, [&] { return session_->Modbus().PollFailures().Count == failed; }));
    ui_.RunFor(10ms, nullptr);
    if (failed <= 3) {
      session_->ResetTimerTick();  // not yet: the failure flag is cleared, polling goes on
      EXPECT_TRUE(session_->Timers().StateTimerEnabled);
      EXPECT_FALSE(session_->Modbus().PollFailures().Failed);
    }
  }
  session_->ResetTimerTick();
  EXPECT_FALSE(session_->Timers().StateTimerEnabled);
  EXPECT_FALSE(session_->Timers().ResetTimerEnabled);
  EXPECT_TRUE(events_.Has("ports", "cleared"));
  EXPECT_EQ(session_->Modbus().PollFailures().Count, 0);
}

TEST_F(SessionTest, ClearErrorsNeedsAConnection) {
  EXPECT_FALSE(session_->ClearErrors());
  EXPECT_EQ(events_.Of("message"), std::vector<std::string>{"No connection"});
}

}  // namespace
}  // namespace quarn::link

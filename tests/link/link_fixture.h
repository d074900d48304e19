// A link on an in-memory port pair with a scripted slave on the far end, a headless UI loop and
// recording fakes of everything the link reports. Times are short: the tests are about rules.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "link/headless_dispatcher.h"
#include "link/memory_port.h"
#include "link/modbus_link.h"
#include "tests/link/fast_timings.h"
#include "tests/link/recording_events.h"
#include "tests/link/scripted_slave.h"

namespace quarn::link::testing {

using namespace std::chrono_literals;

class RecordingOwner : public TLinkOwner {
 public:
  void StopStateTimer() override { calls.push_back("stop timer"); }
  void RestartStateTimer() override { calls.push_back("restart timer"); }
  void LinkFailed(const std::string& status) override { calls.push_back("failed " + status); }
  void IdentificationFinished() override { calls.push_back("identified"); }
  std::vector<std::string> calls;
};

// Records the accepted answers; written on the link worker, read by the test.
class RecordingSink : public TAnswerSink {
 public:
  void AnswerAccepted(const TAcceptedAnswer& answer) override {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
  }
  std::vector<TAcceptedAnswer> Answers() {
    std::lock_guard lock(mutex_);
    return answers_;
  }

 private:
  std::mutex mutex_;
  std::vector<TAcceptedAnswer> answers_;
};

// A read request.
inline TRWmbrReg ReadOf(std::uint8_t function, std::uint16_t address, std::uint16_t count = 1) {
  TRWmbrReg request;
  request.Function = function;
  request.Address = address;
  request.Count = count;
  return request;
}

// A write of one register.
inline TRWmbrReg WriteOf(std::uint16_t address, std::uint16_t value, std::uint8_t weight = 1) {
  TRWmbrReg request;
  request.Function = 6;
  request.Address = address;
  request.Count = 1;
  request.Data = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  request.ProgressWeight = weight;
  return request;
}

inline TRWmbrReg Expecting(TRWmbrReg request, std::uint8_t value, bool repeat) {
  request.WaitForValue = true;
  request.ExpectedValue = value;
  request.RepeatUntilEqual = repeat;
  return request;
}

// A scripted slave on the far end of an in-memory port pair, and the UI loop with a recording
// of the link's events; the link on the near end is the test's own.
class SlaveFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ends = TMemoryPort::CreatePair();
    host_ = std::move(ends.first);
    far_ = std::move(ends.second);
    ASSERT_TRUE(host_ && far_);
    slave_ = std::make_unique<ScriptedSlave>(*far_);
  }

  THeadlessDispatcher ui_;
  RecordingEvents events_;
  std::unique_ptr<TMemoryPort> host_;
  std::unique_ptr<TMemoryPort> far_;
  std::unique_ptr<ScriptedSlave> slave_;
};

class LinkFixture : public SlaveFixture {
 protected:
  void SetUp() override {
    SlaveFixture::SetUp();
    modbus_ = std::make_unique<TModBus>(*host_, ui_, events_, timings_);
    modbus_->SetOwner(&owner_);
    modbus_->SetAnswerSink(&sink_);
    ASSERT_TRUE(host_->Open("host").Opened);
    modbus_->Connected();
  }
  void TearDown() override {
    modbus_->Shutdown();
    host_->Close();
  }

  // Runs the UI loop until `count` lists have ended.
  bool WaitEnded(std::size_t count, std::chrono::milliseconds limit = 5s) {
    return ui_.RunFor(limit, [&] { return events_.outcomes.size() >= count; });
  }
  void RunUi(std::chrono::milliseconds span) { ui_.RunFor(span, nullptr); }

  std::vector<std::uint16_t> Addresses() {
    std::vector<std::uint16_t> addresses;
    for (const std::string& frame : slave_->Requests()) {
      const auto pdu = DecodeFrame(frame);
      if (pdu && pdu->size() >= 4) {
        addresses.push_back(static_cast<std::uint16_t>((*pdu)[2] << 8 | (*pdu)[3]));
      }
    }
    return addresses;
  }

  LinkTimings timings_ = FastTimings();
  RecordingOwner owner_;
  RecordingSink sink_;
  std::unique_ptr<TModBus> modbus_;
};

}  // namespace quarn::link::testing

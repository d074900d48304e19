// The controller answers like a Modbus slave: silence, exceptions, echoes and values.
#include <gtest/gtest.h>

#include <optional>

#include "simulator/controller.h"
#include "simulator/modbus_slave.h"
#include "tests/simulator/request_pdus.h"

namespace quarn::simulator {
namespace {

using testing::Pdu;
using testing::Request;
using testing::WriteCoils;
using testing::WriteRegisters;

class SlaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    controller = TController::Create(TControllerConfig{}, error);
    ASSERT_NE(controller, nullptr) << error;
    slave.emplace(*controller, 1);
  }
  std::optional<Pdu> Serve(const Pdu& request) { return slave->Serve(request); }

  std::unique_ptr<TController> controller;
  std::optional<TModbusSlave> slave;
};

std::optional<Pdu> Exception(std::uint8_t function, TException code) {
  return ExceptionPdu(1, function, code);
}

TEST_F(SlaveTest, AnswersLikeAModbusSlave) {
  const auto e01 = TException::IllegalFunction;
  const auto e02 = TException::IllegalDataAddress;
  const auto e03 = TException::IllegalDataValue;
  Pdu wrongByteCount = WriteRegisters(1, 0x5004, {300});
  wrongByteCount[6] = 4;
  Pdu longRead = Request(1, 3, 0x5000, 2);
  longRead.push_back(0);
  struct Case {
    const char* name;
    Pdu request;
    std::optional<Pdu> answer;
  } cases[] = {
      {"another device id: silence", Request(2, 3, 0x5000, 2), std::nullopt},
      {"broadcast write: carried out, silence", Request(0, 6, 0x5005, 250), std::nullopt},
      {"broadcast read: silence", Request(0, 3, 0x5000, 2), std::nullopt},
      {"unsupported function 7", Request(1, 7, 0, 0), Exception(7, e01)},
      {"unsupported function 0x2B", Request(1, 0x2B, 0, 0), Exception(0x2B, e01)},
      {"register the controller lacks", Request(1, 3, 0x1234, 1), Exception(3, e02)},
      {"range running into a missing register", Request(1, 3, 0x5007, 2), Exception(3, e02)},
      {"range past 0xFFFF", Request(1, 3, 0xFFFF, 2), Exception(3, e02)},
      {"coil table has no speed", Request(1, 1, 0x5000, 1), Exception(1, e02)},
      {"read-only register written", Request(1, 6, 0x5027, 1), Exception(6, e02)},
      {"read count 0", Request(1, 3, 0x5000, 0), Exception(3, e03)},
      {"read count 126", Request(1, 3, 0xF401, 126), Exception(3, e03)},
      {"request longer than its function", longRead, Exception(3, e03)},
      {"byte count disagrees with count", wrongByteCount, Exception(16, e03)},
      {"acceleration below its range", Request(1, 6, 0x5004, 0), Exception(6, e03)},
      {"maximum speed above its range", WriteRegisters(1, 0x5000, {0x0D40, 0x0003}),
       Exception(16, e03)},
      {"coil value other than 0xFF00 or 0", Request(1, 5, 0x5100, 0x1234), Exception(5, e03)},
      {"coil value 0x00FF", Request(1, 5, 0x5100, 0x00FF), Exception(5, e03)},
      {"command coil takes only 1", Request(1, 5, 0x5100, 0x0000), Exception(5, e03)},
      {"protection is lifted only by an erase", Request(1, 5, 0xF001, 0xFF00), Exception(5, e03)},
      {"single register write echoes", Request(1, 6, 0x5004, 300), Request(1, 6, 0x5004, 300)},
      {"coil write echoes", Request(1, 5, 0x5104, 0xFF00), Request(1, 5, 0x5104, 0xFF00)},
      {"multiple write answers address and count", WriteRegisters(1, 0x5000, {0x1170, 0x0001}),
       Request(1, 16, 0x5000, 2)},
      {"multiple coils answer address and count", WriteCoils(1, 0x6200, {true, false, true}),
       Request(1, 15, 0x6200, 3)},
      {"32-bit default low register first", Request(1, 3, 0x5002, 2),
       Pdu{1, 3, 4, 0x00, 0x64, 0x00, 0x00}},
      {"eight inputs in one byte", Request(1, 2, 0x2000, 8), Pdu{1, 2, 1, 0x00}},
      {"identification of KLEM-B", Request(1, 4, 0x8001, 2), Pdu{1, 4, 4, 0x00, 0x03, 0x00, 0x00}},
      {"firmware 2.0: major low", Request(1, 4, 0x8003, 2), Pdu{1, 4, 4, 0x00, 0x02, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Serve(c.request), c.answer) << c.name;
  }
  // What the writes above left behind, read back.
  EXPECT_EQ(Serve(Request(1, 3, 0x5000, 2)), (Pdu{1, 3, 4, 0x11, 0x70, 0x00, 0x01}));  // 70000
  EXPECT_EQ(Serve(Request(1, 3, 0x5004, 2)), (Pdu{1, 3, 4, 0x01, 0x2C, 0x00, 0xFA}));  // 300, 250
  EXPECT_EQ(Serve(Request(1, 1, 0x6200, 4)), (Pdu{1, 1, 1, 0b0101}));
}

TEST_F(SlaveTest, RefusedWriteChangesNothing) {
  // The first register fits, the second does not: neither is written.
  EXPECT_EQ(Serve(WriteRegisters(1, 0x5004, {300, 0})),
            Exception(16, TException::IllegalDataValue));
  EXPECT_EQ(Serve(Request(1, 3, 0x5004, 2)), (Pdu{1, 3, 4, 0x00, 0x64, 0x00, 0x64}));
}

TEST_F(SlaveTest, HalfOfA32BitValueIsCheckedWithTheOtherHalf) {
  ASSERT_EQ(Serve(WriteRegisters(1, 0x5000, {0xD4C0, 0x0001})),
            Request(1, 16, 0x5000, 2));  // 120000, the top of the range
  EXPECT_EQ(Serve(Request(1, 6, 0x5000, 0xD4C1)), Exception(6, TException::IllegalDataValue));
  EXPECT_EQ(Serve(Request(1, 6, 0x5000, 0x0000)), Request(1, 6, 0x5000, 0));  // 65536
}

TEST_F(SlaveTest, StateRegistersFollowTheController) {
  controller->SetRunning(true);
  controller->SetInput(2, true);
  controller->SetInput(7, true);
  controller->SetOutputs(0x81);
  controller->SetErrorFlag(kErrorBattery, true);
  controller->SetErrorCodes(4, 0x2012, 17);
  EXPECT_EQ(Serve(Request(1, 2, 0xF001, 1)), (Pdu{1, 2, 1, 1}));
  EXPECT_EQ(Serve(Request(1, 2, 0x2000, 8)), (Pdu{1, 2, 1, 0x84}));
  EXPECT_EQ(Serve(Request(1, 2, 0x1000, 8)), (Pdu{1, 2, 1, 0x81}));
  EXPECT_EQ(Serve(Request(1, 2, 0xE000, 5)), (Pdu{1, 2, 1, 0b00011}));  // any, battery
  EXPECT_EQ(Serve(Request(1, 4, 0xE002, 3)), (Pdu{1, 4, 6, 0, 0, 0, 4, 0x20, 0x12}));
  EXPECT_EQ(Serve(Request(1, 4, 0xE084, 1)), (Pdu{1, 4, 2, 0, 17}));
  // Clearing the errors is a coil write.
  EXPECT_EQ(Serve(Request(1, 5, 0xE000, 0xFF00)), Request(1, 5, 0xE000, 0xFF00));
  // The window reads the coil back: an answer with one byte of coils, no exception.
  EXPECT_EQ(Serve(Request(1, 1, 0xE000, 1)).value_or(Pdu{}).size(), 4U);
  EXPECT_EQ(Serve(Request(1, 2, 0xE000, 5)), (Pdu{1, 2, 1, 0}));
  EXPECT_EQ(Serve(Request(1, 4, 0xE002, 3)), (Pdu{1, 4, 6, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SlaveTest, DebugStateFollowsTheSessionCoils) {
  EXPECT_EQ(Serve(Request(1, 2, 0x6100, 2)), (Pdu{1, 2, 1, 0b00}));
  Serve(Request(1, 5, 0x6100, 0xFF00));  // START_DEBUG
  Serve(Request(1, 5, 0x6101, 0xFF00));  // DEBUG_SUSPEND_PROG
  EXPECT_EQ(Serve(Request(1, 2, 0x6100, 2)), (Pdu{1, 2, 1, 0b11}));
  Serve(Request(1, 5, 0x6100, 0x0000));
  EXPECT_EQ(Serve(Request(1, 2, 0x6100, 2)), (Pdu{1, 2, 1, 0b00}));
}

}  // namespace
}  // namespace quarn::simulator

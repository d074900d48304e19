// Each model's identification and register set, and the motion model.
#include <gtest/gtest.h>

#include "link/device_models.h"
#include "simulator/controller.h"
#include "tests/simulator/workbench_session.h"

namespace quarn::simulator {
namespace {

using testing::WorkbenchSession;

std::unique_ptr<TController> Make(const TControllerConfig& config) {
  std::string error;
  auto controller = TController::Create(config, error);
  EXPECT_NE(controller, nullptr) << error;
  return controller;
}

// The identification picks the model back out of the workbench's key table, and the model's
// own registers are there while the later models' are not.
TEST(Models, IdentificationLeadsBackToTheModel) {
  struct Case {
    const char* model;
    std::uint32_t key;
    bool supplyVoltage, internalVoltage;
  } cases[] = {
      {"KLEM-A ver.2", link::ModelKey(1, 2), false, false},
      {"KLEM-A ver.3", link::ModelKey(2, 0), true, false},
      {"KLEM-B", link::ModelKey(3, 0), true, true},
      {"KLEM-C", link::ModelKey(4, 0), true, true},
  };
  for (const Case& c : cases) {
    TControllerConfig config;
    config.Model = c.model;
    auto controller = Make(config);
    ASSERT_NE(controller, nullptr);
    WorkbenchSession session(*controller);
    const auto hw = session.Named("GET_HW");
    ASSERT_TRUE(hw.Accepted) << c.model;
    EXPECT_EQ(static_cast<std::uint32_t>(hw.Value), c.key) << c.model;
    const link::TDeviceDescription* found =
        link::FindModelByKey(static_cast<std::uint32_t>(hw.Value));
    ASSERT_NE(found, nullptr) << c.model;
    EXPECT_EQ(found->ModelName, c.model);
    EXPECT_EQ(session.Raw(1, 0x5030, 1).Accepted, c.supplyVoltage) << c.model;
    EXPECT_EQ(session.Raw(1, 0x502F, 1).Accepted, c.internalVoltage) << c.model;
    // The map versions are the description's version words.
    const auto maps = session.Raw(4, 0x8007, 4);
    ASSERT_TRUE(maps.Accepted);
    const auto& words = found->VersionWords;
    const auto w0 = static_cast<std::uint32_t>(words[0]);
    EXPECT_EQ(maps.Bytes,
              (link::TReqResArray{
                  1, 4, 8, static_cast<std::uint8_t>((w0 >> 8) & 0xFF),
                  static_cast<std::uint8_t>(w0 & 0xFF), static_cast<std::uint8_t>(w0 >> 24),
                  static_cast<std::uint8_t>((w0 >> 16) & 0xFF), 0,
                  static_cast<std::uint8_t>(words[1]), 0, static_cast<std::uint8_t>(words[2])}))
        << c.model;
  }
}

TEST(Models, ConfiguredVersionsAndAddress) {
  TControllerConfig config;
  config.Model = "KLEM-A ver.2";
  config.HwVersion = 3;
  config.FirmwareMajor = 1;
  config.FirmwareMinor = 9;
  config.DeviceId = 17;
  auto controller = Make(config);
  ASSERT_NE(controller, nullptr);
  WorkbenchSession session(*controller);
  EXPECT_TRUE(WorkbenchSession::Is(session.Named("GET_HW"),
                                   static_cast<std::int32_t>(link::ModelKey(1, 3))));
  EXPECT_TRUE(WorkbenchSession::Is(session.Named("GET_FW"), 9 * 65536 + 1));
  EXPECT_TRUE(WorkbenchSession::Is(session.Named("GET_ID"), 17));
  EXPECT_TRUE(WorkbenchSession::Is(session.Named("GET_BAUDRATE"), 115200));
  EXPECT_TRUE(WorkbenchSession::Is(session.Named("GET_PARITY"), 2));
}

TEST(Models, UnknownModelIsRefused) {
  TControllerConfig config;
  config.Model = "KLEM-Z";
  std::string error;
  EXPECT_EQ(TController::Create(config, error), nullptr);
  EXPECT_NE(error.find("KLEM-Z"), std::string::npos);
  EXPECT_NE(error.find(R"("KLEM-A ver.2", "KLEM-A ver.3", "KLEM-B", "KLEM-C")"), std::string::npos);
}

// KLEM-C's current range leaves out the table's default, but a written value is checked
// against the model's own range.
TEST(Models, WritesAreCheckedAgainstTheModelsRanges) {
  for (const auto& [model, fits] : {std::pair{"KLEM-A ver.2", false}, {"KLEM-C", true}}) {
    TControllerConfig config;
    config.Model = model;
    auto controller = Make(config);
    ASSERT_NE(controller, nullptr);
    WorkbenchSession session(*controller);
    EXPECT_EQ(session.Raw(6, 0x5014, 1, {0x1F, 0x40}).Accepted, fits) << model;  // 8000 mA
  }
}

class MotionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controller = Make(TControllerConfig{});
    ASSERT_NE(controller, nullptr);
    controller->SetClock([this] { return now; });
    session.emplace(*controller);
    ASSERT_TRUE(session->Named("SET_MAX_SPEED", 1000).Accepted);
  }
  void Command(std::string_view name, std::int64_t value = 0) {
    ASSERT_TRUE(session->Named(name, value).Accepted) << name;
  }
  void Start(std::string_view command) {
    Command(command, link::FindField(command, controller->Description()).Register.Value);
    Command("APPLY_CMD", 1);
  }
  void Wait(int ms) { now += std::chrono::milliseconds(ms); }
  std::int32_t Position() { return session->Named("GET_ABS_POS").Value; }
  std::int32_t Status() { return session->Named("GET_MOTOR_STATUS").Value; }
  std::int32_t Speed() { return session->Named("GET_CURRENT_SPD").Value; }

  std::unique_ptr<TController> controller;
  std::optional<WorkbenchSession> session;
  TControllerClock::time_point now = TControllerClock::now();
};

TEST_F(MotionTest, MoveGoesToItsTargetAtTheSetSpeed) {
  Command("SET_FDIR", 1);
  Command("SET_TARGET_POS", 500);
  Start("CMD_INC_MOVE");
  EXPECT_EQ(Status(), kStatusConstSpeed | kStatusBusyMove);
  Wait(250);
  EXPECT_EQ(Position(), 250);
  EXPECT_EQ(Speed(), 1000);
  Wait(1000);
  EXPECT_EQ(Position(), 500);
  EXPECT_EQ(Status(), kStatusStopped);
  EXPECT_EQ(Speed(), 0);
  // Backwards by the same step, then to a coordinate, then home.
  Command("SET_RDIR", 0);
  Start("CMD_INC_MOVE");
  Wait(600);
  EXPECT_EQ(Position(), 0);
  Command("SET_TARGET_POS", -300);
  Start("CMD_GOTO");
  Wait(100);
  EXPECT_EQ(Position(), -100);
  Wait(1000);
  EXPECT_EQ(Position(), -300);
  Start("CMD_GOHOME");
  Wait(1000);
  EXPECT_EQ(Position(), 0);
}

TEST_F(MotionTest, RunGoesOnUntilAStop) {
  Command("SET_RDIR", 0);
  Start("CMD_RUN");
  Wait(2000);
  EXPECT_EQ(Position(), -2000);
  EXPECT_EQ(Status(), kStatusConstSpeed | kStatusBusyRun);
  Command("SET_SLOW_HIZ", 1);
  Wait(1000);
  EXPECT_EQ(Position(), -2000);
  EXPECT_EQ(Status(), kStatusStopped | kStatusHiZ);
  Command("TORQUE", 1);
  EXPECT_EQ(Status(), kStatusStopped);
  // The position register may be set; the motor counts on from there.
  Command("SET_ABS_POS", 2147483000);
  Command("SET_FDIR", 1);
  Start("CMD_RUN");
  Wait(1000);
  EXPECT_EQ(Position(), static_cast<std::int32_t>(2147483000LL + 1000 - 4294967296LL));  // wraps
  Command("SET_HARD_STOP", 1);
  EXPECT_EQ(Status(), kStatusStopped);
}

// A write of one half of the position register keeps the other half as the motor left it.
TEST_F(MotionTest, HalfAPositionWriteKeepsTheLiveOtherHalf) {
  Command("SET_FDIR", 1);
  Start("CMD_RUN");
  Wait(1000);
  Command("SET_HARD_STOP", 1);
  Command("SET_MAX_SPEED", 2000);  // a write elsewhere leaves the position alone
  ASSERT_EQ(Position(), 1000);
  const std::uint16_t high =
      link::FindField("SET_ABS_POS", controller->Description()).Register.Address + 1;
  ASSERT_TRUE(session->Raw(6, high, 1, {0x00, 0x02}).Accepted);
  EXPECT_EQ(Position(), 0x20000 + 1000);
}

TEST_F(MotionTest, GoUntilStopsAtTheInputEdge) {
  Command("SET_SW_INPUT", 3);
  Command("SET_FDIR", 1);
  Start("CMD_GOUNTIL_SSTOP");  // rising edge, level checked first
  Wait(100);
  controller->SetInput(2, true);  // another input: no effect
  Wait(100);
  controller->SetInput(3, true);
  Wait(500);
  EXPECT_EQ(Position(), 200);
  EXPECT_EQ(Status(), kStatusStopped);
  // The input is already high: the checking command does not move, the other one waits for
  // the next rising edge.
  Start("CMD_GOUNTIL_SSTOP");
  Wait(100);
  EXPECT_EQ(Position(), 200);
  Start("CMD_GOUNTIL_FRONT_SSTOP");
  Wait(100);
  controller->SetInput(3, false);
  Wait(100);
  EXPECT_EQ(Status(), kStatusConstSpeed | kStatusBusyMove);
  controller->SetInput(3, true);
  EXPECT_EQ(Position(), 400);
  EXPECT_EQ(Status(), kStatusStopped);
  // Falling edge.
  Start("CMD_GOUNTIL_RELEASE");
  Wait(100);
  controller->SetInput(3, false);
  EXPECT_EQ(Position(), 500);
  EXPECT_EQ(Status(), kStatusStopped);
}

}  // namespace
}  // namespace quarn::simulator

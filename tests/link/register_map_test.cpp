// The register table of each model, checked against rows written out here by hand, and the
// lookups and request building on top of it.
#include "link/register_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/modbus_framing.h"

namespace quarn::link {

// Readable failures for whole-row comparisons.
void PrintTo(const TFieldDescr& f, std::ostream* os) {
  *os << "{" << f.Register.Name << " fn " << int{f.Register.Function} << " addr "
      << f.Register.Address << " count " << f.Register.Count << " value " << f.Register.Value
      << " valid " << f.Register.Valid << " bits " << f.Bits << " param " << f.ParamId << " D"
      << f.DOperand << " group " << int{f.Group} << " '" << f.GroupCaption << "' access "
      << int{f.Access} << " range " << f.MinValue << ".." << f.MaxValue << " caption '" << f.Caption
      << "' one '" << f.TextForOne << "' zero '" << f.TextForZero << "' '" << f.Description << "'}";
}

namespace {

enum Model { KlemA2 = 0, KlemA3 = 1, KlemB = 2, KlemC = 3 };

const TDeviceDescription& Desc(Model model) { return ModelList()[static_cast<std::size_t>(model)]; }

struct ExpectedRow {
  Model model;
  std::size_t index;
  const char* name;
  int function;
  int address;
  int count;
  int bits;
  int paramId;
  int dOperand;
  int group;
  const char* groupCaption;
  int access;
  std::int64_t min;
  std::int64_t max;
  std::int64_t value;
  const char* caption;
  const char* textForOne;
  const char* textForZero;
  const char* description;
};

TFieldDescr ToField(const ExpectedRow& r) {
  TFieldDescr f;
  f.ParamId = r.paramId;
  f.DOperand = r.dOperand;
  f.Bits = r.bits;
  f.Register = {static_cast<std::uint8_t>(r.function), static_cast<std::uint16_t>(r.address),
                static_cast<std::uint32_t>(r.count),   static_cast<std::int32_t>(r.value),
                std::string(r.name).empty() ? 0u : 1u, r.name};
  f.Caption = r.caption;
  f.Description = r.description;
  f.MinValue = static_cast<std::int32_t>(r.min);
  f.MaxValue = static_cast<std::int32_t>(r.max);
  f.Group = static_cast<std::uint8_t>(r.group);
  f.Access = static_cast<std::uint8_t>(r.access);
  f.GroupCaption = r.groupCaption;
  f.TextForOne = r.textForOne;
  f.TextForZero = r.textForZero;
  return f;
}

// clang-format off
const ExpectedRow kExpectedRows[] = {
  {KlemA2, 0, "", 0, 0x0000, 0, 0, 0, 0, 6, "Other settings", 0, 0, 0, 0, "EMPTY", "1", "0", ""},
  {KlemA2, 1, "SET_MAX_SPEED", 16, 0x5000, 2, 32, 1, 357, 0, "Speed settings", 2, 8, 120000, 100, "MAX SPEED", "", "", "Maximum speed, puls/sec"},
  {KlemC, 5, "SET_CMINSPEED", 6, 0x5016, 1, 1, 18, 382, 0, "Speed settings", 2, 0, 1, 1, "CALCULATE MIN SPEED", "Enable", "Disable", "Automatic calculation of min speed"},
  {KlemA3, 11, "SPIN", 5, 0x5100, 1, 1, 12, 0, 1, "Movement settings", 1, 1, 1, 1, "SPIN", "", "", "Start motion"},
  {KlemB, 12, "SET_ABS_POS", 16, 0x5006, 2, 32, 5, 363, 1, "Movement settings", 2, -2147483647, 2147483647, 0, "ABS POS", "", "", "Absolute position"},
  {KlemA2, 16, "SET_DIR", 6, 0x500A, 1, 1, 8, 374, 1, "Movement settings", 2, 0, 1, 1, "DIRECTION", "Forward", "Backward", "Direction"},
  {KlemA2, 17, "GET_DIR", 3, 0x500A, 1, 16, 8, 374, 1, "Movement settings", 0, 0, 1, 1, "GET DIR", "", "", "Direction"},
  {KlemC, 19, "SET_RDIR", 6, 0x500A, 1, 16, 8, 374, 7, "", 2, 0, 1, 0, "SET R DIR", "", "", "Backward direction"},
  {KlemA3, 21, "GET_FS_SPEED", 3, 0x500B, 2, 32, 9, 377, 0, "Speed settings", 0, 8, 120000, 100, "FULL STEP SPEED", "", "", "Speed threshold of turning to fullstep mode "},
  {KlemB, 23, "CLR_FS_SW_EN", 6, 0x500D, 1, 1, 10, 379, 7, "", 2, 0, 1, 0, "FULL STEP ENABLE", "Enable", "Disable", "Enable turning to fullstep mode"},
  {KlemA2, 27, "CMD_MOVE_RUN", 6, 0x5010, 1, 16, 12, 376, 1, "Movement settings", 2, 0, 10, 0, "RUN/MOVE COMMAND", "", "", "Set type of the motion"},
  {KlemC, 33, "CMD_GOUNTIL_SSTOP", 6, 0x5010, 1, 16, 12, 376, 1, "Movement settings", 2, 5, 5, 5, "GO UNTIL; SLOW STOP", "", "", "Go until signal rising edge, then smooth deceleration. Check signal state before movement."},
  {KlemA2, 38, "CMD_GOUNTIL_FRONT_RELEASE", 6, 0x5010, 1, 16, 12, 376, 1, "Movement settings", 2, 10, 10, 10, "GO UNTIL; FRONT_RELEASE", "", "", "Go until signal falling edge, then hard stop."},
  {KlemB, 41, "GET_SW_INPUT", 3, 0x5011, 1, 16, 13, 375, 6, "Other settings", 0, 0, 7, 0, "GET INPUT NUM", "", "", "Get input number for GO UNTIL commands"},
  // The phase-current ranges are the one register difference between the models.
  {KlemA2, 42, "SET_ACC_CUR", 6, 0x5012, 1, 16, 14, 367, 4, "Motor control parameters", 2, 150, 1500, 1500, "ACCEL CURRENT", "", "", "Set phase current during acceleration, mA"},
  {KlemA3, 46, "SET_RUN_CUR", 6, 0x5014, 1, 16, 16, 369, 4, "Motor control parameters", 2, 150, 1500, 1500, "WORK CURRENT", "", "", "Set phase work current, mA"},
  {KlemB, 42, "SET_ACC_CUR", 6, 0x5012, 1, 16, 14, 367, 4, "Motor control parameters", 2, 1000, 4200, 1500, "ACCEL CURRENT", "", "", "Set phase current during acceleration, mA"},
  {KlemB, 47, "GET_RUN_CUR", 3, 0x5014, 1, 16, 16, 369, 4, "Motor control parameters", 0, 1000, 4200, 1500, "WORK CURRENT", "", "", "Set phase work current, mA"},
  {KlemC, 45, "GET_DEC_CUR", 3, 0x5013, 1, 16, 15, 368, 4, "Motor control parameters", 0, 2800, 8000, 1500, "DECEL CURRENT", "", "", "Set phase current during deceleration, mA"},
  {KlemC, 49, "GET_HOLD_CUR", 3, 0x5015, 1, 16, 17, 370, 4, "Motor control parameters", 0, 2800, 8000, 1200, "HOLD CURRENT", "", "", "Set holding phase current, mA"},
  {KlemA2, 52, "GET_ERROR_CODE", 3, 0x5027, 1, 16, 20, 381, 3, "Error settings", 0, 0, 255, 0, "GET ERROR CODE", "", "", "Get error code"},
  {KlemB, 53, "GET_MOTOR_STATUS", 4, 0x5037, 1, 16, 21, 371, 7, "", 0, 0, 127, 0, "GET MOTOR STATUS", "", "", "Get motor state"},
  // System rows: the register name is the caption where the row has a description.
  {KlemA2, 55, "GET_RUN_STOP", 2, 0xF001, 1, 1, 23, 0, 7, "", 0, 0, 1, 0, "GET_RUN_STOP", "", "", "Get RUN/STOP state"},
  {KlemC, 56, "GET_OUTPUTS_Y0_Y7", 2, 0x1000, 8, 16, 23, 0, 7, "", 0, 0, 255, 0, "GET_OUTPUTS_Y0_Y7", "", "", "Get state of outputs Y0..Y7"},
  {KlemA3, 59, "GET_ERROR_CODES", 4, 0xE002, 3, 0, 23, 0, 7, "", 0, 0, 0, 0, "GET_ERROR_CODES", "", "", "Checking errors - Get Error Codes"},
  {KlemA2, 64, "SET_MAIN_SERVICE_PROG", 5, 0xF006, 1, 1, 23, 0, 7, "", 2, 0, 1, 0, "SET_MAIN_SERVICE_PROG", "", "", "Set  program type"},
  {KlemB, 66, "GET_RW_SECTOR", 3, 0xF401, 123, 0, 23, 0, 7, "", 2, 0, 1, 0, "GET_RW_SECTOR", "", "", "Get read/write block sector"},
  {KlemA2, 67, "LAST_ADDRESS_FOR_RW_SECTOR", 3, 0xF4FF, 0, 0, 23, 0, 7, "", 2, 0, 0, 0, "", "", "", ""},
  {KlemC, 73, "START_DEBUG", 5, 0x6100, 1, 1, 23, 0, 7, "", 1, 0, 1, 1, "START_DEBUG", "", "", "Start/stop debugging"},
  {KlemA2, 80, "READ_DEBUG_OPERAND_VALUE", 4, 0x6002, 2, 32, 23, 0, 7, "", 0, 0, 2147483647, 1, "READ_DEBUG_OPERAND_VALUE", "", "", "Operand value - read during debugging"},
  {KlemA3, 83, "READ_DEBUG_OPERAND_TYPE", 6, 0x6000, 1, 16, 23, 0, 7, "", 2, 0, 255, 88, "READ_DEBUG_OPERAND_TYPE", "", "", "Type of the operand during debugging"},
  {KlemA2, 91, "SET_BREAKPOINT_LINE", 6, 0x6200, 1, 16, 23, 0, 7, "", 2, 0, 65536, 0, "SET_BREAKPOINT_LINE", "", "", "Set breakpoint line number"},
  {KlemB, 93, "SET_BREAKPOINT_ACTIVE", 5, 0x6200, 1, 1, 23, 0, 7, "", 2, 0, 65536, 1, "SET_BREAKPOINT_ACTIVE", "", "", "Set breakpoint activity"},
  {KlemA2, 99, "SET_BAUDRATE", 16, 0x8100, 2, 32, 23, 0, 7, "", 2, 110, 256000, 115200, "", "", "", ""},
  {KlemC, 102, "GET_ID", 3, 0x8103, 1, 16, 23, 0, 7, "", 0, 1, 247, 1, "", "", "", ""},
  {KlemA2, 109, "TORQUE", 5, 0x5101, 1, 1, 23, 0, 7, "", 1, 1, 1, 1, "TORQUE", "", "", "Apply currents"},
  {KlemA3, 110, "GET_HW", 4, 0x8001, 2, 32, 23, 0, 7, "", 0, 0, 65535, 0, "", "", "", ""},
  {KlemA2, 113, "CLR_ERRORS", 5, 0xE000, 1, 1, 23, 0, 7, "", 0, 0, 1, 1, "", "", "", ""},
  {KlemA3, 114, "SET_EMERGENCY_DECEL", 16, 0x5048, 2, 32, 4, 385, 0, "Speed settings", 2, 0, 2147483647, 100, "EMERGENCY_DECEL", "", "", "Emergency Deceleration"},
  {KlemB, 115, "GET_SUPPLY_VOLTAGE_STATE", 1, 0x5030, 1, 1, 23, 0, 7, "", 0, 0, 1, 0, "GET_SUPPLY_VOLTAGE_STATE", "", "", "Get power supply voltage state"},
  {KlemC, 116, "GET_INTERNAL_VOLTAGE_STATE", 1, 0x502F, 1, 1, 23, 0, 7, "", 0, 0, 1, 0, "GET_INTERNAL_VOLTAGE_STATE", "", "", "Get internal voltage state"},
};
// clang-format on

TEST(RegisterTable, RowsMatchTheHandWrittenTable) {
  for (const ExpectedRow& row : kExpectedRows) {
    SCOPED_TRACE(std::string(row.name) + " of model " + std::to_string(row.model));
    const TFieldDescrArray& fields = Desc(row.model).Fields;
    ASSERT_LT(row.index, fields.size());
    EXPECT_EQ(fields[row.index], ToField(row));
  }
}

TEST(RegisterTable, LaterModelsAppendRowsInOrder) {
  EXPECT_EQ(Desc(KlemA2).Fields.size(), 114u);
  EXPECT_EQ(Desc(KlemA3).Fields.size(), 116u);
  EXPECT_EQ(Desc(KlemB).Fields.size(), 117u);
  EXPECT_EQ(Desc(KlemC).Fields.size(), 117u);
  EXPECT_EQ(Desc(KlemA2).Fields.back().Register.Name, "CLR_ERRORS");
  EXPECT_EQ(Desc(KlemA3).Fields.back().Register.Name, "GET_SUPPLY_VOLTAGE_STATE");
}

TEST(RegisterTable, ModelsDifferOnlyInAppendedRowsAndCurrentRanges) {
  const std::set<std::string> currents = {"SET_RUN_CUR",  "GET_RUN_CUR", "SET_HOLD_CUR",
                                          "GET_HOLD_CUR", "SET_ACC_CUR", "GET_ACC_CUR",
                                          "SET_DEC_CUR",  "GET_DEC_CUR"};
  const TFieldDescrArray& base = Desc(KlemA2).Fields;
  for (Model model : {KlemA3, KlemB, KlemC}) {
    for (std::size_t i = 0; i < base.size(); ++i) {
      TFieldDescr row = Desc(model).Fields[i];
      SCOPED_TRACE(row.Register.Name);
      if (currents.contains(row.Register.Name)) {
        row.MinValue = base[i].MinValue;
        row.MaxValue = base[i].MaxValue;
      }
      EXPECT_EQ(row, base[i]);
    }
  }
}

TEST(RegisterTable, NamesAreUnique) {
  const TFieldDescrArray& fields = Desc(KlemC).Fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(FieldIndex(fields[i].Register.Name, Desc(KlemC)), i) << fields[i].Register.Name;
  }
}

TEST(Lookups, FindFieldByModel) {
  // Only the later models have the supply-voltage register.
  EXPECT_EQ(FindField("GET_SUPPLY_VOLTAGE_STATE", Desc(KlemA2)), TFieldDescr{});
  EXPECT_EQ(FindField("GET_SUPPLY_VOLTAGE_STATE", Desc(KlemB)), Desc(KlemB).Fields[115]);
  EXPECT_EQ(FindField("SET_ACCEL", Desc(KlemA2)), Desc(KlemA2).Fields[7]);
  // Exact and case-sensitive.
  EXPECT_EQ(FindField("set_accel", Desc(KlemA2)), TFieldDescr{});
  EXPECT_EQ(FindField("SET_ACCEL ", Desc(KlemA2)), TFieldDescr{});
  EXPECT_EQ(FindField("NO_SUCH_REGISTER", Desc(KlemA2)).ParamId, 0);
}

TEST(Lookups, FindFieldByOperandTakesTheFirstRowWithThatOperand) {
  const TDeviceDescription& a2 = Desc(KlemA2);
  EXPECT_EQ(FindFieldByOperand("D361", a2).Register.Name, "SET_ACCEL");
  EXPECT_EQ(FindFieldByOperand("D376", a2).Register.Name, "CMD_MOVE_RUN");
  EXPECT_EQ(FindFieldByOperand("D357", a2).Caption, "MAX SPEED");
  EXPECT_EQ(FindFieldByOperand("D385", a2), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("D385", Desc(KlemA3)).Register.Name, "SET_EMERGENCY_DECEL");
  // Registers without a program operand must not annotate the user's D0.
  EXPECT_EQ(FindFieldByOperand("D0", a2), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("D0361", a2), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("d361", a2), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("", a2), TFieldDescr{});
}

TEST(Lookups, FindFieldByCaptionTakesTheFirstRow) {
  const TDeviceDescription& b = Desc(KlemB);
  EXPECT_EQ(FindFieldByCaption("WORK CURRENT", b).Register.Name, "SET_RUN_CUR");
  EXPECT_EQ(FindFieldByCaption("FULL STEP ENABLE", b).Register.Name, "SET_FS_SW_EN");
  EXPECT_EQ(FindFieldByCaption("GO UNTIL; FRONT; HARD STOP", b).Register.Value, 8);
  EXPECT_EQ(FindFieldByCaption("work current", b), TFieldDescr{});
}

TEST(Lookups, FindParameterRecordAndFieldIndex) {
  const TDeviceDescription& a2 = Desc(KlemA2);
  EXPECT_EQ(FindParameterRecord("SET_HOLD_CUR", a2),
            (TDC_Record{6, 0x5015, 1, 1200, 1, "SET_HOLD_CUR"}));
  EXPECT_EQ(FindParameterRecord("CMD_GOHOME", a2), (TDC_Record{6, 0x5010, 1, 4, 1, "CMD_GOHOME"}));
  EXPECT_EQ(FindParameterRecord("GET_INTERNAL_VOLTAGE_STATE", a2), TDC_Record{});
  // The placeholder row is no register: it reads as not found.
  EXPECT_EQ(FindParameterRecord("", a2).Valid, 0u);

  EXPECT_EQ(FieldIndex("SET_MAX_SPEED", a2), 1u);
  EXPECT_EQ(FieldIndex("CLR_ERRORS", a2), 113u);
  EXPECT_EQ(FieldIndex("GET_INTERNAL_VOLTAGE_STATE", Desc(KlemC)), 116u);
  EXPECT_EQ(FieldIndex("GET_INTERNAL_VOLTAGE_STATE", a2), 0u);
  EXPECT_EQ(FieldIndex("SET_MAX_SPEED", TDeviceDescription{}), 0u);
}

class CurrentModelLookups : public ::testing::Test {
 protected:
  void TearDown() override { ClearCurrentDescription(); }
};

TEST_F(CurrentModelLookups, FindNothingWithoutAModel) {
  ClearCurrentDescription();
  EXPECT_EQ(FindField("SET_ACCEL"), TFieldDescr{});
  EXPECT_EQ(FindFieldByCaption("ACCEL"), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("D361"), TFieldDescr{});
  EXPECT_EQ(FindParameterRecord("SET_ACCEL"), TDC_Record{});
  TRWmbrReg request;
  EXPECT_FALSE(MakeRegisterRequest(request, "GET_RUN_STOP", false, 0, 0, false, false, 0));
}

TEST_F(CurrentModelLookups, FollowTheSelectedModel) {
  ASSERT_TRUE(SelectModel(Desc(KlemA2)));
  EXPECT_EQ(FindField("GET_SUPPLY_VOLTAGE_STATE"), TFieldDescr{});
  EXPECT_EQ(FindFieldByOperand("D361").Register.Name, "SET_ACCEL");
  EXPECT_EQ(FindFieldByCaption("ACCEL CURRENT").MaxValue, 1500);

  ASSERT_TRUE(SelectModel(Desc(KlemB)));
  EXPECT_EQ(FindField("GET_SUPPLY_VOLTAGE_STATE").Register.Address, 0x5030);
  EXPECT_EQ(FindFieldByCaption("ACCEL CURRENT").MaxValue, 4200);
  EXPECT_EQ(FindParameterRecord("GET_INTERNAL_VOLTAGE_STATE").Address, 0x502F);
  TRWmbrReg request;
  EXPECT_TRUE(
      MakeRegisterRequest(request, "GET_SUPPLY_VOLTAGE_STATE", false, 0, 0, false, false, 0));
  EXPECT_EQ(request.Function, 1);
}

struct RequestCase {
  const char* name;
  std::int64_t value;
  bool raw;
  int function;
  int address;
  int count;
  std::vector<std::uint8_t> data;
};

TEST(MakeRegisterRequest, FunctionsAndSizes) {
  const std::vector<RequestCase> cases = {
      // Two registers, low register first, each high byte first.
      {"SET_MAX_SPEED", 70000, false, 16, 0x5000, 2, {0x11, 0x70, 0x00, 0x01}},
      {"SET_ABS_POS", -1, false, 16, 0x5006, 2, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"SET_ABS_POS",
       std::numeric_limits<std::int32_t>::min(),
       false,
       16,
       0x5006,
       2,
       {0x00, 0x00, 0x80, 0x00}},
      {"SET_BAUDRATE", 115200, false, 16, 0x8100, 2, {0xC2, 0x00, 0x00, 0x01}},
      // One register written with function 16.
      {"SET_ID", 17, false, 16, 0x8103, 1, {0x00, 0x11}},
      {"SET_ACCEL", 300, false, 6, 0x5004, 1, {0x01, 0x2C}},
      {"SET_ACCEL", 65535, false, 6, 0x5004, 1, {0xFF, 0xFF}},
      {"SET_ACCEL", -2, false, 6, 0x5004, 1, {0xFF, 0xFE}},
      {"SET_RW_SECTOR", 5, false, 6, 0xF401, 123, {0x00, 0x05}},
      // Coils: on for any non-zero value, framed later as 0xFF00.
      {"START_DEBUG", 1, false, 5, 0x6100, 1, {0x00, 0x01}},
      {"START_DEBUG", 0, false, 5, 0x6100, 1, {0x00, 0x00}},
      {"SPIN", 256, false, 5, 0x5100, 1, {0x00, 0x01}},
      // Reads carry no data, whatever the value.
      {"GET_RUN_STOP", 0, false, 2, 0xF001, 1, {}},
      {"GET_OUTPUTS_Y0_Y7", 0, false, 2, 0x1000, 8, {}},
      {"GET_MAX_SPEED", 12345, false, 3, 0x5000, 2, {}},
      {"GET_ERROR_CODES", 0, false, 4, 0xE002, 3, {}},
      {"GET_BREAKPOINT_ACTIVE", 0, false, 1, 0x6200, 1, {}},
      // Raw requests carry no data either.
      {"SET_MAX_SPEED", 70000, true, 16, 0x5000, 2, {}},
      {"SET_ACCEL", 70000, true, 6, 0x5004, 1, {}},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
    TRWmbrReg request;
    request.Label = "kept";
    request.Data = {0xAA};
    ASSERT_TRUE(
        MakeRegisterRequest(request, c.name, c.raw, Desc(KlemA2), 3, 7, true, true, c.value));
    EXPECT_EQ(request.Function, c.function);
    EXPECT_EQ(request.Address, c.address);
    EXPECT_EQ(request.Count, c.count);
    EXPECT_EQ(request.Data, c.data);
    EXPECT_EQ(request.Name, c.name);
    EXPECT_EQ(request.Label, "kept");
    EXPECT_EQ(request.ProgressWeight, 3);
    EXPECT_EQ(request.ExpectedValue, 7);
    EXPECT_TRUE(request.RepeatUntilEqual);
    EXPECT_TRUE(request.WaitForValue);
  }
}

TEST(MakeRegisterRequest, FailuresLeaveTheRequestUntouched) {
  struct FailCase {
    Model model;
    const char* name;
    std::int64_t value;
    bool raw;
  };
  const std::vector<FailCase> cases = {
      {KlemA2, "NO_SUCH_REGISTER", 0, false},
      {KlemA2, "GET_SUPPLY_VOLTAGE_STATE", 0, false},
      {KlemA2, "get_run_stop", 0, false},
      // Outside the signed 32-bit range, even for a raw request or a read.
      {KlemA2, "SET_MAX_SPEED", 2147483648LL, false},
      {KlemA2, "SET_ABS_POS", -2147483649LL, false},
      {KlemA2, "GET_RUN_STOP", 1LL << 40, true},
      // Would be cut off in a single register.
      {KlemA2, "SET_ACCEL", 70000, false},
      {KlemA2, "SET_ACCEL", -32769, false},
      {KlemB, "SET_ID", 65536, false},
      {KlemA2, "SET_BREAKPOINT_LINE", 65536, false},
      // The placeholder row has no function to write with.
      {KlemA2, "", 1, false},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
    TRWmbrReg request;
    request.Label = "before";
    request.Address = 0x1234;
    request.Data = {1, 2, 3};
    request.Function = 99;
    const TRWmbrReg before = request;
    EXPECT_FALSE(
        MakeRegisterRequest(request, c.name, c.raw, Desc(c.model), 1, 1, true, true, c.value));
    EXPECT_EQ(request, before);
  }
}

// The requests built here go straight to the framing; what reaches the line is what the
// controller expects.
TEST(MakeRegisterRequest, FramesAsTheControllerExpects) {
  struct PduCase {
    const char* name;
    std::int64_t value;
    std::vector<std::uint8_t> pdu;
  };
  const std::vector<PduCase> cases = {
      {"START_DEBUG", 1, {0x01, 0x05, 0x61, 0x00, 0xFF, 0x00}},
      {"SPIN", 512, {0x01, 0x05, 0x51, 0x00, 0xFF, 0x00}},
      {"START_DEBUG", 0, {0x01, 0x05, 0x61, 0x00, 0x00, 0x00}},
      {"SET_ACCEL", 300, {0x01, 0x06, 0x50, 0x04, 0x01, 0x2C}},
      {"SET_MAX_SPEED", 70000, {0x01, 0x10, 0x50, 0x00, 0x00, 0x02, 0x04, 0x11, 0x70, 0x00, 0x01}},
      {"SET_ID", 17, {0x01, 0x10, 0x81, 0x03, 0x00, 0x01, 0x02, 0x00, 0x11}},
      {"GET_MAX_SPEED", 0, {0x01, 0x03, 0x50, 0x00, 0x00, 0x02}},
  };
  for (const PduCase& c : cases) {
    SCOPED_TRACE(c.name);
    TRWmbrReg request;
    ASSERT_TRUE(
        MakeRegisterRequest(request, c.name, false, Desc(KlemA2), 0, 0, false, false, c.value));
    EXPECT_EQ(BuildRequestPdu(request, 1), c.pdu);
  }
}

}  // namespace
}  // namespace quarn::link

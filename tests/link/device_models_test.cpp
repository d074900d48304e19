// The four model descriptions, the lists built from their register tables, the identification
// key table and the selection of the current model.
#include "link/device_models.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "link/current_description.h"
#include "link/error_table.h"
#include "program_model/device_traits.h"

namespace quarn::link {
namespace {

struct ModelFacts {
  const char* modelName;
  const char* listCaption;
  std::array<std::int32_t, 3> versionWords;
  std::int32_t currentMin;
  std::int32_t currentMax;
  std::size_t pollCount;
};

const ModelFacts kModelFacts[] = {
    {"KLEM-A ver.2", "Default controller", {0x00020002, 2, 1}, 150, 1500, 11},
    {"KLEM-A ver.3", "Brevik Stock No.:  710501", {0x00030002, 2, 2}, 150, 1500, 12},
    {"KLEM-B", "Brevik Stock No.:  710502", {0x00040002, 2, 2}, 1000, 4200, 13},
    {"KLEM-C", "Brevik Stock No.:  710503", {0x00050002, 2, 2}, 2800, 8000, 13},
};

TEST(DeviceModels, ModelListInDropDownOrder) {
  ASSERT_EQ(ModelList().size(), std::size(kModelFacts));
  for (std::size_t i = 0; i < ModelList().size(); ++i) {
    const TDeviceDescription& d = ModelList()[i];
    const ModelFacts& facts = kModelFacts[i];
    SCOPED_TRACE(facts.modelName);
    EXPECT_EQ(d.ModelName, facts.modelName);
    EXPECT_EQ(d.ListCaption, facts.listCaption);
    EXPECT_EQ(d.VersionWords, facts.versionWords);
    EXPECT_EQ(d.CurrentMin, facts.currentMin);
    EXPECT_EQ(d.CurrentMax, facts.currentMax);
    EXPECT_EQ(d.PollRegisters.size(), facts.pollCount);
  }
}

TEST(DeviceModels, SharedSettingsOfEveryModel) {
  const std::array<std::uint8_t, 16> options = {1, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0};
  for (const TDeviceDescription& d : ModelList()) {
    SCOPED_TRACE(d.ModelName);
    EXPECT_EQ(d.MotionOperandKind, 68);
    EXPECT_EQ(d.MotionOperand, "D376");
    EXPECT_EQ(d.MicrostepOperand, "D366");
    EXPECT_EQ(d.BreakpointCount, 4);
    EXPECT_EQ(d.DirectControlPage, "TabSheetKLEM_Modbus_DirectControl");
    EXPECT_EQ(d.OptionBytes, options);
    EXPECT_EQ(d.OptionBytes[kOptionRunState], 1);
    EXPECT_EQ(d.OptionBytes[kOptionDebugOn], 1);
    EXPECT_EQ(d.OptionBytes[kOptionDebugOff], 0);
    EXPECT_EQ(d.PacketLines, 15);
    EXPECT_EQ(d.StoredWords, 17);
    EXPECT_EQ(d.SpareByte, 0);
    EXPECT_EQ(d.HighestMainLine, 28912);
    EXPECT_EQ(d.HighestServiceLine, 1926);
    EXPECT_EQ(d.SpeedMin, 8);
    EXPECT_EQ(d.SpeedMax, 120000);
    EXPECT_EQ(d.AccelMin, 1);
    EXPECT_EQ(d.AccelMax, 65535);
    EXPECT_EQ(d.PositionMin, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(d.PositionMax, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(d.EndMnemonic, "END");
    EXPECT_EQ(d.EndApiNumber, 0x6023);
    EXPECT_NE(d.ProgramDecoder, nullptr);
    EXPECT_EQ(d.ErrorGroups, BuildErrorGroups());
  }
}

TEST(DeviceModels, InterruptionList) {
  struct Entry {
    const char* caption;
    std::int64_t lowest;
    std::int64_t highest;
    int kind;
    const char* mnemonic;
  };
  const Entry expected[] = {
      {"Add comm. interruption", 0, 0, 0, "I"},
      {"Add timed  interruption", 1, 100, 3, "I"},
      {"Add external  interruption", 1000, 1007, 1, "I"},
      {"Add driver  interruption", 2000, 2001, 1, "I"},
      {"Enable interruptions", 0, 0, 4, "EI"},
      {"Disable interruptions", 0, 0, 4, "DI"},
      {"End of interruption handler", 0, 0, 4, "IRET"},
      {"End of main program", 0, 0, 4, "FEND"},
  };
  for (const TDeviceDescription& d : ModelList()) {
    SCOPED_TRACE(d.ModelName);
    ASSERT_EQ(d.Interruptions.size(), std::size(expected));
    for (std::size_t i = 0; i < d.Interruptions.size(); ++i) {
      EXPECT_EQ(d.Interruptions[i].Caption, expected[i].caption);
      EXPECT_EQ(d.Interruptions[i].Lowest, expected[i].lowest);
      EXPECT_EQ(d.Interruptions[i].Highest, expected[i].highest);
      EXPECT_EQ(d.Interruptions[i].Kind, expected[i].kind);
      EXPECT_EQ(d.Interruptions[i].Mnemonic, expected[i].mnemonic);
    }
    EXPECT_EQ(d.InterruptionInstructions[kFendRecord].Mnemonic, "FEND");
    EXPECT_EQ(d.InterruptionInstructions[kFendRecord].ApiNumber, 0x6003);
    EXPECT_EQ(d.InterruptionInstructions[kIRecord].Mnemonic, "I");
    EXPECT_EQ(d.InterruptionInstructions[kIRecord].ApiNumber, 0x6031);
    EXPECT_EQ(d.InterruptionInstructions[kIretRecord].Mnemonic, "IRET");
    EXPECT_EQ(d.InterruptionInstructions[kIretRecord].ApiNumber, 0x6010);
  }
}

TEST(DeviceModels, ParameterReadsOfEveryModel) {
  const TDC_Records_Array expected = {
      {3, 0x5000, 2, 0, 1, "GET_MAX_SPEED"},
      {3, 0x5002, 2, 0, 1, "GET_MIN_SPEED"},
      {3, 0x500B, 2, 0, 1, "GET_FS_SPEED"},
      {3, 0x5004, 1, 0, 1, "GET_ACCEL"},
      {3, 0x5005, 1, 0, 1, "GET_DECEL"},
      {3, 0x5012, 1, 0, 1, "GET_ACC_CUR"},
      {3, 0x5013, 1, 0, 1, "GET_DEC_CUR"},
      {3, 0x5014, 1, 0, 1, "GET_RUN_CUR"},
      {3, 0x5015, 1, 0, 1, "GET_HOLD_CUR"},
      {3, 0x5009, 1, 0, 1, "GET_MICRO"},
      {3, 0x500D, 1, 0, 1, "GET_FS_SW_EN"},
      {3, 0x5016, 1, 0, 1, "GET_CMINSPEED"},
      {3, 0x5011, 1, 0, 1, "GET_SW_INPUT"},
      {3, 0x5017, 1, 0, 1, "GET_ERROR_SET_HIZ"},
      {3, 0x5010, 1, 0, 1, "GET_CMD_RUN"},
      // One read per breakpoint line, then all four active flags at once.
      {3, 0x6200, 1, 0, 1, "GET_BREAKPOINT_LINE"},
      {3, 0x6201, 1, 0, 1, "GET_BREAKPOINT_LINE"},
      {3, 0x6202, 1, 0, 1, "GET_BREAKPOINT_LINE"},
      {3, 0x6203, 1, 0, 1, "GET_BREAKPOINT_LINE"},
      {1, 0x6200, 4, 0, 1, "GET_BREAKPOINT_ACTIVE"},
  };
  for (const TDeviceDescription& d : ModelList()) {
    SCOPED_TRACE(d.ModelName);
    EXPECT_EQ(d.ParameterReads, expected);
  }
}

TEST(DeviceModels, PollRegistersInPollingOrder) {
  struct Poll {
    const char* name;
    int function;
    int address;
    int count;
  };
  const Poll expected[] = {
      {"GET_OUTPUTS_Y0_Y7", 2, 0x1000, 8},
      {"GET_INPUTS_X0_X7", 2, 0x2000, 8},
      {"GET_RUN_STOP", 2, 0xF001, 1},
      {"GET_USER_PROG_ERROR_LINE", 4, 0xE084, 1},
      {"GET_ERROR_CODES", 4, 0xE002, 3},
      {"GET_ERRORS", 2, 0xE000, 5},
      {"GET_DIR", 3, 0x500A, 1},
      {"GET_ABS_POS", 3, 0x5006, 2},
      {"GET_MOTOR_STATUS", 4, 0x5037, 1},
      {"GET_CURRENT_SPD", 4, 0x5047, 2},
      {"READ_DEBUG_STATE", 2, 0x6100, 1},
      {"GET_SUPPLY_VOLTAGE_STATE", 1, 0x5030, 1},
      {"GET_INTERNAL_VOLTAGE_STATE", 1, 0x502F, 1},
  };
  for (const TDeviceDescription& d : ModelList()) {
    SCOPED_TRACE(d.ModelName);
    for (std::size_t i = 0; i < d.PollRegisters.size(); ++i) {
      const TRWmbrReg& poll = d.PollRegisters[i];
      EXPECT_EQ(poll.Name, expected[i].name);
      EXPECT_EQ(poll.Function, expected[i].function);
      EXPECT_EQ(poll.Address, expected[i].address);
      EXPECT_EQ(poll.Count, expected[i].count);
      EXPECT_TRUE(poll.Data.empty());
      EXPECT_FALSE(poll.WaitForValue);
      EXPECT_FALSE(poll.RepeatUntilEqual);
    }
  }
}

TEST(DeviceModels, BuildingAgainGivesTheSameDescriptions) {
  const std::vector<TDeviceDescription> again = BuildDeviceDescriptions();
  ASSERT_EQ(again.size(), ModelList().size());
  for (std::size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].Fields, ModelList()[i].Fields);
    EXPECT_EQ(again[i].PollRegisters, ModelList()[i].PollRegisters);
  }
}

TEST(ModelKeyTable, IdentificationSelectsTheModel) {
  struct KeyCase {
    std::uint16_t devId;
    std::uint16_t hwVersion;
    const char* model;  // nullptr: an unknown device
  };
  const KeyCase cases[] = {
      {1, 2, "KLEM-A ver.2"}, {1, 3, "KLEM-A ver.2"}, {2, 0, "KLEM-A ver.3"},
      {2, 1, "KLEM-A ver.3"}, {3, 0, "KLEM-B"},       {3, 1, "KLEM-B"},
      {4, 0, "KLEM-C"},       {4, 2, nullptr},        {1, 0, nullptr},
      {0, 0, nullptr},        {5, 0, nullptr},        {2, 3, nullptr},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.devId) + "/" + std::to_string(c.hwVersion));
    const TDeviceDescription* model = FindModelByKey(ModelKey(c.devId, c.hwVersion));
    if (c.model == nullptr) {
      EXPECT_EQ(model, nullptr);
    } else {
      ASSERT_NE(model, nullptr);
      EXPECT_EQ(model->ModelName, c.model);
    }
  }
  // The key is the GET_HW value: hardware version high, device type low.
  EXPECT_EQ(ModelKey(1, 3), 0x00030001u);
  EXPECT_EQ(FindModelByKey(0x00040000u), nullptr);  // device type 4 belongs in the low half
  EXPECT_EQ(ModelKeyTable().size(), 7u);
  // The rows name the very descriptions of the model list, so they can be selected.
  EXPECT_EQ(FindModelByKey(ModelKey(3, 1)), &ModelList()[2]);
}

class Selection : public ::testing::Test {
 protected:
  void TearDown() override { ClearCurrentDescription(); }
};

TEST_F(Selection, StartsEmptyAndInstallsTheModelTraits) {
  EXPECT_TRUE(CurrentDescription().ModelName.empty());
  EXPECT_TRUE(CurrentDescription().Fields.empty());
  EXPECT_EQ(&program_model::CurrentDeviceTraits(), &program_model::BuiltInDeviceTraits());

  ASSERT_TRUE(SelectModel(ModelList()[3]));
  EXPECT_EQ(&CurrentDescription(), &ModelList()[3]);
  const program_model::DeviceProgramTraits& traits = program_model::CurrentDeviceTraits();
  EXPECT_NE(&traits, &program_model::BuiltInDeviceTraits());
  EXPECT_EQ(traits.EndApi(), 0x6023);
  EXPECT_EQ(traits.InterruptApi(), 0x6031);
  EXPECT_EQ(traits.WordsPerInstruction(), 17);
  ASSERT_EQ(traits.Interruptions().size(), 8u);
  EXPECT_EQ(traits.Interruptions()[3].Highest, 2001);

  ClearCurrentDescription();
  EXPECT_TRUE(CurrentDescription().ModelName.empty());
  EXPECT_EQ(&program_model::CurrentDeviceTraits(), &program_model::BuiltInDeviceTraits());
}

TEST_F(Selection, RefusesADescriptionThatIsNotABuiltInModel) {
  ASSERT_TRUE(SelectModel(ModelList()[1]));
  const TDeviceDescription copy = ModelList()[2];
  EXPECT_FALSE(SelectModel(copy));
  EXPECT_FALSE(SelectModel(TDeviceDescription{}));
  EXPECT_EQ(CurrentDescription().ModelName, "KLEM-A ver.3");
}

// Readers on other threads always see one whole description while the window switches models.
TEST_F(Selection, SwitchingWhileOtherThreadsRead) {
  std::atomic<bool> stop{false};
  std::atomic<int> mismatches{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 2; ++t) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const TDeviceDescription& d = CurrentDescription();
        const std::size_t rows = d.Fields.size();
        const bool whole = (d.ModelName.empty() && rows == 0) ||
                           (d.ModelName == "KLEM-A ver.2" && rows == 114) ||
                           (d.ModelName == "KLEM-B" && rows == 117);
        if (!whole) ++mismatches;
        (void)program_model::CurrentDeviceTraits().EndApi();
      }
    });
  }
  for (int i = 0; i < 2000; ++i) {
    EXPECT_TRUE(SelectModel(ModelList()[i % 2 == 0 ? 0 : 2]));
    if (i % 7 == 0) ClearCurrentDescription();
  }
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace quarn::link

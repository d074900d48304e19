// Error texts of the controller's three error groups.
#include "link/error_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::link {
namespace {

struct TextCase {
  std::uint8_t group;
  std::uint16_t code;
  const char* text;
};

TEST(ErrorTable, TextsOfKnownAndUnknownCodes) {
  const TextCase cases[] = {
      {1, 0x2012, "Unknown command"},
      {1, 0x1007, "Internal error, type of signal collision is not identified"},
      {1, 0x3012, "Prescan – index P is ut of range"},
      {1, 0x203A, "Instruction XCH, data type of 2d  operand is incorrect"},
      {1, 0x200F,
       "Applying of ANB instruction error. There are not entries in the output stack, and there "
       "is only one entry in the main stack."},
      {1, 0x3011, "Getting token of operand  - incorrect operand type"},
      {1, 0x205A, "Instruction TWR, incorrect time format"},
      // A code the controller uses twice shows its first text.
      {1, 0x2034, "Instruction LD#, main signal type not recognized"},
      {1, 0x2055, "Instruction TWR, incorrect operand type"},
      {2, 1, "Memory allocation error"},
      {2, 5, "Function error (0Fh). Not all bits have been overwritten"},
      {2, 9, "Lost frame due to overflowing frame processing stack"},
      {3, 1, "Read protection for the main program has not been set"},
      {3, 6, "Failed to write the instruction to the service program"},
      // Unknown groups and codes.
      {4, 1, "undefined"},
      {0, 1, "undefined"},
      {1, 0x9999, "undefined"},
      {1, 1, "undefined"},
      {2, 0, "undefined"},
      {2, 10, "undefined"},
      {3, 7, "undefined"},
  };
  const std::vector<TDeviceErrors> groups = BuildErrorGroups();
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.group) + "/" + std::to_string(c.code));
    EXPECT_EQ(ErrorText(c.group, c.code), c.text);
    EXPECT_EQ(ErrorText(c.group, c.code, groups), c.text);
  }
  EXPECT_EQ(ErrorText(1, 0x2012, {}), "undefined");
}

TEST(ErrorTable, GroupsWithTheirCodeRegisters) {
  const std::vector<TDeviceErrors> groups = BuildErrorGroups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].GroupId, 3);
  EXPECT_EQ(groups[0].CodeRegister, 0xE002);
  EXPECT_EQ(groups[0].Codes.size(), 6u);
  EXPECT_EQ(groups[1].GroupId, 2);
  EXPECT_EQ(groups[1].CodeRegister, 0xE003);
  EXPECT_EQ(groups[1].Codes.size(), 9u);
  EXPECT_EQ(groups[2].GroupId, 1);
  EXPECT_EQ(groups[2].CodeRegister, 0xE004);
  ASSERT_EQ(groups[2].Codes.size(), 136u);
  // Table order is kept, duplicate codes included.
  EXPECT_EQ(groups[2].Codes.front(), (TErrorCode{0x2012, "Unknown command"}));
  EXPECT_EQ(groups[2].Codes[100], (TErrorCode{0x2034, "Switch interruptions queue overflow"}));
  EXPECT_EQ(groups[2].Codes.back(), (TErrorCode{0x205A, "Instruction TWR, incorrect time format"}));
}

}  // namespace
}  // namespace quarn::link

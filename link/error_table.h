// The controller's error codes and their texts, shared by every model.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/device_description.h"

namespace quarn::link {

// Error groups as the controller numbers them.
enum ErrorGroupId : std::uint8_t {
  kUserProgramErrors = 1,
  kModbusErrors = 2,
  kProgramMemoryErrors = 3,
};

// The error table: program memory (ROM), Modbus and user program groups, codes in table order.
std::vector<TDeviceErrors> BuildErrorGroups();

// The text of a code in a group; "undefined" when the group or the code is unknown. Where a code
// is listed twice, the first text wins.
std::string ErrorText(std::uint8_t groupId, std::uint16_t code,
                      std::span<const TDeviceErrors> groups);
// The same, in the error table all models share.
std::string ErrorText(std::uint8_t groupId, std::uint16_t code);

}  // namespace quarn::link

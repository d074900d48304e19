// The four built-in controller models and the table that maps a controller's identification to
// its model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "link/device_description.h"

namespace quarn::link {

inline constexpr std::size_t kModelCount = 4;

// The models in drop-down order: KLEM-A ver.2, KLEM-A ver.3, KLEM-B, KLEM-C. Built on first use
// (safe from any thread), then never changed or freed: references into it stay valid.
std::span<const TDeviceDescription> ModelList();

// Builds the four descriptions afresh from the tables; ModelList() holds one such result.
std::vector<TDeviceDescription> BuildDeviceDescriptions();

// The identification key of a controller is its GET_HW value: hardware version in the high half,
// device type (DEV_ID) in the low half.
constexpr std::uint32_t ModelKey(std::uint16_t devId, std::uint16_t hwVersion) {
  return (std::uint32_t{hwVersion} << 16) | devId;
}

struct TModelKeyRow {
  std::uint32_t Key = 0;
  const TDeviceDescription* Description = nullptr;  // an entry of ModelList()
};

std::span<const TModelKeyRow> ModelKeyTable();

// The model of an identification key; nullptr for an unknown device.
const TDeviceDescription* FindModelByKey(std::uint32_t key);

// The model of a ModelName ("KLEM-B"); nullptr for a name no model has.
const TDeviceDescription* FindModelByName(std::string_view name);

}  // namespace quarn::link

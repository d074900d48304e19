// What the main window shows of the selected controller model: its direct-control page with the
// page's caption, the supply lamps the model reports, and its breakpoint count.
#pragma once

#include <cstdint>
#include <string>

#include "link/device_description.h"

namespace quarn::link {

struct TModelWindowView {
  std::string DirectControlPage;      // the page to show; the others are hidden
  std::string DirectControlCaption;   // model name + " Direct Control"
  bool SupplyVoltageShown = false;    // the model has GET_SUPPLY_VOLTAGE_STATE
  bool InternalVoltageShown = false;  // the model has GET_INTERNAL_VOLTAGE_STATE
  std::int32_t BreakpointCount = 0;
};

TModelWindowView ModelWindowView(const TDeviceDescription& description);

}  // namespace quarn::link

#include "link/model_window.h"

#include "link/device_texts.h"
#include "link/register_map.h"

namespace quarn::link {
namespace {

bool HasRegister(std::string_view name, const TDeviceDescription& description) {
  return FindField(name, description).Register.Valid != 0;
}

}  // namespace

TModelWindowView ModelWindowView(const TDeviceDescription& description) {
  TModelWindowView view;
  view.DirectControlPage = description.DirectControlPage;
  view.DirectControlCaption = description.ModelName + std::string(texts::kDirectControlSuffix);
  view.SupplyVoltageShown = HasRegister("GET_SUPPLY_VOLTAGE_STATE", description);
  view.InternalVoltageShown = HasRegister("GET_INTERNAL_VOLTAGE_STATE", description);
  view.BreakpointCount = description.BreakpointCount;
  return view;
}

}  // namespace quarn::link

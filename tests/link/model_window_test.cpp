#include "link/model_window.h"

#include <gtest/gtest.h>

#include "link/device_models.h"

namespace quarn::link {
namespace {

TEST(ModelWindowView, PageCaptionAndSupplyLampsFollowTheModel) {
  struct Case {
    const char* model;
    bool supply;
    bool internal;
  };
  const Case cases[] = {
      {"KLEM-A ver.2", false, false},
      {"KLEM-A ver.3", true, false},
      {"KLEM-B", true, true},
      {"KLEM-C", true, true},
  };
  ASSERT_EQ(ModelList().size(), std::size(cases));
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    const Case& c = cases[index];
    const TDeviceDescription& model = ModelList()[index];
    ASSERT_EQ(model.ModelName, c.model);
    const TModelWindowView view = ModelWindowView(model);
    EXPECT_EQ(view.DirectControlPage, "TabSheetKLEM_Modbus_DirectControl") << c.model;
    EXPECT_EQ(view.DirectControlCaption, std::string(c.model) + " Direct Control");
    EXPECT_EQ(view.SupplyVoltageShown, c.supply) << c.model;
    EXPECT_EQ(view.InternalVoltageShown, c.internal) << c.model;
    EXPECT_EQ(view.BreakpointCount, 4) << c.model;
  }
}

TEST(ModelWindowView, NoModelShowsNoLamps) {
  const TModelWindowView view = ModelWindowView(TDeviceDescription{});
  EXPECT_TRUE(view.DirectControlPage.empty());
  EXPECT_FALSE(view.SupplyVoltageShown);
  EXPECT_FALSE(view.InternalVoltageShown);
}

}  // namespace
}  // namespace quarn::link

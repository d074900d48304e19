#include "program_model/element_kinds.h"

#include <gtest/gtest.h>

namespace quarn::program_model {
namespace {

TEST(ElementKinds, TableKeepsItsStoredOrder) {
  const auto table = ElementKindTable();
  ASSERT_EQ(table.size(), 22u);
  EXPECT_EQ(table[0].Name, "CommonBus");
  EXPECT_EQ(table[6].Code, EkInstrStart);
  EXPECT_EQ(table[15].Name, "TransStart");
  EXPECT_EQ(table[19].Code, EkEmpty);
  EXPECT_EQ(table[21].Name, "Label");
}

TEST(ElementKinds, Lookups) {
  EXPECT_EQ(ElementKindName(EkINV), "INV");
  EXPECT_EQ(ElementKindName(EkEmpty), "Empty");
  EXPECT_EQ(ElementKindName(22), "");
  EXPECT_EQ(ElementImageOfCode(EkTransStart), "IMG_TransLogicStart");
  EXPECT_EQ(ElementImageOfCode(EkInstrOperand3), "IMG_InstrMiddle");
  EXPECT_EQ(ElementImageOfCode(99), "IMG_temp");
  EXPECT_EQ(ElementImageOfName("HLine"), "IMG_Horiz_line");
  EXPECT_EQ(ElementImageOfName("hline"), "IMG_temp");
  EXPECT_EQ(ElementCodeOfTaggedName("LDI;"), EkLDI);
  EXPECT_EQ(ElementCodeOfTaggedName("Empty;"), EkEmpty);
  for (const char* text : {"LDI", "LDI;;", ";", "", "LD;X"}) {
    EXPECT_FALSE(ElementCodeOfTaggedName(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace quarn::program_model

#include "ladder/change_box.h"

#include <gtest/gtest.h>

#include "ladder/ladder_texts.h"
#include "ladder/quick_operands.h"
#include "program_model/catalogue.h"
#include "tests/ladder/ladder_fixture.h"

namespace quarn::ladder {
namespace {

using namespace program_model;
using testing::FakeRegisters;
using testing::Put;
using testing::RecordingEvents;
using testing::RowPicture;

class ChangeBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetCursor(0, 5);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("MOV"), {"K3000", "D361"}));
    grid.SetCursor(1, 3);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("LD"), {"X0"}));
    grid.SetCursor(1, 2);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("P"), {"5"}));
    events.messages.clear();
  }

  RecordingEvents events;
  LadderGrid grid{events};
  FakeRegisters registers;
  LadderEditor editor{grid, registers};
  InstructionChangeBox box{editor};
};

TEST_F(ChangeBoxTest, DoubleClickShowsTheElementAsText) {
  struct Case {
    int row, col;
    std::string text;
    int startCol;
  };
  Put(grid, {{2, 6, "INV;"}});
  const Case cases[] = {
      {0, 14, "MOV K3000 D361", 12},
      {0, 12, "MOV K3000 D361", 12},
      {1, 3, "LD X0", 3},
      {1, 2, "P 5", 2},
      {2, 6, "INV", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(box.Open(c.row, c.col));
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.Text(), c.text);
    EXPECT_EQ(grid.CurrentCol(), c.startCol);
    EXPECT_TRUE(box.ElementUnderEdit().has_value());
  }
  box.Hide();
  EXPECT_FALSE(box.Open(0, 8));  // a wire
  EXPECT_FALSE(box.Open(3, 9));  // an empty cell
  EXPECT_FALSE(box.Visible());
  grid.SetText(0, 12, "NOSUCH");
  EXPECT_FALSE(box.Open(0, 13));
}

TEST_F(ChangeBoxTest, OkReplacesTheElementInItsPlace) {
  ASSERT_TRUE(box.Open(0, 14));
  ASSERT_TRUE(box.ApplyChangedInstruction("  \tMOV K3000 D376"));
  EXPECT_FALSE(box.Visible());
  EXPECT_EQ(RowPicture(grid, 0),
            "3:CommonBus; 5:HLine; 6:HLine; 7:HLine; 8:HLine; 9:HLine; 10:HLine; 11:HLine; "
            "12:InstrStart;'MOV' 13:InstrOperand1;'K3000' 14:InstrOperand2;InstrEnd;'D376'");
  EXPECT_EQ(grid.Layers(0, 14).Lbl, "RUN/MOVE COMMAND");
}

TEST_F(ChangeBoxTest, TextThatDoesNotParseChangesNothing) {
  const std::string before = RowPicture(grid, 0);
  struct Case {
    const char* text;
    std::string message;
  };
  const Case cases[] = {
      {"MOVE K3000 D361", std::string(texts::kWrongCommand)},
      {"MOV K3000", std::string(texts::kWrongParametersNumber)},
      {"MOV K3000 X0", std::string(texts::kWrongParameter) + "2"},
      {"MOV k3000 D0", std::string(texts::kWrongParameter) + "1"},
      {"MOV K1 D0 D2", ""},
      {"END X0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    events.messages.clear();
    ASSERT_TRUE(box.Open(0, 13));
    EXPECT_FALSE(box.ApplyChangedInstruction(c.text));
    EXPECT_EQ(events.messages, (std::vector<std::string>{c.message}));
    EXPECT_EQ(RowPicture(grid, 0), before);
    EXPECT_TRUE(box.Visible());
  }
}

TEST_F(ChangeBoxTest, AnElementThatDoesNotFitBringsTheOldOneBack) {
  Put(grid, {{1, 9, "LDI;", "M2"}});
  const std::string before = RowPicture(grid, 1);
  ASSERT_TRUE(box.Open(1, 3));
  // A MOV needs the cells up to the last column and the contact at column 9 is in the way.
  EXPECT_FALSE(box.ApplyChangedInstruction("MOV K1 D0"));
  EXPECT_EQ(RowPicture(grid, 1), before);
  EXPECT_EQ(events.messages,
            (std::vector<std::string>{std::string(texts::kNoSpaceForInstruction)}));

  // An element whose cells never parsed is put back cell for cell.
  grid.SetCursor(3, 4);
  ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("LD="), {"K1"}));
  const std::string comparison = RowPicture(grid, 3);
  ASSERT_TRUE(box.Open(3, 5));
  EXPECT_FALSE(box.ElementUnderEdit().has_value());
  grid.SetKinds(3, 9, "LD;");
  EXPECT_FALSE(box.ApplyChangedInstruction("MOV K1 D0"));
  EXPECT_EQ(RowPicture(grid, 3), comparison + " 9:LD;");
}

TEST(QuickOperandsTest, FieldsAreCheckedInTheNotationOfTheirKind) {
  struct Case {
    const char* mnemonic;
    TOperandType kind1;
    const char* value1;
    TOperandType kind2;
    const char* value2;
    bool fits;
  };
  const Case cases[] = {
      {"MOV", OpTypeK, "0", OpTypeD, "0", true},
      {"MOV", OpTypeK, "-32768", OpTypeD, "391", true},
      {"MOV", OpTypeK, "12a", OpTypeD, "0", false},
      {"MOV", OpTypeK, "", OpTypeD, "0", false},
      {"MOV", OpTypeK, "0", OpTypeD, "392", false},
      {"MOV", OpTypeX, "17", OpTypeD, "0", true},
      {"MOV", OpTypeX, "18", OpTypeD, "0", false},  // X is octal
      {"MOV", OpTypeH, "1F", OpTypeD, "0", true},
      {"MOV", OpTypeH, "1f", OpTypeD, "0", false},
      {"MOV", OpTypeK, "0", OpTypeX, "0", false},  // X is no destination
      {"LD=", OpTypeK, "5", OpTypeX, "0", true},
      {"LD=", OpTypeF, "0", OpTypeD, "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mnemonic << " " << c.value1 << " " << c.value2);
    QuickOperands fields{c.kind1, c.value1, c.kind2, c.value2, "LD&"};
    EXPECT_EQ(QuickOperandsFit(c.mnemonic, fields), c.fits);
  }
  EXPECT_EQ(QuickDefaultValue(OpTypeK), "0");
  EXPECT_EQ(QuickDefaultValue(OpTypeD), "0");
  EXPECT_EQ(QuickOperand1Kinds().size(), 11u);
  EXPECT_EQ(QuickOperand2Kinds().size(), 10u);
  EXPECT_EQ(QuickComparisons().front(), "LD&");
}

TEST(QuickOperandsTest, QuickButtonsPlaceTheirInstruction) {
  RecordingEvents events;
  LadderGrid grid(events);
  NoRegisterNames registers;
  LadderEditor editor(grid, registers);
  QuickOperands fields{OpTypeK, "5", OpTypeD, "10", "LD<>"};
  EXPECT_EQ(QuickMnemonic("LD", fields), "LD<>");
  EXPECT_EQ(QuickMnemonic("DLD", fields), "DLD<>");
  EXPECT_EQ(QuickMnemonic("MOV", fields), "MOV");

  grid.SetCursor(0, 3);
  ASSERT_TRUE(AddQuickInstruction(editor, QuickMnemonic("LD", fields), fields));
  EXPECT_EQ(RowPicture(grid, 0),
            "3:CommonBus;TransStart;'LD<>' 4:TransOperand1;'K5' 5:TransOperand2;TransEnd;'D10'");

  fields.Value2 = "1\"2";
  grid.SetCursor(1, 3);
  EXPECT_FALSE(AddQuickInstruction(editor, "MOV", fields));
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kWrongParameter) + "2"}));
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus;");
}

}  // namespace
}  // namespace quarn::ladder

#include "ladder/ladder_grid.h"

#include <gtest/gtest.h>

#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"
#include "tests/ladder/ladder_fixture.h"

namespace quarn::ladder {
namespace {

using namespace program_model;
using testing::BareRail;
using testing::Put;
using testing::RecordingEvents;
using testing::RowPicture;

class LadderGridTest : public ::testing::Test {
 protected:
  RecordingEvents events;
  LadderGrid grid{events};
};

TEST_F(LadderGridTest, ClearLadderLeavesFiveRowsOfFifteenColumnsWithTheRail) {
  Put(grid, {{1, 5, "HLine;"}, {2, 3, "CommonBus;LD;", "X0"}});
  grid.AddColumn(ColumnMode::AtEnd);
  grid.SetCursor(2, 7);
  grid.ClearLadder();
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.ColCount(), 15);
  for (int row = 0; row < grid.RowCount(); ++row) EXPECT_EQ(RowPicture(grid, row), BareRail());
  EXPECT_EQ(grid.CurrentRow(), 0);
  EXPECT_EQ(grid.CurrentCol(), 3);
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 3, 0, 3}));
  EXPECT_EQ(events.anchorResets, 1);
}

TEST_F(LadderGridTest, AddColumnAtEndKeepsOutputsInTheLastColumn) {
  Put(grid, {{0, 12, "InstrStart;", "MOV"},
             {0, 13, "InstrOperand1;", "K3000"},
             {0, 14, "InstrOperand2;InstrEnd;", "D361"},
             {1, 4, "HLine;"},
             {1, 14, "HLine;"},
             {2, 13, "HLine;"},
             {2, 14, "OUT;", "Y0"}});
  grid.SetCmd(0, 14, "Set ACCEL = K3000");
  grid.SetComment(0, 14, "note");
  ASSERT_TRUE(grid.AddColumn(ColumnMode::AtEnd));
  EXPECT_EQ(grid.ColCount(), 16);
  EXPECT_EQ(RowPicture(grid, 0),
            "3:CommonBus; 12:HLine; 13:InstrStart;'MOV' 14:InstrOperand1;'K3000' "
            "15:InstrOperand2;InstrEnd;'D361'");
  EXPECT_EQ(grid.Layers(0, 15).Cmd, "Set ACCEL = K3000");
  EXPECT_EQ(grid.Layers(0, 15).Comment, "note");  // the box's comment goes with the box
  EXPECT_EQ(grid.Layers(0, 12).Cmd, "");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 4:HLine; 14:HLine;");
  EXPECT_EQ(RowPicture(grid, 2), "3:CommonBus; 13:HLine; 14:HLine; 15:OUT;'Y0'");
}

TEST_F(LadderGridTest, AddColumnAtCursorGoesInFrontOfTheElementUnderTheCursor) {
  Put(grid, {{0, 3, "CommonBus;LD;", "X0"},
             {0, 4, "HLine;"},
             {0, 5, "TransStart;", "LD="},
             {0, 6, "TransOperand1;", "K1"},
             {0, 7, "TransOperand2;TransEnd;", "D0"},
             {1, 3, "CommonBus;LD;", "X1"},
             {1, 7, "HLine;"}});
  grid.SetCursor(0, 7);
  ASSERT_TRUE(grid.AddColumn(ColumnMode::AtCursor));
  EXPECT_EQ(RowPicture(grid, 0),
            "3:CommonBus;LD;'X0' 4:HLine; 6:TransStart;'LD=' 7:TransOperand1;'K1' "
            "8:TransOperand2;TransEnd;'D0'");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus;LD;'X1' 8:HLine;");

  // At the rail the old rail cell moves right without its rail token.
  grid.SetCursor(0, 3);
  ASSERT_TRUE(grid.AddColumn(ColumnMode::AtCursor));
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 4:LD;'X1' 9:HLine;");
}

TEST_F(LadderGridTest, AddColumnStopsAtThirtyColumns) {
  while (grid.ColCount() < MaxColumns) ASSERT_TRUE(grid.AddColumn(ColumnMode::AtEnd));
  EXPECT_TRUE(events.messages.empty());
  EXPECT_FALSE(grid.AddColumn(ColumnMode::AtEnd));
  EXPECT_FALSE(grid.AddColumn(ColumnMode::AtCursor));
  EXPECT_EQ(grid.ColCount(), MaxColumns);
  EXPECT_EQ(events.messages, (std::vector<std::string>(2, std::string(texts::kTooManyColumns))));
}

TEST_F(LadderGridTest, DeleteColumnRemovesWholeElementsAndRebuildsTheRail) {
  Put(grid, {{0, 3, "CommonBus;LD;", "X0"},
             {0, 4, "TransStart;", "LD="},
             {0, 5, "TransOperand1;", "K1"},
             {0, 6, "TransOperand2;TransEnd;", "D0"},
             {0, 7, "HLine;"},
             {1, 3, "CommonBus;HLine;"},
             {1, 4, "VLine1;HLine;"},
             {2, 4, "VLine2;LDI;", "M1"}});
  grid.SetCursor(1, 9);
  ASSERT_TRUE(grid.DeleteColumn(5));  // the middle of the comparison
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus;LD;'X0' 6:HLine;");
  EXPECT_EQ(grid.ColCount(), 14);
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_EQ(grid.CurrentCol(), 5);

  ASSERT_TRUE(grid.DeleteColumn(BusColumn));
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus; 5:HLine;");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus;HLine;");
  EXPECT_EQ(RowPicture(grid, 2), "3:CommonBus;LDI;'M1'");
}

// A lone lower half of a vertical line (InsertRow and DeleteRow leave such halves) in the deleted
// column must not take the upper half of the line one column further right.
TEST_F(LadderGridTest, DeleteColumnKeepsTheNeighbouringVerticalLine) {
  Put(grid, {{0, 7, "VLine1;HLine;"}, {1, 6, "VLine2;"}, {1, 7, "VLine2;HLine;"}});
  ASSERT_TRUE(grid.DeleteColumn(6));
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus; 6:VLine1;HLine;");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 6:VLine2;HLine;");
}

TEST_F(LadderGridTest, DeleteColumnRefusals) {
  EXPECT_FALSE(grid.DeleteColumn(LabelColumn));  // columns with fixed roles stay
  EXPECT_FALSE(grid.DeleteColumn(15));
  while (grid.ColCount() > MinColumns) ASSERT_TRUE(grid.DeleteColumn(4));
  EXPECT_FALSE(grid.DeleteColumn(4));
  EXPECT_EQ(grid.ColCount(), MinColumns);
  EXPECT_TRUE(events.messages.empty());
}

TEST_F(LadderGridTest, RowOperations) {
  Put(grid, {{1, 5, "VLine1;HLine;"}, {2, 5, "VLine2;"}, {4, 6, "HLine;"}});
  grid.SetCursor(2, 5);
  ASSERT_TRUE(grid.InsertRow());  // between the halves of the vertical line: it stays broken
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 5:VLine1;HLine;");
  EXPECT_EQ(RowPicture(grid, 2), BareRail());
  EXPECT_EQ(RowPicture(grid, 3), "3:CommonBus; 5:VLine2;");

  grid.SetCursor(5, 6);
  ASSERT_TRUE(grid.DeleteRow());
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.CurrentRow(), 4);  // the cursor stays inside the grid
  ASSERT_TRUE(grid.AppendRow());
  EXPECT_EQ(RowPicture(grid, 5), BareRail());

  while (grid.RowCount() > 1) ASSERT_TRUE(grid.DeleteRow());
  EXPECT_FALSE(grid.DeleteRow());
  EXPECT_TRUE(events.messages.empty());
}

TEST_F(LadderGridTest, RowsStopAtTheLimit) {
  grid.Resize(MaxRows, DefaultColCount);
  EXPECT_FALSE(grid.AppendRow());
  EXPECT_FALSE(grid.InsertRow());
  EXPECT_EQ(grid.RowCount(), MaxRows);
  EXPECT_EQ(events.messages.size(), 2u);
}

TEST_F(LadderGridTest, DeleteSelectionRemovesElementsAndTheirLineHalves) {
  Put(grid, {{0, 4, "TransStart;", "LD="},
             {0, 5, "TransOperand1;", "K1"},
             {0, 6, "TransOperand2;TransEnd;", "D0"},
             {0, 7, "VLine1;HLine;"},
             {1, 7, "VLine2;HLine;"},
             {1, 12, "InstrStart;", "MOV"},
             {1, 13, "InstrOperand1;", "K1"},
             {1, 14, "InstrOperand2;InstrEnd;", "D361"}});
  grid.SetLbl(1, 14, "ACCEL");
  grid.SetSelection({0, 5, 0, 5});
  grid.DeleteSelection();
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus; 7:VLine1;HLine;");

  grid.SetSelection({0, 7, 1, 7});
  grid.DeleteSelection();  // the cell with VLine1 also takes the VLine2 below
  EXPECT_EQ(RowPicture(grid, 0), BareRail());
  EXPECT_EQ(
      RowPicture(grid, 1),
      "3:CommonBus; 12:InstrStart;'MOV' 13:InstrOperand1;'K1' 14:InstrOperand2;InstrEnd;'D361'");
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 7, 0, 7}));

  grid.SetSelection({1, 14, 1, 14});
  grid.DeleteSelection();
  EXPECT_EQ(RowPicture(grid, 1), BareRail());
  EXPECT_EQ(grid.Layers(1, 14).Lbl, "");
}

// One grid holding each kind of cell, and what every query answers for it.
TEST_F(LadderGridTest, CellQueries) {
  Put(grid, {{0, 2, "Label;", "P 5"},
             {0, 3, "CommonBus;LD;", "X0"},
             {0, 4, "VLine1;HLine;"},
             {0, 5, "TransStart;", "LD="},
             {0, 6, "TransOperand1;", "K1"},
             {0, 7, "TransOperand2;TransEnd;", "D0"},
             {0, 8, "INV;"},
             {0, 12, "InstrStart;", "MOV"},
             {0, 13, "InstrOperand1;", "K1"},
             {0, 14, "InstrOperand2;InstrEnd;", "D1"},
             {1, 4, "VLine2;"},
             {1, 14, "OUT;", "Y0"}});
  struct Case {
    int row, col;
    std::uint8_t flags;
    bool vline1, vline2, conducts, noElement;
    std::optional<std::uint8_t> main;
    int startOffset;
  };
  const Case cases[] = {
      {0, 2, 0, false, false, false, true, EkLabel, 0},
      {0, 3, CfUpper | CfLower | CfContact | CfElement, true, true, true, false, EkLD, 0},
      {1, 3, CfUpper | CfLower, true, true, false, true, std::nullopt, 0},
      {0, 4, CfHLine | CfUpper, true, false, true, true, std::nullopt, 0},
      {1, 4, CfLower, false, true, false, true, std::nullopt, 0},
      {0, 5, CfContact | CfElement, false, false, true, false, EkTransStart, 0},
      {0, 7, CfContact | CfElement, false, false, true, false, EkTransOperand2, 2},
      {0, 8, CfContact | CfElement, false, false, true, false, EkINV, 0},
      {0, 13, CfOutput | CfElement, false, false, false, false, EkInstrOperand1, 1},
      {0, 14, CfOutput | CfElement, false, false, false, false, EkInstrOperand2, 2},
      {1, 14, CfOutput | CfElement, false, false, false, false, EkOUT, 0},
      {1, 9, 0, false, false, false, true, std::nullopt, 0},
      {-1, 3, 0, false, false, false, true, std::nullopt, 0},
      {5, 3, 0, false, false, false, true, std::nullopt, 0},
      {0, 15, 0, false, false, false, true, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << c.row << " col " << c.col);
    EXPECT_EQ(grid.CellFlags(c.row, c.col), c.flags);
    EXPECT_EQ(grid.HasVLine1(c.row, c.col), c.vline1);
    EXPECT_EQ(grid.HasVLine2(c.row, c.col), c.vline2);
    EXPECT_EQ(grid.Conducts(c.row, c.col), c.conducts);
    EXPECT_EQ(grid.HasNoElement(c.row, c.col), c.noElement);
    EXPECT_EQ(grid.MainElementKind(c.row, c.col), c.main);
    EXPECT_EQ(grid.ElementStartOffset(c.row, c.col), c.startOffset);
  }
  EXPECT_TRUE(grid.HasInversion(0, 8));
  EXPECT_FALSE(grid.IsPlainContact(0, 8));
  EXPECT_TRUE(grid.IsPlainContact(0, 3));
  EXPECT_TRUE(grid.IsMultiCellPart(0, 7));
  EXPECT_FALSE(grid.IsMultiCellPart(0, 8));
  EXPECT_TRUE(grid.IsMultiCellStart(0, 12));
  EXPECT_FALSE(grid.IsMultiCellStart(0, 13));

  EXPECT_EQ(grid.FindInstructionOfCell(0, 3).Mnemonic, "LD");
  EXPECT_EQ(grid.FindInstructionOfCell(0, 5).Mnemonic, "LD=");
  EXPECT_EQ(grid.FindInstructionOfCell(0, 12).Mnemonic, "MOV");
  EXPECT_EQ(grid.FindInstructionOfCell(1, 14).Mnemonic, "OUT");
  EXPECT_EQ(grid.FindInstructionOfCell(0, 4).ApiNumber, 0);
  EXPECT_EQ(grid.FindInstructionOfCell(0, 13).ApiNumber, 0);

  EXPECT_EQ(grid.LinkSkeleton(0, 3), "CommonBus;");
  EXPECT_EQ(grid.LinkSkeleton(0, 4), "VLine1;");
  EXPECT_EQ(grid.LinkSkeleton(1, 4), "VLine2;");
  EXPECT_EQ(grid.LinkSkeleton(0, 5), "");
}

// The grid keeps the element of each cell beside its kinds; it must follow every kind of change.
TEST_F(LadderGridTest, TheElementOfACellFollowsEveryChange) {
  const auto expectCellsAgree = [](const LadderGrid& g, const char* step) {
    SCOPED_TRACE(step);
    for (int row = -1; row <= g.RowCount(); ++row) {
      for (int col = -1; col <= g.ColCount(); ++col) {
        const TInstructions& expected =
            FindInstructionOfCellText(g.Kinds(row, col), g.Text(row, col));
        ASSERT_EQ(&g.FindInstructionOfCell(row, col), &expected) << "row " << row << " col " << col;
      }
    }
  };
  Put(grid, {{0, 3, "CommonBus;LD;", "X0"},
             {0, 12, "InstrStart;", "MOV"},
             {0, 13, "InstrOperand1;", "K3000"},
             {0, 14, "InstrOperand2;InstrEnd;", "D361"},
             {1, 3, "CommonBus;OUT;", "Y0"}});
  expectCellsAgree(grid, "placed");
  EXPECT_EQ(grid.FindInstructionOfCell(1, 3).Mnemonic, "OUT");
  grid.SetText(0, 12, "ADD");
  EXPECT_EQ(grid.FindInstructionOfCell(0, 12).Mnemonic, "ADD");
  grid.SetKinds(0, 3, "CommonBus;LDI;");
  EXPECT_EQ(grid.FindInstructionOfCell(0, 3).Mnemonic, "LDI");
  expectCellsAgree(grid, "text and kinds set");
  grid.AddColumn(ColumnMode::AtEnd);
  expectCellsAgree(grid, "column added at the end");
  grid.SetCursor(0, 3);
  grid.AddColumn(ColumnMode::AtCursor);
  expectCellsAgree(grid, "column added at the rail");
  grid.DeleteColumn(3);
  expectCellsAgree(grid, "rail column deleted");
  const LadderGrid copy = grid;
  expectCellsAgree(copy, "copied");
  grid.SetCell(2, 5, "LD>", TLDMLayers{"TransStart;", "", "", "", ""});
  EXPECT_EQ(grid.FindInstructionOfCell(2, 5).Mnemonic, "LD>");
  grid.SetSelection(TGridRect{0, 3, 2, grid.LastColumn()});
  grid.DeleteSelection();
  expectCellsAgree(grid, "selection deleted");
  EXPECT_EQ(grid.FindInstructionOfCell(2, 5).ApiNumber, 0);
}

TEST_F(LadderGridTest, KindTokensAreWholeNames) {
  EXPECT_EQ(MaskOfKinds("CommonBus;LDI;junk"), KindBit(EkCommonBus) | KindBit(EkLDI));
  EXPECT_EQ(MaskOfKinds("LDI;"), KindBit(EkLDI));  // "LDI;" holds no "LD;"
  std::string kinds = "VLine1;CommonBus;HLine;CommonBus;";
  RemoveKindToken(kinds, EkCommonBus, true);
  EXPECT_EQ(kinds, "VLine1;HLine;CommonBus;");
  RemoveKindToken(kinds, EkVLine1);
  EXPECT_EQ(kinds, "HLine;CommonBus;");
  grid.SetKinds(0, 5, "VLine2;INV;");
  grid.RemoveKind(0, 5, EkVLine2);
  EXPECT_EQ(grid.Kinds(0, 5), "INV;");
  EXPECT_TRUE(grid.HasKind(0, 5, EkINV));
  EXPECT_FALSE(grid.HasKind(0, 5, EkVLine2));
}

}  // namespace
}  // namespace quarn::ladder

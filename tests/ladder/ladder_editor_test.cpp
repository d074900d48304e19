#include "ladder/ladder_editor.h"

#include <gtest/gtest.h>

#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"
#include "tests/ladder/ladder_fixture.h"

namespace quarn::ladder {
namespace {

using namespace program_model;
using testing::BareRail;
using testing::FakeRegisters;
using testing::Put;
using testing::RecordingEvents;
using testing::RowPicture;

std::string Wires(int from, int to) {
  std::string wires;
  for (int col = from; col <= to; ++col) wires += " " + std::to_string(col) + ":HLine;";
  return wires;
}

class LadderEditorTest : public ::testing::Test {
 protected:
  bool Place(std::string_view mnemonic, OperandTexts operands = {}) {
    return editor.PlaceInstruction(FindInstructionByMnemonic(mnemonic), operands);
  }

  RecordingEvents events;
  LadderGrid grid{events};
  FakeRegisters registers;
  LadderEditor editor{grid, registers};
};

// Every element kind placed on an empty 5 x 15 grid at a given column of row 0.
TEST_F(LadderEditorTest, PlacesEveryElementKind) {
  struct Case {
    const char* mnemonic;
    OperandTexts operands;
    int col;
    bool placed;
    std::string row0;
    int cursorCol;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"LD", {"X0"}, 3, true, "3:CommonBus;LD;'X0'", 4, {}},
      {"LDI", {"M1"}, 5, true, "3:CommonBus; 5:LDI;'M1'", 6, {}},
      {"LDP", {"X1"}, 5, true, "3:CommonBus; 5:LDP;'X1'", 6, {}},
      {"LDF", {"X2"}, 5, true, "3:CommonBus; 5:LDF;'X2'", 6, {}},
      {"INV", {}, 5, true, "3:CommonBus; 5:INV;", 6, {}},
      {"OUT", {"Y0"}, 5, true, "3:CommonBus;" + Wires(5, 13) + " 14:OUT;'Y0'", 14, {}},
      {"LD=",
       {"K1", "D0"},
       4,
       true,
       "3:CommonBus; 4:TransStart;'LD=' 5:TransOperand1;'K1' 6:TransOperand2;TransEnd;'D0'",
       6,
       {}},
      {"LD=",
       {"K1"},
       4,
       true,
       "3:CommonBus; 4:TransStart;'LD=' 5:TransOperand1;TransEnd;'K1'",
       5,
       {}},
      {"MOV",
       {"K3000", "D0"},
       5,
       true,
       "3:CommonBus;" + Wires(5, 11) +
           " 12:InstrStart;'MOV' 13:InstrOperand1;'K3000' 14:InstrOperand2;InstrEnd;'D0'",
       14,
       {}},
      {"END",
       {},
       3,
       true,
       "3:CommonBus;HLine;" + Wires(4, 13) + " 14:InstrStart;InstrEnd;'END'",
       14,
       {}},
      {"ZCP",
       {"K1", "K2", "D3", "Y0"},
       4,
       true,
       "3:CommonBus;" + Wires(4, 9) +
           " 10:InstrStart;'ZCP' 11:InstrOperand1;'K1' 12:InstrOperand2;'K2' "
           "13:InstrOperand3;'D3' 14:InstrOperand4;InstrEnd;'Y0'",
       14,
       {}},
      {"P", {"5"}, 3, true, "2:Label;'P 5' 3:CommonBus;", 3, {}},
      {"ANB", {}, 5, false, BareRail(), 5, {}},
      {"Unknown", {}, 5, false, BareRail(), 5, {}},
      {"LD", {"X0"}, 2, false, BareRail(), 2, {std::string(texts::kInstructionNotPossibleHere)}},
      // A label goes into the label column of the cursor row wherever the cursor is.
      {"P", {"5"}, 5, true, "2:Label;'P 5' 3:CommonBus;", 5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mnemonic << " at column " << c.col);
    events.messages.clear();
    grid.ClearLadder();
    grid.SetCursor(0, c.col);
    EXPECT_EQ(Place(c.mnemonic, c.operands), c.placed);
    EXPECT_EQ(RowPicture(grid, 0), c.row0);
    EXPECT_EQ(grid.CurrentCol(), c.cursorCol);
    EXPECT_EQ(events.messages, c.messages);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.ColCount(), 15);
  }
}

TEST_F(LadderEditorTest, PlacementKeepsTheRailAndHalfLinesAndResetsTheAnchor) {
  Put(grid, {{0, 5, "VLine1;"}, {1, 5, "VLine2;HLine;"}});
  grid.SetCursor(0, 3);
  ASSERT_TRUE(Place("LD", {"X0"}));
  grid.SetCursor(0, 5);
  ASSERT_TRUE(Place("LDI", {"X1"}));
  grid.SetCursor(1, 5);
  ASSERT_TRUE(Place("LD", {"X2"}));
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus;LD;'X0' 5:VLine1;LDI;'X1'");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 5:VLine2;LD;'X2'");
  EXPECT_EQ(events.anchorResets, 3);
}

TEST_F(LadderEditorTest, ElementsGrowTheGridUpToThirtyColumns) {
  grid.SetCursor(4, 14);  // the last column of the last row
  ASSERT_TRUE(Place("LD", {"X0"}));
  EXPECT_EQ(grid.ColCount(), 16);
  EXPECT_EQ(grid.RowCount(), 6);  // placing on the last row adds one below
  EXPECT_EQ(RowPicture(grid, 4), "3:CommonBus; 14:LD;'X0'");

  while (grid.ColCount() < MaxColumns) grid.AddColumn(ColumnMode::AtEnd);
  grid.SetCursor(0, MaxColumns - 1);
  EXPECT_FALSE(Place("LD", {"X1"}));
  EXPECT_EQ(RowPicture(grid, 0), BareRail());
  EXPECT_EQ(events.messages,
            (std::vector<std::string>{std::string(texts::kTooManyColumns),
                                      std::string(texts::kNoSpaceForInstruction)}));
}

TEST_F(LadderEditorTest, OccupiedCellsRefuseAnElement) {
  struct Case {
    std::vector<testing::CellSpec> cells;
    int col;
    const char* mnemonic;
    OperandTexts operands;
  };
  const Case cases[] = {
      // A contact does not replace another element.
      {{{0, 5, "LD;", "X0"}}, 5, "LDI", {"X1"}},
      // An output needs every cell up to the last column free of elements ...
      {{{0, 9, "LD;", "X0"}}, 5, "OUT", {"Y0"}},
      {{{0, 13, "LD;", "X0"}}, 5, "MOV", {"K1", "D0"}},
      // ... and its own cells and the cell before them free of vertical lines.
      {{{0, 14, "VLine1;"}, {1, 14, "VLine2;"}}, 5, "OUT", {"Y0"}},
      {{{0, 11, "VLine1;"}, {1, 11, "VLine2;"}}, 5, "MOV", {"K1", "D0"}},
      // A comparison's three cells must be free.
      {{{0, 6, "INV;"}}, 4, "LD=", {"K1", "D0"}},
      // One label per row.
      {{{0, 2, "Label;", "P 1"}}, 2, "P", {"5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mnemonic);
    events.messages.clear();
    grid.ClearLadder();
    Put(grid, c.cells);
    const std::string before = RowPicture(grid, 0);
    grid.SetCursor(0, c.col);
    EXPECT_FALSE(Place(c.mnemonic, c.operands));
    EXPECT_EQ(RowPicture(grid, 0), before);
    EXPECT_EQ(events.messages,
              (std::vector<std::string>{std::string(texts::kNoSpaceForInstruction)}));
  }
  // A vertical line further left does not bother a MOV.
  grid.ClearLadder();
  Put(grid, {{0, 10, "VLine1;"}, {1, 10, "VLine2;"}});
  grid.SetCursor(0, 5);
  EXPECT_TRUE(Place("MOV", {"K1", "D0"}));
  EXPECT_EQ(grid.Kinds(0, 10), "VLine1;HLine;");
}

TEST_F(LadderEditorTest, ApplyInstructionOnTheRailOfANarrowGrid) {
  while (grid.ColCount() > MinColumns) grid.DeleteColumn(4);
  grid.SetCursor(0, 3);
  ASSERT_TRUE(Place("CJ", {"P1"}));
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus;InstrStart;'CJ' 4:InstrOperand1;InstrEnd;'P1'");
  ASSERT_TRUE(grid.AddColumn(ColumnMode::AtEnd));  // moving right, it leaves the rail behind
  EXPECT_EQ(RowPicture(grid, 0),
            "3:CommonBus;HLine; 4:InstrStart;'CJ' 5:InstrOperand1;InstrEnd;'P1'");
}

TEST_F(LadderEditorTest, RegisterAnnotationOfMovBoxes) {
  struct Case {
    const char* mnemonic;
    OperandTexts operands;
    std::string cmd;
    std::string comment;
    std::string lbl1;
    std::string lbl2;
  };
  const Case cases[] = {
      {"MOV", {"K3000", "D361"}, "Set ACCEL = K3000", "", "", "ACCEL"},
      {"MOV",
       {"K1", "D376"},
       "MOVE OFFSET by TARGET_POS",
       "Set RUN/MOVE COMMAND = K1",
       "",
       "RUN/MOVE COMMAND"},
      {"MOV", {"K7", "D366"}, "MICROSTEPPING 1/128", "Set MICROSTEP = K7", "", "MICROSTEP"},
      // Code 6 names no microstep mode: the box keeps its "Set" text.
      {"MOV", {"K6", "D366"}, "Set MICROSTEP = K6", "Set MICROSTEP = K6", "", "MICROSTEP"},
      {"MOV",
       {"K20", "D376"},
       "Set RUN/MOVE COMMAND = K20",
       "Set RUN/MOVE COMMAND = K20",
       "",
       "RUN/MOVE COMMAND"},
      {"MOV", {"M100", "D374"}, "Set DIRECTION = BUSY", "", "", "DIRECTION"},
      {"DMOV", {"K5000", "D357"}, "Set MAX SPEED = K5000", "", "", "MAX SPEED"},
      // A 32-bit register written by MOV gets no box, only its label.
      {"MOV", {"K5", "D357"}, "", "", "", "MAX SPEED"},
      {"MOV", {"D361", "D0"}, "", "", "ACCEL", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.mnemonic << " " << c.operands[0] << " " << c.operands[1]);
    grid.ClearLadder();
    grid.SetCursor(0, 4);
    ASSERT_TRUE(Place(c.mnemonic, c.operands));
    for (int col = 12; col <= 14; ++col) {
      EXPECT_EQ(grid.Layers(0, col).Cmd, c.cmd);
      if (!c.cmd.empty()) {
        EXPECT_EQ(grid.Layers(0, col).Comment, c.comment);
      }
    }
    EXPECT_EQ(grid.Layers(0, 11).Cmd, "");
    EXPECT_EQ(grid.Layers(0, 13).Lbl, c.lbl1);
    EXPECT_EQ(grid.Layers(0, 14).Lbl, c.lbl2);
  }
}

TEST_F(LadderEditorTest, ComparisonOperandsGetRegisterLabels) {
  grid.SetCursor(0, 4);
  ASSERT_TRUE(Place("LD>", {"D361", "K10"}));
  EXPECT_EQ(grid.Layers(0, 5).Lbl, "ACCEL");
  EXPECT_EQ(grid.Layers(0, 6).Lbl, "");
}

TEST_F(LadderEditorTest, HorizontalLines) {
  Put(grid, {{0, 8, "TransStart;", "LD="},
             {0, 9, "TransOperand1;", "K1"},
             {0, 10, "TransOperand2;TransEnd;", "D0"},
             {1, 6, "VLine2;LD;", "X0"}});
  ASSERT_TRUE(editor.AddHorizontalLine(1, 6));  // replaces the contact, keeps the line half
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 6:VLine2;HLine;");
  EXPECT_EQ(grid.CurrentCol(), 7);
  EXPECT_EQ(grid.Layers(1, 7).Preview, "HLine;");  // the next click's place is shown
  ASSERT_TRUE(editor.AddHorizontalLine(1, 3));
  EXPECT_EQ(grid.Kinds(1, 3), "CommonBus;HLine;");
  EXPECT_EQ(grid.Layers(1, 7).Preview, "");

  for (int col : {8, 9, 10, 2}) {
    events.messages.clear();
    EXPECT_FALSE(editor.AddHorizontalLine(0, col)) << col;
    EXPECT_EQ(events.messages,
              (std::vector<std::string>{std::string(texts::kElementImpossibleHere)}));
  }
  EXPECT_EQ(grid.Kinds(0, 8), "TransStart;");
}

TEST_F(LadderEditorTest, VerticalLines) {
  ASSERT_TRUE(editor.AddVerticalLine(4, 6));  // on the last row a row is added first
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.Kinds(4, 6), "VLine1;");
  EXPECT_EQ(grid.Kinds(5, 6), "VLine2;");
  EXPECT_EQ(grid.CurrentRow(), 5);
  EXPECT_EQ(grid.Layers(5, 6).Preview, "VLine1;");

  grid.SetKinds(1, 7, "HLine;");
  editor.SetVerticalsAtRight(true);
  ASSERT_TRUE(editor.AddVerticalLine(1, 6));
  EXPECT_EQ(grid.Kinds(1, 7), "VLine1;HLine;");
  EXPECT_EQ(grid.Kinds(2, 7), "VLine2;");
  ASSERT_TRUE(editor.AddVerticalLine(0, 6));
  ASSERT_TRUE(editor.AddVerticalLine(0, 6));  // an existing half gets no second token
  EXPECT_EQ(grid.Kinds(0, 7), "VLine1;");
  EXPECT_EQ(grid.Kinds(1, 7), "VLine2;VLine1;HLine;");

  editor.SetVerticalsAtRight(false);
  EXPECT_FALSE(editor.AddVerticalLine(0, BusColumn));
  EXPECT_FALSE(editor.AddVerticalLine(0, 14));
  EXPECT_TRUE(events.messages.empty());
  grid.SetKinds(2, 9, "InstrOperand1;");
  EXPECT_FALSE(editor.AddVerticalLine(1, 9));
  EXPECT_EQ(grid.Kinds(1, 9), "");
  EXPECT_EQ(events.messages,
            (std::vector<std::string>{std::string(texts::kElementImpossibleHere)}));
}

TEST_F(LadderEditorTest, Inversion) {
  Put(grid, {{0, 6, "VLine1;"}, {1, 6, "VLine2;"}, {0, 14, "OUT;", "Y0"}});
  ASSERT_TRUE(editor.AddInversion(0, 6));
  EXPECT_EQ(grid.Kinds(0, 6), "VLine1;INV;");
  ASSERT_TRUE(editor.AddInversion(0, 14));  // the coil moves right to make room
  EXPECT_EQ(grid.ColCount(), 16);
  EXPECT_EQ(grid.Kinds(0, 14), "INV;");
  EXPECT_EQ(grid.Kinds(0, 15), "OUT;");

  grid.SetCursor(0, BusColumn);
  EXPECT_FALSE(editor.AddInversionAtCursor());
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kInversionNotPossible)}));

  while (grid.ColCount() < MaxColumns) grid.AddColumn(ColumnMode::AtEnd);
  events.messages.clear();
  EXPECT_FALSE(editor.AddInversion(2, MaxColumns - 1));
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kTooManyColumns),
                                                       std::string(texts::kNoSpaceForElement)}));
}

TEST_F(LadderEditorTest, PopupRemovals) {
  Put(grid, {{0, 4, "VLine1;HLine;"},
             {1, 4, "VLine2;VLine1;TransStart;", "LD="},
             {1, 5, "TransOperand1;", "K1"},
             {1, 6, "TransOperand2;TransEnd;", "D0"},
             {1, 7, "HLine;"},
             {2, 4, "VLine2;HLine;"}});
  grid.SetCursor(1, 6);
  editor.DeleteInstruction();  // the whole comparison; its line halves stay
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 4:VLine1;VLine2; 7:HLine;");
  EXPECT_EQ(grid.CurrentCol(), 4);

  editor.DeleteVerticalLines();
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus; 4:HLine;");
  EXPECT_EQ(RowPicture(grid, 1), "3:CommonBus; 7:HLine;");
  EXPECT_EQ(RowPicture(grid, 2), "3:CommonBus; 4:HLine;");

  Put(grid, {{2, 7, "VLine1;HLine;"}, {3, 7, "VLine2;"}});
  grid.SetCursor(2, 7);
  editor.DeleteAllLinks();
  EXPECT_EQ(RowPicture(grid, 2), "3:CommonBus; 4:HLine;");
  EXPECT_EQ(RowPicture(grid, 3), BareRail());
  grid.SetCursor(1, 7);
  editor.DeleteHorizontalLine();
  EXPECT_EQ(RowPicture(grid, 1), BareRail());
}

TEST_F(LadderEditorTest, PreviewShowsWhereAndWhetherAnElementGoes) {
  grid.SetCursor(0, 10);
  editor.PreviewInstruction(FindInstructionByMnemonic("OUT"));
  EXPECT_TRUE(grid.PreviewOk());
  EXPECT_EQ(grid.Layers(0, 10).Preview, "HLine;");
  EXPECT_EQ(grid.Layers(0, 14).Preview, "OUT;");
  editor.ClearPreviewRow(0);
  EXPECT_EQ(grid.Layers(0, 14).Preview, "");

  grid.SetKinds(0, 14, "LD;");  // the last column is taken: the same preview turns red
  editor.PreviewInstruction(FindInstructionByMnemonic("OUT"));
  EXPECT_FALSE(grid.PreviewOk());
  EXPECT_FALSE(editor.CanOpenAddElementDialog());
  EXPECT_EQ(events.messages,
            (std::vector<std::string>{std::string(texts::kImpossibleToPlaceElement)}));
  EXPECT_EQ(grid.ColCount(), 15);  // the quiet check adds nothing
  editor.ClearPreviewRow(0);
  EXPECT_TRUE(grid.PreviewOk());

  grid.SetCursor(1, 4);
  editor.PreviewInstruction(FindInstructionByMnemonic("MOV"));
  EXPECT_EQ(grid.Layers(1, 11).Preview, "HLine;");
  EXPECT_EQ(grid.Layers(1, 12).Preview, "InstrStart;");
  EXPECT_EQ(grid.Layers(1, 14).Preview, "InstrOperand2;InstrEnd;");
  editor.ClearPreviewRow(1);
  editor.PreviewInstruction(FindInstructionByMnemonic("END"));
  EXPECT_EQ(grid.Layers(1, 14).Preview, "InstrStart;InstrEnd;");

  grid.SetCursor(2, 13);
  editor.PreviewInstruction(FindInstructionByMnemonic("LD="));
  EXPECT_FALSE(grid.PreviewOk());  // it does not fit without a new column
  EXPECT_EQ(grid.Layers(2, 13).Preview, "TransStart;");
  EXPECT_EQ(grid.Layers(2, 14).Preview, "TransOperand1;");
  EXPECT_EQ(RowPicture(grid, 2), BareRail());
}

TEST_F(LadderEditorTest, ParsedInstructionsArePlacedWithTheirOperandText) {
  const auto single = ParseElementText(FindInstructionByMnemonic("MOV"), {"K3000", "D361"});
  ASSERT_TRUE(single);
  EXPECT_EQ(single->Instruction.Mnemonic, "MOV");
  EXPECT_FALSE(ParseElementText(FindInstructionByMnemonic("MOV"), {"K3000"}));
  EXPECT_FALSE(ParseElementText(FindInstructionByMnemonic("MOV"), {"K1", "X0"}));

  grid.SetCursor(1, 3);
  ASSERT_TRUE(
      editor.PlaceParsedInstruction(*ParseElementText(FindInstructionByMnemonic("LD"), {"X17"})));
  EXPECT_EQ(grid.Text(1, 3), "X17");
  ASSERT_TRUE(
      editor.PlaceParsedInstruction(*ParseElementText(FindInstructionByMnemonic("P"), {"7"})));
  EXPECT_EQ(grid.Text(1, LabelColumn), "P 7");
}

}  // namespace
}  // namespace quarn::ladder

#include "ladder/region_clipboard.h"

#include <gtest/gtest.h>

#include "ladder/ladder_texts.h"
#include "tests/ladder/ladder_fixture.h"

namespace quarn::ladder {
namespace {

using testing::BareRail;
using testing::Put;
using testing::RecordingEvents;
using testing::RowPicture;

class RegionClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Put(grid, {{0, 3, "CommonBus;LD;", "X0"},
               {0, 4, "VLine1;HLine;"},
               {0, 5, "LDI;", "M1"},
               {1, 3, "CommonBus;LDP;", "X1"},
               {1, 4, "VLine2;"},
               {1, 14, "OUT;", "Y0"}});
  }

  bool Copy(TGridRect rect) {
    grid.SetSelection(rect);
    return clipboard.CopyRegion(grid);
  }
  bool PasteAt(int row, int col) {
    grid.SetCursor(row, col);
    return clipboard.PasteRegion(grid);
  }

  RecordingEvents events;
  LadderGrid grid{events};
  RegionClipboard clipboard;
};

TEST_F(RegionClipboardTest, PastedRegionsGetTheRailOnlyInTheRailColumn) {
  ASSERT_TRUE(Copy({0, 3, 1, 5}));
  EXPECT_EQ(clipboard.Buffer().Cells[0][0].Layers.Kinds, "LD;");
  EXPECT_FALSE(clipboard.Buffer().HasOutput);

  ASSERT_TRUE(PasteAt(3, 3));
  EXPECT_EQ(RowPicture(grid, 3), "3:LD;CommonBus;'X0' 4:VLine1;HLine; 5:LDI;'M1'");
  EXPECT_EQ(RowPicture(grid, 4), "3:LDP;CommonBus;'X1' 4:VLine2;");
  EXPECT_EQ(grid.RowCount(), 6);          // the paste reached the last row: one more below
  EXPECT_TRUE(events.questions.empty());  // cells holding only the rail count as empty

  ASSERT_TRUE(PasteAt(3, 8));
  EXPECT_EQ(RowPicture(grid, 3),
            "3:LD;CommonBus;'X0' 4:VLine1;HLine; 5:LDI;'M1' 8:LD;'X0' 9:VLine1;HLine; 10:LDI;'M1'");
  EXPECT_EQ(grid.Selection(), (TGridRect{3, 8, 3, 8}));
}

TEST_F(RegionClipboardTest, CopyRefusesToCutAnElement) {
  Put(grid, {{2, 4, "TransStart;", "LD="},
             {2, 5, "TransOperand1;", "K1"},
             {2, 6, "TransOperand2;TransEnd;", "D0"}});
  ASSERT_TRUE(Copy({0, 3, 0, 3}));
  EXPECT_FALSE(Copy({2, 5, 2, 7}));
  EXPECT_FALSE(Copy({1, 3, 2, 5}));
  EXPECT_TRUE(Copy({2, 4, 2, 6}));
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kCannotCopyLeftEdge),
                                                       std::string(texts::kCannotCopyRightEdge)}));
  EXPECT_EQ(clipboard.Buffer().Cells[0].size(), 3u);
}

TEST_F(RegionClipboardTest, OutputsPasteOnlyInTheirOwnColumn) {
  ASSERT_TRUE(Copy({1, 13, 1, 14}));
  EXPECT_TRUE(clipboard.Buffer().HasOutput);
  EXPECT_EQ(clipboard.Buffer().OriginCol, 13);
  EXPECT_FALSE(PasteAt(3, 12));
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kPasteOutputElsewhere)}));
  ASSERT_TRUE(PasteAt(3, 13));
  EXPECT_EQ(RowPicture(grid, 3), "3:CommonBus; 14:OUT;'Y0'");
}

TEST_F(RegionClipboardTest, OccupiedCellsAreClearedOnlyAfterYes) {
  // Before any copy the buffer is one empty cell.
  events.answers = {false};
  EXPECT_FALSE(PasteAt(0, 5));
  EXPECT_EQ(events.questions, (std::vector<std::string>{std::string(texts::kCellsNotEmpty)}));
  EXPECT_EQ(grid.Kinds(0, 5), "LDI;");

  events.answers = {true};
  ASSERT_TRUE(PasteAt(0, 5));
  EXPECT_EQ(grid.Kinds(0, 5), "");
  ASSERT_TRUE(PasteAt(0, 3));  // the rail cell loses its contact but keeps the rail
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus; 4:VLine1;HLine;");
  EXPECT_EQ(events.questions.size(), 3u);
}

TEST_F(RegionClipboardTest, PastingGrowsTheGridUpToThirtyColumns) {
  ASSERT_TRUE(Copy({0, 4, 1, 7}));
  ASSERT_TRUE(PasteAt(3, 13));
  EXPECT_EQ(grid.ColCount(), 17);
  EXPECT_EQ(RowPicture(grid, 3), "3:CommonBus; 13:VLine1;HLine; 14:LDI;'M1'");

  while (grid.ColCount() < MaxColumns) grid.AddColumn(ColumnMode::AtEnd);
  events.messages.clear();
  EXPECT_FALSE(PasteAt(0, MaxColumns - 2));
  EXPECT_EQ(events.messages, (std::vector<std::string>{std::string(texts::kTooManyColumns),
                                                       std::string(texts::kPasteTooManyColumns)}));
  EXPECT_FALSE(PasteAt(0, LabelColumn));
  EXPECT_FALSE(RegionClipboard::MenuEnabled(grid));
  grid.SetCursor(0, BusColumn);
  grid.SelectCursorCell();
  EXPECT_TRUE(RegionClipboard::MenuEnabled(grid));
}

}  // namespace
}  // namespace quarn::ladder

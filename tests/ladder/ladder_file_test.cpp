#include "ladder/ladder_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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
using namespace std::string_literals;

constexpr std::string_view kEmptyDiagram =
    "RawCount=5\r\n"
    "ColCount=15\r\n"
    "R0C3=\"CommonBus;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
    "R1C3=\"CommonBus;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
    "R2C3=\"CommonBus;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
    "R3C3=\"CommonBus;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
    "R4C3=\"CommonBus;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
    "CR=17354";

// A file with the given cell lines and a correct checksum.
std::string FileWith(int rows, int cols, const std::vector<std::string>& cellLines) {
  std::string body =
      "RawCount=" + std::to_string(rows) + "\r\nColCount=" + std::to_string(cols) + "\r\n";
  for (const std::string& line : cellLines) body += line + "\r\n";
  std::uint32_t sum = 0;
  for (char ch : body) sum += static_cast<unsigned char>(ch);
  return body + "CR=" + std::to_string(static_cast<std::int32_t>(sum));
}

class LadderFileTest : public ::testing::Test {
 protected:
  // A diagram with one of everything the file keeps.
  void Populate() {
    LadderEditor editor(grid, registers);
    grid.SetCursor(0, 3);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("LDP"), {"M108"}));
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("MOV"), {"K1", "D376"}));
    ASSERT_TRUE(editor.AddVerticalLine(0, 4));
    grid.SetCursor(1, 4);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("LD="), {"D361", "K0"}));
    grid.SetCursor(1, 7);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("OUT"), {"Y0"}));
    grid.SetCursor(2, 2);
    ASSERT_TRUE(editor.PlaceInstruction(FindInstructionByMnemonic("P"), {"5"}));
  }

  RecordingEvents events;
  LadderGrid grid{events};
  FakeRegisters registers;
};

TEST_F(LadderFileTest, EmptyDiagramFile) {
  EXPECT_EQ(LadderFileText(grid), kEmptyDiagram);
  LadderGrid other(events);
  other.Resize(9, 20);
  const ReadResult result = ReadLadderText(other, kEmptyDiagram, "empty.ld");
  EXPECT_TRUE(result.Accepted);
  EXPECT_EQ(result.BadLines, 0);
  EXPECT_EQ(other.RowCount(), 5);
  EXPECT_EQ(other.ColCount(), 15);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(RowPicture(other, row), BareRail());
  EXPECT_EQ(events.replaced, 1);
  EXPECT_TRUE(events.messages.empty());
}

TEST_F(LadderFileTest, SavedDiagramReadsBackTheSame) {
  Populate();
  const std::string path = ::testing::TempDir() + "round_trip.ld";
  ASSERT_TRUE(SaveLadder(grid, path));
  std::ifstream file(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, LadderFileText(grid));
  EXPECT_NE(saved.find("R0C12=\"InstrStart;\" value=\"MOV\" cmd=\"MOVE OFFSET by TARGET_POS\""),
            std::string::npos);

  RecordingEvents otherEvents;
  LadderGrid other(otherEvents);
  const ReadResult result = ReadLadder(other, path);
  ASSERT_TRUE(result.Accepted);
  EXPECT_EQ(result.BadLines, 0);
  EXPECT_EQ(LadderFileText(other), saved);
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      EXPECT_EQ(other.Text(row, col), grid.Text(row, col));
      EXPECT_EQ(other.Kinds(row, col), grid.Kinds(row, col));
      EXPECT_EQ(other.Layers(row, col).Cmd, grid.Layers(row, col).Cmd);
      EXPECT_EQ(other.Layers(row, col).Lbl, grid.Layers(row, col).Lbl);
    }
  }
  std::remove(path.c_str());
}

TEST_F(LadderFileTest, RefusedFilesLeaveTheDiagramAsItWas) {
  Populate();
  const std::string before = LadderFileText(grid);
  std::string edited(kEmptyDiagram);
  edited[edited.find("R2C3") + 1] = '3';  // one character changed by hand
  const std::string cases[] = {
      edited,
      "",
      "RawCount=5\r\nColCount=15\r\n",
      "RawCount=\r\nColCount=15\r\nCR=0",
      "RawCount=5\r\nColCount=\r\nCR=0",
      FileWith(2000000000, 15, {}),
      FileWith(MaxRows + 1, 15, {}),
      FileWith(0, 15, {}),
      FileWith(-3, 15, {}),
      FileWith(5, 31, {}),
      FileWith(5, 4, {}),
      FileWith(5, 15, {}).replace(0, 9, "RowCount="),
      "RawCount=abc\r\nColCount=15\r\nCR=" +
          std::to_string(LadderChecksum("RawCount=abc") + LadderChecksum("ColCount=15") + 46),
      "RawCount=5\r\nColCount=15\r\nCR=9999999999",
      "RawCount=5\r\nColCount=15\r\nXR=0",
  };
  for (const std::string& content : cases) {
    SCOPED_TRACE(content.substr(0, 40));
    events.messages.clear();
    const ReadResult result = ReadLadderText(grid, content, "bad.ld");
    EXPECT_FALSE(result.Accepted);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"File error: bad.ld"}));
    EXPECT_EQ(LadderFileText(grid), before);
  }
  events.messages.clear();
  EXPECT_FALSE(ReadLadder(grid, ::testing::TempDir() + "no such file.ld").Accepted);
  EXPECT_EQ(events.messages.size(), 1u);
}

TEST_F(LadderFileTest, ALargeDiagramWithinTheLimitIsRead) {
  const std::string content =
      FileWith(MaxRows, MaxColumns, {"R65535C29=\"OUT;\" value=\"Y0\" cmd=\"\" lbl=\"\";"});
  ASSERT_TRUE(ReadLadderText(grid, content, "big.ld").Accepted);
  EXPECT_EQ(grid.RowCount(), MaxRows);
  EXPECT_EQ(grid.Kinds(MaxRows - 1, 29), "OUT;");
  EXPECT_EQ(grid.Kinds(MaxRows - 1, 3), "CommonBus;");
}

TEST_F(LadderFileTest, BadCellLinesAskWhetherToGoOn) {
  const std::string content = FileWith(
      4, 15,
      {"R0C3=\"CommonBus;LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
       "R0C4=\"Contact;\" value=\"X1\" cmd=\"\" lbl=\"\";",
       "R1C3=\"LD;\" value=\"X2\" cmd=\"\" lbl=\"\";", "R3C5=\"LD;\" value=\"X3\" cmd=\"\";",
       "R9C3=\"LD;\" value=\"X4\" cmd=\"\" lbl=\"\";",
       "R2C14=\"OUT;\" value=\"Y1\" cmd=\"\" lbl=\"\";"});
  events.answers = {true, true, true};
  ReadResult result = ReadLadderText(grid, content, "lines.ld");
  EXPECT_TRUE(result.Accepted);
  EXPECT_EQ(result.BadLines, 3);
  EXPECT_FALSE(result.Cancelled);
  ASSERT_EQ(events.questions.size(), 3u);
  EXPECT_EQ(events.questions[0],
            "Line 3 error: R0C4=\"Contact;\" value=\"X1\" cmd=\"\" lbl=\"\";! Continue?");
  EXPECT_EQ(events.kinds[0], QuestionKind::OkCancel);
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus;LD;'X0'");
  EXPECT_EQ(RowPicture(grid, 1), "3:LD;CommonBus;'X2'");  // a rail cell without the rail gets it
  EXPECT_EQ(RowPicture(grid, 3), BareRail());
  EXPECT_EQ(RowPicture(grid, 2), "3:CommonBus; 14:OUT;'Y1'");

  // Cancel stops at the bad line: what was read stays, the rest is not read.
  events.questions.clear();
  events.answers = {false};
  result = ReadLadderText(grid, content, "lines.ld");
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(events.questions.size(), 1u);
  EXPECT_EQ(RowPicture(grid, 0), "3:CommonBus;LD;'X0'");
  EXPECT_EQ(RowPicture(grid, 1), BareRail());

  // A fault in the first cell line is line 2, and a long line is quoted only in part.
  events.questions.clear();
  ReadLadderText(grid, FileWith(5, 15, {"R0C3=\"" + std::string(5000, 'x')}), "long.ld");
  ASSERT_EQ(events.questions.size(), 1u);
  EXPECT_EQ(events.questions[0].rfind("Line 2 error: R0C3=\"xxx", 0), 0u);
  EXPECT_LT(events.questions[0].size(), 300u);
}

TEST_F(LadderFileTest, ParseCellLine) {
  const auto good =
      ParseCellLine("R12C4=\"VLine1;TransStart;\" value=\"LD=\" cmd=\"c\" lbl=\"l\";");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->Row, 12);
  EXPECT_EQ(good->Col, 4);
  EXPECT_EQ(good->Kinds, "VLine1;TransStart;");
  EXPECT_EQ(good->Value, "LD=");
  EXPECT_EQ(good->Cmd, "c");
  EXPECT_EQ(good->Lbl, "l");
  // What follows the last ";" of the kinds is dropped, and so is what follows lbl.
  const auto tail = ParseCellLine("R0C3=\"CommonBus;xyz\" value=\"\" cmd=\"\" lbl=\"\"junk");
  ASSERT_TRUE(tail);
  EXPECT_EQ(tail->Kinds, "CommonBus;");
  const auto nul = ParseCellLine("R0C3=\"LD;\" value=\"X\0Y\" cmd=\"\" lbl=\"\";"s);
  ASSERT_TRUE(nul);
  EXPECT_EQ(nul->Value, std::string("X\0Y", 3));

  const std::string bad[] = {
      "",
      "R0C3=\"LD;\"",
      "X0C3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "RC3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0X3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3:\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"ld;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"LD;Contact;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"LD;\" value=\"X0\" lbl=\"\" cmd=\"\";",
      "R0C3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"",
      "R0C3=\"LD;\"  value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"LD;\" value=\"X0\"\" cmd=\"\" lbl=\"\";",
      "R0C3=\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"LD;\" value=\"X0",
      "R99999999999C3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";",
      "R0C3=\"" + std::string(100000, 'A'),
      "R0\0C3=\"LD;\" value=\"X0\" cmd=\"\" lbl=\"\";"s,
  };
  for (const std::string& line : bad) {
    EXPECT_FALSE(ParseCellLine(line)) << line.substr(0, 60);
  }
}

TEST_F(LadderFileTest, TextsThatCannotBeStoredAreWrittenAsLookAlikes) {
  grid.SetKinds(0, 5, "LD;");
  grid.SetText(0, 5, "X\"1\r\n");
  const std::string text = LadderFileText(grid);
  EXPECT_NE(text.find("R0C5=\"LD;\" value=\"X'1  \""), std::string::npos);
  LadderGrid other(events);
  const ReadResult result = ReadLadderText(other, text, "quote.ld");
  EXPECT_TRUE(result.Accepted);
  EXPECT_EQ(result.BadLines, 0);
  EXPECT_EQ(other.Text(0, 5), "X'1  ");
}

TEST_F(LadderFileTest, SaveFailureIsReported) {
  EXPECT_FALSE(SaveLadder(grid, ::testing::TempDir() + "missing-folder/x.ld"));
  EXPECT_EQ(events.messages, (std::vector<std::string>{"File error: " + ::testing::TempDir() +
                                                       "missing-folder/x.ld"}));
}

}  // namespace
}  // namespace quarn::ladder

#include "program_model/il_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarn::program_model {
namespace {

struct LineCase {
  std::string line;  // fields separated by tabs
  int code;
};

// Every case is also run with the tabs replaced by blanks: both separate fields alike.
std::string WithBlanks(std::string line) {
  for (char& ch : line) {
    if (ch == '\t') ch = ' ';
  }
  return line;
}

TEST(ParseIlLine, ResultCodes) {
  const LineCase cases[] = {
      {"LD\tM0", 0},
      {"MOV\tK3000\tD361", 0},
      {"mov\tK3000\tD361", 6},
      {"MOV\tK3000", 5},
      {"MOV", 5},
      {"MOV\t", 5},
      {"MOV\tK3000\tD361\tD2", 9},
      {"MOV\tK3000\tD361 // set speed", 0},
      {"MOV\tK3000\tD361//x", 2},  // a comment glued to an operand spoils the operand
      {"MOV\tK3000\tD361\t/", 9},
      {"END\tEND", 7},
      {"END\t// end", 0},
      {"END//x", 6},
      {"  \tEND", 0},
      {"", 6},
      {" \t ", 6},
      {"MOV\tK3000\tD392", 2},
      {"MOV\tK3000\tX0", 2},
      {"MOV\tk3000\tD361", 1},
      {"MOV\tK3000\tD361A", 2},
      {"LD\tX8", 1},
      {"LD\tX17", 0},
      {"LD\tX177", 0},
      {"LD\tX200", 1},
      {"LD\tX", 1},
      {"LD\tXA0", 0},  // an empty octal number reads 0
      {"LD\tM", 1},
      {"LD\tMA0", 1},  // a decimal number may not be empty
      {"LD\tM-1", 1},
      {"LD\tM99999999999", 1},
      {"MOV\tK5@A3\tD0A7", 0},
      {"MOV\tK5@B3\tD0B7", 0},
      {"MOV\tK5A3\tD0", 1},
      {"MOV\tK1@A\tD0", 1},
      {"MOV\tK@A3\tD0", 1},
      {"MOV\tK1@A33\tD0", 1},
      {"MOV\tK1@C3\tD0", 1},
      {"MOV\tK1\tD0A8", 2},
      {"MOV\tK1\tD0C1", 2},
      {"MOV\tK1\tD0A", 2},
      {"MOV\tK-2147483647\tD0", 0},
      {"MOV\tK-2147483648\tD0", 1},
      {"MOV\tK2147483648\tD0", 1},
      {"MOV\tK-\tD0", 1},
      {"MOV\tK1-2\tD0", 1},
      {"MOV\tH7FFFFFFF\tD0", 0},
      {"MOV\tHFFFFFFFF\tD0", 1},
      {"MOV\tH1ff\tD0", 1},
      {"MOV\tH0000000001\tD0", 0},
      {"MOV\tH100000000\tD0", 1},
      {"MOV\tH1F@B0\tD0", 0},
      {"DEADD\tF1.5\tF2\tD0", 0},
      {"DEADD\tF-.5\tF2.\tD0", 0},
      {"DEADD\tF1.5.1\tF2\tD0", 1},
      {"DEADD\tF.\tF2\tD0", 1},
      {"DEADD\tF1e5\tF2\tD0", 1},
      {"DEADD\tF1.5@A0\tF2\tD0", 0},
      {"DEADD\tF" + std::string(60, '9') + "\tF2\tD0", 1},  // beyond single precision
      {"P\t31", 0},
      {"P\t32", 1},
      {"P\t0", 0},
      {"P", 5},
      {"P0", 6},
      {"P\tP5", 1},
      {"P\t-1", 1},
      {"I\t2001", 0},
      {"I\t101", 1},
      {"I\t0", 0},
      {"CJ\tP31", 0},
      {"CJ\tP32", 1},
      {"ZCP\tK0\tK100\tD5\tM0", 0},
      {"ZCP\tK0\tK100\tD5\tX0", 4},
      {"ZCP\tK0\tK100\tD5", 5},
      {"LD=\tD1\tH1F", 0},
      {"OUT\tY0\tjunk", 9},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(ParseIlLine(c.line).Code, c.code) << c.line;
    EXPECT_EQ(ParseIlLine(WithBlanks(c.line)).Code, c.code) << WithBlanks(c.line);
  }
}

TEST(ParseIlLine, FillsTheImage) {
  const ParseResult ld = ParseIlLine("LD\tM0");
  ASSERT_EQ(ld.Code, 0);
  EXPECT_EQ(ld.Image[0], 0x40);
  EXPECT_EQ(ld.Image[1], 0x61);
  EXPECT_EQ(ImageWord(ld.Image, 1), 'M');
  EXPECT_EQ(ImageWord(ld.Image, 2), 0);

  const std::array<std::uint16_t, kImageWords> mov = {
      0x2018, 0x004B, 0x0BB8, 0, 0, 0, 0x0044, 0x0169, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(ImageWords(ParseIlLine("MOV\tK3000\tD361").Image), mov);

  const std::array<std::uint16_t, kImageWords> label = {0x6051, 0, 5};
  EXPECT_EQ(ImageWords(ParseIlLine("P\t5").Image), label);

  const std::array<std::uint16_t, kImageWords> indexed = {0x2018, 'K', 0xFFFB, 0xFFFF, 'A', 3,
                                                          'D',    7,   0,      'B',    2};
  EXPECT_EQ(ImageWords(ParseIlLine("MOV K-5@A3 D7B2").Image), indexed);

  const ParseResult deadd = ParseIlLine("DEADD\tF1.5\tF2\tD0");
  EXPECT_EQ(ImageWord(deadd.Image, 1), 'F');
  EXPECT_EQ(ImageWord(deadd.Image, 2), 0x0000);
  EXPECT_EQ(ImageWord(deadd.Image, 3), 0x3FC0);  // 1.5 as a single: 0x3FC00000

  // A refused line keeps what was read before the fault; callers ignore it.
  const ParseResult refused = ParseIlLine("MOV\tK3000\tD392");
  EXPECT_EQ(refused.Code, 2);
  EXPECT_EQ(ImageWord(refused.Image, 0), 0x2018);
  EXPECT_EQ(ImageWord(refused.Image, 2), 3000);
}

TEST(CheckIlLine, EmptyCommentAndCommandText) {
  const LineCase cases[] = {
      {"", 7},
      {"   \t ", 7},
      {"; all about it", 8},
      {"  // note", 8},
      {"LD\tM0\t; comment", 0},
      {"LD\tM0;comment", 0},
      {"LD\tM0 // comment ; more", 0},
      {"MOV\tK1", 5},
      {"XYZ", 6},
      {"END\tnow", 7},
      {"/LD\tM0", 6},
  };
  for (const LineCase& c : cases) {
    const CheckResult result = CheckIlLine(c.line);
    EXPECT_EQ(result.Code, c.code) << c.line;
    EXPECT_EQ(result.Valid, c.code == 0) << c.line;
  }
  EXPECT_EQ(CommandText("LD M0 ; a // b"), "LD M0 ");
  EXPECT_EQ(CommandText("LD M0 // a ; b"), "LD M0 ");
  EXPECT_EQ(CommandText("LD M0"), "LD M0");
  EXPECT_EQ(CommandText("a/b"), "a/b");
  // What a program list (upload, the simulator's program file) keeps of a line.
  EXPECT_EQ(InstructionLine(" \tLD\tM0 // c"), "LD\tM0 // c");
  EXPECT_EQ(InstructionLine("END\tnow"), "END\tnow");
  for (const char* skipped : {"", " \t ", "; all", "  // note", "\t;"}) {
    EXPECT_EQ(InstructionLine(skipped), "") << skipped;
  }
}

TEST(CheckIlLine, HostileBytesNeitherCrashNorPass) {
  const std::string nul("LD\tM0\0X", 7);
  EXPECT_EQ(CheckIlLine(nul).Code, 1);
  EXPECT_EQ(CheckIlLine(std::string("\0", 1)).Code, 6);
  EXPECT_EQ(CheckIlLine("\xEF\xBB\xBFLD\tM0").Code, 6);
  EXPECT_EQ(CheckIlLine("LD\tM\xff").Code, 1);
  const std::string longOperand = "LD\tX" + std::string(1 << 20, '0') + "7";
  EXPECT_EQ(CheckIlLine(longOperand).Code, 0);
  const std::string longTail = "END" + std::string(1 << 20, ' ') + "x";
  EXPECT_EQ(CheckIlLine(longTail).Code, 7);
}

TEST(WrongLinePrefix, Texts) {
  EXPECT_EQ(WrongLinePrefix(1), "// wrong parameter 1: -> ");
  EXPECT_EQ(WrongLinePrefix(4), "// wrong parameter 4: -> ");
  EXPECT_EQ(WrongLinePrefix(5), "// wrong parameters number: -> ");
  EXPECT_EQ(WrongLinePrefix(6), "// wrong command: -> ");
  for (int code : {0, 7, 8, 9, -1}) EXPECT_EQ(WrongLinePrefix(code), "") << code;
}

// A program with every kind of line Clean up tells apart.
const std::vector<std::string> kProgram = {
    "LD\tX0",           // valid
    "",                 // empty
    "MOV\tK1",          // too few operands
    "   ",              // blanks only
    "// note",          // comment
    "XYZ",              // wrong command
    "\t",               // empty
    "MOV\tK1\tD392",    // operand 2 out of range
    "MOV\tK1\tD0\tD1",  // text after the operands: kept as it stands
    "END\tnow",         // text after an operand-less instruction
    "END",
};

TEST(CleanUpProgram, ClearRemovesEmptyAndWrongLines) {
  std::vector<std::string> lines = kProgram;
  CleanUpProgram(lines, WrongLines::Clear);
  const std::vector<std::string> expected = {"LD\tX0", "// note", "MOV\tK1\tD0\tD1", "END"};
  EXPECT_EQ(lines, expected);
}

TEST(CleanUpProgram, CommentMarksWrongLinesAndIsStable) {
  std::vector<std::string> lines = kProgram;
  CleanUpProgram(lines, WrongLines::Comment);
  const std::vector<std::string> expected = {
      "LD\tX0",
      "// wrong parameters number: -> MOV\tK1",
      "// note",
      "// wrong command: -> XYZ",
      "// wrong parameter 2: -> MOV\tK1\tD392",
      "MOV\tK1\tD0\tD1",
      "// wrong parameters number: -> END\tnow",
      "END",
  };
  EXPECT_EQ(lines, expected);
  CleanUpProgram(lines, WrongLines::Comment);
  EXPECT_EQ(lines, expected);
  CleanUpProgram(lines, WrongLines::Clear);
  EXPECT_EQ(lines, expected);
}

TEST(CleanUpProgram, RunsOfEmptyLinesAndEmptyProgram) {
  std::vector<std::string> lines = {"", "", "LD\tX0", "", "", "", "OUT\tY0", ""};
  CleanUpProgram(lines, WrongLines::Comment);
  EXPECT_EQ(lines, (std::vector<std::string>{"LD\tX0", "OUT\tY0"}));
  std::vector<std::string> none;
  CleanUpProgram(none, WrongLines::Clear);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace quarn::program_model

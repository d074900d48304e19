#include "program_model/operands.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

namespace quarn::program_model {
namespace {

TEST(OperandLetters, LettersAndKindsAreInverse) {
  const std::string letters = "XYMTCKHFDPIAB";
  for (int kind = OpTypeX; kind <= OpTypeB; ++kind) {
    const char letter = letters[static_cast<std::size_t>(kind - 1)];
    EXPECT_EQ(OperandLetter(static_cast<TOperandType>(kind)), letter);
    EXPECT_EQ(OperandTypeOfLetter(letter), kind);
    EXPECT_EQ(OperandTypeOfName(std::string(1, letter)), kind);
  }
  EXPECT_EQ(OperandLetter(OpTypeNull), ' ');
  EXPECT_EQ(OperandLetter(OpTypeEmpty), ' ');
  EXPECT_EQ(OperandLetter(static_cast<TOperandType>(200)), ' ');
  for (char ch : {'x', 'd', 'E', 'Z', '\0', ' ', '@'}) {
    EXPECT_EQ(OperandTypeOfLetter(ch), OpTypeNull) << int{ch};
  }
  EXPECT_EQ(OperandTypeOfName(""), OpTypeEmpty);
  EXPECT_EQ(OperandTypeOfName("Null"), OpTypeNull);
  EXPECT_EQ(OperandTypeOfName("DD"), OpTypeNull);
}

TEST(OperandKinds, RangesAndContentRanges) {
  EXPECT_EQ(OperandKind(OpTypeK).Min, -2147483647);
  EXPECT_EQ(OperandKind(OpTypeD).Max, 391);
  EXPECT_EQ(OperandKind(OpTypeP).Max, 31);
  EXPECT_FALSE(OperandKind(OpTypeI).IndexAllowed);
  EXPECT_EQ(OperandKind(OpTypeNull).Letter, "Null");
  EXPECT_EQ(OperandContentMax(OpTypeK, 0), 32767);
  EXPECT_EQ(OperandContentMin(OpTypeK, 0), -32768);
  EXPECT_EQ(OperandContentMin(OpTypeK, 1), -2147483647);
  EXPECT_EQ(OperandContentMax(OpTypeH, 1), 4294967295);
  EXPECT_EQ(OperandContentMax(OpTypeD, 2), 0);
  EXPECT_EQ(OperandContentMin(OpTypeD, -1), 0);

  TOperandsArr list(2);
  list[0].OperandType = OpTypeK;
  list[1].OperandType = OpTypeD;
  EXPECT_EQ(AllowedIndexOf(OpTypeD, list), 1);
  EXPECT_EQ(AllowedIndexOf(OpTypeX, list), -1);

  for (TOperandType kind :
       {OpTypeX, OpTypeY, OpTypeM, OpTypeT, OpTypeC, OpTypeD, OpTypeA, OpTypeB}) {
    EXPECT_TRUE(IsAddressOperand(kind)) << int{kind};
  }
  for (TOperandType kind : {OpTypeNull, OpTypeK, OpTypeH, OpTypeF, OpTypeP, OpTypeI, OpTypeEmpty}) {
    EXPECT_FALSE(IsAddressOperand(kind)) << int{kind};
  }
}

TEST(OctalNotation, ReadsAndWrites) {
  struct Case {
    std::string text;
    std::int64_t value;
    bool error;
  };
  const Case cases[] = {
      {"", 0, false},
      {"0", 0, false},
      {"17", 15, false},
      {"177", 127, false},
      {"200", 128, false},
      {"178", 0, true},
      {"8", 0, true},
      {"1A", 0, true},
      {"-1", 0, true},
      // Leading zeros cost nothing however many there are.
      {std::string(40, '0') + "17", 15, false},
      {"777777777777777777777", 9223372036854775807, false},
      // Beyond 64 bits no operand can be meant.
      {"1000000000000000000000", 0, true},
      {std::string(30, '7'), 0, true},
  };
  for (const Case& c : cases) {
    const OctalValue read = OctalToInt(c.text);
    EXPECT_EQ(read.Value, c.value) << c.text;
    EXPECT_EQ(read.Error, c.error) << c.text;
  }
  EXPECT_EQ(IntToOctal(0), "0");
  EXPECT_EQ(IntToOctal(127), "177");
  EXPECT_EQ(IntToOctal(8), "10");
  EXPECT_EQ(IntToOctal(-1), "");
}

TSingleOperand Op(TOperandType kind, std::int64_t value, TOperandType index = OpTypeNull,
                  std::uint8_t number = 0) {
  return {kind, value, index, number};
}

std::int64_t FloatBits(float value) { return std::bit_cast<std::uint32_t>(value); }

TEST(OperandText, FormatOperand) {
  struct Case {
    TSingleOperand operand;
    std::string text;
  };
  const Case cases[] = {
      {Op(OpTypeNull, 5), ""},
      {Op(OpTypeH, 5), "H05"},
      {Op(OpTypeH, 0x1F), "H1F"},
      {Op(OpTypeH, -1), "HFFFFFFFF"},
      {Op(OpTypeK, -7, OpTypeB, 3), "K-7@B3"},
      {Op(OpTypeH, 31, OpTypeA, 0), "H1F@A0"},
      {Op(OpTypeD, 10, OpTypeA, 3), "D10A3"},
      {Op(OpTypeX, 8), "X10"},
      {Op(OpTypeY, 127, OpTypeB, 7), "Y177B7"},
      {Op(OpTypeF, FloatBits(1.5f)), "F1.5"},
      {Op(OpTypeF, FloatBits(-0.25f), OpTypeA, 1), "F-0.25@A1"},
      {Op(OpTypeEmpty, 5), " 5"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatOperand(c.operand), c.text);
}

TEST(OperandText, FormatOperandValue) {
  struct Case {
    char letter;
    std::int32_t value;
    std::string text;
  };
  const Case cases[] = {
      {'\0', -5, "-5"}, {'D', 361, "361"},     {'K', -2147483647, "-2147483647"},
      {'X', 15, "17"},  {'B', 7, "7"},         {'H', 31, "1F"},
      {'H', 5, "05"},   {'H', -1, "FFFFFFFF"}, {'F', 0x3FC00000, "1.5"},
      {'Z', 1, " "},    {'x', 1, " "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatOperandValue(static_cast<std::uint8_t>(c.letter), c.value), c.text)
        << c.letter << c.value;
  }
}

TEST(OperandText, SingleTextHasNoExponentAndReadsBack) {
  // The operand syntax has no exponent: large and tiny numbers are written out in full.
  EXPECT_EQ(FormatSingle(std::bit_cast<std::uint32_t>(1e10f)), "10000000000");
  EXPECT_EQ(FormatSingle(std::bit_cast<std::uint32_t>(0.1f)), "0.1");
  EXPECT_EQ(FormatSingle(std::bit_cast<std::uint32_t>(-0.0f)), "-0");
  const std::string tiny = FormatSingle(1);  // the smallest subnormal
  EXPECT_EQ(tiny.find_first_not_of("0123456789.-"), std::string::npos) << tiny;
  EXPECT_EQ(FormatSingle(0x7F800000u), "inf");
}

}  // namespace
}  // namespace quarn::program_model

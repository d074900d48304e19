#include "program_model/program_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_model/device_traits.h"
#include "program_model/il_parser.h"

namespace quarn::program_model {
namespace {

std::vector<std::uint8_t> StoredBytesOf(const std::string& line) {
  const ParseResult parsed = ParseIlLine(line);
  EXPECT_EQ(parsed.Code, 0) << line;
  return WordsToBytes(ImageToStoredWords(parsed.Image));
}

TEST(StoredWords, ReadBackLayout) {
  const std::vector<std::uint16_t> mov = {0x2018, 0x0BB8, 0, 0, 0x004B, 0x0169, 0, 0, 0x0044,
                                          0,      0,      0, 0, 0,      0,      0, 0};
  EXPECT_EQ(ImageToStoredWords(ParseIlLine("MOV\tK3000\tD361").Image), mov);
  const std::vector<std::uint16_t> indexed = {0x2018, 0xFFFB, 0xFFFF, 3, 0x414B, 7, 0, 2, 0x4244,
                                              0,      0,      0,      0, 0,      0, 0, 0};
  EXPECT_EQ(ImageToStoredWords(ParseIlLine("MOV\tK-5@A3\tD7B2").Image), indexed);
}

TEST(DecodeProgramWords, InstructionsAndWatchOperands) {
  struct Case {
    std::string line;
    std::string text;
    std::vector<std::pair<char, std::uint16_t>> watched;
  };
  const Case cases[] = {
      {"MOV\tK3000\tD361", "MOV\tK3000\tD361", {{'D', 361}}},
      {"LD\tX17", "LD\tX17", {{'X', 15}}},
      {"MOV K100@A3 D10B2", "MOV\tK100@A3\tD10B2", {{'D', 10}}},
      {"MOV H1F Y177", "MOV\tH1F\tY177", {{'Y', 127}}},
      {"MOV H5 M0", "MOV\tH05\tM0", {{'M', 0}}},
      {"DEADD F1.5 F-0.25@B7 D4", "DEADD\tF1.5\tF-0.25@B7\tD4", {{'D', 4}}},
      {"ZCP K-1 T3 C65 M9", "ZCP\tK-1\tT3\tC65\tM9", {{'T', 3}, {'C', 65}, {'M', 9}}},
      {"XCH A7 B0", "XCH\tA7\tB0", {{'A', 7}, {'B', 0}}},
      {"CJ P31", "CJ\tP31", {}},
      {"P\t5", "P\t5", {{'\0', 5}}},
      {"I 2001", "I\t2001", {{'\0', 2001}}},
      {"ANB", "ANB", {}},
  };
  for (const Case& c : cases) {
    const DecodeResult result = DecodeProgramWords(StoredBytesOf(c.line));
    EXPECT_TRUE(result.Success) << c.line;
    EXPECT_FALSE(result.EndReached) << c.line;
    EXPECT_EQ(result.Decoded.Text, c.text);
    EXPECT_EQ(result.Decoded.Instruction.Mnemonic, c.text.substr(0, c.text.find('\t')));
    ASSERT_EQ(result.Decoded.Operands.size(), c.watched.size()) << c.line;
    for (std::size_t i = 0; i < c.watched.size(); ++i) {
      const TDebugOperand& watch = result.Decoded.Operands[i];
      EXPECT_EQ(watch.OperandLetter, static_cast<std::uint8_t>(c.watched[i].first)) << c.line;
      EXPECT_EQ(watch.OperandIndex, c.watched[i].second) << c.line;
      EXPECT_EQ(watch.Signal, 1);
      EXPECT_FALSE(watch.ValueValid);
      EXPECT_EQ(watch.Value, 0);
    }
  }
}

TEST(DecodeProgramWords, EndRaisesTheEndFlag) {
  const DecodeResult end = DecodeProgramWords(StoredBytesOf("END"));
  EXPECT_TRUE(end.Success);
  EXPECT_TRUE(end.EndReached);
  EXPECT_EQ(end.Decoded.Text, "END");
  EXPECT_FALSE(DecodeProgramWords(StoredBytesOf("FEND")).EndReached);
}

TEST(DecodeProgramWords, UnknownCodeShowsTheBytes) {
  std::vector<std::uint16_t> words(17, 0);
  words[0] = 0x1234;
  words[1] = 0x5678;
  words[16] = 0xABCD;
  const DecodeResult result = DecodeProgramWords(WordsToBytes(words));
  EXPECT_FALSE(result.Success);
  std::string expected = "Unknown12 34  56 78  ";
  for (int i = 0; i < 14; ++i) expected += "00 00  ";
  expected += "AB CD  ";
  EXPECT_EQ(result.Decoded.Text, expected);
  EXPECT_EQ(result.Decoded.Instruction.ApiNumber, 0);
  EXPECT_TRUE(result.Decoded.Operands.empty());

  const DecodeResult zero = DecodeProgramWords(WordsToBytes(std::vector<std::uint16_t>(17, 0)));
  EXPECT_FALSE(zero.Success);
  EXPECT_EQ(zero.Decoded.Text.substr(0, 10), "Unknown00 ");
}

TEST(DecodeProgramWords, WrongSizesAreRefused) {
  for (std::size_t size : {0u, 1u, 32u, 33u, 35u, 36u, 1000u}) {
    const std::vector<std::uint8_t> bytes(size, 0x20);
    const DecodeResult result = DecodeProgramWords(bytes);
    EXPECT_FALSE(result.Success) << size;
    EXPECT_FALSE(result.EndReached) << size;
    EXPECT_EQ(result.Decoded.Text, "Unknown") << size;
    EXPECT_EQ(result.Decoded.Instruction.ApiNumber, 0);
  }
}

TEST(DecodeProgramWords, LettersOutsideTheNotationFail) {
  // A well-formed instruction code with operand letters no program can hold is reported as
  // not convertible, so a download does not take it for an instruction.
  std::vector<std::uint16_t> words = ImageToStoredWords(ParseIlLine("MOV\tK1\tD0").Image);
  std::vector<std::uint16_t> badKind = words;
  badKind[4] = 'Z';
  EXPECT_FALSE(DecodeProgramWords(WordsToBytes(badKind)).Success);
  std::vector<std::uint16_t> badIndex = words;
  badIndex[8] = static_cast<std::uint16_t>(('Q' << 8) | 'D');
  EXPECT_FALSE(DecodeProgramWords(WordsToBytes(badIndex)).Success);
  std::vector<std::uint16_t> badLabel = ImageToStoredWords(ParseIlLine("P\t3").Image);
  badLabel[4] = '\n';
  EXPECT_FALSE(DecodeProgramWords(WordsToBytes(badLabel)).Success);
  EXPECT_TRUE(DecodeProgramWords(WordsToBytes(words)).Success);
}

class WideModel final : public DeviceProgramTraits {
 public:
  std::span<const TSingleInterruption> Interruptions() const override {
    return BuiltInDeviceTraits().Interruptions();
  }
  std::uint16_t InterruptApi() const override { return 0x6031; }
  std::uint16_t EndApi() const override { return 0x6003; }  // this model ends at FEND
  int WordsPerInstruction() const override { return 20; }
};

TEST(DecodeProgramWords, FollowsTheSelectedModel) {
  const WideModel wide;
  SetCurrentDeviceTraits(&wide);
  std::vector<std::uint8_t> bytes = StoredBytesOf("FEND");
  EXPECT_FALSE(DecodeProgramWords(bytes).Success);  // 34 bytes, the model stores 40
  bytes.resize(40, 0);
  const DecodeResult result = DecodeProgramWords(bytes);
  SetCurrentDeviceTraits(nullptr);
  EXPECT_TRUE(result.Success);
  EXPECT_TRUE(result.EndReached);
}

TEST(ImageToInstruction, BuildsOperandsOrRefuses) {
  const TSingleInstruction mov = ParseToInstruction("MOV\tK-5@A3\tD361");
  EXPECT_EQ(mov.Instruction.Mnemonic, "MOV");
  const std::vector<TSingleOperand> expected = {{OpTypeK, -5, OpTypeA, 3},
                                                {OpTypeD, 361, OpTypeNull, 0}};
  EXPECT_EQ(mov.Operands, expected);

  const TSingleInstruction label = ParseToInstruction("P\t5");
  ASSERT_EQ(label.Operands.size(), 1u);
  EXPECT_EQ(label.Operands[0], (TSingleOperand{OpTypeEmpty, 5, OpTypeNull, 0}));

  const TSingleInstruction negative = ParseToInstruction("DMOV\tK-2147483647\tD0");
  EXPECT_EQ(negative.Operands[0].Value, -2147483647);

  // A negative F constant stays the zero-extended pattern the parser wrote.
  const TSingleInstruction single = ParseToInstruction("DEADD\tF-1.5\tD0\tD1");
  ASSERT_EQ(single.Operands.size(), 3u);
  EXPECT_EQ(single.Operands[0].Value, 0xBFC00000);

  const TSingleInstruction refused = ParseToInstruction("MOV\tK3000\tD392");
  EXPECT_EQ(refused.Instruction.Mnemonic, "");
  EXPECT_EQ(refused.Instruction.ApiNumber, 0);
  EXPECT_TRUE(refused.Operands.empty());

  const TSingleInstruction unknown = ImageToInstruction(InstructionImage{});
  EXPECT_EQ(unknown.Instruction.Mnemonic, "Unknown");
  EXPECT_TRUE(unknown.Operands.empty());

  const TSingleInstruction end = ParseToInstruction("END");
  EXPECT_EQ(end.Instruction.Mnemonic, "END");
  EXPECT_TRUE(end.Operands.empty());

  // A letter word beyond one byte names no kind, even if its low byte would.
  InstructionImage image = ParseIlLine("LD\tM0").Image;
  SetImageWord(image, 1, 0x014D);
  EXPECT_EQ(ImageToInstruction(image).Instruction.ApiNumber, 0);
}

TEST(ImageWords, OutOfRangeWordsAreIgnored) {
  InstructionImage image{};
  SetImageWord(image, 20, 0xBEEF);
  SetImageWord(image, 21, 0x1111);
  SetImageWord(image, -1, 0x2222);
  EXPECT_EQ(ImageWord(image, 20), 0xBEEF);
  EXPECT_EQ(ImageWord(image, 21), 0);
  EXPECT_EQ(image[0], 0);
}

}  // namespace
}  // namespace quarn::program_model

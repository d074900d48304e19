// The upload's command list, and the refusals that stop it before anything is sent.
#include "link/program_transfer.h"

#include <gtest/gtest.h>

#include "program_model/il_parser.h"

namespace quarn::link {
namespace {

// Function and address of each request, for comparing lists at a glance.
std::vector<std::pair<int, int>> Shape(const TRegistersArray& list) {
  std::vector<std::pair<int, int>> shape;
  for (const TRWmbrReg& request : list) shape.emplace_back(request.Function, request.Address);
  return shape;
}

const std::vector<std::pair<int, int>> kHead = {{2, 0xF001}, {5, 0xF005}, {5, 0xF006}, {2, 0xF000},
                                                {5, 0xF003}, {2, 0xF000}, {2, 0xE000}};
const std::vector<std::pair<int, int>> kLine = {
    {6, 0xF100}, {16, 0xF300}, {5, 0xF000}, {2, 0xF000}, {2, 0xE000}};

TEST(UploadListTest, HeadLinesAndProtection) {
  const TUploadList upload =
      BuildUploadList({"  LD\tM0 // start", "", "// comment", "; note", "\tOUT\tY0", "END"},
                      TProgramKind::Service, true);
  ASSERT_TRUE(upload.Ok);
  std::vector<std::pair<int, int>> expected = kHead;
  for (int line = 0; line < 3; ++line) expected.insert(expected.end(), kLine.begin(), kLine.end());
  expected.emplace_back(5, 0xF002);  // read protection of the service program
  EXPECT_EQ(Shape(upload.List), expected);

  const TRegistersArray& list = upload.List;
  EXPECT_EQ(list[2].Data, (TBytesArray{0, 1}));  // the service program
  EXPECT_TRUE(list[0].WaitForValue && !list[0].RepeatUntilEqual);
  EXPECT_TRUE(list[3].WaitForValue && list[3].RepeatUntilEqual);
  // Line 1 is the second code line; its words are the parser's image of "OUT Y0".
  EXPECT_EQ(list[7 + 5].Data, (TBytesArray{0, 1}));
  const auto image = program_model::ParseIlLine("OUT\tY0").Image;
  EXPECT_EQ(list[7 + 6].Data, TBytesArray(image.begin(), image.end()));
  EXPECT_EQ(list[7 + 6].Count, 21);
  EXPECT_EQ(list[7 + 6].ProgressWeight, 1);
  EXPECT_EQ(list.back().Data, (TBytesArray{0, 0}));
}

TEST(UploadListTest, OnlyCommentsSendsTheHead) {
  const TUploadList upload = BuildUploadList({"// a", "", "  ; b"}, TProgramKind::Main, false);
  ASSERT_TRUE(upload.Ok);
  EXPECT_EQ(Shape(upload.List), kHead);
  EXPECT_EQ(upload.List[2].Data, (TBytesArray{0, 0}));
}

TEST(UploadListTest, AWrongLineStopsTheUpload) {
  struct Case {
    std::string line;
    std::string message;
    std::string replacement;
  };
  const Case cases[] = {
      {"MOV\tK3000\tD392", "There is a wrong command in the list: \"MOV\tK3000\tD392\". Line: 1",
       "// wrong parameter 2: -> MOV\tK3000\tD392"},
      {"MOV\tK1 ; set", "There is a wrong command in the list: \"MOV\tK1 \". Line: 1",
       "// wrong parameters number: -> MOV\tK1 ; set"},
      {"XYZ", "There is a wrong command in the list: \"XYZ\". Line: 1", "// wrong command: -> XYZ"},
      // An instruction without operands followed by text would drop out of the program if it
      // were taken for an empty line; it is refused like any wrong line.
      {"END now", "There is a wrong command in the list: \"END now\". Line: 1", ""},
      {"LD\tM0\tjunk", "There is a wrong command in the list: \"LD\tM0\tjunk\". Line: 1", ""},
  };
  for (const Case& c : cases) {
    const TUploadList upload =
        BuildUploadList({"LD\tM0", c.line, "END"}, TProgramKind::Main, false);
    EXPECT_FALSE(upload.Ok) << c.line;
    EXPECT_TRUE(upload.List.empty()) << c.line;
    EXPECT_EQ(upload.WrongLine, 1) << c.line;
    EXPECT_EQ(upload.Message, c.message);
    EXPECT_EQ(upload.Replacement, c.replacement);
  }
}

}  // namespace
}  // namespace quarn::link

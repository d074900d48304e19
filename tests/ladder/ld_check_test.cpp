#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_file.h"
#include "program_model/catalogue.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::ladder {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunLdCheck(const std::string& path) {
  std::ostringstream out;
  std::ostringstream err;
  cli::Io io{out, err};
  const int status = cli::RunCli({"ld-check", path}, io);
  return {status, out.str(), err.str()};
}

std::string WriteTemp(const std::string& name, const std::string& content) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(LdCheckTest, AWorkbenchFileComesBackByteForByte) {
  LadderGrid grid;
  NoRegisterNames registers;
  LadderEditor editor(grid, registers);
  grid.SetCursor(0, 3);
  ASSERT_TRUE(editor.PlaceInstruction(program_model::FindInstructionByMnemonic("LDP"), {"M108"}));
  ASSERT_TRUE(
      editor.PlaceInstruction(program_model::FindInstructionByMnemonic("DMOV"), {"K9", "D357"}));
  const std::string path = WriteTemp("ld_check_good.ld", LadderFileText(grid));
  const CliRun run = RunLdCheck(path);
  EXPECT_EQ(run.status, cli::ExitOk);
  EXPECT_EQ(run.out, LadderFileText(grid));
  EXPECT_EQ(run.err, "");
  std::remove(path.c_str());
}

TEST(LdCheckTest, BadLinesAreReportedAndSkipped) {
  const std::string body =
      "RawCount=2\r\nColCount=5\r\n"
      "R0C4=\"Wire;\" value=\"\" cmd=\"\" lbl=\"\";\r\n"
      "R1C4=\"HLine;\" value=\"\" cmd=\"\" lbl=\"\";\r\n";
  std::uint32_t sum = 0;
  for (char ch : body) sum += static_cast<unsigned char>(ch);
  const std::string path = WriteTemp("ld_check_lines.ld", body + "CR=" + std::to_string(sum));
  const CliRun run = RunLdCheck(path);
  EXPECT_EQ(run.status, cli::ExitOk);
  EXPECT_EQ(run.err, "Line 2 error: R0C4=\"Wire;\" value=\"\" cmd=\"\" lbl=\"\";! Continue?\n");
  EXPECT_NE(run.out.find("R1C4=\"HLine;\""), std::string::npos);
  EXPECT_EQ(run.out.find("R0C4"), std::string::npos);
  std::remove(path.c_str());
}

TEST(LdCheckTest, RefusedFilesFailWithTheFileError) {
  const std::string path =
      WriteTemp("ld_check_bad.ld", "RawCount=2000000000\r\nColCount=15\r\nCR=0");
  const std::string shortHeader =
      WriteTemp("ld_check_short.ld", "RawCount=\r\nColCount=15\r\nCR=0");
  // A file that cannot be read is a file error of the command line (exit 2), one that is read
  // and refused is refused input (exit 1); both say "File error: ".
  const std::pair<std::string, int> cases[] = {
      {path, cli::ExitRefused},
      {shortHeader, cli::ExitRefused},
      {::testing::TempDir() + "ld_check_missing.ld", cli::ExitUsage}};
  for (const auto& [file, status] : cases) {
    const CliRun run = RunLdCheck(file);
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(run.err, "File error: " + file + "\n");
    EXPECT_EQ(run.out, "");
  }
  std::remove(path.c_str());
  std::remove(shortHeader.c_str());
}

}  // namespace
}  // namespace quarn::ladder

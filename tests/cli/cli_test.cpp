#include "tools/quarn-cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace quarn::cli {
namespace {

using test_support::TempFolder;
using test_support::WriteText;

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun RunWith(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  Io io{out, err};
  const int code = RunCli(args, io);
  return {code, out.str(), err.str()};
}

const std::string kProgram =
    "LD\tX0\n"
    "\n"
    "MOV\tK1\n"
    "XYZ\n"
    "; note\n"
    "END\n";

// Every test writes its files into a folder of its own.
class CliCheck : public ::testing::Test {
 protected:
  // A file of the folder holding bytes; answers its path.
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ / name;
    WriteText(path, bytes);
    return path;
  }

 private:
  TempFolder folder_;
};

TEST_F(CliCheck, ClearsOrCommentsWrongLines) {
  const std::string file = File("check.il", kProgram);
  const CliRun clear = RunWith({"check", file});
  EXPECT_EQ(clear.code, ExitOk);
  EXPECT_EQ(clear.out, "LD\tX0\n; note\nEND\n");
  EXPECT_EQ(clear.err, "");

  const CliRun comment = RunWith({"check", "--comment", file});
  EXPECT_EQ(comment.code, ExitOk);
  EXPECT_EQ(comment.out,
            "LD\tX0\n// wrong parameters number: -> MOV\tK1\n// wrong command: -> XYZ\n; note\n"
            "END\n");
}

TEST_F(CliCheck, ByteOrderMarkStaysInFrontAndTheFirstLineParses) {
  const std::string valid = File("bom.il", "\xEF\xBB\xBFLD\tX0\r\nOUT\tY0\r\n");
  EXPECT_EQ(RunWith({"check", valid}).out, "\xEF\xBB\xBFLD\tX0\nOUT\tY0\n");

  const std::string wrong = File("bom-wrong.il", "\xEF\xBB\xBFXYZ\nEND");
  EXPECT_EQ(RunWith({"check", wrong}).out,
            "\xEF\xBB\xBF"
            "END\n");
  EXPECT_EQ(RunWith({"check", "--comment", wrong}).out,
            "\xEF\xBB\xBF// wrong command: -> XYZ\nEND\n");
}

TEST_F(CliCheck, EmptyFileGivesEmptyProgram) {
  const CliRun run = RunWith({"check", File("empty.il", "")});
  EXPECT_EQ(run.code, ExitOk);
  EXPECT_EQ(run.out, "");
}

TEST_F(CliCheck, UsageAndFileErrors) {
  const std::string file = File("usage.il", kProgram);
  const Args usage[] = {
      {"check"}, {"check", "--comment"}, {"check", file, file}, {"check", "--clean", file}};
  for (const Args& args : usage) {
    const CliRun run = RunWith(args);
    EXPECT_EQ(run.code, ExitUsage) << args.size();
    EXPECT_NE(run.err.find("usage: quarn-cli check"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const CliRun missing = RunWith({"check", "/nonexistent/prog.il"});
  EXPECT_EQ(missing.code, ExitUsage);
  EXPECT_NE(missing.err.find("/nonexistent/prog.il"), std::string::npos);
  const CliRun folder = RunWith({"check", "/"});
  EXPECT_EQ(folder.code, ExitUsage);
  EXPECT_NE(folder.err.find("cannot read /"), std::string::npos);
}

TEST(CliParse, CodeAndImageWords) {
  const CliRun valid = RunWith({"parse", "MOV\tK3000\tD361 ; speed"});
  EXPECT_EQ(valid.code, ExitOk);
  EXPECT_EQ(valid.out,
            "0\n2018 004B 0BB8 0000 0000 0000 0044 0169 0000 0000 0000 0000 0000 0000 0000 0000 "
            "0000 0000 0000 0000 0000\n");
  const std::pair<const char*, const char*> refused[] = {
      {"MOV K3000 D392", "2\n"}, {"MOV K1", "5\n"},      {"mov K1 D0", "6\n"}, {"", "7\n"},
      {"// all", "8\n"},         {"MOV K1 D0 D1", "9\n"}};
  for (const auto& [line, out] : refused) {
    const CliRun run = RunWith({"parse", line});
    EXPECT_EQ(run.code, ExitRefused) << line;
    EXPECT_EQ(run.out, out) << line;
  }
  EXPECT_EQ(RunWith({"parse"}).code, ExitUsage);
  EXPECT_EQ(RunWith({"parse", "LD", "X0"}).code, ExitUsage);
}

TEST(CliDecode, WordsToText) {
  const CliRun mov = RunWith({"decode", "2018", "0x0BB8", "0", "0", "4B", "0X169", "0", "0", "44",
                              "0", "0", "0", "0", "0", "0", "0", "0"});
  EXPECT_EQ(mov.code, ExitOk);
  EXPECT_EQ(mov.out, "MOV\tK3000\tD361\nok\n");

  const CliRun shortRun = RunWith({"decode", "2018", "0BB8"});
  EXPECT_EQ(shortRun.code, ExitRefused);
  EXPECT_EQ(shortRun.out, "Unknown\nfailed\n");

  Args unknown(17, "0");
  unknown.insert(unknown.begin(), "decode");
  unknown[1] = "FFFF";
  const CliRun unknownRun = RunWith(unknown);
  EXPECT_EQ(unknownRun.code, ExitRefused);
  EXPECT_EQ(unknownRun.out.substr(0, 13), "UnknownFF FF ");
  EXPECT_TRUE(unknownRun.out.ends_with("00 00  \nfailed\n")) << unknownRun.out;

  for (const char* bad : {"10000", "zz", "", "0x", "-1", "12 "}) {
    const CliRun run = RunWith({"decode", "6023", bad});
    EXPECT_EQ(run.code, ExitUsage) << bad;
    EXPECT_NE(run.err.find("not a 16-bit hexadecimal word"), std::string::npos) << bad;
  }
  EXPECT_EQ(RunWith({"decode"}).code, ExitUsage);
}

TEST(CliCatalogue, OneLinePerEntry) {
  const CliRun run = RunWith({"catalogue"});
  EXPECT_EQ(run.code, ExitOk);
  std::istringstream lines(run.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
    EXPECT_TRUE(line.starts_with(std::to_string(count) + "\t")) << line;
    ++count;
  }
  EXPECT_EQ(count, 241);
  EXPECT_NE(run.out.find("\n48\tMOV\t0x2018\t3\tData transfer\n"), std::string::npos);
  EXPECT_NE(run.out.find("\n51\tDMOVP\t0x3818\t3\tData transfer (impulse) - 32-bit command\n"),
            std::string::npos);
  EXPECT_EQ(RunWith({"catalogue", "x"}).code, ExitUsage);
}

TEST(CliHelp, ListsCommandsAndRefusesUnknownOnes) {
  const CliRun help = RunWith({"--help"});
  EXPECT_EQ(help.code, ExitOk);
  for (const char* name : {"check [--comment] FILE", "parse LINE", "decode WORD...", "catalogue"}) {
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(RunWith({}).code, ExitUsage);
  const CliRun unknown = RunWith({"uplaod"});
  EXPECT_EQ(unknown.code, ExitUsage);
  EXPECT_NE(unknown.err.find("unknown command 'uplaod'"), std::string::npos);
}

}  // namespace
}  // namespace quarn::cli

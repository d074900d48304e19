// Runs the built quarn-cli on a file holding CR LF line ends, a byte-order mark, NUL bytes,
// bytes that are not UTF-8 and a line of a megabyte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quarn::cli {
namespace {

using test_support::ReadText;
using test_support::TempFolder;
using test_support::WriteText;

struct Result {
  int status = -1;
  std::string out;
};

Result RunBinary(std::vector<std::string> args, const std::string& outPath) {
  args.insert(args.begin(), QUARN_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  Result result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = ReadText(outPath);
  return result;
}

TEST(CliBinary, AwkwardBytesPassThroughUnchanged) {
  const std::string longLine = "LD\tX" + std::string(1 << 20, '0') + "17";
  const std::string nulLine("LD\tM0\0junk", 10);
  const std::string input =
      "\xEF\xBB\xBFLD\tX0\r\n"
      "MOV\tK1\r\n" +
      nulLine + "\r\n" + "\xFF\xFE\x80\n" + "\r\n" + longLine + "\r\n" +
      "   \r\n"
      "END";
  const TempFolder folder;
  const std::string file = folder / "awkward.il";
  const std::string output = folder / "awkward.out";
  WriteText(file, input);

  const Result comment = RunBinary({"check", "--comment", file}, output);
  EXPECT_EQ(comment.status, 0);
  const std::string expected =
      "\xEF\xBB\xBFLD\tX0\n"
      "// wrong parameters number: -> MOV\tK1\n"
      "// wrong parameter 1: -> " +
      nulLine + "\n" + "// wrong command: -> \xFF\xFE\x80\n" + longLine + "\n" + "END\n";
  EXPECT_EQ(comment.out.size(), expected.size());
  EXPECT_TRUE(comment.out == expected);  // not printed: a megabyte of zeros

  const Result clear = RunBinary({"check", file}, output);
  EXPECT_EQ(clear.status, 0);
  EXPECT_TRUE(clear.out == "\xEF\xBB\xBFLD\tX0\n" + longLine + "\nEND\n");
}

TEST(CliBinary, ExitStatusOfAFileError) {
  const TempFolder folder;
  const std::string output = folder / "missing.out";
  EXPECT_EQ(RunBinary({"check", "/nonexistent/prog.il"}, output).status, 2);
  EXPECT_EQ(RunBinary({"parse", "LD\tX8"}, output).out, "1\n");
}

}  // namespace
}  // namespace quarn::cli

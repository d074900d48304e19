#include "shell/debug_log.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "shell/file_system.h"
#include "tests/support/temp_folder.h"

namespace quarn::shell {
namespace {

using test_support::ReadText;
using test_support::TempFolder;
using test_support::WriteText;

class DebugLogTest : public ::testing::Test {
 protected:
  DebugLogTest() {
    datas.LogPath = folder.Path();
    datas.CompileLog = true;
  }
  TempFolder folder;
  TCommonDatas datas;
};

TEST_F(DebugLogTest, AppendsLinesWithCrLfWhileTheOptionIsOn) {
  DebugLog log(datas, "/unused");
  EXPECT_EQ(log.FilePath(), folder / "debug.log");
  EXPECT_TRUE(log.AppendLogLine("Compilation start"));
  EXPECT_TRUE(log.AppendLogLine("Elem[0]: LD\tX0"));
  EXPECT_EQ(ReadText(folder / "debug.log"), "Compilation start\r\nElem[0]: LD\tX0\r\n");

  datas.CompileLog = false;
  EXPECT_FALSE(log.AppendLogLine("not written"));
  EXPECT_EQ(ReadText(folder / "debug.log"), "Compilation start\r\nElem[0]: LD\tX0\r\n");
}

TEST_F(DebugLogTest, OffWritesNothingAtAll) {
  datas.CompileLog = false;
  DebugLog log(datas, "/unused");
  WriteText(folder / "debug.log", "earlier run\r\n");
  EXPECT_FALSE(log.EmptyLogFile());
  EXPECT_FALSE(log.AppendLogLine("x"));
  EXPECT_EQ(ReadText(folder / "debug.log"), "earlier run\r\n");
}

TEST_F(DebugLogTest, EmptiesTheFileAtTheStartOfACompilation) {
  DebugLog log(datas, "/unused");
  WriteText(folder / "debug.log", "earlier run\r\n");
  EXPECT_TRUE(log.EmptyLogFile());
  EXPECT_EQ(ReadText(folder / "debug.log"), "");
  EXPECT_TRUE(log.AppendLogLine("Compilation start"));
  EXPECT_EQ(ReadText(folder / "debug.log"), "Compilation start\r\n");
}

TEST_F(DebugLogTest, UnwritableFolderSwitchesTheOptionOff) {
  // LOG_PATH names a folder that does not exist: the trace has nowhere to go.
  datas.LogPath = folder / "no-such-folder";
  DebugLog log(datas, "/unused");
  EXPECT_FALSE(log.AppendLogLine("first"));
  EXPECT_FALSE(datas.CompileLog);
  EXPECT_FALSE(IsFolder(datas.LogPath));

  // It stays off until the dialog sets it again; then a usable folder works.
  datas.LogPath = folder.Path();
  EXPECT_FALSE(log.AppendLogLine("second"));
  datas.CompileLog = true;
  EXPECT_TRUE(log.AppendLogLine("third"));
  EXPECT_EQ(ReadText(folder / "debug.log"), "third\r\n");

  datas.LogPath = folder / "debug.log/below-a-file";
  EXPECT_FALSE(log.EmptyLogFile());
  EXPECT_FALSE(datas.CompileLog);
}

TEST_F(DebugLogTest, ApplicationFolderIsCreatedWhenFirstNeeded) {
  datas.LogPath.clear();
  const std::string application = folder / "share/quarn-workbench";
  DebugLog log(datas, application);
  EXPECT_TRUE(log.AppendLogLine("line"));
  EXPECT_EQ(ReadText(application + "/debug.log"), "line\r\n");
}

TEST_F(DebugLogTest, LinesFromSeveralThreadsStayWhole) {
  DebugLog log(datas, "/unused");
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kLines; ++i) log.AppendLogLine("thread " + std::to_string(t) + " line");
    });
  }
  // The dialog may switch the option while the compiler writes.
  for (int i = 0; i < 50; ++i) datas.CompileLog = true;
  for (auto& thread : threads) thread.join();

  const std::string text = ReadText(folder / "debug.log");
  std::vector<int> perThread(kThreads, 0);
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    ASSERT_EQ(line.size(), std::string("thread 0 line").size()) << line;
    ++perThread[static_cast<std::size_t>(line[7] - '0')];
  }
  EXPECT_EQ(start, text.size());
  EXPECT_EQ(perThread, std::vector<int>(kThreads, kLines));
}

}  // namespace
}  // namespace quarn::shell

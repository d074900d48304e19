// The compile trace: what reaches the sink, and debug.log through the shell's writer.
#include "compiler/compile_trace.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_command.h"
#include "shell/common_datas.h"
#include "shell/debug_log.h"
#include "tests/compiler/diagram_builder.h"

namespace quarn::compiler {
namespace {

using testing::Diagram;

class RecordingTrace final : public CompileTrace {
 public:
  bool Enabled() const override { return enabled; }
  void AppendLogLine(std::string_view text) override { entries.emplace_back(text); }
  void Restart() override {
    entries.clear();
    ++restarts;
  }

  bool enabled = true;
  int restarts = 0;
  std::vector<std::string> entries;
};

void DrawFork(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LD", "X2");
  d.Vertical(0, 4).Coil(0, 5, "Y0").Coil(1, 5, "Y1");
}

bool Holds(const std::vector<std::string>& entries, const std::string& entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

TEST(CompileTrace, ShowsBlocksBranchPointsStepsAndPasses) {
  Diagram diagram;
  DrawFork(diagram);
  RecordingTrace trace;
  trace.entries.emplace_back("left from an earlier compilation");
  ASSERT_TRUE(CompileLadder(diagram.Grid(), 1000, &trace).Success);
  EXPECT_EQ(trace.restarts, 1);
  ASSERT_FALSE(trace.entries.empty());
  EXPECT_EQ(trace.entries.front(), "Compilation start");
  EXPECT_EQ(trace.entries[1], "Start new block: BI:1 #1 StartCol-3 StartRow-0");
  EXPECT_EQ(trace.entries[2], "Elem[0]: LD\tX0");
  EXPECT_TRUE(Holds(trace.entries,
                    "BlockInfo: block[1]:\r\n StartCell r0 c3\r\n EndCell r0 c3\r\n Join -1\r\n"
                    " BlockType = btLD\r\n Elem[0] = LD\tX0\r\n finished = true\r\n"));
  EXPECT_TRUE(Holds(trace.entries,
                    "MPSInfo: MPS[0]: \r\n active = false\r\n assembled = false\r\n"
                    " completed = false\r\n"
                    "    MRD[0][0]: row=0  col=4; not active ; not completed ; open \r\n"
                    "    MRD[0][1]: row=1  col=4; not active ; not completed ; open \r\n"));
  for (const char* line :
       {"step 3 - check ANDBlockAtLeft", "step 7 - TwoBranchesExist - next step - CombineBranches",
        "step 8 - GetNextMRDCell", "step 9 - Assemble MPS", "Delete single MRD", "Reduce Empty MRD",
        "Delete NeedLess MRD", "Rename MRD", "step 10 - AddMarkInstruction",
        "Add Mark Instructions"}) {
    EXPECT_TRUE(Holds(trace.entries, line)) << line;
  }
  // Each pass is followed by the block it made; the last one holds the rung's IL.
  EXPECT_NE(trace.entries.back().find(" Elem[1] = MPS\r\n"), std::string::npos);
}

TEST(CompileTrace, SwitchedOffTraceReceivesNothing) {
  Diagram diagram;
  DrawFork(diagram);
  RecordingTrace trace;
  trace.enabled = false;
  ASSERT_TRUE(CompileLadder(diagram.Grid(), 1000, &trace).Success);
  EXPECT_EQ(trace.restarts, 0);
  EXPECT_TRUE(trace.entries.empty());
}

class DebugLogFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarn-trace-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string ReadLog() const {
    std::ifstream file(folder_ / "debug.log", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
};

TEST_F(DebugLogFolder, CompilationRewritesDebugLogWhileTheOptionIsOn) {
  shell::TCommonDatas datas;
  datas.CompileLog = true;
  shell::DebugLog log(datas, folder_.string());
  DebugLogTrace trace(log, datas);
  Diagram diagram;
  DrawFork(diagram);
  ASSERT_TRUE(CompileLadder(diagram.Grid(), 1000, &trace).Success);
  const std::size_t firstSize = ReadLog().size();
  ASSERT_TRUE(CompileLadder(diagram.Grid(), 1000, &trace).Success);
  const std::string text = ReadLog();
  EXPECT_EQ(
      text.rfind("Compilation start\r\nStart new block: BI:1 #1 StartCol-3 StartRow-0\r\n", 0), 0u);
  EXPECT_EQ(text.size(), firstSize);  // emptied at the start, not appended to
}

TEST_F(DebugLogFolder, UnwritableLogSwitchesTheOptionOffAndCompilationGoesOn) {
  shell::TCommonDatas datas;
  datas.CompileLog = true;
  datas.LogPath = (folder_ / "missing" / "folder").string();
  shell::DebugLog log(datas, folder_.string());
  DebugLogTrace trace(log, datas);
  Diagram diagram;
  DrawFork(diagram);
  EXPECT_TRUE(CompileLadder(diagram.Grid(), 1000, &trace).Success);
  EXPECT_FALSE(datas.CompileLog);
}

}  // namespace
}  // namespace quarn::compiler

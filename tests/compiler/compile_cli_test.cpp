// quarn-cli compile, and diagrams that go through the LD file before they are compiled.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "compiler/compile_command.h"
#include "ladder/ladder_file.h"
#include "tests/compiler/diagram_builder.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::compiler {
namespace {

using testing::Diagram;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCli(const cli::Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  cli::Io io{out, err};
  const int status = cli::RunCli(args, io);
  return {status, out.str(), err.str()};
}

std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

struct Drawn {
  const char* name;
  std::function<void(Diagram&)> draw;
};
void PrintTo(const Drawn& d, std::ostream* os) { *os << d.name; }

const Drawn kDiagrams[] = {
    {"Fork",
     [](Diagram& d) {
       d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LDI", "X2");
       d.Vertical(0, 4).Coil(0, 5, "Y0").Coil(1, 5, "Y1").Label(1, "P", "5");
     }},
    {"ParallelThenMove",
     [](Diagram& d) {
       d.Contact(0, 3, "LD", "X0").Contact(1, 3, "LDF", "X1").Vertical(0, 4);
       d.Compare(0, 4, "LD>=", "D10", "K100").Apply(0, 7, "MOV", {"K3000", "D361"});
     }},
    {"TwoRungs",
     [](Diagram& d) {
       d.Contact(0, 3, "LD", "X0").Inversion(0, 4).Coil(0, 5, "Y0");
       d.Contact(2, 3, "LD", "M1").Apply(2, 4, "END");
     }},
};

class SavedDiagram : public ::testing::TestWithParam<Drawn> {};

TEST_P(SavedDiagram, CompilesTheSameAfterSavingAndReading) {
  Diagram drawn;
  GetParam().draw(drawn);
  const CompileOutcome direct = CompileLadder(drawn.Grid(), 1000);
  ASSERT_TRUE(direct.Success) << direct.Message;

  const std::string path = TempPath(std::string("compile_") + GetParam().name + ".ld");
  ASSERT_TRUE(ladder::SaveLadder(drawn.Grid(), path));
  Diagram read;
  ASSERT_TRUE(ladder::ReadLadder(read.Grid(), path).Accepted);
  const CompileOutcome reread = CompileLadder(read.Grid(), 1000);
  EXPECT_EQ(reread.Lines, direct.Lines);

  const CliRun run = RunCli({"compile", path});
  EXPECT_EQ(run.status, cli::ExitOk);
  EXPECT_EQ(run.out, Joined(direct.Lines));
  EXPECT_EQ(run.err, direct.Message + "\n");
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Diagrams, SavedDiagram, ::testing::ValuesIn(kDiagrams),
                         [](const auto& param) { return std::string(param.param.name); });

std::string SaveDrawing(const std::string& name, const std::function<void(Diagram&)>& draw) {
  Diagram diagram;
  draw(diagram);
  const std::string path = TempPath(name);
  EXPECT_TRUE(ladder::SaveLadder(diagram.Grid(), path));
  return path;
}

TEST(CompileCli, RefusedDiagramsPrintTheMessageAndExitOne) {
  const std::string broken = SaveDrawing("compile_broken.ld", [](Diagram& d) {
    d.Contact(0, 3, "LD", "X0").Coil(0, 4, "Y0");
    d.Contact(2, 3, "LD", "X1").Wire(2, 4, 8);
  });
  const CliRun failed = RunCli({"compile", broken});
  EXPECT_EQ(failed.status, cli::ExitRefused);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(failed.err, "Complilation failed - interrupted lines - Fragment #2 row #2\n");

  const std::string empty = SaveDrawing("compile_empty.ld", [](Diagram&) {});
  const CliRun nothing = RunCli({"compile", empty});
  EXPECT_EQ(nothing.status, cli::ExitRefused);
  EXPECT_EQ(nothing.err, "Table is empty\n");
  std::remove(broken.c_str());
  std::remove(empty.c_str());
}

// A file that cannot be read is a file error (2); one the reader refuses is a refused input (1),
// as for ld-check.
TEST(CompileCli, FileErrorsNameTheFile) {
  const std::string missing = TempPath("compile_missing.ld");
  const CliRun absent = RunCli({"compile", missing});
  EXPECT_EQ(absent.status, cli::ExitUsage);
  EXPECT_NE(absent.err.find("File error: " + missing), std::string::npos) << absent.err;

  const std::string garbage = TempPath("compile_garbage.ld");
  std::ofstream(garbage, std::ios::binary) << "not a ladder diagram\r\n";
  const CliRun refused = RunCli({"compile", garbage});
  EXPECT_EQ(refused.status, cli::ExitRefused);
  EXPECT_NE(refused.err.find("File error: " + garbage), std::string::npos) << refused.err;
  EXPECT_EQ(refused.out, "");
  std::remove(garbage.c_str());

  EXPECT_EQ(RunCli({"compile"}).status, cli::ExitUsage);
  EXPECT_EQ(RunCli({"compile", "--fast", garbage}).status, cli::ExitUsage);
}

TEST(CompileCli, TraceOptionWritesTheCompileTrace) {
  const std::string path = SaveDrawing(
      "compile_traced.ld", [](Diagram& d) { d.Contact(0, 3, "LD", "X0").Coil(0, 4, "Y0"); });
  const std::string tracePath = TempPath("compile_trace.log");
  const CliRun run = RunCli({"compile", "--trace", tracePath, path});
  EXPECT_EQ(run.status, cli::ExitOk);
  const std::string trace = ReadAll(tracePath);
  EXPECT_EQ(trace.rfind("Compilation start\r\nStart new block: BI:1 #1 StartCol-3 StartRow-0\r\n"
                        "Elem[0]: LD\tX0\r\n",
                        0),
            0u)
      << trace;
  EXPECT_NE(trace.find("Add Mark Instructions\r\n"), std::string::npos);

  const CliRun unwritable = RunCli({"compile", "--trace", TempPath("no/such/dir/trace"), path});
  EXPECT_EQ(unwritable.status, cli::ExitUsage);
  std::remove(path.c_str());
  std::remove(tracePath.c_str());
}

}  // namespace
}  // namespace quarn::compiler

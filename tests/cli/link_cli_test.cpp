// The link commands of quarn-cli against the controller simulator on a pseudo-terminal.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "link/pseudo_terminal.h"
#include "simulator/simulator.h"
#include "tests/support/temp_folder.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::cli {
namespace {

using simulator::TSimulator;
using simulator::TSimulatorOptions;
using test_support::ReadText;
using test_support::TempFolder;
using test_support::WriteText;

struct CliRun {
  int code = -1;
  std::string out;
  std::string err;
};

CliRun RunCommand(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  Io io{out, err};
  CliRun run;
  run.code = RunCli(args, io);
  run.out = out.str();
  run.err = err.str();
  return run;
}

const std::string kProgram = "LD\tX0\nOUT\tY0\nMOV\tK3000\tD361\nEND\n";

class LinkCliTest : public ::testing::Test {
 protected:
  void Start(const TSimulatorOptions& options = {}) {
    std::string error;
    sim_ = TSimulator::Create(options, error);
    ASSERT_TRUE(sim_) << error;
    ASSERT_TRUE(sim_->StartOnPty()) << sim_->Error();
  }
  // `command` with --port and the simulator's path, then `rest`.
  CliRun RunOn(const std::string& command, Args rest = {}) {
    Args args = {command, "--port", sim_->SlavePath()};
    args.insert(args.end(), rest.begin(), rest.end());
    return RunCommand(args);
  }
  // A file of the test's own folder holding bytes; answers its path.
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ / name;
    WriteText(path, bytes);
    return path;
  }

  std::unique_ptr<TSimulator> sim_;
  TempFolder folder_;
};

TEST_F(LinkCliTest, InfoNamesTheModelAndVersions) {
  TSimulatorOptions options;
  options.Controller.Model = "KLEM-C";
  Start(options);
  const CliRun run = RunOn("info");
  EXPECT_EQ(run.code, ExitOk) << run.err;
  EXPECT_EQ(run.out, "KLEM-C\nHW4.0  FW2.0   BL1.0\n");
}

TEST_F(LinkCliTest, InfoRefusesAnOutdatedController) {
  TSimulatorOptions options;
  options.Controller.FirmwareMajor = 1;
  options.Controller.FirmwareMinor = 9;
  Start(options);
  const CliRun run = RunOn("info");
  EXPECT_EQ(run.code, ExitRefused);
  EXPECT_NE(run.out.find("The controller has an outdated software version."), std::string::npos);
}

TEST_F(LinkCliTest, UploadThenDownload) {
  Start();
  const std::string file = File("program.il", kProgram);
  const std::string log = File("upload.log", "");
  const CliRun upload = RunOn("upload", {"--service", "--log", log, file});
  EXPECT_EQ(upload.code, ExitOk) << upload.out << upload.err;
  EXPECT_EQ(upload.out, "Data transfer result:  successful\n");
  const std::string logged = ReadText(log);
  EXPECT_NE(logged.find(" Send: :0105F006FF00"), std::string::npos);  // the service program
  EXPECT_NE(logged.find(" Recv: :"), std::string::npos);

  const CliRun download = RunOn("download", {"--service"});
  EXPECT_EQ(download.code, ExitOk) << download.err;
  EXPECT_EQ(download.out, kProgram + "//Totally 4 commands were read from the controller\n");

  // The settings file's WRITE_LOG=0 keeps the transfer log empty.
  const std::string quiet = File("quiet.txt", "settings\n<WRITE_LOG>=0\n");
  EXPECT_EQ(RunOn("info", {"--settings", quiet, "--log", log}).code, ExitOk);
  EXPECT_EQ(ReadText(log), "");
}

TEST_F(LinkCliTest, UploadReadsTheFileAsTheWorkbenchLoadsIt) {
  Start();
  // A byte-order mark, CR LF line ends and a blank line, as editors on other systems save.
  const std::string file =
      File("marked.il", "\xEF\xBB\xBFLD\tX0\r\nOUT\tY0\r\n\r\nMOV\tK3000\tD361\r\nEND\r\n");
  const CliRun upload = RunOn("upload", {file});
  EXPECT_EQ(upload.code, ExitOk) << upload.out << upload.err;
  EXPECT_EQ(upload.out, "Data transfer result:  successful\n");
  const CliRun download = RunOn("download");
  EXPECT_EQ(download.code, ExitOk) << download.err;
  EXPECT_EQ(download.out, kProgram + "//Totally 4 commands were read from the controller\n");

  const CliRun folder = RunOn("upload", {folder_.Path()});
  EXPECT_EQ(folder.code, ExitUsage);
  EXPECT_NE(folder.err.find(folder_.Path()), std::string::npos) << folder.err;
}

TEST_F(LinkCliTest, AProtectedProgramCannotBeRead) {
  Start();
  EXPECT_EQ(RunOn("upload", {"--protect", File("program.il", kProgram)}).code, ExitOk);
  const CliRun download = RunOn("download");
  EXPECT_EQ(download.code, ExitRefused);
  EXPECT_NE(
      download.out.find("//Program reading error. The user program is protected against reading."),
      std::string::npos);
  EXPECT_NE(download.err.find("Main program is protected or unable to read."), std::string::npos);
}

TEST_F(LinkCliTest, UploadRefusals) {
  TSimulatorOptions options;
  options.Controller.Running = true;
  Start(options);
  const std::string good = File("good.il", kProgram);
  const std::string wrong = File("wrong.il", "LD\tX0\nEND now\n");
  struct Case {
    Args args;
    int code;
    std::string printed;
  };
  const Case cases[] = {
      {{good}, ExitRefused, "Data transfer not finished, line: 0"},
      {{wrong}, ExitRefused, "There is a wrong command in the list: \"END now\". Line: 1"},
      {{"/nonexistent/program.il"}, ExitUsage, ""},
      {{}, ExitUsage, ""},
  };
  for (const Case& c : cases) {
    const CliRun run = RunOn("upload", c.args);
    EXPECT_EQ(run.code, c.code) << c.printed;
    EXPECT_NE(run.out.find(c.printed), std::string::npos) << run.out;
  }
}

TEST_F(LinkCliTest, ReadAndState) {
  Start();
  const CliRun read = RunOn("read", {"GET_MAX_SPEED", "GET_RUN_STOP", "GET_HW"});
  EXPECT_EQ(read.code, ExitOk) << read.err;
  EXPECT_EQ(read.out, "GET_MAX_SPEED=100\nGET_RUN_STOP=0\nGET_HW=3\n");
  EXPECT_EQ(RunOn("read", {"NO_SUCH_REGISTER"}).code, ExitUsage);
  EXPECT_EQ(RunOn("read", {"SET_MAX_SPEED"}).code, ExitUsage);
  EXPECT_EQ(RunOn("read", {"--model", "KLEM-A ver.2", "GET_SUPPLY_VOLTAGE_STATE"}).code, ExitUsage);

  const CliRun state = RunOn("state");
  EXPECT_EQ(state.code, ExitOk) << state.err;
  EXPECT_NE(state.out.find("run/stop: STOP mode\n"), std::string::npos) << state.out;
  EXPECT_NE(state.out.find("errors: No errors\n"), std::string::npos);
  EXPECT_NE(state.out.find("position: Position: 0\n"), std::string::npos);
}

TEST(LinkCliUsageTest, OptionsAndFiles) {
  const std::string missing = "/nonexistent/quarn-program-modbus.txt";
  struct Case {
    Args args;
    int code;
  };
  const Case cases[] = {
      {{"info"}, ExitUsage},
      {{"info", "--port"}, ExitUsage},
      {{"info", "--port", "/nonexistent/tty", "--id", "0"}, ExitUsage},
      {{"state", "--port", "/nonexistent/tty", "--model", "KLEM-Z"}, ExitUsage},
      {{"info", "--port", "/nonexistent/tty", "--settings", missing}, ExitUsage},
      {{"info", "--port", "/nonexistent/tty"}, ExitUsage},  // the port does not open
      {{"info", "--port", "/nonexistent/tty", "--bogus"}, ExitUsage},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCommand(c.args);
    EXPECT_EQ(run.code, c.code) << c.args.back() << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(LinkCliUsageTest, AControllerThatNeverAnswers) {
  link::TPseudoTerminal silent;
  ASSERT_TRUE(silent.Open());
  const CliRun run = RunCommand({"info", "--port", silent.SlavePath()});
  EXPECT_EQ(run.code, ExitRefused);
  EXPECT_EQ(run.out,
            "Wrong connection or data transfer error: Communication failed. Port disconnected\n");
}

}  // namespace
}  // namespace quarn::cli

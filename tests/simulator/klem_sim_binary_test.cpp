// The klem-sim program itself: its first output line, its answers, its end and its usage.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "link/posix_serial_port.h"
#include "simulator/simulator_texts.h"
#include "tests/link/chunk_collector.h"
#include "tests/simulator/request_pdus.h"

namespace quarn::simulator {
namespace {

using namespace std::chrono_literals;

// A running klem-sim with pipes on its standard input, output and error.
class Process {
 public:
  explicit Process(std::vector<std::string> args) {
    args.insert(args.begin(), KLEM_SIM_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
      posix_spawn_file_actions_addclose(&actions, fd);
    }
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    stderr_ = err[0];
  }
  ~Process() {
    CloseInput();
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {stdout_, stderr_}) {
      if (fd >= 0) ::close(fd);
    }
  }

  void WriteInput(std::string_view text) {
    [[maybe_unused]] const ssize_t written = ::write(stdin_, text.data(), text.size());
  }
  void CloseInput() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
  }
  // One line of standard output, waiting at most `limit`.
  std::string ReadLine(std::chrono::milliseconds limit) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char ch = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd entry{stdout_, POLLIN, 0};
      if (::poll(&entry, 1, 50) <= 0) continue;
      if (::read(stdout_, &ch, 1) != 1) break;
      if (ch == '\n') return line;
      line.push_back(ch);
    }
    return line;
  }
  std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(fd, buffer, sizeof buffer)) > 0)
      text.append(buffer, static_cast<std::size_t>(count));
    return text;
  }
  std::string Error() { return ReadAll(stderr_); }
  std::string Output() { return ReadAll(stdout_); }
  // The exit status, or -1 when the process is still running after `limit`.
  int Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1, stdout_ = -1, stderr_ = -1;
  bool exited_ = false;
};

TEST(KlemSim, ServesItsPtyUntilStandardInputEnds) {
  const std::string program = ::testing::TempDir() + "klem_sim_program.il";
  std::ofstream(program) << "LD\tX0\r\nOUT\tY0\r\nEND\r\n";
  Process sim(
      {"--pty", "--model", "KLEM-C", "--id", "9", "--run", "--program", program, "--verbose"});
  const std::string path = sim.ReadLine(5s);
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0U) << path;

  link::TPosixSerialPort port;
  link::testing::ChunkCollector collector(port, true);
  ASSERT_TRUE(port.Open(path).Opened);
  const std::string request = testing::Frame(testing::Request(9, 4, 0x8001, 2));
  ASSERT_TRUE(port.Write(testing::Bytes(request)));
  const std::string answer = ":09040400040000EB\r\n";  // KLEM-C: DEV_ID 4, HW_VERSION 0
  ASSERT_TRUE(collector.WaitForBytes(answer.size()));
  ASSERT_TRUE(port.Write(testing::Bytes(testing::Frame(testing::Request(9, 2, 0xF001, 1)))));
  const std::string running = ":09020101F3\r\n";
  ASSERT_TRUE(collector.WaitForBytes(answer.size() + running.size()));
  const link::TBytesArray got = collector.Bytes();
  EXPECT_EQ(std::string(got.begin(), got.end()), answer + running);
  // The switch typed on standard input.
  sim.WriteInput("stop\n");
  EXPECT_EQ(sim.ReadLine(5s), texts::kConsoleStop);
  ASSERT_TRUE(port.Write(testing::Bytes(testing::Frame(testing::Request(9, 2, 0xF001, 1)))));
  const std::string stopped = ":09020100F4\r\n";
  ASSERT_TRUE(collector.WaitForBytes(answer.size() + running.size() + stopped.size()));
  const link::TBytesArray all = collector.Bytes();
  EXPECT_EQ(std::string(all.end() - static_cast<std::ptrdiff_t>(stopped.size()), all.end()),
            stopped);
  port.Close();

  sim.CloseInput();
  EXPECT_EQ(sim.Wait(3s), 0);
  const std::string log = sim.Error();
  EXPECT_NE(log.find(std::string(texts::kLogReceived) + request.substr(0, request.size() - 2)),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(std::string(texts::kLogSent) + answer.substr(0, answer.size() - 2)),
            std::string::npos)
      << log;
}

TEST(KlemSim, UsageAndBadOptions) {
  Process help({"--help"});
  EXPECT_EQ(help.Wait(3s), 0);
  EXPECT_EQ(help.Output(), std::string(texts::kUsage));
  const std::string wrong = ::testing::TempDir() + "klem_sim_wrong.il";
  std::ofstream(wrong) << "MOV\tK3000\tD392\n";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--pty", "--id", "300"}, "Usage: klem-sim"},
      {{"--frobnicate"}, "Usage: klem-sim"},
      {{}, "Usage: klem-sim"},
      {{"--pty", "--model", "KLEM-Z"}, "Usage: klem-sim"},
      {{"--pty", "--program", "/nonexistent/x.il"},
       std::string(texts::kCannotReadProgram) + "/nonexistent/x.il"},
      {{"--pty", "--program", wrong}, std::string(texts::kWrongProgramLine) + "1: MOV"},
  };
  for (const auto& [args, message] : cases) {
    Process bad(args);
    EXPECT_EQ(bad.Wait(3s), 2) << message;
    EXPECT_NE(bad.Error().find(message), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace quarn::simulator

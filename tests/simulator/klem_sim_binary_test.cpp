// The klem-sim program itself: its first output line, its answers, its end and its usage.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
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

// One line of a descriptor, waiting at most `limit`; what arrived so far when time runs out.
std::string ReadLineOf(int fd, std::chrono::milliseconds limit) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char ch = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, 50) <= 0) continue;
    if (::read(fd, &ch, 1) != 1) break;
    if (ch == '\n') return line;
    line.push_back(ch);
  }
  return line;
}

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
  std::string ReadLine(std::chrono::milliseconds limit) { return ReadLineOf(stdout_, limit); }
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

// Whether a klem-sim on `path` (KLEM-B, id 1) answers an identification request.
bool Answers(const std::string& path) {
  link::TPosixSerialPort port;
  link::testing::ChunkCollector collector(port, true);
  if (!port.Open(path).Opened) return false;
  const std::string answer = testing::Frame({1, 4, 4, 0, 3, 0, 0});  // DEV_ID 3, HW_VERSION 0
  if (!port.Write(testing::TextBytes(testing::Frame(testing::Request(1, 4, 0x8001, 2))))) return false;
  const bool answered = collector.WaitForBytes(answer.size(), 3s);
  const link::TBytesArray got = collector.Bytes();
  port.Close();
  return answered && std::string(got.begin(), got.end()) == answer;
}

// klem-sim as a job of an interactive shell. A stand-in shell leads a new session on a
// pseudo-terminal and starts `klem-sim --pty` in a process group of its own, in the foreground
// or in the background, as job control does; the test types on the terminal's master side.
// The shell reports how the job ended: its exit status, or kJobStopped when the job was
// stopped (a background read of the terminal stops the whole process).
class TerminalJob {
 public:
  static constexpr int kJobStopped = 90;

  explicit TerminalJob(bool foreground) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::array<char, 64> terminal{};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, terminal.data(), terminal.size()) != 0) {
      return;
    }
    int out[2], control[2], report[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(control, O_CLOEXEC) != 0 ||
        ::pipe2(report, O_CLOEXEC) != 0) {
      return;
    }
    shell_ = ::fork();
    if (shell_ == 0) {
      for (int fd : {master_, out[0], control[1], report[0]}) ::close(fd);
      RunShell(terminal.data(), foreground, out[1], control[0], report[1]);
    }
    ::close(out[1]);
    ::close(control[0]);
    ::close(report[1]);
    stdout_ = out[0];
    control_ = control[1];
    report_ = report[0];
    if (shell_ < 0 || ::read(report_, &job_, sizeof job_) != sizeof job_) job_ = -1;
  }
  ~TerminalJob() {
    if (shell_ > 0 && !ended_) {
      if (job_ > 0) ::kill(job_, SIGKILL);
      ::kill(shell_, SIGKILL);
      ::waitpid(shell_, nullptr, 0);
    }
    for (int fd : {stdout_, control_, report_, master_}) {
      if (fd >= 0) ::close(fd);
    }
  }

  bool Started() const { return job_ > 0; }
  std::string ReadLine(std::chrono::milliseconds limit) { return ReadLineOf(stdout_, limit); }
  void Type(std::string_view text) {
    [[maybe_unused]] const ssize_t written = ::write(master_, text.data(), text.size());
  }
  // The shell takes the terminal back, as after Ctrl-Z and bg.
  bool MoveToBackground() {
    char byte = 'b';
    return ::write(control_, &byte, 1) == 1 && ::read(report_, &byte, 1) == 1;
  }
  // Ends the job with SIGTERM; how it ended.
  int Terminate() {
    ::close(control_);  // the shell waits for the job from now on
    control_ = -1;
    ::kill(job_, SIGTERM);
    int status = 0;
    ::waitpid(shell_, &status, 0);
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  // The shell's side, after fork: system calls only.
  [[noreturn]] static void RunShell(const char* terminal, bool foreground, int out, int control,
                                    int report) {
    ::signal(SIGTTOU, SIG_IGN);  // a shell hands the terminal on from the background too
    if (::setsid() < 0) ::_exit(80);
    const int tty = ::open(terminal, O_RDWR);
    int go[2];
    if (tty < 0 || ::ioctl(tty, TIOCSCTTY, 0) != 0 || ::pipe2(go, O_CLOEXEC) != 0) {
      ::_exit(80);
    }
    const pid_t job = ::fork();
    if (job == 0) {
      ::setpgid(0, 0);
      char byte = 0;
      [[maybe_unused]] const ssize_t placed = ::read(go[0], &byte, 1);  // until placed
      ::signal(SIGTTOU, SIG_DFL);
      ::signal(SIGTTIN, SIG_DFL);
      ::dup2(tty, STDIN_FILENO);
      ::dup2(out, STDOUT_FILENO);
      ::close(tty);
      ::execl(KLEM_SIM_PATH, KLEM_SIM_PATH, "--pty", static_cast<char*>(nullptr));
      ::_exit(81);
    }
    ::setpgid(job, job);
    if (foreground) ::tcsetpgrp(tty, job);
    char byte = 'g';
    if (::write(go[1], &byte, 1) != 1 || ::write(report, &job, sizeof job) != sizeof job) {
      ::_exit(82);
    }
    if (::read(control, &byte, 1) == 1) {
      ::tcsetpgrp(tty, ::getpgrp());
      if (::write(report, &byte, 1) != 1) ::_exit(82);
    }
    int status = 0;
    if (::waitpid(job, &status, WUNTRACED) != job) ::_exit(83);
    if (WIFSTOPPED(status)) {
      ::kill(job, SIGKILL);
      ::_exit(kJobStopped);
    }
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 84);
  }

  int master_ = -1;
  pid_t shell_ = -1;
  pid_t job_ = -1;
  int stdout_ = -1, control_ = -1, report_ = -1;
  bool ended_ = false;
};

// Started in the background, klem-sim leaves the terminal alone and serves on; started in the
// foreground it takes typed lines, and once moved to the background it stops taking them and
// serves on. Either way it is never stopped by reading a terminal that is not its own.
TEST(KlemSim, ABackgroundJobLeavesTheTerminalAloneAndServesOn) {
  for (const bool foreground : {false, true}) {
    SCOPED_TRACE(foreground ? "started in the foreground" : "started in the background");
    TerminalJob job(foreground);
    ASSERT_TRUE(job.Started());
    const std::string path = job.ReadLine(5s);
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0U) << path;
    if (foreground) {
      job.Type("state\n");
      EXPECT_EQ(job.ReadLine(5s).rfind(texts::kConsoleStop, 0), 0U);
      ASSERT_TRUE(job.MoveToBackground());
    }
    job.Type("state\n");  // typed for the shell: a background job must not read it
    EXPECT_EQ(job.ReadLine(300ms), "");
    EXPECT_TRUE(Answers(path));
    EXPECT_EQ(job.Terminate(), 0);
  }
}

TEST(KlemSim, ServesItsPtyUntilStandardInputEnds) {
  // Saved with a byte-order mark and CR LF ends, as some editors save it.
  const std::string program = ::testing::TempDir() + "klem_sim_program.il";
  std::ofstream(program) << "\xEF\xBB\xBFLD\tX0\r\nOUT\tY0\r\nEND\r\n";
  Process sim(
      {"--pty", "--model", "KLEM-C", "--id", "9", "--run", "--program", program, "--verbose"});
  const std::string path = sim.ReadLine(5s);
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0U) << path;

  link::TPosixSerialPort port;
  link::testing::ChunkCollector collector(port, true);
  ASSERT_TRUE(port.Open(path).Opened);
  const std::string request = testing::Frame(testing::Request(9, 4, 0x8001, 2));
  ASSERT_TRUE(port.Write(testing::TextBytes(request)));
  const std::string answer = ":09040400040000EB\r\n";  // KLEM-C: DEV_ID 4, HW_VERSION 0
  ASSERT_TRUE(collector.WaitForBytes(answer.size()));
  ASSERT_TRUE(port.Write(testing::TextBytes(testing::Frame(testing::Request(9, 2, 0xF001, 1)))));
  const std::string running = ":09020101F3\r\n";
  ASSERT_TRUE(collector.WaitForBytes(answer.size() + running.size()));
  const link::TBytesArray got = collector.Bytes();
  EXPECT_EQ(std::string(got.begin(), got.end()), answer + running);
  // The switch typed on standard input.
  sim.WriteInput("stop\n");
  EXPECT_EQ(sim.ReadLine(5s), texts::kConsoleStop);
  ASSERT_TRUE(port.Write(testing::TextBytes(testing::Frame(testing::Request(9, 2, 0xF001, 1)))));
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

// klem-sim: plays a KLEM controller on a pseudo-terminal or a serial device until it is killed
// or its standard input reaches end of file; lines typed on it work the controller's switch and
// inputs (simulator/console_commands.h).
//
// Started in the background of an interactive shell, it leaves the terminal alone: reading it
// would stop the whole process, simulator threads included, until brought to the foreground.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "program_model/il_editor.h"
#include "simulator/command_line.h"
#include "simulator/console_commands.h"
#include "simulator/simulator.h"
#include "simulator/simulator_texts.h"

namespace {

namespace sim = quarn::simulator;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& error) {
  std::cerr << "klem-sim: " << error << "\n\n" << sim::UsageText();
  return kExitUsage;
}

int InputError(const std::string& error) {
  std::cerr << "klem-sim: " << error << '\n';
  return kExitUsage;
}

// Whether standard input is ours to read: anything but a terminal is, a terminal only while
// this process is its foreground job.
bool InputIsOurs() {
  const pid_t foreground = ::tcgetpgrp(STDIN_FILENO);
  return foreground < 0 || foreground == ::getpgrp();
}

// Runs the commands typed on standard input until SIGINT, SIGTERM or SIGHUP arrives or the
// input ends. The signals were blocked before any thread started, so they arrive here only.
void ServeUntilEnd(int signals, sim::TSimulator& simulator) {
  std::array<pollfd, 2> fds{{{signals, POLLIN, 0}, {InputIsOurs() ? STDIN_FILENO : -1, POLLIN, 0}}};
  std::array<char, 4096> buffer{};
  std::string pending;
  for (;;) {
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if ((fds[0].revents & POLLIN) != 0) return;
    const short input = fds[1].revents;
    if ((input & POLLNVAL) != 0) {
      fds[1].fd = -1;  // no standard input at all: serve until a signal
      continue;
    }
    if ((input & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
    const ssize_t count = ::read(STDIN_FILENO, buffer.data(), buffer.size());
    if (count == 0) return;
    if (count < 0 && errno == EIO) {
      fds[1].fd = -1;  // a terminal we no longer own (moved to the background, hung up)
      continue;
    }
    if (count < 0 && errno != EINTR && errno != EAGAIN) return;
    if (count < 0) continue;
    pending.append(buffer.data(), static_cast<std::size_t>(count));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      const std::string reply = simulator.WithController([&line](sim::TController& controller) {
        return sim::RunConsoleCommand(line, controller);
      });
      if (!reply.empty()) std::cout << reply << std::endl;
    }
    // A line without an end that keeps growing is not a command.
    if (pending.size() > buffer.size()) pending.clear();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  sim::TCommandLineResult parsed = sim::ParseCommandLine(args);
  if (!parsed.Ok) return UsageError(parsed.Error);
  sim::TCommandLine& line = parsed.Line;
  if (line.Help) {
    std::cout << sim::UsageText();
    return kExitOk;
  }

  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  // Moved to the background later, a read of the terminal fails with EIO instead of stopping
  // the process.
  ::signal(SIGTTIN, SIG_IGN);
  const int signals = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
  if (signals < 0) {
    std::cerr << "klem-sim: signalfd: " << std::strerror(errno) << '\n';
    return kExitFailure;
  }

  if (line.Verbose) {
    line.Options.Server.Log = [](std::string_view text) {
      std::cerr << text << '\n';
      std::cerr.flush();
    };
  }
  std::string error;
  std::unique_ptr<sim::TSimulator> simulator = sim::TSimulator::Create(line.Options, error);
  if (!simulator) return UsageError(error);

  if (!line.ProgramFile.empty()) {
    // Read as the workbench reads it: a byte-order mark and any line ends are taken.
    const quarn::program_model::ProgramFile program =
        quarn::program_model::ReadProgramFile(line.ProgramFile);
    if (!program.Read) {
      return InputError(std::string(sim::texts::kCannotReadProgram) + line.ProgramFile + " (" +
                        program.Error + ")");
    }
    const bool loaded = simulator->WithController([&](sim::TController& controller) {
      return controller.LoadProgram(sim::TProgramSlot::Main, program.Lines, error);
    });
    if (!loaded) return InputError(error);
  }

  const bool started = line.Pty ? simulator->StartOnPty() : simulator->StartOnDevice(line.Device);
  if (!started) {
    std::cerr << "klem-sim: " << sim::texts::kCannotServe << simulator->Error() << '\n';
    return kExitFailure;
  }
  if (line.Pty) {
    std::cout << simulator->SlavePath() << std::endl;  // flushed: the caller waits for it
  }
  ServeUntilEnd(signals, *simulator);
  simulator->Stop();
  return kExitOk;
}

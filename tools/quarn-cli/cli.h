// quarn-cli: a command table shared by the command groups of each subsystem.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace quarn::cli {

enum ExitCode : int { ExitOk = 0, ExitRefused = 1, ExitUsage = 2 };

struct Io {
  std::ostream& out;
  std::ostream& err;
};

using Args = std::vector<std::string>;  // the arguments after the command name

struct Command {
  const char* name;
  const char* synopsis;  // one line for --help: "check [--comment] FILE"
  int (*run)(const Args& args, Io& io);
};

// Each group lives in its own file, next to the subsystem it fronts.
std::span<const Command> ProgramCommands();
std::span<const Command> LadderCommands();
std::span<const Command> CompilerCommands();
std::span<const Command> LinkCommands();

// Runs one command line (argv without the program name); answers the exit code.
int RunCli(const Args& argv, Io& io);

// Reads a whole file as bytes. False with a message naming the file when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& content, std::string& error);
// Splits bytes into lines: LF ends a line, a CR before it is dropped, a final line without LF
// counts.
std::vector<std::string> SplitLines(const std::string& content);

}  // namespace quarn::cli

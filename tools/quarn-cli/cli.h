// quarn-cli: a command table shared by the command groups of each subsystem.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::cli {

enum ExitCode : int { ExitOk = 0, ExitRefused = 1, ExitUsage = 2 };

struct Io {
  std::ostream& out;
  std::ostream& err;
};

using Args = std::vector<std::string>;  // the arguments after the command name

struct Command {
  std::string_view name;
  std::string_view synopsis;     // how it is called, for --help and usage: "check [--comment] FILE"
  std::string_view description;  // what --help says of it, lines separated by LF; may be empty
  int (*run)(const Args& args, Io& io);
};

// Each group lives in its own file, next to the subsystem it fronts.
std::span<const Command> ProgramCommands();
std::span<const Command> LadderCommands();
std::span<const Command> CompilerCommands();
std::span<const Command> LinkCommands();

// Runs one command line (argv without the program name); answers the exit code.
int RunCli(const Args& argv, Io& io);

// Prints "usage: quarn-cli SYNOPSIS" on stderr; answers ExitUsage.
int Usage(Io& io, std::string_view synopsis);

// Reads a whole file as bytes. False with a message naming the file when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& content, std::string& error);
// Splits bytes into lines: LF ends a line, a CR before it is dropped, a final line without LF
// counts.
std::vector<std::string> SplitLines(const std::string& content);

}  // namespace quarn::cli

#include "tools/quarn-cli/cli.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace quarn::cli {
namespace {

using Group = std::span<const Command> (*)();
// Command groups in the order --help lists them.
constexpr std::array<Group, 2> kGroups = {&ProgramCommands, &LadderCommands};

void PrintHelp(std::ostream& out) {
  out << "usage: quarn-cli COMMAND [ARGS]\n\ncommands:\n";
  for (Group group : kGroups) {
    for (const Command& command : group()) out << "  " << command.synopsis << "\n";
  }
  out << "\nexit status: 0 success, 1 refused input, 2 usage or file error\n";
}

const Command* FindCommand(const std::string& name) {
  for (Group group : kGroups) {
    for (const Command& command : group()) {
      if (name == command.name) return &command;
    }
  }
  return nullptr;
}

}  // namespace

int RunCli(const Args& argv, Io& io) {
  if (argv.empty()) {
    PrintHelp(io.err);
    return ExitUsage;
  }
  if (argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
    PrintHelp(io.out);
    return ExitOk;
  }
  const Command* command = FindCommand(argv[0]);
  if (command == nullptr) {
    io.err << "quarn-cli: unknown command '" << argv[0] << "' (see quarn-cli --help)\n";
    return ExitUsage;
  }
  return command->run(Args(argv.begin() + 1, argv.end()), io);
}

bool ReadFileBytes(const std::string& path, std::string& content, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream buffer;
  buffer << file.rdbuf();
  if (file.bad()) {
    error = "cannot read " + path;
    return false;
  }
  content = buffer.str();
  return true;
}

std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::size_t stop = end;
    if (stop > start && content[stop - 1] == '\r') --stop;
    lines.emplace_back(content, start, stop - start);
    start = end + 1;
  }
  return lines;
}

}  // namespace quarn::cli

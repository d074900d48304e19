#include "tools/quarn-cli/cli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <ostream>

namespace quarn::cli {
namespace {

using Group = std::span<const Command> (*)();
// Command groups in the order --help lists them.
constexpr std::array<Group, 4> kGroups = {&ProgramCommands, &LadderCommands, &CompilerCommands,
                                          &LinkCommands};

// --help prints each description from this column, beside a short synopsis and under a long one.
constexpr std::size_t kDescriptionColumn = 26;
constexpr std::size_t kIndent = 2;
constexpr std::size_t kMinimumGap = 2;

void PrintCommandHelp(const Command& command, std::ostream& out) {
  out << std::string(kIndent, ' ') << command.synopsis;
  std::string_view description = command.description;
  if (!description.empty()) {
    const std::size_t used = kIndent + command.synopsis.size();
    if (used + kMinimumGap <= kDescriptionColumn) {
      out << std::string(kDescriptionColumn - used, ' ');
    } else {
      out << "\n" << std::string(kDescriptionColumn, ' ');
    }
    for (std::size_t end = description.find('\n'); end != std::string_view::npos;
         end = description.find('\n')) {
      out << description.substr(0, end) << "\n" << std::string(kDescriptionColumn, ' ');
      description.remove_prefix(end + 1);
    }
    out << description;
  }
  out << "\n";
}

void PrintHelp(std::ostream& out) {
  out << "usage: quarn-cli COMMAND [ARGS]\n\ncommands:\n";
  for (Group group : kGroups) {
    for (const Command& command : group()) PrintCommandHelp(command, out);
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

int Usage(Io& io, std::string_view synopsis) {
  io.err << "usage: quarn-cli " << synopsis << "\n";
  return ExitUsage;
}

bool ReadFileBytes(const std::string& path, std::string& content, std::string& error) {
  // Read through the descriptor so that a directory or a failing device reports an error
  // instead of reading as an empty file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    error = "cannot read " + path + ": " + std::strerror(EISDIR);
    return false;
  }
  std::string bytes;
  std::array<char, 65536> chunk{};
  for (;;) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = "cannot read " + path + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  content = std::move(bytes);
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

// quarn-cli commands for ladder diagrams.
#include <ostream>
#include <string>
#include <string_view>

#include "ladder/ladder_file.h"
#include "ladder/ladder_grid.h"
#include "ladder/ladder_texts.h"
#include "tools/quarn-cli/cli.h"
#include "tools/quarn-cli/cli_ladder_events.h"

namespace quarn::cli {
namespace {

constexpr std::string_view kLdCheckSynopsis = "ld-check FILE";

// Reads an LD file as the workbench does and writes the diagram back in the file format.
int LdCheck(const Args& args, Io& io) {
  if (args.size() != 1) return Usage(io, kLdCheckSynopsis);
  const std::string& path = args[0];
  CliLadderEvents events(io.err);
  ladder::LadderGrid grid(events);
  if (const int status = LoadLadderFile(path, grid, events); status != ExitOk) return status;
  io.out << ladder::LadderFileText(grid);
  return ExitOk;
}

constexpr Command kCommands[] = {
    {"ld-check", kLdCheckSynopsis, "", &LdCheck},
};

}  // namespace

int LoadLadderFile(const std::string& path, ladder::LadderGrid& grid, CliLadderEvents& events) {
  std::string content;
  std::string error;
  if (!ReadFileBytes(path, content, error)) {
    events.ShowMessage(std::string(ladder::texts::kFileError) + path);
    return ExitUsage;
  }
  return ladder::ReadLadderText(grid, content, path).Accepted ? ExitOk : ExitRefused;
}

std::span<const Command> LadderCommands() { return kCommands; }

}  // namespace quarn::cli

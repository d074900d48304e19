#include "tools/quarn-cli/cli.h"

namespace quarn::cli {
std::span<const Command> ProgramCommands() { return {}; }
}  // namespace quarn::cli

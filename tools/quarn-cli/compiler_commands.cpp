// quarn-cli commands for the ladder-to-IL compiler.
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "compiler/compile_command.h"
#include "compiler/compile_trace.h"
#include "ladder/ladder_file.h"
#include "ladder/ladder_grid.h"
#include "ladder/ladder_texts.h"
#include "shell/common_datas.h"
#include "tools/quarn-cli/cli.h"
#include "tools/quarn-cli/cli_ladder_events.h"

namespace quarn::cli {
namespace {

constexpr std::string_view kCompileSynopsis = "compile [--trace FILE] FILE.ld";

// The trace lines, each ended by CR LF as in debug.log.
class FileTrace final : public compiler::CompileTrace {
 public:
  explicit FileTrace(const std::string& path) : file_(path, std::ios::binary | std::ios::trunc) {}
  bool Open() const { return file_.is_open(); }
  bool Enabled() const override { return file_.good(); }
  void AppendLogLine(std::string_view text) override { file_ << text << "\r\n"; }
  void Restart() override {}

 private:
  std::ofstream file_;
};

// Compiles an LD file as "Compile LD to IL" does: the IL on stdout, the window's message on
// stderr.
int Compile(const Args& args, Io& io) {
  std::string tracePath;
  std::string path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--trace" && i + 1 < args.size()) {
      tracePath = args[++i];
    } else if (args[i].starts_with("--") || !path.empty()) {
      return Usage(io, kCompileSynopsis);
    } else {
      path = args[i];
    }
  }
  if (path.empty()) return Usage(io, kCompileSynopsis);

  CliLadderEvents events(io.err);
  ladder::LadderGrid grid(events);
  if (const int status = LoadLadderFile(path, grid, events); status != ExitOk) return status;

  std::optional<FileTrace> trace;
  if (!tracePath.empty()) {
    trace.emplace(tracePath);
    if (!trace->Open()) {
      io.err << "quarn-cli: cannot write " << tracePath << "\n";
      return ExitUsage;
    }
  }
  const compiler::CompileOutcome outcome = compiler::CompileLadder(
      grid, shell::TCommonDatas{}.MaxFragmentBlocks, trace ? &*trace : nullptr);
  if (trace && !trace->Enabled()) {
    io.err << "quarn-cli: cannot write " << tracePath << "\n";
    return ExitUsage;
  }
  for (const std::string& line : outcome.Lines) io.out << line << '\n';
  io.err << outcome.Message << '\n';
  return outcome.Success ? ExitOk : ExitRefused;
}

constexpr Command kCommands[] = {
    {"compile", kCompileSynopsis, "", &Compile},
};

}  // namespace

std::span<const Command> CompilerCommands() { return kCommands; }

}  // namespace quarn::cli

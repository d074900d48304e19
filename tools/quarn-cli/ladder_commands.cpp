// quarn-cli commands for ladder diagrams.
#include <ostream>
#include <string>

#include "ladder/ladder_file.h"
#include "ladder/ladder_grid.h"
#include "ladder/ladder_texts.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::cli {
namespace {

// Goes on at every bad line, as a user answering OK would, and reports each one on stderr.
class CheckEvents final : public ladder::LadderEvents {
 public:
  explicit CheckEvents(std::ostream& err) : err_(err) {}
  void ShowMessage(std::string_view text) override { err_ << text << '\n'; }
  bool AskQuestion(std::string_view text, ladder::QuestionKind) override {
    err_ << text << '\n';
    return true;
  }
  void Repaint() override {}
  void ResetEntryAnchor() override {}

 private:
  std::ostream& err_;
};

// Reads an LD file as the workbench does and writes the diagram back in the file format.
int LdCheck(const Args& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: quarn-cli ld-check FILE\n";
    return ExitUsage;
  }
  const std::string& path = args[0];
  CheckEvents events(io.err);
  std::string content;
  std::string error;
  if (!ReadFileBytes(path, content, error)) {
    events.ShowMessage(std::string(ladder::texts::kFileError) + path);
    return ExitUsage;
  }
  ladder::LadderGrid grid(events);
  if (!ladder::ReadLadderText(grid, content, path).Accepted) return ExitRefused;
  io.out << ladder::LadderFileText(grid);
  return ExitOk;
}

constexpr Command kCommands[] = {
    {"ld-check", "ld-check FILE", &LdCheck},
};

}  // namespace

std::span<const Command> LadderCommands() { return kCommands; }

}  // namespace quarn::cli

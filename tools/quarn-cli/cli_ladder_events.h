// The ladder events of the command-line tools: messages and questions go to stderr, and every
// question is answered OK, as a user going on at each bad line of an LD file would.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "ladder/ladder_events.h"
#include "ladder/ladder_grid.h"

namespace quarn::cli {

class CliLadderEvents final : public ladder::LadderEvents {
 public:
  explicit CliLadderEvents(std::ostream& err) : err_(err) {}
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

// Reads an LD file into the grid as the workbench does. ExitOk when it was read, ExitRefused
// when the reader refused it, ExitUsage when it could not be read; the message has gone to the
// events ("File error: " and the file name).
int LoadLadderFile(const std::string& path, ladder::LadderGrid& grid, CliLadderEvents& events);

}  // namespace quarn::cli

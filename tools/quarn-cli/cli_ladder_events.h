// The ladder events of the command-line tools: messages and questions go to stderr, and every
// question is answered OK, as a user going on at each bad line of an LD file would.
#pragma once

#include <ostream>
#include <string_view>

#include "ladder/ladder_events.h"

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

}  // namespace quarn::cli

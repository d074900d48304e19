// Shared helpers of the ladder tests: a recording events fake, known registers, and small grids
// written and read as text.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_events.h"
#include "ladder/ladder_grid.h"
#include "ladder/register_names.h"

namespace quarn::ladder::testing {

// Records what the model shows and answers questions from a queue (then the default answer).
class RecordingEvents : public LadderEvents {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskQuestion(std::string_view text, QuestionKind kind) override {
    questions.emplace_back(text);
    kinds.push_back(kind);
    if (answers.empty()) return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Repaint() override { ++repaints; }
  void ResetEntryAnchor() override { ++anchorResets; }
  void DiagramReplaced() override { ++replaced; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<QuestionKind> kinds;
  std::deque<bool> answers;
  bool defaultAnswer = true;
  int repaints = 0;
  int anchorResets = 0;
  int replaced = 0;
};

// A few registers of the kind the controller models describe.
class FakeRegisters : public RegisterNames {
 public:
  std::optional<RegisterName> FindFieldByOperand(std::string_view operand) const override {
    if (operand == "D361") return RegisterName{"ACCEL", 16};
    if (operand == "D357") return RegisterName{"MAX SPEED", 32};
    if (operand == "D376") return RegisterName{"RUN/MOVE COMMAND", 16};
    if (operand == "D366") return RegisterName{"MICROSTEP", 16};
    if (operand == "D374") return RegisterName{"DIRECTION", 1};
    if (operand == "M100") return RegisterName{"BUSY", 1};
    return std::nullopt;
  }
  std::string MotionCommandOperand() const override { return "D376"; }
  std::string MicrostepOperand() const override { return "D366"; }
};

struct CellSpec {
  int row;
  int col;
  std::string kinds;
  std::string text = {};
};

// Writes the cells into the grid (kinds and text).
inline void Put(LadderGrid& grid, const std::vector<CellSpec>& cells) {
  for (const CellSpec& cell : cells) {
    grid.SetKinds(cell.row, cell.col, cell.kinds);
    grid.SetText(cell.row, cell.col, cell.text);
  }
}

// The non-empty cells of a row: "3:CommonBus;LD;'X0' 4:HLine;".
inline std::string RowPicture(const LadderGrid& grid, int row) {
  std::string picture;
  for (int col = 0; col < grid.ColCount(); ++col) {
    const std::string& kinds = grid.Kinds(row, col);
    const std::string& text = grid.Text(row, col);
    if (kinds.empty() && text.empty()) continue;
    if (!picture.empty()) picture += ' ';
    picture += std::to_string(col) + ':' + kinds;
    if (!text.empty()) picture += "'" + text + "'";
  }
  return picture;
}

// The row picture of a grid row that holds only its rail.
inline std::string BareRail() { return "3:CommonBus;"; }

}  // namespace quarn::ladder::testing

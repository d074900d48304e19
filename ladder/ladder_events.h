// How the ladder model talks to whoever shows it: messages, questions, repaints.
//
// The window implements this interface, the tests implement a recording fake, the command-line
// tools print. A question returns the user's answer, so every branch of an editing rule runs
// without a display.
#pragma once

#include <string_view>

namespace quarn::ladder {

enum class QuestionKind {
  YesNo,     // a confirmation ("Cells are not empty. Delete previous content?")
  OkCancel,  // an error box that lets the user go on or stop (a bad line of an LD file)
};

class LadderEvents {
 public:
  virtual ~LadderEvents() = default;

  // An information box with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // True for Yes / OK.
  virtual bool AskQuestion(std::string_view text, QuestionKind kind) = 0;
  // The cells changed; batched while view updates are suspended (LadderGrid::UpdateGuard).
  virtual void Repaint() = 0;
  // The grid changed under the motor-control blocks: the next block must start a rung of its own.
  virtual void ResetEntryAnchor() = 0;

  // View-only notifications; a view that keeps no state of its own can ignore them.
  // The edit cursor moved: select its cell and give the grid the keyboard focus.
  virtual void CursorMoved() {}
  // Columns were added or removed: size the new columns like the bus column. When a column was
  // added at the right end the view scrolls there.
  virtual void ColumnsChanged(bool addedAtEnd) { (void)addedAtEnd; }
  // A diagram was read from a file: reset the zoom and lay the ladder tab out again.
  virtual void DiagramReplaced() {}
};

// Shows nothing and answers No / Cancel to every question.
class SilentLadderEvents final : public LadderEvents {
 public:
  void ShowMessage(std::string_view) override {}
  bool AskQuestion(std::string_view, QuestionKind) override { return false; }
  void Repaint() override {}
  void ResetEntryAnchor() override {}
};

}  // namespace quarn::ladder

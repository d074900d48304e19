// Draws ladder diagrams for the compiler tests through the editor's placement operations, so
// every grid is one a user can draw.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_events.h"
#include "ladder/ladder_grid.h"
#include "ladder/register_names.h"
#include "program_model/catalogue.h"

namespace quarn::compiler::testing {

// Counts the entry-anchor resets; everything else is silent.
class RecordingEvents final : public ladder::LadderEvents {
 public:
  void ShowMessage(std::string_view text) override { lastMessage = std::string(text); }
  bool AskQuestion(std::string_view, ladder::QuestionKind) override { return false; }
  void Repaint() override {}
  void ResetEntryAnchor() override { ++anchorResets; }

  int anchorResets = 0;
  std::string lastMessage;
};

class Diagram {
 public:
  Diagram() : grid_(events_), editor_(grid_, registers_) {}

  // A contact (LD, LDI, LDP, LDF) or INV placed at the cell.
  Diagram& Contact(int row, int col, std::string_view mnemonic, std::string operand = {}) {
    return Place(row, col, mnemonic, {std::move(operand)});
  }
  // A coil in the last column, with wires from col up to it.
  Diagram& Coil(int row, int col, std::string operand) {
    return Place(row, col, "OUT", {std::move(operand)});
  }
  // An apply instruction ending in the last column, with wires from col up to it.
  Diagram& Apply(int row, int col, std::string_view mnemonic, ladder::OperandTexts operands = {}) {
    return Place(row, col, mnemonic, std::move(operands));
  }
  Diagram& Compare(int row, int col, std::string_view mnemonic, std::string op1, std::string op2) {
    return Place(row, col, mnemonic, {std::move(op1), std::move(op2)});
  }
  // Horizontal wires in the columns from..to of the row.
  Diagram& Wire(int row, int from, int to) {
    for (int col = from; col <= to; ++col) {
      EXPECT_TRUE(editor_.AddHorizontalLine(row, col)) << "wire at " << row << "," << col;
    }
    return *this;
  }
  // A vertical line at the left edge of the column, from the row down to the next one.
  Diagram& Vertical(int row, int col) {
    EXPECT_TRUE(editor_.AddVerticalLine(row, col)) << "vertical line at " << row << "," << col;
    return *this;
  }
  Diagram& Inversion(int row, int col) {
    EXPECT_TRUE(editor_.AddInversion(row, col)) << "inversion at " << row << "," << col;
    return *this;
  }
  Diagram& Label(int row, std::string_view mnemonic, std::string operand) {
    return Place(row, ladder::LabelColumn, mnemonic, {std::move(operand)});
  }

  ladder::LadderGrid& Grid() { return grid_; }
  ladder::LadderEditor& Editor() { return editor_; }
  RecordingEvents& Events() { return events_; }

 private:
  Diagram& Place(int row, int col, std::string_view mnemonic, ladder::OperandTexts operands) {
    grid_.SetCursor(row, col);
    const program_model::TInstructions instruction =
        program_model::FindInstructionByMnemonic(mnemonic);
    EXPECT_TRUE(editor_.PlaceInstruction(instruction, operands))
        << mnemonic << " at " << row << "," << col << ": " << events_.lastMessage;
    return *this;
  }

  RecordingEvents events_;
  ladder::NoRegisterNames registers_;
  ladder::LadderGrid grid_;
  ladder::LadderEditor editor_;
};

}  // namespace quarn::compiler::testing

// The change box: an element of the diagram edited as one line of instruction text.
//
// Double-clicking an element opens the box with its mnemonic and operands ("MOV K3000 D361");
// "Ok" parses the edited text and puts the new instruction in the old one's place, or brings
// the old one back when the new one does not fit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ladder/ladder_editor.h"
#include "program_model/instructions.h"

namespace quarn::ladder {

class InstructionChangeBox {
 public:
  // The editor must outlive the box.
  explicit InstructionChangeBox(LadderEditor& editor);

  // The catalogue instruction of the element under the cell; the cursor moves to the element's
  // first cell. Nothing for wires, empty cells and unknown mnemonics.
  std::optional<program_model::TInstructions> InstructionAtCell(int row, int col);
  // A double click: opens the box for the element under the cell. False when there is none.
  bool Open(int row, int col);
  bool Visible() const { return visible_; }
  const std::string& Text() const { return text_; }
  // "Cancel" or a mouse press on the grid.
  void Hide() { visible_ = false; }
  // "Ok": a text that does not parse shows why and changes nothing (the box stays open);
  // otherwise the element is replaced and the box closes. True when the new element was placed.
  bool ApplyChangedInstruction(std::string_view text);

  // The element as it was when the box opened; nothing when its cells did not parse.
  const std::optional<program_model::TSingleInstruction>& ElementUnderEdit() const {
    return underEdit_;
  }
  int StartColumn() const { return startCol_; }

 private:
  bool ShowParseError(int code);

  LadderEditor& editor_;
  std::optional<program_model::TSingleInstruction> underEdit_;
  int startCol_ = BusColumn;
  std::string text_;
  bool visible_ = false;
};

}  // namespace quarn::ladder

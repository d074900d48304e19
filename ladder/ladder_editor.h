// The editing rules of the ladder diagram: where an element fits, the cells it takes, wires,
// removal and the hover preview.
//
// Every element other than a wire enters the grid through PlaceInstruction: the tool buttons,
// the change box, the add-element and add-instruction dialogs and the motor-control blocks all
// call it or the placement operations below it. All operations act at the grid's edit cursor
// unless a cell is given, show their messages through the grid's events and repaint.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ladder/ladder_grid.h"
#include "ladder/register_names.h"
#include "program_model/instructions.h"

namespace quarn::ladder {

// Operand texts 1..4 of an element as the cells show them ("K3000", "D361"); empty when absent.
using OperandTexts = std::array<std::string, 4>;

class LadderEditor {
 public:
  // The grid and the register names must outlive the editor.
  LadderEditor(LadderGrid& grid, const RegisterNames& registers);

  LadderGrid& Grid() { return grid_; }
  const LadderGrid& Grid() const { return grid_; }
  void SetRegisterNames(const RegisterNames& registers) { registers_ = &registers; }
  const RegisterNames& Registers() const { return *registers_; }
  // "Vericals at right": vertical lines go into the column right of the cursor.
  bool VerticalsAtRight() const { return verticalsAtRight_; }
  void SetVerticalsAtRight(bool atRight) { verticalsAtRight_ = atRight; }

  // ---- Placement ----
  // Checks the space, then places by the instruction's element kind. Resets the motor-control
  // entry anchor. False when nothing was placed (the reason has been shown).
  bool PlaceInstruction(const program_model::TInstructions& instruction,
                        const OperandTexts& operands = {});
  // Whether the instruction fits at the cursor. When not quiet it may add a column at the end
  // and a row at the bottom to make room, and shows why it does not fit.
  bool CheckInstructionSpace(const program_model::TInstructions& instruction, bool quiet);
  // Labels only left of the rail, everything else from the rail on.
  bool CheckInstructionColumn(const program_model::TInstructions& instruction) const;
  // One-cell contact, coil or inversion at the cursor; the cursor moves one cell right.
  bool PlaceContact(const program_model::TInstructions& instruction, std::string_view operand);
  // Three-cell comparison contact; the cursor stays on its last cell.
  bool PlaceComparison(const program_model::TInstructions& instruction, std::string_view operand1,
                       std::string_view operand2);
  // Apply instruction ending in the last column, with wires from the cursor up to it.
  bool PlaceApplyInstruction(const program_model::TInstructions& instruction,
                             const OperandTexts& operands);
  // P or I label in the label column of the cursor row ("P 5").
  bool PlaceLabel(const program_model::TInstructions& instruction, std::string_view operand);
  // Checks and formats the operands of a parsed instruction, then PlaceInstruction.
  bool PlaceParsedInstruction(const program_model::TSingleInstruction& single);
  // The register annotation of a MOV / DMOV box; the cursor is on the second operand's cell.
  void MoveAnnotation(std::string_view mnemonic, std::string_view operand1,
                      std::string_view operand2);

  // ---- Wires and inversion ----
  // Whether a wire (HLine, VLine1, VLine2) or an inversion may go into the cell.
  bool CanPlaceLine(int row, int col, std::uint8_t kind, bool showMessage);
  bool AddHorizontalLine(int row, int col);
  // A vertical line from the cell down into the next row (which is appended when needed).
  bool AddVerticalLine(int row, int col);
  bool AddInversion(int row, int col);

  // ---- Removal (popup menu; the Delete key is LadderGrid::DeleteSelection) ----
  // "Delete instruction": the element under the cursor; vertical lines in its cells stay.
  void DeleteInstruction();
  // "Delete all  links": wires of the cursor cell and the halves of its vertical lines.
  void DeleteAllLinks();
  void DeleteVerticalLines();
  void DeleteHorizontalLine();

  // ---- Hover preview ----
  // Where the instruction would go at the cursor, green when it fits (PreviewOk), else red.
  void PreviewInstruction(const program_model::TInstructions& instruction);
  void PreviewHorizontalLine(int row, int col);
  void PreviewVerticalLine(int row, int col);
  // Removes the row's preview; PreviewOk becomes true.
  void ClearPreviewRow(int row);

  // ---- Commands of the tool buttons ----
  // The inversion button: AddInversion at the cursor, with a message when it is refused.
  bool AddInversionAtCursor();
  // Contacts and coils are chosen in a dialog; it opens only while the preview is green.
  bool CanOpenAddElementDialog();

 private:
  void AddPreviewToken(int row, int col, std::uint8_t kind);
  void PlaceOperandCell(int row, int col, std::string kinds, std::string_view operand);
  void SetAnnotation(int row, int col, const std::string& cmd, const std::string* comment);
  void Message(std::string_view text);
  // The "VLine1;" and "VLine2;" tokens the cell holds, which an element or wire placed there keeps.
  std::string KeptVerticals(int row, int col) const;

  LadderGrid& grid_;
  const RegisterNames* registers_;
  bool verticalsAtRight_ = false;
};

// Parses a mnemonic and its operand texts as one IL line. Nothing when the line is not a valid
// instruction.
std::optional<program_model::TSingleInstruction> ParseElementText(
    const program_model::TInstructions& instruction, const OperandTexts& operands);

}  // namespace quarn::ladder

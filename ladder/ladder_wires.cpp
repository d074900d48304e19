// LadderEditor: wires, inversion, the popup removals and the hover preview.
#include <algorithm>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

// Cells a wire may not enter: the inside of a comparison or apply instruction.
constexpr KindMask kClosedToWires = kContinuation | KindBit(EkInstrStart);

}  // namespace

// ---- Wires and inversion ----

bool LadderEditor::CanPlaceLine(int row, int col, std::uint8_t kind, bool showMessage) {
  if (!grid_.Contains(row, col)) return false;
  KindMask closed = kClosedToWires;
  if (kind == EkHLine || kind == EkINV) closed |= KindBit(EkTransStart);
  // Left of the rail are only the row number, the spacer and the label: no wire belongs there.
  if (col < BusColumn || grid_.HasAnyKind(row, col, closed)) {
    if (showMessage) Message(texts::kElementImpossibleHere);
    return false;
  }
  return true;
}

bool LadderEditor::AddHorizontalLine(int row, int col) {
  ClearPreviewRow(row);
  if (!CanPlaceLine(row, col, EkHLine, true)) return false;
  std::string kinds = grid_.LinkSkeleton(row, col);
  grid_.SetKinds(row, col, kinds + KindToken(EkHLine));
  grid_.SetText(row, col, {});
  if (col < grid_.LastColumn()) {
    PreviewHorizontalLine(row, col + 1);
    grid_.SetCursor(row, col + 1);
  } else {
    grid_.SetCursor(row, col);
  }
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

bool LadderEditor::AddVerticalLine(int row, int col) {
  const int at = verticalsAtRight_ ? col + 1 : col;
  ClearPreviewRow(grid_.CurrentRow());
  // The rail already joins every row, and the last column belongs to the outputs.
  if (at <= BusColumn || at >= grid_.LastColumn()) return false;
  if (!CanPlaceLine(row, at, EkVLine1, true)) return false;
  if (row == grid_.LastRow() && !grid_.AppendRow()) return false;
  if (!CanPlaceLine(row + 1, at, EkVLine2, true)) return false;
  if (!grid_.HasKind(row, at, EkVLine1)) grid_.PrependKind(row, at, EkVLine1);
  if (!grid_.HasKind(row + 1, at, EkVLine2)) grid_.PrependKind(row + 1, at, EkVLine2);
  // Repeated clicks extend the line downwards.
  grid_.SetCursor(row + 1, col);
  ClearPreviewRow(row + 1);
  PreviewVerticalLine(row + 1, col);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

bool LadderEditor::AddInversion(int row, int col) {
  if (!grid_.Contains(row, col) || col <= BusColumn) return false;
  if (col == grid_.LastColumn() && !grid_.AddColumn(ColumnMode::AtEnd)) {
    Message(texts::kNoSpaceForElement);
    return false;
  }
  if (!CanPlaceLine(row, col, EkINV, true)) return false;
  grid_.SetKinds(row, col, KeptVerticals(row, col) + KindToken(EkINV));
  grid_.SetText(row, col, {});
  grid_.SetCursor(row, col < grid_.LastColumn() ? col + 1 : col);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

// ---- Removal ----

void LadderEditor::DeleteInstruction() {
  const int row = grid_.CurrentRow();
  const int start = grid_.CurrentCol() - grid_.ElementStartOffset(row, grid_.CurrentCol());
  const int operands = grid_.IsMultiCellStart(row, start)
                           ? OperandCount(grid_.FindInstructionOfCell(row, start))
                           : 0;
  grid_.SetCursor(row, start);
  for (int col = start; col <= std::min(start + operands, grid_.LastColumn()); ++col) {
    grid_.SetText(row, col, {});
    grid_.SetCmd(row, col, {});
    grid_.SetLbl(row, col, {});
    grid_.SetKinds(row, col, grid_.LinkSkeleton(row, col));
  }
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
}

void LadderEditor::DeleteVerticalLines() {
  const int row = grid_.CurrentRow();
  const int col = grid_.CurrentCol();
  grid_.RemoveKind(row, col, EkVLine1);
  grid_.RemoveKind(row, col, EkVLine2);
  grid_.RemoveKind(row + 1, col, EkVLine2);
  grid_.RemoveKind(row - 1, col, EkVLine1);
  grid_.RequestRepaint();
}

void LadderEditor::DeleteAllLinks() {
  grid_.RemoveKind(grid_.CurrentRow(), grid_.CurrentCol(), EkHLine);
  DeleteVerticalLines();
}

void LadderEditor::DeleteHorizontalLine() {
  grid_.RemoveKind(grid_.CurrentRow(), grid_.CurrentCol(), EkHLine);
  grid_.RequestRepaint();
}

// ---- Hover preview ----

void LadderEditor::AddPreviewToken(int row, int col, std::uint8_t kind) {
  if (grid_.Contains(row, col))
    grid_.SetPreview(row, col, grid_.Layers(row, col).Preview + KindToken(kind));
}

void LadderEditor::ClearPreviewRow(int row) {
  for (int col = 0; col < grid_.ColCount(); ++col) {
    if (!grid_.Layers(row, col).Preview.empty()) grid_.SetPreview(row, col, {});
  }
  grid_.SetPreviewOk(true);
  grid_.RequestRepaint();
}

void LadderEditor::PreviewHorizontalLine(int row, int col) {
  if (!CanPlaceLine(row, col, EkHLine, false)) grid_.SetPreviewOk(false);
  AddPreviewToken(row, col, EkHLine);
  grid_.RequestRepaint();
}

void LadderEditor::PreviewVerticalLine(int row, int col) {
  const int at = verticalsAtRight_ ? col + 1 : col;
  if (at <= BusColumn || at >= grid_.LastColumn()) return;
  if (!CanPlaceLine(row, at, EkVLine1, false) || !CanPlaceLine(row + 1, at, EkVLine2, false)) {
    grid_.SetPreviewOk(false);
  }
  AddPreviewToken(row, at, EkVLine1);
  AddPreviewToken(row + 1, at, EkVLine2);
  grid_.RequestRepaint();
}

void LadderEditor::PreviewInstruction(const TInstructions& instruction) {
  if (instruction.ApiNumber == 0) return;
  const int cells = CellCount(instruction);
  const int row = grid_.CurrentRow();
  const int col = grid_.CurrentCol();
  grid_.SetPreviewOk(CheckInstructionSpace(instruction, true));
  switch (instruction.ElementKind) {
    case EkLD:
    case EkLDI:
    case EkLDF:
    case EkLDP:
    case EkINV:
      AddPreviewToken(row, col, instruction.ElementKind);
      break;
    case EkOUT:
      for (int at = std::max(col, BusColumn); at < grid_.LastColumn(); ++at) {
        AddPreviewToken(row, at, EkHLine);
      }
      AddPreviewToken(row, grid_.LastColumn(), EkOUT);
      break;
    case EkTransStart:
      if (col + cells > MaxColumns - 1) grid_.SetPreviewOk(false);
      AddPreviewToken(row, col, EkTransStart);
      AddPreviewToken(row, col + 1, EkTransOperand1);
      AddPreviewToken(row, col + 2, EkTransOperand2);
      AddPreviewToken(row, col + 2, EkTransEnd);
      break;
    case EkInstrStart: {
      int start = col;
      if (col + cells < grid_.ColCount()) {
        for (int at = col; at < grid_.ColCount() - cells; ++at) AddPreviewToken(row, at, EkHLine);
        start = grid_.ColCount() - cells;
      }
      // Columns can be added up to the maximum; beyond it the instruction cannot go.
      if (start + cells > MaxColumns) grid_.SetPreviewOk(false);
      if (!grid_.Contains(row, start)) break;
      AddPreviewToken(row, start, EkInstrStart);
      int last = start;
      for (int k = 1; k < cells && k <= 4 && grid_.Contains(row, start + k); ++k) {
        AddPreviewToken(row, start + k, static_cast<std::uint8_t>(EkInstrOperand1 + k - 1));
        last = start + k;
      }
      AddPreviewToken(row, last, EkInstrEnd);
      break;
    }
    case EkLabel:
      AddPreviewToken(row, LabelColumn, EkLabel);
      break;
    default:
      break;
  }
  grid_.RequestRepaint();
}

// ---- Commands ----

bool LadderEditor::AddInversionAtCursor() {
  if (AddInversion(grid_.CurrentRow(), grid_.CurrentCol())) return true;
  Message(texts::kInversionNotPossible);
  return false;
}

bool LadderEditor::CanOpenAddElementDialog() {
  if (grid_.PreviewOk()) return true;
  Message(texts::kImpossibleToPlaceElement);
  return false;
}

}  // namespace quarn::ladder

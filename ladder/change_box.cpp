#include "ladder/change_box.h"

#include <vector>

#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

struct SavedCell {
  int Col;
  std::string Text;
  TLDMLayers Layers;
};

// The cells of the element that starts at the column.
std::vector<SavedCell> SaveElement(const LadderGrid& grid, int row, int col) {
  std::vector<SavedCell> cells{{col, grid.Text(row, col), grid.Layers(row, col)}};
  for (int at = col + 1; grid.HasAnyKind(row, at, kContinuation); ++at) {
    cells.push_back({at, grid.Text(row, at), grid.Layers(row, at)});
  }
  return cells;
}

}  // namespace

InstructionChangeBox::InstructionChangeBox(LadderEditor& editor) : editor_(editor) {}

std::optional<TInstructions> InstructionChangeBox::InstructionAtCell(int row, int col) {
  LadderGrid& grid = editor_.Grid();
  const auto kind = grid.MainElementKind(row, col);
  if (!kind) return std::nullopt;
  switch (*kind) {
    case EkLD:
    case EkLDI:
    case EkOUT:
    case EkLDF:
    case EkLDP:
    case EkINV:
      grid.SetCursor(row, col);
      startCol_ = col;
      return FindInstructionByElementKind(*kind);
    case EkTransStart:
    case EkTransOperand1:
    case EkTransOperand2:
    case EkInstrStart:
    case EkInstrOperand1:
    case EkInstrOperand2:
    case EkInstrOperand3:
    case EkInstrOperand4: {
      const int start = col - grid.ElementStartOffset(row, col);
      TInstructions instruction = FindInstructionByMnemonic(grid.Text(row, start));
      if (instruction.ApiNumber == 0 || !grid.IsMultiCellPart(row, col)) return std::nullopt;
      grid.SetCursor(row, start);
      startCol_ = start;
      return instruction;
    }
    case EkLabel: {
      TInstructions instruction = FindInstructionByMnemonic(grid.Text(row, col).substr(0, 1));
      if (instruction.ApiNumber == 0) return std::nullopt;
      grid.SetCursor(row, col);
      startCol_ = col;
      return instruction;
    }
    default:
      return std::nullopt;
  }
}

bool InstructionChangeBox::Open(int row, int col) {
  const auto instruction = InstructionAtCell(row, col);
  if (!instruction) return false;
  LadderGrid& grid = editor_.Grid();
  const int start = grid.CurrentCol();
  OperandTexts operands;
  int count = 1;
  if (instruction->ElementKind == EkLabel) {
    const std::string& label = grid.Text(row, start);
    operands[0] = label.size() > 2 ? label.substr(2) : std::string();
  } else if (instruction->ElementKind == EkTransStart || instruction->ElementKind == EkInstrStart) {
    count = OperandCount(*instruction);
    for (int k = 0; k < count && k < 4; ++k) {
      operands[static_cast<std::size_t>(k)] = grid.Text(row, start + k + 1);
    }
  } else if (instruction->ElementKind == EkINV) {
    count = 0;
  } else {
    operands[0] = grid.Text(row, start);
  }
  text_ = instruction->Mnemonic;
  for (int k = 0; k < count && k < 4; ++k) text_ += ' ' + operands[static_cast<std::size_t>(k)];
  underEdit_ = ParseElementText(*instruction, operands);
  grid.SelectCursorCell();
  visible_ = true;
  return true;
}

bool InstructionChangeBox::ShowParseError(int code) {
  std::string message;
  if (code >= IlWrongOperand1 && code <= IlWrongOperand4) {
    message = std::string(texts::kWrongParameter) + std::to_string(code);
  } else if (code == IlTooFewOperands) {
    message = texts::kWrongParametersNumber;
  } else if (code == IlWrongCommand) {
    message = texts::kWrongCommand;
  }
  editor_.Grid().Events().ShowMessage(message);
  return false;
}

bool InstructionChangeBox::ApplyChangedInstruction(std::string_view text) {
  LadderGrid& grid = editor_.Grid();
  const std::size_t first = text.find_first_not_of(" \t");
  const std::string_view command = first == std::string_view::npos ? "" : text.substr(first);
  if (grid.IsMultiCellPart(grid.CurrentRow(), grid.CurrentCol())) {
    grid.SetCursor(grid.CurrentRow(), startCol_);
  }
  const ParseResult parsed = ParseIlLine(command);
  if (parsed.Code != IlValid) return ShowParseError(parsed.Code);
  const TSingleInstruction replacement = ImageToInstruction(parsed.Image);

  LadderGrid::UpdateGuard updates(grid);
  const int row = grid.CurrentRow();
  const int col = grid.CurrentCol();
  const std::string skeleton = grid.LinkSkeleton(row, col);
  const bool lineAbove = grid.HasKind(row - 1, col, EkVLine1);
  const bool lineBelow = grid.HasKind(row + 1, col, EkVLine2);
  const std::vector<SavedCell> old = SaveElement(grid, row, col);

  grid.SetSelection(TGridRect{row, col, row, col});
  grid.DeleteSelection();
  grid.SetCursor(row, col);
  // The element goes; the wires it stood on stay.
  grid.SetKinds(row, col, skeleton);
  if (lineAbove && !grid.HasKind(row - 1, col, EkVLine1)) grid.AppendKind(row - 1, col, EkVLine1);
  if (lineBelow && !grid.HasKind(row + 1, col, EkVLine2)) grid.AppendKind(row + 1, col, EkVLine2);

  const bool placed = editor_.PlaceParsedInstruction(replacement);
  if (!placed && !(underEdit_ && editor_.PlaceParsedInstruction(*underEdit_))) {
    // The old element's cells did not parse either: put them back as they were.
    for (const SavedCell& cell : old) grid.SetCell(row, cell.Col, cell.Text, cell.Layers);
    grid.SetCursor(row, col);
  }
  visible_ = false;
  return placed;
}

}  // namespace quarn::ladder

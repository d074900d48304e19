#include "ladder/ladder_editor.h"

#include <algorithm>
#include <charconv>

#include "ladder/ladder_texts.h"
#include "ladder/motion_names.h"
#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

// Element kinds that must leave the last column free for the outputs.
bool KeepsLastColumnFree(std::uint8_t kind) {
  switch (kind) {
    case EkLD:
    case EkLDI:
    case EkLDF:
    case EkLDP:
    case EkTransStart:
    case EkHLine:
    case EkINV:
      return true;
    default:
      return false;
  }
}

// Element kinds that may be placed over half a vertical line.
bool MaySitOnVerticals(std::uint8_t kind) {
  return kind == EkLD || kind == EkLDI || kind == EkLDF || kind == EkLDP || kind == EkTransStart ||
         kind == EkINV;
}

bool EndsInLastColumn(std::uint8_t kind) { return kind == EkInstrStart || kind == EkOUT; }

bool SlotPresent(const TInstructions& instruction, int slot) {
  return !instruction.Operands[static_cast<std::size_t>(slot)].AllowedOperands.empty();
}

constexpr KindMask kVerticals = KindBit(EkVLine1) | KindBit(EkVLine2);

constexpr std::uint8_t kInstrOperandKinds[] = {EkInstrOperand1, EkInstrOperand2, EkInstrOperand3,
                                               EkInstrOperand4};

// The value of a plain K constant ("K1", "K-5"); nothing for anything else.
std::optional<std::int64_t> KConstant(std::string_view operand) {
  if (operand.size() < 2 || operand.front() != 'K') return std::nullopt;
  const std::string_view digits = operand.substr(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

LadderEditor::LadderEditor(LadderGrid& grid, const RegisterNames& registers)
    : grid_(grid), registers_(&registers) {}

void LadderEditor::Message(std::string_view text) { grid_.Events().ShowMessage(text); }

std::string LadderEditor::KeptVerticals(int row, int col) const {
  std::string kinds;
  if (grid_.HasKind(row, col, EkVLine1)) kinds += KindToken(EkVLine1);
  if (grid_.HasKind(row, col, EkVLine2)) kinds += KindToken(EkVLine2);
  return kinds;
}

// ---- Placement ----

bool LadderEditor::CheckInstructionColumn(const TInstructions& instruction) const {
  if (instruction.LogicKind == LogicLabel) return grid_.CurrentCol() < BusColumn;
  return grid_.CurrentCol() >= BusColumn;
}

bool LadderEditor::CheckInstructionSpace(const TInstructions& instruction, bool quiet) {
  if (instruction.ApiNumber == 0) return false;
  const int cells = CellCount(instruction);
  const int row = grid_.CurrentRow();
  if (instruction.LogicKind == LogicLabel) {
    if (grid_.Kinds(row, LabelColumn).empty()) return true;
    if (!quiet) Message(texts::kNoSpaceForInstruction);
    return false;
  }
  const std::uint8_t kind = instruction.ElementKind;
  const auto grow = [&]() {
    if (quiet) return false;
    if (grid_.AddColumn(ColumnMode::AtEnd)) return true;
    Message(texts::kNoSpaceForInstruction);
    return false;
  };
  while (grid_.ColCount() - cells < grid_.CurrentCol()) {
    if (!grow()) return false;
  }
  // The last column stays free for outputs.
  if (KeepsLastColumnFree(kind) && grid_.ColCount() - cells == grid_.CurrentCol() && !grow()) {
    return false;
  }
  const int first = grid_.CurrentCol();
  const int last = EndsInLastColumn(kind) ? grid_.LastColumn() : first + cells - 1;
  for (int col = first; col <= std::min(last, grid_.LastColumn()); ++col) {
    KindMask rest = grid_.Mask(row, col) & ~(KindBit(EkHLine) | KindBit(EkCommonBus));
    // Contacts may sit on half a vertical line; an output's own cells and the cell just in
    // front of it may not.
    const bool ignoreVerticals =
        MaySitOnVerticals(kind) || (EndsInLastColumn(kind) && col < grid_.ColCount() - cells - 1);
    if (ignoreVerticals) rest &= ~kVerticals;
    if (rest != 0) {
      if (!quiet) Message(texts::kNoSpaceForInstruction);
      return false;
    }
  }
  if (!quiet && row == grid_.LastRow()) grid_.AppendRow();
  return true;
}

bool LadderEditor::PlaceInstruction(const TInstructions& instruction,
                                    const OperandTexts& operands) {
  if (instruction.ApiNumber == 0 || !CheckInstructionSpace(instruction, false)) return false;
  bool placed = false;
  {
    LadderGrid::UpdateGuard updates(grid_);
    switch (instruction.ElementKind) {
      case EkOUT: {
        const int row = grid_.CurrentRow();
        for (int col = std::max(grid_.CurrentCol(), BusColumn); col < grid_.LastColumn(); ++col) {
          AddHorizontalLine(row, col);
        }
        grid_.SetCursor(row, grid_.LastColumn());
        placed = PlaceContact(instruction, operands[0]);
        break;
      }
      case EkLD:
      case EkLDI:
      case EkLDF:
      case EkLDP:
      case EkINV:
        placed = PlaceContact(instruction, operands[0]);
        break;
      case EkTransStart:
        placed = PlaceComparison(instruction, operands[0], operands[1]);
        break;
      case EkInstrStart:
        placed = PlaceApplyInstruction(instruction, operands);
        break;
      case EkLabel:
        if (instruction.LogicKind != LogicLabel) return false;
        placed = PlaceLabel(instruction, operands[0]);
        break;
      default:
        break;  // block instructions (ANB, ORB, MPS ...) have no element of their own
    }
  }
  grid_.Events().ResetEntryAnchor();
  grid_.SelectCursorCell();
  return placed;
}

bool LadderEditor::PlaceContact(const TInstructions& instruction, std::string_view operand) {
  if (!CheckInstructionColumn(instruction)) {
    Message(texts::kInstructionNotPossibleHere);
    return false;
  }
  const int row = grid_.CurrentRow();
  const int col = grid_.CurrentCol();
  std::string kinds = col == BusColumn ? KindToken(EkCommonBus) : std::string();
  kinds += KeptVerticals(row, col);
  kinds += KindToken(instruction.ElementKind);
  grid_.SetKinds(row, col, std::move(kinds));
  grid_.SetText(row, col, std::string(operand));
  grid_.SetCursor(row, col + 1);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

// An operand cell of a comparison or apply instruction starts clean: its kinds, its text and
// the register label of the operand.
void LadderEditor::PlaceOperandCell(int row, int col, std::string kinds, std::string_view operand) {
  grid_.SetCell(row, col, std::string(operand), TLDMLayers{std::move(kinds), {}, {}, {}, {}});
  if (auto field = registers_->FindFieldByOperand(operand)) grid_.SetLbl(row, col, field->Caption);
}

bool LadderEditor::PlaceComparison(const TInstructions& instruction, std::string_view operand1,
                                   std::string_view operand2) {
  if (!CheckInstructionColumn(instruction)) {
    Message(texts::kInstructionNotPossibleHere);
    return false;
  }
  const int row = grid_.CurrentRow();
  const int col = grid_.CurrentCol();
  if (col + CellCount(instruction) - 1 > grid_.LastColumn()) {
    Message(texts::kNoSpaceForInstruction);
    return false;
  }
  std::string kinds = col == BusColumn ? KindToken(EkCommonBus) : std::string();
  kinds += KeptVerticals(row, col);
  kinds += KindToken(EkTransStart);
  grid_.SetCell(row, col, instruction.Mnemonic, TLDMLayers{std::move(kinds), {}, {}, {}, {}});
  bool complete = false;
  if (SlotPresent(instruction, 0) && !operand1.empty()) {
    grid_.SetCursor(row, col + 1);
    PlaceOperandCell(row, col + 1, KindToken(EkTransOperand1), operand1);
    if (SlotPresent(instruction, 1) && !operand2.empty()) {
      grid_.SetCursor(row, col + 2);
      PlaceOperandCell(row, col + 2, KindToken(EkTransOperand2) + KindToken(EkTransEnd), operand2);
      complete = true;
    }
  }
  if (!complete) grid_.AppendKind(row, grid_.CurrentCol(), EkTransEnd);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

bool LadderEditor::PlaceApplyInstruction(const TInstructions& instruction,
                                         const OperandTexts& operands) {
  const int cells = CellCount(instruction);
  if (grid_.ColCount() - cells < grid_.CurrentCol() || grid_.ColCount() - cells < BusColumn) {
    Message(texts::kNoSpaceForApplyInstruction);
    return false;
  }
  const int row = grid_.CurrentRow();
  const int start = grid_.ColCount() - cells;
  for (int col = grid_.CurrentCol(); col < start; ++col) AddHorizontalLine(row, col);
  grid_.SetCursor(row, start);
  // On a five-column grid a two-cell instruction starts on the rail, which stays.
  std::string startKinds = start == BusColumn ? KindToken(EkCommonBus) : std::string();
  startKinds += KindToken(EkInstrStart);
  grid_.SetCell(row, start, instruction.Mnemonic,
                TLDMLayers{std::move(startKinds), {}, {}, {}, {}});
  bool endedWithFourth = false;
  for (int slot = 0; slot < 4; ++slot) {
    const std::string& operand = operands[static_cast<std::size_t>(slot)];
    if (!SlotPresent(instruction, slot) || operand.empty()) break;
    const int col = start + slot + 1;
    grid_.SetCursor(row, col);
    std::string kinds = KindToken(kInstrOperandKinds[slot]);
    if (slot == 3) kinds += KindToken(EkInstrEnd);
    grid_.SetCell(row, col, operand, TLDMLayers{std::move(kinds), {}, {}, {}, {}});
    if (slot == 1) MoveAnnotation(instruction.Mnemonic, operands[0], operands[1]);
    if (auto field = registers_->FindFieldByOperand(operand))
      grid_.SetLbl(row, col, field->Caption);
    endedWithFourth = slot == 3;
  }
  if (!endedWithFourth) grid_.AppendKind(row, grid_.CurrentCol(), EkInstrEnd);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

// Sets Cmd (and Comment when given) of the cursor cell and the two cells before it: the box of a
// two-operand instruction.
void LadderEditor::SetAnnotation(int row, int col, const std::string& cmd,
                                 const std::string* comment) {
  for (int at = std::max(col - 2, 0); at <= col; ++at) {
    grid_.SetCmd(row, at, cmd);
    if (comment != nullptr) grid_.SetComment(row, at, *comment);
  }
}

void LadderEditor::MoveAnnotation(std::string_view mnemonic, std::string_view operand1,
                                  std::string_view operand2) {
  const int row = grid_.CurrentRow();
  const int col = grid_.CurrentCol();
  const auto target = registers_->FindFieldByOperand(operand2);
  if (!target) {
    SetAnnotation(row, col, {}, nullptr);
    return;
  }
  const auto source = registers_->FindFieldByOperand(operand1);
  const std::string setText =
      std::string(texts::kSetPrefix) + target->Caption + std::string(texts::kSetEquals);
  const bool motion = operand2 == registers_->MotionCommandOperand();
  const bool microstep = operand2 == registers_->MicrostepOperand();
  if (mnemonic == "MOV" && (target->Bits == 1 || target->Bits == 16)) {
    std::string text;
    std::string comment;
    if (source && source->Bits == 1) {
      text = setText + source->Caption;
    } else {
      text = setText + std::string(operand1);
      if (motion || microstep) comment = text;
    }
    SetAnnotation(row, col, text, &comment);
    // A motion or microstep code shows its name; the comment keeps the "Set ..." text.
    if (const auto value = KConstant(operand1); value && (motion || microstep)) {
      const auto name = motion ? MotionCommandName(*value) : MicrostepName(*value);
      if (name) SetAnnotation(row, col, std::string(*name), nullptr);
    }
  } else if (mnemonic == "DMOV" && target->Bits == 32) {
    const std::string value = source && source->Bits == 2 ? source->Caption : std::string(operand1);
    SetAnnotation(row, col, setText + value, nullptr);
  }
  if (!grid_.Layers(row, col).Cmd.empty()) {
    grid_.SetLbl(row, col, {});
    grid_.SetLbl(row, col - 1, {});
  } else {
    grid_.SetLbl(row, col, target->Caption);
  }
}

bool LadderEditor::PlaceLabel(const TInstructions& instruction, std::string_view operand) {
  if (!CheckInstructionSpace(instruction, false)) return false;
  const int row = grid_.CurrentRow();
  grid_.SetKinds(row, LabelColumn, KindToken(EkLabel));
  grid_.SetText(row, LabelColumn, instruction.Mnemonic + " " + std::string(operand));
  if (grid_.CurrentCol() == LabelColumn) grid_.SetCursor(row, BusColumn);
  grid_.RequestRepaint();
  grid_.SelectCursorCell();
  return true;
}

bool LadderEditor::PlaceParsedInstruction(const TSingleInstruction& single) {
  OperandTexts texts;
  const std::size_t count = std::min(single.Operands.size(), texts.size());
  for (std::size_t i = 0; i < count; ++i) {
    const TSingleOperand& operand = single.Operands[i];
    if (!OperandFits(operand, static_cast<int>(i) + 1, single.Instruction.ApiNumber)) return false;
    std::string text = FormatOperand(operand);
    // A label number is formatted after a blank (its kind has no letter); the cell shows "P 5".
    text.erase(0, text.find_first_not_of(' '));
    texts[i] = std::move(text);
  }
  const bool placed = PlaceInstruction(single.Instruction, texts);
  grid_.SelectCursorCell();
  return placed;
}

std::optional<TSingleInstruction> ParseElementText(const TInstructions& instruction,
                                                   const OperandTexts& operands) {
  std::string line = instruction.Mnemonic;
  for (const std::string& operand : operands) {
    line += ' ';
    line += operand;
  }
  const ParseResult parsed = ParseIlLine(line);
  if (parsed.Code != IlValid) return std::nullopt;
  TSingleInstruction single = ImageToInstruction(parsed.Image);
  if (single.Instruction.ApiNumber == 0) return std::nullopt;
  return single;
}

}  // namespace quarn::ladder

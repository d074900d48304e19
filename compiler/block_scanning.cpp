// Block recognition: scanning a block along its row, and the tests and actions that combine
// blocks in parallel, in series and as output chains.
#include <utility>

#include "compiler/compiler_texts.h"
#include "compiler/il_line_forms.h"
#include "compiler/ld_to_il.h"
#include "program_model/catalogue.h"
#include "program_model/element_kinds.h"

namespace quarn::compiler {
namespace {

using ladder::CellFlag;

// A junction ends a block: a vertical line or the rail at the next cell's left edge, or an output.
constexpr std::uint8_t kJunction = ladder::CfUpper | ladder::CfLower | ladder::CfOutput;
// A wire or an element.
constexpr std::uint8_t kContent =
    ladder::CfHLine | ladder::CfContact | ladder::CfOutput | ladder::CfElement;

bool IsOperandInstruction(std::uint8_t kind) {
  return kind == program_model::EkTransStart || kind == program_model::EkInstrStart;
}

}  // namespace

std::optional<int> TLDtoIL::AddElementLine(TBlock& block, TGridCell cell) {
  const int r = cell.Row;
  const int c = cell.Col;
  if (grid_.HasNoElement(r, c)) return std::nullopt;
  const program_model::TInstructions& instruction = grid_.FindInstructionOfCell(r, c);
  const int k = program_model::OperandCount(instruction);
  std::string line = instruction.Mnemonic;
  if (k > 0) {
    if (IsOperandInstruction(instruction.ElementKind)) {
      if (c + k > grid_.LastColumn()) {
        SetError(texts::ErrInterruptedInstruction);
        return std::nullopt;
      }
      for (int i = 1; i <= k; ++i) (line += '\t') += grid_.Text(r, c + i);
    } else {
      (line += '\t') += grid_.Text(r, c);
    }
  }
  block.Elem.push_back(std::move(line));
  if (Tracing()) {
    Trace("Elem[" + std::to_string(block.Elem.size() - 1) + "]: " + block.Elem.back());
  }
  return grid_.IsMultiCellStart(r, c) ? 1 + k : 1;
}

bool TLDtoIL::ScanBlock(TBlock& block) {
  TGridCell& at = position_;
  for (;;) {
    if (block.Finished) return true;
    if (grid_.CellFlags(at.Row, at.Col) == 0) {
      SetError(texts::ErrNotFinishedBlock);
      return false;
    }
    switch (block.BlockType) {
      case btUNDEF:
      case btAND:
      case btLD: {
        const bool first = block.BlockType == btUNDEF;
        const std::optional<int> width = AddElementLine(block, at);
        // A failure ends the rung at once; scanning on would only bury its code under another.
        if (errorCode_ != texts::ErrNone) return false;
        if (!width) break;
        if (first && grid_.HasOutputElement(at.Row, at.Col)) {
          block.BlockType = btApply;
          at.Col += *width - 1;
          block.EndCell.Col = at.Col;
          block.Finished = true;
          return true;
        }
        if (grid_.IsPlainContact(at.Row, at.Col)) {
          if (first) {
            block.BlockType = btLD;
          } else {
            block.BlockType = btAND;
            block.Elem.back() = SeriesForm(block.Elem.back());
          }
          at.Col += *width - 1;
          block.EndCell.Col = at.Col;
        } else if (grid_.HasInversion(at.Row, at.Col)) {
          // An inversion needs a condition in front of it.
          if (first && Rung().Blocks.size() < 3) {
            SetError(texts::ErrInvPosition);
            return false;
          }
          block.BlockType = btAND;
        }
        if (at.Col >= grid_.LastColumn()) {
          SetError(texts::ErrFragment);
          return false;
        }
        break;
      }
      default:
        return true;
    }
    const TGridCell next{at.Row, at.Col + 1};
    if ((grid_.CellFlags(next.Row, next.Col) & kJunction) != 0) block.Finished = true;
    block.EndCell.Col = at.Col;
    if (block.Finished) continue;
    if (grid_.Conducts(next.Row, next.Col)) {
      at.Col = next.Col;
      continue;
    }
    SetError(texts::ErrInterruptedLines);
    return false;
  }
}

bool TLDtoIL::LeftConnected(const TBlock& upper, const TBlock& lower) const {
  int i = lower.StartCell.Row;
  int a = lower.StartCell.Col;
  if (i < upper.EndCell.Row || a < upper.StartCell.Col) return false;
  bool result = false;
  while (i >= upper.StartCell.Row + 1 && a >= upper.StartCell.Col) {
    if (grid_.HasVLine2(i, a)) {
      if (!grid_.HasVLine1(i - 1, a)) return false;
      if (i == upper.StartCell.Row + 1) result = true;
      --i;
      continue;
    }
    const int b = a - 1;
    if (!grid_.Conducts(i, b) || !grid_.HasNoElement(i, b)) return false;
    if (RowsHoldContent(i + 1, lower.EndCell.Row, a, a, kContent)) return false;
    if (b < upper.StartCell.Col) return false;
    a = b;
  }
  return result;
}

bool TLDtoIL::RightConnected(const TBlock& upper, const TBlock& lower) const {
  int i = lower.StartCell.Row;
  int j = lower.EndCell.Col;
  if (i < upper.EndCell.Row || upper.EndCell.Col < j) return false;
  bool result = false;
  while (i >= upper.StartCell.Row + 1 && upper.EndCell.Col >= j) {
    const int n = j + 1;
    if (grid_.HasVLine2(i, n)) {
      if (!grid_.HasVLine1(i - 1, n)) return false;
      if (i == upper.StartCell.Row + 1) result = true;
      --i;
      continue;
    }
    if (!grid_.Conducts(i, n) || !grid_.HasNoElement(i, n)) return false;
    if (RowsHoldContent(i + 1, lower.EndCell.Row, j, j, kContent)) return false;
    if (upper.EndCell.Col < n) return false;
    j = n;
  }
  return result;
}

bool TLDtoIL::RowsHoldContent(int row1, int row2, int col1, int col2, std::uint8_t flags) const {
  for (int r = row1; r <= row2; ++r) {
    for (int c = col1; c <= col2; ++c) {
      if ((grid_.CellFlags(r, c) & flags) != 0) return true;
    }
  }
  return false;
}

std::optional<TLDtoIL::Block> TLDtoIL::NearestOpenBlock(Block x) {
  for (Block i = x - 1; i >= 1; --i) {
    if (B(i).Join < 0) return i;
  }
  return std::nullopt;
}

std::optional<TLDtoIL::Block> TLDtoIL::ORBlockAboveTest(Block x) {
  const TBlock& lower = B(x);
  if (lower.StartCell.Row <= 0 || lower.EndCell.Col >= grid_.LastColumn() ||
      lower.StartCell.Col < ladder::BusColumn || !lower.Finished || lower.BlockType == btMRD) {
    return std::nullopt;
  }
  const std::optional<Block> y = NearestOpenBlock(x);
  if (!y) return std::nullopt;
  const TBlock& upper = B(*y);
  const bool holds = lower.StartCell.Row >= upper.EndCell.Row &&
                     lower.StartCell.Col >= upper.StartCell.Col &&
                     upper.EndCell.Col >= lower.EndCell.Col && LeftConnected(upper, lower) &&
                     RightConnected(upper, lower);
  if (!holds) return std::nullopt;
  return y;
}

bool TLDtoIL::ORBlockAbove(Block x, Block y) {
  if (B(x).EndCell.Col == grid_.LastColumn()) return false;
  if (B(x).BlockType == btUNDEF || B(x).Elem.empty()) {
    SetError(texts::ErrParallelBlock);
    return false;
  }
  if (B(y).BlockType == btUNDEF || B(y).Elem.empty()) {
    SetError(texts::ErrParallelBlock);
    return false;
  }
  // An inversion in front of a parallel branch has nothing to invert.
  if (B(y).Elem.front() == texts::kInv || B(x).Elem.front() == texts::kInv) {
    SetError(texts::ErrParallelBlock);
    return false;
  }
  TBlock merged;
  merged.StartCell = B(y).StartCell;
  merged.EndCell = B(x).EndCell;
  merged.Elem = B(y).Elem;
  const TBlock& lower = B(x);
  if (lower.BlockType == btLD || lower.BlockType == btOR) {
    merged.Elem.push_back(ParallelForm(lower.Elem.front()));
    merged.Elem.insert(merged.Elem.end(), lower.Elem.begin() + 1, lower.Elem.end());
    merged.BlockType = btOR;
  } else {
    merged.Elem.insert(merged.Elem.end(), lower.Elem.begin(), lower.Elem.end());
    merged.Elem.emplace_back(texts::kOrb);
    merged.BlockType = btORB;
  }
  merged.Finished = true;
  const Block z = AppendBlock(std::move(merged));
  TraceBlock(z);
  B(x).Join = B(y).Join = z;
  if (B(z).StartCell.Col == ladder::BusColumn) return true;
  // The lower row was taken for a branch when the rung was walked; it is a parallel path.
  TMRDCell* branch = FindBranchCell(B(x).StartCell);
  if (branch == nullptr) return false;
  branch->Open = false;
  branch->Completed = true;
  TraceMPS(branch->MPS);
  return true;
}

std::optional<TGridCell> TLDtoIL::ORBlockBelow(Block x) {
  const TBlock& block = B(x);
  if (block.EndCell.Row >= grid_.LastRow() || block.EndCell.Col >= grid_.LastColumn() ||
      block.StartCell.Col < ladder::BusColumn) {
    return std::nullopt;
  }
  const int col1 = block.StartCell.Col;
  const int col2 = block.EndCell.Col;
  for (int i = block.EndCell.Row + 1; i <= grid_.LastRow(); ++i) {
    // A row joins the block only through vertical lines that climb to it from the right end of
    // the row; without any in this row, neither it nor a row below it can join. Stopping here
    // keeps the search within the rung instead of running to the bottom of the grid.
    bool climbs = false;
    for (int c = col1 + 1; c <= col2 + 1 && !climbs; ++c) climbs = grid_.HasVLine2(i, c);
    if (!climbs) return std::nullopt;
    int first = -1;
    int last = -1;
    for (int c = col1; c <= col2; ++c) {
      if (!grid_.Conducts(i, c)) continue;
      if (first < 0) first = c;
      last = c;
    }
    if (first < 0) continue;
    for (int c = first; c <= last; ++c) {
      if (!grid_.Conducts(i, c)) return std::nullopt;
    }
    TBlock trial;
    trial.StartCell = TGridCell{i, first};
    trial.EndCell = TGridCell{i, last};
    if (LeftConnected(block, trial) && RightConnected(block, trial)) return trial.StartCell;
  }
  return std::nullopt;
}

bool TLDtoIL::WireSegmentAhead(TGridCell cell) {
  if (!grid_.Conducts(cell.Row, cell.Col)) return false;
  position_ = cell;
  if (IsBranchPoint(position_) && AddMPS(position_)) {
    TraceMPS(static_cast<int>(Rung().MPSList.size()) - 1);
    return false;
  }
  if (FindMPSAt(position_) != nullptr) return false;
  // A trial scan: only wires up to the next junction make a segment of their own.
  TBlock trial;
  trial.StartCell = trial.EndCell = cell;
  const bool scanned = ScanBlock(trial);
  position_ = cell;
  return scanned && trial.Finished && trial.BlockType == btUNDEF;
}

std::optional<TLDtoIL::Block> TLDtoIL::ANDBlockAtLeftTest(Block x) {
  const TBlock& block = B(x);
  if (block.StartCell.Col <= ladder::BusColumn || !block.Finished || BranchCellOpen(block)) {
    return std::nullopt;
  }
  const std::optional<Block> y = NearestOpenBlock(x);
  if (!y) return std::nullopt;
  const TBlock& left = B(*y);
  if (BranchCellOpen(left) && (block.BlockType == btApply || block.BlockType == btMRD)) {
    return std::nullopt;
  }
  if (block.StartCell.Col != left.EndCell.Col + 1 || block.StartCell.Row != left.StartCell.Row) {
    return std::nullopt;
  }
  return y;
}

bool TLDtoIL::ANDBlockAtLeft(Block x, Block y) {
  if (B(x).BlockType == btApply) {
    // Every branch on the stretch left of the output now drives an output.
    const int row = B(x).StartCell.Row;
    for (int c = B(x).StartCell.Col - 1; c >= ladder::BusColumn && grid_.Conducts(row, c); --c) {
      if (TMRDCell* branch = FindBranchCell(TGridCell{row, c})) {
        branch->Active = true;
        branch->Completed = true;
        TraceMPS(branch->MPS);
      }
    }
  }
  const TBlock& right = B(x);
  const TBlock& left = B(y);
  if (left.EndCell.Row < right.EndCell.Row &&
      RowsHoldContent(left.EndCell.Row + 1, right.EndCell.Row, left.StartCell.Col, left.EndCell.Col,
                      ladder::CfHLine | ladder::CfElement)) {
    SetError(texts::ErrCellContent);
    return false;
  }
  if (right.EndCell.Row < left.EndCell.Row && right.BlockType == btUNDEF &&
      RowsHoldContent(right.EndCell.Row + 1, left.EndCell.Row, right.StartCell.Col,
                      right.EndCell.Col, ladder::CfHLine | ladder::CfElement)) {
    SetError(texts::ErrCellContent);
    return false;
  }
  TBlock joined;
  joined.StartCell = left.StartCell;
  joined.EndCell = TGridCell{std::max(left.EndCell.Row, right.EndCell.Row), right.EndCell.Col};
  joined.Elem = left.Elem;
  const std::size_t firstOfRight = joined.Elem.size();
  joined.Elem.insert(joined.Elem.end(), right.Elem.begin(), right.Elem.end());
  // With nothing but wire on the left the right block's first element starts the condition.
  if (right.SingleRow() && !right.Elem.empty() && !left.Elem.empty()) {
    joined.Elem[firstOfRight] = SeriesForm(joined.Elem[firstOfRight]);
  }
  joined.Finished = true;
  if (right.BlockType == btApply) {
    joined.BlockType = btApply;
    AppendBlock(std::move(joined));
    return true;
  }
  const bool bothDefined = right.BlockType != btUNDEF && left.BlockType != btUNDEF;
  if (bothDefined && !right.SingleRow() && !(left.BlockType == btMRD && left.Elem.size() == 1) &&
      right.BlockType != btMRD) {
    joined.Elem.emplace_back(texts::kAnb);
  }
  if (bothDefined) {
    joined.BlockType = btAND;
  } else {
    joined.BlockType = right.BlockType != btUNDEF ? right.BlockType : left.BlockType;
  }
  const Block z = AppendBlock(std::move(joined));
  B(x).Join = B(y).Join = z;
  return true;
}

std::optional<std::pair<TLDtoIL::Block, TLDtoIL::Block>> TLDtoIL::TwoBranchesExist() {
  if (Rung().Blocks.size() <= 2) return std::nullopt;
  std::vector<Block> chains;
  for (Block i = 1; i <= LastBlock(); ++i) {
    if (B(i).Join == kOutputChain) chains.push_back(i);
  }
  if (chains.size() >= 3) {
    SetError(texts::ErrFragment);
    return std::nullopt;
  }
  if (chains.size() != 2) return std::nullopt;
  return std::make_pair(chains.front(), chains.back());
}

bool TLDtoIL::CombineBranches(Block a, Block b) {
  if (b < a || b > LastBlock()) return false;
  TBlock combined;
  combined.StartCell = TGridCell{std::min(B(a).StartCell.Row, B(b).StartCell.Row),
                                 std::min(B(a).StartCell.Col, B(b).StartCell.Col)};
  combined.EndCell = TGridCell{std::max(B(a).EndCell.Row, B(b).EndCell.Row),
                               std::max(B(a).EndCell.Col, B(b).EndCell.Col)};
  combined.Elem = B(a).Elem;
  combined.Elem.insert(combined.Elem.end(), B(b).Elem.begin(), B(b).Elem.end());
  combined.BlockType = btApply;
  combined.Finished = true;
  combined.Join = kOutputChain;
  const Block z = AppendBlock(std::move(combined));
  B(a).Join = B(b).Join = z;
  return true;
}

}  // namespace quarn::compiler

#include "compiler/ld_to_il.h"

#include <iterator>
#include <utility>

#include "compiler/compiler_texts.h"

namespace quarn::compiler {
namespace {

// The block limit a rung falls back to once it has grown past its first few blocks.
constexpr int kGrownRungBlocks = 5;
constexpr int kGrownRungLimit = 1000;
constexpr int kPrefetchRows = 8;

enum class Step { Next, Completed, Failed };

}  // namespace

TLDtoIL::TLDtoIL(const ladder::LadderGrid& grid, int maxFragmentBlocks, CompileTrace* trace)
    : grid_(grid), maxFragmentBlocks_(maxFragmentBlocks), trace_(trace) {}

void TLDtoIL::SetError(std::int32_t code) { errorCode_ = code; }

void TLDtoIL::Run() {
  position_ = TGridCell{0, ladder::BusColumn};
  while (position_.Row < grid_.RowCount()) {
    position_.Col = ladder::BusColumn;
    // A rung takes a few microseconds: rows a few rungs ahead arrive in time for their turn.
    while (prefetched_ < position_.Row + kPrefetchRows) grid_.PrefetchRow(++prefetched_);
    if (grid_.Conducts(position_.Row, ladder::BusColumn)) {
      TFragment rung;
      rung.StartCell = position_;
      rung.EndCell = TGridCell{position_.Row, grid_.LastColumn()};
      rung.MaxBlocks = maxFragmentBlocks_;
      // Block 0 only marks the left rail.
      TBlock rail;
      rail.StartCell = rail.EndCell = position_;
      rail.Finished = true;
      rung.Blocks.push_back(std::move(rail));
      rung_ = std::move(rung);
      if (!CompileFragment()) {
        if (errorCode_ == texts::ErrNone) SetError(texts::ErrFragment);
        break;
      }
      ++fragmentCount_;
      labelsFrom_ = rung_.EndCell.Row + 1;
      // The next rung starts below this one.
      position_ = TGridCell{rung_.Blocks.back().EndCell.Row, ladder::BusColumn};
      TakeRungLines();
    }
    ++position_.Row;
  }
}

// The rung's last block holds its IL; the rest of the rung is done with.
void TLDtoIL::TakeRungLines() {
  std::vector<std::string>& elem = rung_.Blocks.back().Elem;
  lastLine_ = elem.empty() ? std::string() : elem.back();
  rungLines_.push_back(std::move(elem));
}

std::vector<std::string> TLDtoIL::TakeLines() {
  std::size_t total = 0;
  for (const std::vector<std::string>& rung : rungLines_) total += rung.size();
  std::vector<std::string> lines;
  // One more for the END line the caller may add.
  lines.reserve(total + 1);
  for (std::vector<std::string>& rung : rungLines_) {
    lines.insert(lines.end(), std::make_move_iterator(rung.begin()),
                 std::make_move_iterator(rung.end()));
  }
  rungLines_.clear();
  return lines;
}

bool TLDtoIL::CompileFragment() {
  NewBlock(position_);
  while (!Rung().Completed) {
    if (!CompileStep()) return false;
  }
  return true;
}

// One iteration over the last block X; false when the rung failed.
bool TLDtoIL::CompileStep() {
  const Block x = LastBlock();
  if (x == kGrownRungBlocks) Rung().MaxBlocks = kGrownRungLimit;
  if (Rung().MaxBlocks > 0 && x > Rung().MaxBlocks) {
    SetError(texts::ErrInfiniteCycle);
    return false;
  }
  if (IsBranchPoint(position_) && AddMPS(position_)) {
    TraceMPS(static_cast<int>(Rung().MPSList.size()) - 1);
  }
  ScanBlock(B(x));
  if (errorCode_ != texts::ErrNone) return false;
  TraceBlock(x);
  if (!B(x).Finished) {
    SetError(texts::ErrNotFinishedBlock);
    return false;
  }

  if (const std::optional<Block> above = ORBlockAboveTest(x)) {
    Trace(texts::kStep1);
    if (ORBlockAbove(x, *above)) {
      TraceBlock(LastBlock());
      return true;
    }
  }
  if (const std::optional<TGridCell> below = ORBlockBelow(x)) {
    Trace(texts::kStep2);
    position_ = *below;
    TraceBlock(NewBlock(*below));
    return true;
  }
  const TGridCell ahead{B(x).StartCell.Row, B(x).EndCell.Col + 1};
  if (WireSegmentAhead(ahead)) {
    position_ = ahead;
    NewBlock(ahead);
    return true;
  }
  if (const std::optional<Block> left = ANDBlockAtLeftTest(x)) {
    Trace(texts::kStep3);
    if (ANDBlockAtLeft(x, *left)) {
      TraceBlock(LastBlock());
      return true;
    }
  }
  if (MRDBranch(x)) {
    TraceBlock(LastBlock());
    return true;
  }
  if (grid_.Conducts(ahead.Row, ahead.Col) || grid_.HasOutputElement(ahead.Row, ahead.Col)) {
    position_ = ahead;
    NewBlock(ahead);
    return true;
  }
  if (B(x).BlockType != btApply || !B(x).Finished) {
    SetError(texts::ErrFragment);
    return false;
  }
  B(x).Join = kOutputChain;

  if (const std::optional<std::pair<Block, Block>> chains = TwoBranchesExist()) {
    Trace(texts::kStep7);
    if (CombineBranches(chains->first, chains->second)) return true;
    SetError(texts::ErrFragment);
    return false;
  }
  if (const TMRDCell* branch = GetNextMRDCell()) {
    Trace(texts::kStep8);
    position_ = branch->Cell;
    NewBlock(position_);
    return true;
  }
  Trace(texts::kStep9);
  if (!AssembleMPS()) {
    if (errorCode_ == texts::ErrNone) SetError(texts::ErrMps);
    return false;
  }
  Rung().EndCell = B(LastBlock()).EndCell;
  Trace(texts::kStep10);
  if (!AddMarkInstruction()) {
    SetError(texts::ErrMarkInstruction);
    return false;
  }
  Rung().Completed = true;
  return true;
}

TLDtoIL::Block TLDtoIL::NewBlock(TGridCell cell) {
  TBlock block;
  block.StartCell = block.EndCell = cell;
  return AppendBlock(std::move(block));
}

TLDtoIL::Block TLDtoIL::AppendBlock(TBlock block) {
  std::vector<TBlock>& blocks = Rung().Blocks;
  const Block index = static_cast<Block>(blocks.size());
  block.Index = index;
  const TGridCell start = block.StartCell;
  blocks.push_back(std::move(block));
  if (Tracing()) {
    Trace("Start new block: BI:" + std::to_string(index) + " #" + std::to_string(index) +
          " StartCol-" + std::to_string(start.Col) + " StartRow-" + std::to_string(start.Row));
  }
  return index;
}

void TLDtoIL::Trace(std::string_view text) {
  if (Tracing()) trace_->AppendLogLine(text);
}

void TLDtoIL::TraceBlock(Block index) {
  if (Tracing()) trace_->AppendLogLine(BlockInfoText(B(index)));
}

void TLDtoIL::TraceMPS(int mps) {
  if (Tracing()) trace_->AppendLogLine(MPSInfoText(Rung().MPSList[static_cast<std::size_t>(mps)]));
}

}  // namespace quarn::compiler

#include "compiler/ld_to_il.h"

#include "compiler/compiler_texts.h"

namespace quarn::compiler {
namespace {

// The block limit a rung falls back to once it has grown past its first few blocks.
constexpr int kGrownRungBlocks = 5;
constexpr int kGrownRungLimit = 1000;

enum class Step { Next, Completed, Failed };

}  // namespace

TLDtoIL::TLDtoIL(const ladder::LadderGrid& grid, int maxFragmentBlocks, CompileTrace* trace)
    : grid_(grid), maxFragmentBlocks_(maxFragmentBlocks), trace_(trace) {}

void TLDtoIL::SetError(std::int32_t code) { errorCode_ = code; }

void TLDtoIL::Run() {
  position_ = TGridCell{0, ladder::BusColumn};
  while (position_.Row < grid_.RowCount()) {
    position_.Col = ladder::BusColumn;
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
      fragments_.push_back(std::move(rung));
      if (!CompileFragment()) {
        fragments_.pop_back();
        if (errorCode_ == texts::ErrNone) SetError(texts::ErrFragment);
        break;
      }
      ++fragmentCount_;
      // Only the rung's last block is read from here on; its intermediate blocks would make a
      // large diagram's memory, and so its compile time, grow faster than the diagram.
      // Its branch points are done with as well.
      TFragment& done = fragments_.back();
      std::vector<TBlock>& blocks = done.Blocks;
      blocks.erase(blocks.begin(), blocks.end() - 1);
      blocks.shrink_to_fit();
      done.MPSList.clear();
      done.MPSList.shrink_to_fit();
      // The next rung starts below this one.
      position_ = TGridCell{blocks.back().EndCell.Row, ladder::BusColumn};
    }
    ++position_.Row;
  }
  if (!fragments_.empty() && !fragments_.back().Blocks.back().Elem.empty()) {
    lastLine_ = fragments_.back().Blocks.back().Elem.back();
  }
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
  return AppendCopyOf(block);
}

TLDtoIL::Block TLDtoIL::AppendCopyOf(const TBlock& model) {
  std::vector<TBlock>& blocks = Rung().Blocks;
  const Block index = static_cast<Block>(blocks.size());
  blocks.push_back(model);
  blocks.back().Index = index;
  if (Tracing()) {
    Trace("Start new block: BI:" + std::to_string(index) + " #" + std::to_string(index) +
          " StartCol-" + std::to_string(model.StartCell.Col) + " StartRow-" +
          std::to_string(model.StartCell.Row));
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

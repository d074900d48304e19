// The ladder-to-IL compiler: walks the grid rung by rung, cuts each rung into blocks, combines
// them in series, in parallel and as output chains, and resolves branch points into
// MPS / MRD / MPP. It only reads the grid.
//
// One instance compiles one diagram. Run stops at the first rung that fails; ErrorCode and
// Position then tell what went wrong and where the scan stood.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_model.h"
#include "compiler/compile_trace.h"
#include "ladder/ladder_grid.h"

namespace quarn::compiler {

class TLDtoIL {
 public:
  // The grid and the trace (may be null) must outlive the compiler. maxFragmentBlocks is the
  // "Maximum blocks in a fragment" setting.
  TLDtoIL(const ladder::LadderGrid& grid, int maxFragmentBlocks, CompileTrace* trace = nullptr);

  // Scans the grid into rungs.
  void Run();
  // Records a failure; later calls overwrite earlier codes.
  void SetError(std::int32_t code);

  std::int32_t ErrorCode() const { return errorCode_; }
  // The scan position; after a failure the cell the user should look at.
  TGridCell Position() const { return position_; }
  int FragmentCount() const { return fragmentCount_; }
  // The IL of the rungs compiled so far, in order, as one list; the compiler keeps none of it.
  std::vector<std::string> TakeLines();
  // The last IL line of the last rung.
  const std::string& LastLine() const { return lastLine_; }

 private:
  using Block = int;  // index into the current rung's Blocks

  // ---- Rung loop ----
  bool CompileFragment();
  bool CompileStep();
  TFragment& Rung() { return rung_; }
  TBlock& B(Block index) { return Rung().Blocks[static_cast<std::size_t>(index)]; }
  Block LastBlock() { return static_cast<Block>(Rung().Blocks.size()) - 1; }
  Block NewBlock(TGridCell cell);
  Block AppendBlock(TBlock block);
  void TakeRungLines();

  // ---- Block scanning and combination ----
  bool ScanBlock(TBlock& block);
  // The width of the element whose line was added; nothing when the cell adds no line.
  std::optional<int> AddElementLine(TBlock& block, TGridCell cell);
  bool LeftConnected(const TBlock& upper, const TBlock& lower) const;
  bool RightConnected(const TBlock& upper, const TBlock& lower) const;
  std::optional<Block> NearestOpenBlock(Block x);
  // The open block above that x joins in parallel; the action then merges the two.
  std::optional<Block> ORBlockAboveTest(Block x);
  bool ORBlockAbove(Block x, Block y);
  std::optional<TGridCell> ORBlockBelow(Block x);
  bool WireSegmentAhead(TGridCell cell);
  // The open block that ends just left of x; the action then joins the two in series.
  std::optional<Block> ANDBlockAtLeftTest(Block x);
  bool ANDBlockAtLeft(Block x, Block y);
  bool RowsHoldContent(int row1, int row2, int col1, int col2, std::uint8_t flags) const;
  std::optional<std::pair<Block, Block>> TwoBranchesExist();
  bool CombineBranches(Block a, Block b);

  // ---- Branch points ----
  bool IsBranchPoint(TGridCell cell) const;
  bool AddMPS(TGridCell cell);
  const TMPS* FindMPSAt(TGridCell cell) const;
  TMRDCell* FindBranchCell(TGridCell cell);
  TMRDCell* BranchCellOf(const TBlock& block);
  bool BranchCellOpen(const TBlock& block);
  // Closes the open branch cell that x starts as an MRD branch; false when x starts none.
  bool MRDBranch(Block x);
  // Only plain wires lie between the cell and the rail on its row.
  bool FedByRail(TGridCell point) const;
  TMRDCell* GetNextMRDCell();
  bool AssembleMPS();
  bool AddMarkInstruction();

  // ---- Trace ----
  bool Tracing() const { return trace_ != nullptr && trace_->Enabled(); }
  void Trace(std::string_view text);
  void TraceBlock(Block index);
  void TraceMPS(int mps);

  const ladder::LadderGrid& grid_;
  const int maxFragmentBlocks_;
  CompileTrace* trace_;

  std::int32_t errorCode_ = 0;
  TGridCell position_;
  // Only the rung being compiled is kept: a finished rung leaves just its IL behind, so the
  // working set does not grow with the diagram. The lines are joined once at the end, into a
  // list sized once (growing one large list rung by rung costs fresh pages again and again).
  TFragment rung_;
  std::vector<std::vector<std::string>> rungLines_;
  // The first row whose labels belong to the current rung: the row after the previous rung.
  int labelsFrom_ = 0;
  int prefetched_ = -1;  // the last row asked into the cache
  int fragmentCount_ = 0;
  std::string lastLine_;
};

}  // namespace quarn::compiler

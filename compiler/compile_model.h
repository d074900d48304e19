// The records the ladder compiler builds while it walks a diagram: rungs (fragments), the
// blocks a rung is cut into, and the branch points of a rung with their branch cells.
//
// Owners are named by index rather than by pointer: blocks and branch points live in vectors
// that grow while they are being read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::compiler {

// A cell of the ladder grid.
struct TGridCell {
  int Row = 0;
  int Col = 0;

  friend bool operator==(const TGridCell&, const TGridCell&) = default;
};

enum TBlockType : std::uint8_t {
  btUNDEF = 0,  // only wires so far
  btApply = 1,  // ends in an output
  btOR = 2,     // parallel, merged with OR
  btORB = 3,    // parallel, merged with ORB
  btAND = 4,    // several elements in series
  btLD = 5,     // one contact
  btMRD = 6,    // a branch of a branch point
};

// Join values besides "combined into block k".
inline constexpr int kNotJoined = -1;
inline constexpr int kOutputChain = 0;

struct TBlock {
  int Index = 0;
  std::vector<std::string> Elem;  // the block's IL lines
  TGridCell StartCell;
  TGridCell EndCell;  // lowest row and rightmost column the block covers
  bool Finished = false;
  std::uint8_t BlockType = btUNDEF;
  int Join = kNotJoined;

  bool SingleRow() const { return StartCell.Row == EndCell.Row; }
};

// One branch of a branch point.
struct TMRDCell {
  int Index = 0;  // position in its branch point's MRDs
  int MPS = 0;    // index of the owning branch point in the rung's MPSList
  TGridCell Cell;
  bool Active = false;     // an output was reached through this branch
  bool Completed = false;  // the branch has been compiled
  bool Open = true;        // the branch still waits for its marker block
};

// A branch point: one condition driving several output chains.
struct TMPS {
  int Index = 0;
  TGridCell Cell;
  std::vector<TMRDCell> MRDs;  // entry 0 is the branch point cell itself
  TGridCell EndCell;
  bool Assembled = false;

  bool AllActive() const;
  bool AllCompleted() const;
};

// One rung.
struct TFragment {
  TGridCell StartCell;
  TGridCell EndCell;
  bool Completed = false;
  std::vector<TMPS> MPSList;
  // The last block of a complete rung holds the rung's IL.
  std::vector<TBlock> Blocks;
  int MaxBlocks = 0;
};

}  // namespace quarn::compiler

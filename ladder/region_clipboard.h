// Copy and paste of a rectangle of ladder cells through a buffer of the editor's own (not the
// system clipboard).
//
// Neither operation cuts a comparison contact or an apply instruction in half, and a region
// holding an output can only be pasted in the column it came from, because coils and apply
// instructions end in the last column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ladder/ladder_grid.h"

namespace quarn::ladder {

struct TCellCopyBuffer {
  TLDMLayers Layers;
  std::string Text;
};

// [row][column], all rows of equal length.
using TRegionBufArray = std::vector<std::vector<TCellCopyBuffer>>;

struct TRegionBufferArrayStruct {
  TRegionBufArray Cells{std::vector<TCellCopyBuffer>(1)};  // one empty cell before any copy
  std::int32_t OriginCol = 0;
  std::int32_t OriginRow = 0;
  bool HasOutput = false;
};

class RegionClipboard {
 public:
  const TRegionBufferArrayStruct& Buffer() const { return buffer_; }
  // "Copy cells" and "Paste cells" are offered while the selection and the cursor are on the
  // rail or right of it.
  static bool MenuEnabled(const LadderGrid& grid) {
    return grid.Selection().Col1 >= BusColumn && grid.CurrentCol() >= BusColumn;
  }

  // Copies the grid's selection; the rail token is left out. False (with a message) when the
  // region would cut an element.
  bool CopyRegion(LadderGrid& grid);
  // Pastes with the top-left cell at the cursor, growing the grid when needed; asks before
  // overwriting occupied cells. False when refused or declined (rows and columns already added
  // for it stay).
  bool PasteRegion(LadderGrid& grid);

 private:
  TRegionBufferArrayStruct buffer_;
};

}  // namespace quarn::ladder

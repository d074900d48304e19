#include "ladder/region_clipboard.h"

#include "ladder/ladder_texts.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

// The region must not start or end inside a comparison or apply instruction.
bool EdgesAreWhole(LadderGrid& grid, const TGridRect& rect) {
  for (int row = rect.Row1; row <= rect.Row2; ++row) {
    if (grid.HasAnyKind(row, rect.Col1, kOperandCells)) {
      grid.Events().ShowMessage(texts::kCannotCopyLeftEdge);
      return false;
    }
    if (grid.IsMultiCellPart(row, rect.Col2) && !grid.HasAnyKind(row, rect.Col2, kElementEnds)) {
      grid.Events().ShowMessage(texts::kCannotCopyRightEdge);
      return false;
    }
  }
  return true;
}

}  // namespace

bool RegionClipboard::CopyRegion(LadderGrid& grid) {
  const TGridRect rect = grid.Selection();
  const int rows = rect.Row2 - rect.Row1 + 1;
  const int cols = rect.Col2 - rect.Col1 + 1;
  if (rows < 1 || cols < 1) {
    grid.Events().ShowMessage(texts::kCannotCopyRegion);
    return false;
  }
  if (!EdgesAreWhole(grid, rect)) return false;
  TRegionBufferArrayStruct copy;
  copy.Cells.assign(static_cast<std::size_t>(rows),
                    std::vector<TCellCopyBuffer>(static_cast<std::size_t>(cols)));
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const int row = rect.Row1 + i;
      const int col = rect.Col1 + j;
      TCellCopyBuffer& entry = copy.Cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
      entry.Layers = grid.Layers(row, col);
      entry.Text = grid.Text(row, col);
      RemoveKindToken(entry.Layers.Kinds, EkCommonBus, true);
      if (grid.HasOutputElement(row, col)) copy.HasOutput = true;
    }
  }
  copy.OriginCol = rect.Col1;
  copy.OriginRow = rect.Row1;
  buffer_ = std::move(copy);
  return true;
}

bool RegionClipboard::PasteRegion(LadderGrid& grid) {
  const int row0 = grid.CurrentRow();
  const int col0 = grid.CurrentCol();
  // Pasting is offered only from the rail on.
  if (col0 < BusColumn) return false;
  const int rows = static_cast<int>(buffer_.Cells.size());
  const int cols = rows > 0 ? static_cast<int>(buffer_.Cells.front().size()) : 0;
  if (buffer_.HasOutput && buffer_.OriginCol != col0) {
    grid.Events().ShowMessage(texts::kPasteOutputElsewhere);
    return false;
  }
  bool occupied = false;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const int row = row0 + i;
      const int col = col0 + j;
      while (row > grid.LastRow()) {
        if (!grid.AppendRow()) return false;
      }
      while (col > grid.LastColumn()) {
        if (!grid.AddColumn(ColumnMode::AtEnd)) {
          grid.Events().ShowMessage(texts::kPasteTooManyColumns);
          return false;
        }
      }
      std::uint8_t flags = grid.CellFlags(row, col);
      if (col == BusColumn) flags &= static_cast<std::uint8_t>(~(CfUpper | CfLower));
      if (flags != 0) occupied = true;
    }
  }
  LadderGrid::UpdateGuard updates(grid);
  if (occupied) {
    if (!grid.Events().AskQuestion(texts::kCellsNotEmpty, QuestionKind::YesNo)) return false;
    grid.SetSelection(TGridRect{row0, col0, row0 + rows - 1, col0 + cols - 1});
    grid.DeleteSelection();
    grid.SetCursor(row0, col0);
  }
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const TCellCopyBuffer& entry =
          buffer_.Cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
      TLDMLayers layers = entry.Layers;
      if (col0 + j == BusColumn) layers.Kinds += KindToken(EkCommonBus);
      grid.SetCell(row0 + i, col0 + j, entry.Text, std::move(layers));
    }
  }
  if (row0 + rows - 1 == grid.LastRow()) grid.AppendRow();
  grid.SetCursor(row0, col0);
  grid.RequestRepaint();
  grid.SelectCursorCell();
  return true;
}

}  // namespace quarn::ladder

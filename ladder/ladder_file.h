// The LD file: the grid size, one line per non-empty cell and a closing checksum.
//
//   RawCount=5<CR LF>
//   ColCount=15<CR LF>
//   R0C3="CommonBus;LD;" value="X0" cmd="" lbl="";<CR LF>
//   ...
//   CR=12345            (no line break)
//
// Cells are written row by row, columns ascending, for every cell whose kinds or text are not
// empty. Texts are stored as the cells hold them, unescaped: they never contain a double quote
// or a line break. The checksum is the sum of every byte before the "CR=" line, each counted
// 0..255, in a signed 32-bit integer. Comment, Preview, column widths and zoom are not saved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ladder/ladder_grid.h"

namespace quarn::ladder {

struct CellLine {
  int Row = 0;
  int Col = 0;
  std::string Kinds;
  std::string Value;
  std::string Cmd;
  std::string Lbl;
};

// One cell line; nothing when any part of it is wrong (no partial result).
std::optional<CellLine> ParseCellLine(std::string_view line);

// The sum of the bytes, each 0..255, wrapping like a signed 32-bit integer.
std::int32_t LadderChecksum(std::string_view bytes);

// The whole file for the grid, byte for byte as SaveLadder writes it.
std::string LadderFileText(const LadderGrid& grid);
// Writes the grid; false with "File error: " + name when the file cannot be written.
bool SaveLadder(LadderGrid& grid, const std::string& fileName);

struct ReadResult {
  bool Accepted = false;   // false: the file was refused ("File error: " shown, grid unchanged)
  int BadLines = 0;        // cell lines that raised the line question
  bool Cancelled = false;  // the user stopped at a bad line; the cells read so far stay
};

// Replaces the grid by the diagram in the content. A refused file leaves the grid as it was.
// Each bad cell line asks "Line <index> error: <line>! Continue?" (OK / Cancel).
ReadResult ReadLadderText(LadderGrid& grid, std::string_view content, std::string_view fileName);
// The same for a file; an unreadable file is refused.
ReadResult ReadLadder(LadderGrid& grid, const std::string& fileName);

}  // namespace quarn::ladder

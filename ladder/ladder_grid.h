// The ladder diagram model: a grid of cells, each holding element kinds and texts.
//
// Columns have fixed roles: 0 shows the row number, 1 is a spacer, 2 holds the label (P or I) of
// a row, 3 is the left power rail (every row's cell holds "CommonBus;"), and 4 .. ColCount-1 hold
// the rung; coils and apply instructions end in the last column. Rows are rungs or parts of
// rungs joined by vertical lines.
//
// The model is plain data with no view: the window draws it and reports clicks and keys, the
// editing rules (LadderEditor) change it, the LD file reads and writes it, and the compiler only
// reads it through the const queries below. Every query takes any row and column and answers
// for cells outside the grid as documented; none fails.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ladder/kind_tokens.h"
#include "ladder/ladder_events.h"
#include "program_model/element_kinds.h"
#include "program_model/instructions.h"

namespace quarn::ladder {

inline constexpr int RowNumberColumn = 0;
inline constexpr int SpacerColumn = 1;
inline constexpr int LabelColumn = 2;
inline constexpr int BusColumn = 3;

inline constexpr int DefaultRowCount = 5;
inline constexpr int DefaultColCount = 15;
inline constexpr int MaxColumns = 30;
// DeleteColumn stops while ColCount is 5; LD files with fewer columns are refused.
inline constexpr int MinColumns = 5;
// Far above any program the controller can hold; keeps a bad file from asking for gigabytes.
inline constexpr int MaxRows = 65536;

// The five text layers of a cell. Kinds, Cmd and Lbl are saved in LD files; Comment (blue text
// inside an annotated instruction box) and Preview (hover-preview tokens) are not.
struct TLDMLayers {
  std::string Kinds;
  std::string Cmd;
  std::string Lbl;
  std::string Comment;
  std::string Preview;

  friend bool operator==(const TLDMLayers&, const TLDMLayers&) = default;
};

// A rectangle of cells; Row1/Col1 is the anchor (top-left), Row2/Col2 the bottom-right cell.
struct TGridRect {
  int Row1 = 0;
  int Col1 = 0;
  int Row2 = 0;
  int Col2 = 0;

  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum class ColumnMode {
  AtEnd,     // the new column is the last; outputs move right so that they still end there
  AtCursor,  // the new column goes in at the cursor (in front of an element the cursor is in)
};

// Bits of CellFlags.
enum CellFlag : std::uint8_t {
  CfHLine = 1u << 0,    // horizontal wire
  CfUpper = 1u << 1,    // VLine1 or the rail
  CfLower = 1u << 2,    // VLine2 or the rail
  CfContact = 1u << 3,  // contact, comparison part or INV
  CfOutput = 1u << 4,   // coil or apply-instruction part
  CfElement = 1u << 5,  // CfContact or CfOutput
};

class LadderGrid {
 public:
  // A grid whose messages go nowhere and whose questions are answered No.
  LadderGrid();
  // Starts as ClearLadder leaves it (5 x 15); the events object must outlive the grid.
  explicit LadderGrid(LadderEvents& events);

  LadderGrid(const LadderGrid& other);
  LadderGrid& operator=(const LadderGrid& other);
  LadderGrid(LadderGrid&&) noexcept;
  LadderGrid& operator=(LadderGrid&&) noexcept;
  ~LadderGrid();

  // ---- Geometry ----
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColCount() const { return colCount_; }
  int LastRow() const { return RowCount() - 1; }
  int LastColumn() const { return colCount_ - 1; }
  bool Contains(int row, int col) const;

  // ---- Cell content (empty for cells outside the grid; writes outside are ignored) ----
  const std::string& Text(int row, int col) const;
  const TLDMLayers& Layers(int row, int col) const;
  const std::string& Kinds(int row, int col) const { return Layers(row, col).Kinds; }
  KindMask Mask(int row, int col) const;
  bool HasKind(int row, int col, std::uint8_t kind) const;
  // Whether the cell holds any of the kinds of the mask.
  bool HasAnyKind(int row, int col, KindMask kinds) const;

  void SetText(int row, int col, std::string text);
  // A kinds text is made of kind tokens ("VLine1;HLine;"); the LD file stores it as it stands.
  void SetKinds(int row, int col, std::string kinds);
  void SetCmd(int row, int col, std::string cmd);
  void SetLbl(int row, int col, std::string lbl);
  void SetComment(int row, int col, std::string comment);
  void SetPreview(int row, int col, std::string preview);
  void SetCell(int row, int col, std::string text, TLDMLayers layers);
  // Appends "Name;" / puts it in front (vertical-line tokens go in front, the rest at the end).
  void AppendKind(int row, int col, std::uint8_t kind);
  void PrependKind(int row, int col, std::uint8_t kind);
  // Removes every token of that kind from the cell's kinds.
  void RemoveKind(int row, int col, std::uint8_t kind);

  // ---- Edit state ----
  int CurrentRow() const { return currentRow_; }
  int CurrentCol() const { return currentCol_; }
  // Moves the edit cursor (kept inside the grid). Does not touch the selection.
  void SetCursor(int row, int col);
  const TGridRect& Selection() const { return selection_; }
  // Sets the selection, ordered and kept inside the grid.
  void SetSelection(const TGridRect& rect);
  // The selection becomes the cursor cell, and the view is told to select it and take focus.
  void SelectCursorCell();
  bool PreviewOk() const { return previewOk_; }
  void SetPreviewOk(bool ok) { previewOk_ = ok; }

  // ---- Structure ----
  // Back to 5 x 15 with only the rail; cursor on (row 0, column 3).
  void ClearLadder();
  // Adds an empty row (with its rail) at the bottom. False with a message at MaxRows rows.
  bool AppendRow();
  // Inserts an empty row at the cursor row; the rows from there on move down.
  bool InsertRow();
  // Removes the cursor row; false when it is the only row. Vertical lines are not repaired.
  bool DeleteRow();
  // Adds a column; false with "Too many columns in the table." at MaxColumns.
  bool AddColumn(ColumnMode mode);
  // Removes a column with the elements touching it; false while ColCount < 6 and for the
  // columns left of the rail. Deleting the rail column makes column 4 the new rail.
  bool DeleteColumn(int col);
  // Sets the size for a diagram being read; kept cells stay, new cells are empty (no rail).
  void Resize(int rows, int cols);

  // Removes every element touched by the selection, as the Delete key does: a multi-cell
  // element goes as a whole and the other half of a vertical line in a selected cell goes too.
  // Afterwards the selection is its anchor cell.
  void DeleteSelection();

  // ---- Cell queries ----
  // 0 outside the grid and for columns 0 to 2; otherwise the CellFlag bits.
  std::uint8_t CellFlags(int row, int col) const;
  // The rail counts as a vertical line through every row.
  bool HasVLine1(int row, int col) const;
  bool HasVLine2(int row, int col) const;
  // A contact-like element or a wire carries current through the cell.
  bool Conducts(int row, int col) const;
  // True outside the grid and for columns 0 to 2.
  bool HasNoElement(int row, int col) const;
  bool HasOutputElement(int row, int col) const;
  bool HasContactElement(int row, int col) const;
  bool HasInversion(int row, int col) const;
  bool IsPlainContact(int row, int col) const;
  // A cell of a comparison contact or an apply instruction (column 3 and right of it).
  bool IsMultiCellPart(int row, int col) const;
  bool IsMultiCellStart(int row, int col) const;
  // The principal element's kind code; nothing for wires, a bare rail and empty cells. The last
  // cell of a comparison answers TransOperand2, that of an apply instruction its operand kind.
  std::optional<std::uint8_t> MainElementKind(int row, int col) const;
  // For an operand cell of a comparison or apply instruction the distance back to its first
  // cell (at most 4); 0 for every other cell.
  int ElementStartOffset(int row, int col) const;
  // The catalogue instruction the cell stands for; the placeholder (API number 0) for wires,
  // operand cells and empty cells.
  const program_model::TInstructions& FindInstructionOfCell(int row, int col) const;
  // The kinds a cell keeps when its element is removed: "CommonBus;" for the rail, otherwise
  // its vertical-line halves.
  std::string LinkSkeleton(int row, int col) const;
  // A hint for a scan walking down the diagram: starts fetching the row's cells into the cache
  // so that they are there when the scan reaches them. Changes nothing; any row may be named.
  void PrefetchRow(int row) const;

  // ---- View updates ----
  LadderEvents& Events() const { return *events_; }
  void SetEvents(LadderEvents& events) { events_ = &events; }
  // Asks the view to repaint, or remembers the request while updates are suspended.
  void RequestRepaint();
  // Suspends view updates for its lifetime; one repaint follows when the last guard ends.
  class UpdateGuard {
   public:
    explicit UpdateGuard(LadderGrid& grid);
    ~UpdateGuard();
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

   private:
    LadderGrid& grid_;
  };

 private:
  // What the compiler and the view read for every cell (kinds as a mask, the element it stands
  // for, the display text) sits in the row itself, so a scan over a large diagram walks rows in
  // order instead of chasing a pointer per cell; the layer texts are read far less often.
  struct Cell {
    KindMask mask = 0;
    std::uint16_t instruction = 0;  // index into the catalogue; 0 is the placeholder
    std::string text;
    std::unique_ptr<TLDMLayers> layers;  // null until a layer is first set

    Cell() = default;
    Cell(const Cell& other);
    Cell& operator=(const Cell& other);
    Cell(Cell&&) noexcept = default;
    Cell& operator=(Cell&&) noexcept = default;
    ~Cell() = default;
  };
  using Row = std::vector<Cell>;

  Cell* CellAt(int row, int col);
  const Cell* CellAt(int row, int col) const;
  TLDMLayers& Writable(int row, int col);
  // Recomputes the mask and the element from the kinds and the text after either changed.
  static void Refresh(Cell& cell);
  static Cell RailCell();
  Row NewRow() const;
  void ClampEditState();
  void ShiftOutputRight(Row& row);
  void InsertColumnAt(Row& row, int at);
  void RemoveElementAt(int row, int col);
  void ClearCellTexts(int row, int col, bool keepRail);

  std::vector<Row> rows_;
  int colCount_ = 0;
  int currentRow_ = 0;
  int currentCol_ = BusColumn;
  TGridRect selection_{0, BusColumn, 0, BusColumn};
  bool previewOk_ = true;
  LadderEvents* events_;
  int updateDepth_ = 0;
  bool repaintPending_ = false;
};

}  // namespace quarn::ladder

#include "ladder/ladder_grid.h"

#include <algorithm>
#include <utility>

#include "ladder/ladder_texts.h"
#include "program_model/catalogue.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

SilentLadderEvents& SilentEvents() {
  static SilentLadderEvents events;
  return events;
}

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

const TLDMLayers& EmptyLayers() {
  static const TLDMLayers empty;
  return empty;
}

constexpr KindMask Bits(std::initializer_list<std::uint8_t> codes) {
  KindMask mask = 0;
  for (std::uint8_t code : codes) mask |= KindBit(code);
  return mask;
}

constexpr KindMask kContactLike = Bits(
    {EkLD, EkLDI, EkLDF, EkLDP, EkTransStart, EkTransOperand1, EkTransOperand2, EkTransEnd, EkINV});
constexpr KindMask kOutputLike = Bits({EkInstrStart, EkInstrOperand1, EkInstrOperand2,
                                       EkInstrOperand3, EkInstrOperand4, EkInstrEnd, EkOUT});
constexpr KindMask kMultiCell = Bits({EkTransStart, EkInstrStart}) | kContinuation;

// MainElementKind looks for these in this order.
constexpr std::uint8_t kPrincipalKinds[] = {EkInstrStart,    EkInstrOperand1, EkInstrOperand2,
                                            EkInstrOperand3, EkInstrOperand4, EkTransStart,
                                            EkTransOperand1, EkTransOperand2, EkLD,
                                            EkLDI,           EkLDF,           EkLDP,
                                            EkINV,           EkOUT,           EkLabel};

// The longest element (an apply instruction with four operands) spans five cells.
constexpr int kMaxElementCells = 5;

bool IsEmpty(const TLDMLayers& layers, const std::string& text) {
  return text.empty() && layers.Kinds.empty() && layers.Cmd.empty() && layers.Lbl.empty() &&
         layers.Comment.empty() && layers.Preview.empty();
}

}  // namespace

// ---- Cells ----

LadderGrid::Cell::Cell(const Cell& other)
    : mask(other.mask),
      instruction(other.instruction),
      text(other.text),
      layers(other.layers ? std::make_unique<TLDMLayers>(*other.layers) : nullptr) {}

LadderGrid::Cell& LadderGrid::Cell::operator=(const Cell& other) {
  if (this != &other) {
    mask = other.mask;
    instruction = other.instruction;
    text = other.text;
    layers = other.layers ? std::make_unique<TLDMLayers>(*other.layers) : nullptr;
  }
  return *this;
}

void LadderGrid::Refresh(Cell& cell) {
  const std::string& kinds = cell.layers ? cell.layers->Kinds : EmptyText();
  cell.mask = MaskOfKinds(kinds);
  const TInstructions& entry = FindInstructionOfCellText(kinds, cell.text);
  cell.instruction = static_cast<std::uint16_t>(&entry - InstructionCatalogue().data());
}

LadderGrid::Cell LadderGrid::RailCell() {
  Cell bus;
  bus.layers = std::make_unique<TLDMLayers>();
  bus.layers->Kinds = KindToken(EkCommonBus);
  Refresh(bus);
  return bus;
}

LadderGrid::LadderGrid() : LadderGrid(SilentEvents()) {}

LadderGrid::LadderGrid(LadderEvents& events) : events_(&events) {
  colCount_ = DefaultColCount;
  rows_.assign(DefaultRowCount, NewRow());
}

LadderGrid::LadderGrid(const LadderGrid& other) = default;
LadderGrid& LadderGrid::operator=(const LadderGrid& other) = default;
LadderGrid::LadderGrid(LadderGrid&&) noexcept = default;
LadderGrid& LadderGrid::operator=(LadderGrid&&) noexcept = default;
LadderGrid::~LadderGrid() = default;

bool LadderGrid::Contains(int row, int col) const {
  return row >= 0 && row < RowCount() && col >= 0 && col < colCount_;
}

LadderGrid::Cell* LadderGrid::CellAt(int row, int col) {
  if (!Contains(row, col)) return nullptr;
  return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

const LadderGrid::Cell* LadderGrid::CellAt(int row, int col) const {
  if (!Contains(row, col)) return nullptr;
  return &rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

TLDMLayers& LadderGrid::Writable(int row, int col) {
  Cell& cell = *CellAt(row, col);
  if (!cell.layers) cell.layers = std::make_unique<TLDMLayers>();
  return *cell.layers;
}

const std::string& LadderGrid::Text(int row, int col) const {
  const Cell* cell = CellAt(row, col);
  return cell ? cell->text : EmptyText();
}

const TLDMLayers& LadderGrid::Layers(int row, int col) const {
  const Cell* cell = CellAt(row, col);
  return cell && cell->layers ? *cell->layers : EmptyLayers();
}

KindMask LadderGrid::Mask(int row, int col) const {
  const Cell* cell = CellAt(row, col);
  return cell ? cell->mask : 0;
}

bool LadderGrid::HasKind(int row, int col, std::uint8_t kind) const {
  return (Mask(row, col) & KindBit(kind)) != 0;
}

bool LadderGrid::HasAnyKind(int row, int col, KindMask kinds) const {
  return (Mask(row, col) & kinds) != 0;
}

void LadderGrid::SetText(int row, int col, std::string text) {
  Cell* cell = CellAt(row, col);
  if (cell == nullptr) return;
  cell->text = std::move(text);
  Refresh(*cell);
}

void LadderGrid::SetKinds(int row, int col, std::string kinds) {
  if (!Contains(row, col)) return;
  Writable(row, col).Kinds = std::move(kinds);
  Refresh(*CellAt(row, col));
}

void LadderGrid::SetCmd(int row, int col, std::string cmd) {
  if (Contains(row, col)) Writable(row, col).Cmd = std::move(cmd);
}

void LadderGrid::SetLbl(int row, int col, std::string lbl) {
  if (Contains(row, col)) Writable(row, col).Lbl = std::move(lbl);
}

void LadderGrid::SetComment(int row, int col, std::string comment) {
  if (Contains(row, col)) Writable(row, col).Comment = std::move(comment);
}

void LadderGrid::SetPreview(int row, int col, std::string preview) {
  if (Contains(row, col)) Writable(row, col).Preview = std::move(preview);
}

void LadderGrid::SetCell(int row, int col, std::string text, TLDMLayers layers) {
  Cell* cell = CellAt(row, col);
  if (cell == nullptr) return;
  if (IsEmpty(layers, text)) {
    *cell = Cell{};
    return;
  }
  cell->text = std::move(text);
  cell->layers = std::make_unique<TLDMLayers>(std::move(layers));
  Refresh(*cell);
}

void LadderGrid::AppendKind(int row, int col, std::uint8_t kind) {
  if (Contains(row, col)) SetKinds(row, col, Kinds(row, col) + KindToken(kind));
}

void LadderGrid::PrependKind(int row, int col, std::uint8_t kind) {
  if (Contains(row, col)) SetKinds(row, col, KindToken(kind) + Kinds(row, col));
}

void LadderGrid::RemoveKind(int row, int col, std::uint8_t kind) {
  if (!HasKind(row, col, kind)) return;
  std::string kinds = Kinds(row, col);
  RemoveKindToken(kinds, kind);
  SetKinds(row, col, std::move(kinds));
}

void LadderGrid::ClearCellTexts(int row, int col, bool keepRail) {
  if (!Contains(row, col)) return;
  SetText(row, col, {});
  SetKinds(row, col, keepRail && col == BusColumn ? KindToken(EkCommonBus) : std::string());
}

// ---- Edit state ----

void LadderGrid::SetCursor(int row, int col) {
  currentRow_ = std::clamp(row, 0, LastRow());
  currentCol_ = std::clamp(col, 0, LastColumn());
}

void LadderGrid::SetSelection(const TGridRect& rect) {
  const int row1 = std::clamp(std::min(rect.Row1, rect.Row2), 0, LastRow());
  const int row2 = std::clamp(std::max(rect.Row1, rect.Row2), 0, LastRow());
  const int col1 = std::clamp(std::min(rect.Col1, rect.Col2), 0, LastColumn());
  const int col2 = std::clamp(std::max(rect.Col1, rect.Col2), 0, LastColumn());
  selection_ = TGridRect{row1, col1, row2, col2};
}

void LadderGrid::SelectCursorCell() {
  selection_ = TGridRect{currentRow_, currentCol_, currentRow_, currentCol_};
  events_->CursorMoved();
}

void LadderGrid::ClampEditState() {
  SetCursor(currentRow_, currentCol_);
  SetSelection(selection_);
}

// ---- Structure ----

LadderGrid::Row LadderGrid::NewRow() const {
  Row row(static_cast<std::size_t>(colCount_));
  if (colCount_ > BusColumn) row[BusColumn] = RailCell();
  return row;
}

void LadderGrid::ClearLadder() {
  events_->ResetEntryAnchor();
  colCount_ = DefaultColCount;
  rows_.assign(DefaultRowCount, NewRow());
  SetCursor(0, BusColumn);
  events_->ColumnsChanged(false);
  RequestRepaint();
  SelectCursorCell();
}

bool LadderGrid::AppendRow() {
  if (RowCount() >= MaxRows) {
    events_->ShowMessage(texts::kTooManyRows);
    return false;
  }
  rows_.push_back(NewRow());
  RequestRepaint();
  return true;
}

bool LadderGrid::InsertRow() {
  if (RowCount() >= MaxRows) {
    events_->ShowMessage(texts::kTooManyRows);
    return false;
  }
  rows_.insert(rows_.begin() + currentRow_, NewRow());
  RequestRepaint();
  return true;
}

bool LadderGrid::DeleteRow() {
  if (RowCount() <= 1) return false;
  rows_.erase(rows_.begin() + currentRow_);
  ClampEditState();
  RequestRepaint();
  return true;
}

// At end: an output that ends in the old last column moves one column right so that it still
// ends in the last column; the cell it leaves becomes a wire.
void LadderGrid::ShiftOutputRight(Row& row) {
  const int oldLast = colCount_ - 2;
  const auto at = [&row](int col) -> Cell& { return row[static_cast<std::size_t>(col)]; };
  if ((at(oldLast).mask & (KindBit(EkInstrEnd) | KindBit(EkOUT))) == 0) return;
  int start = -1;
  for (int col = oldLast; col >= std::max(0, oldLast - (kMaxElementCells - 1)); --col) {
    if ((at(col).mask & (KindBit(EkInstrStart) | KindBit(EkOUT))) != 0) {
      start = col;
      break;
    }
  }
  if (start < 0) return;
  std::rotate(row.begin() + start, row.begin() + oldLast + 1, row.begin() + oldLast + 2);
  Cell wire;
  wire.layers = std::make_unique<TLDMLayers>();
  std::string kinds = KindToken(EkHLine);
  if (start == BusColumn) {
    // An output that stood on the rail leaves it behind.
    Cell& moved = at(start + 1);
    RemoveKindToken(moved.layers->Kinds, EkCommonBus);
    Refresh(moved);
    kinds = KindToken(EkCommonBus) + kinds;
  }
  wire.layers->Kinds = std::move(kinds);
  Refresh(wire);
  at(start) = std::move(wire);
}

// At cursor: an empty cell goes in at the column; the cells from there move right, the rail
// token staying in the rail column.
void LadderGrid::InsertColumnAt(Row& row, int at) {
  row.insert(row.begin() + at, Cell{});
  Cell& moved = row[static_cast<std::size_t>(at) + 1];
  if ((moved.mask & KindBit(EkCommonBus)) != 0) {
    RemoveKindToken(moved.layers->Kinds, EkCommonBus);
    Refresh(moved);
  }
  if (at == BusColumn) row[static_cast<std::size_t>(at)] = RailCell();
}

bool LadderGrid::AddColumn(ColumnMode mode) {
  if (colCount_ >= MaxColumns) {
    events_->ShowMessage(texts::kTooManyColumns);
    return false;
  }
  std::vector<int> insertAt;
  if (mode == ColumnMode::AtCursor) {
    // An insertion inside a comparison or apply instruction goes in front of it, row by row.
    insertAt.reserve(rows_.size());
    for (int r = 0; r < RowCount(); ++r) {
      insertAt.push_back(std::max(currentCol_ - ElementStartOffset(r, currentCol_), BusColumn));
    }
  }
  ++colCount_;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    // Exactly one more cell: a row that doubled its room would leave half of it unused.
    rows_[r].reserve(static_cast<std::size_t>(colCount_));
    if (mode == ColumnMode::AtEnd) {
      rows_[r].emplace_back();
      ShiftOutputRight(rows_[r]);
    } else {
      InsertColumnAt(rows_[r], insertAt[r]);
    }
  }
  events_->ColumnsChanged(mode == ColumnMode::AtEnd);
  RequestRepaint();
  return true;
}

bool LadderGrid::DeleteColumn(int col) {
  if (colCount_ < MinColumns + 1 || col < BusColumn || col > LastColumn()) return false;
  const int cursorRow = currentRow_;
  // Every row's element goes before any row shifts: removing a lone lower half of a vertical line
  // reaches into the row above, which must still hold the column being deleted.
  for (int r = 0; r < RowCount(); ++r) RemoveElementAt(r, col);
  for (Row& row : rows_) row.erase(row.begin() + col);
  --colCount_;
  if (col == BusColumn) {
    // Column 4 became the rail: it takes the rail token and loses its vertical-line halves.
    for (int r = 0; r < RowCount(); ++r) {
      std::string kinds = Kinds(r, BusColumn);
      RemoveKindToken(kinds, EkVLine1);
      RemoveKindToken(kinds, EkVLine2);
      SetKinds(r, BusColumn, KindToken(EkCommonBus) + kinds);
    }
  }
  SetCursor(cursorRow, col);
  events_->ColumnsChanged(false);
  RequestRepaint();
  SelectCursorCell();
  return true;
}

void LadderGrid::Resize(int rows, int cols) {
  colCount_ = std::clamp(cols, 1, MaxColumns);
  rows_.resize(static_cast<std::size_t>(std::clamp(rows, 1, MaxRows)));
  for (Row& row : rows_) row.resize(static_cast<std::size_t>(colCount_));
  ClampEditState();
  RequestRepaint();
}

// ---- Removal ----

void LadderGrid::RemoveElementAt(int row, int col) {
  if (!Contains(row, col)) return;
  // The other half of a vertical line in this cell goes too.
  if (HasKind(row, col, EkVLine1) && row < LastRow()) RemoveKind(row + 1, col, EkVLine2);
  if (HasKind(row, col, EkVLine2) && row > 0) RemoveKind(row - 1, col, EkVLine1);
  // From an operand cell back to the element's first cell, then the element as a whole.
  int at = col;
  if (HasAnyKind(row, at, kOperandCells)) {
    while (at > BusColumn && HasAnyKind(row, at, kOperandCells)) --at;
  }
  ClearCellTexts(row, at, true);
  for (;;) {
    SetCmd(row, at, {});
    SetLbl(row, at, {});
    if (at >= LastColumn()) break;
    ++at;
    if (!HasAnyKind(row, at, kContinuation)) break;
    ClearCellTexts(row, at, false);
  }
}

void LadderGrid::DeleteSelection() {
  const TGridRect rect = selection_;
  for (int r = rect.Row1; r <= rect.Row2; ++r) {
    for (int c = rect.Col1; c <= rect.Col2; ++c) RemoveElementAt(r, c);
    SetCursor(r, rect.Col1);
  }
  selection_ = TGridRect{rect.Row1, rect.Col1, rect.Row1, rect.Col1};
  RequestRepaint();
  events_->CursorMoved();
}

// ---- Queries ----

std::uint8_t LadderGrid::CellFlags(int row, int col) const {
  if (!Contains(row, col) || col < BusColumn) return 0;
  const KindMask mask = Mask(row, col);
  std::uint8_t flags = 0;
  if ((mask & KindBit(EkHLine)) != 0) flags |= CfHLine;
  if ((mask & (KindBit(EkVLine1) | KindBit(EkCommonBus))) != 0) flags |= CfUpper;
  if ((mask & (KindBit(EkVLine2) | KindBit(EkCommonBus))) != 0) flags |= CfLower;
  if ((mask & kContactLike) != 0) flags |= CfContact;
  if ((mask & kOutputLike) != 0) flags |= CfOutput;
  if ((flags & (CfContact | CfOutput)) != 0) flags |= CfElement;
  return flags;
}

bool LadderGrid::HasVLine1(int row, int col) const {
  if (!Contains(row, col) || col < BusColumn) return false;
  return col == BusColumn || (CellFlags(row, col) & CfUpper) != 0;
}

bool LadderGrid::HasVLine2(int row, int col) const {
  if (!Contains(row, col) || col < BusColumn) return false;
  return col == BusColumn || (CellFlags(row, col) & CfLower) != 0;
}

bool LadderGrid::Conducts(int row, int col) const {
  return (CellFlags(row, col) & (CfContact | CfHLine)) != 0;
}

bool LadderGrid::HasNoElement(int row, int col) const {
  return (CellFlags(row, col) & CfElement) == 0;
}

bool LadderGrid::HasOutputElement(int row, int col) const {
  return (CellFlags(row, col) & CfOutput) != 0;
}

bool LadderGrid::HasContactElement(int row, int col) const {
  return (CellFlags(row, col) & CfContact) != 0;
}

bool LadderGrid::HasInversion(int row, int col) const {
  return col >= BusColumn && HasKind(row, col, EkINV);
}

bool LadderGrid::IsPlainContact(int row, int col) const {
  return HasContactElement(row, col) && !HasKind(row, col, EkINV);
}

bool LadderGrid::IsMultiCellPart(int row, int col) const {
  return col >= BusColumn && HasAnyKind(row, col, kMultiCell);
}

bool LadderGrid::IsMultiCellStart(int row, int col) const {
  return col >= BusColumn && HasAnyKind(row, col, KindBit(EkTransStart) | KindBit(EkInstrStart));
}

std::optional<std::uint8_t> LadderGrid::MainElementKind(int row, int col) const {
  const KindMask mask = Mask(row, col);
  for (std::uint8_t kind : kPrincipalKinds) {
    if ((mask & KindBit(kind)) != 0) return kind;
  }
  return std::nullopt;
}

int LadderGrid::ElementStartOffset(int row, int col) const {
  if (!HasAnyKind(row, col, kOperandCells)) return 0;
  const KindMask starts = KindBit(EkTransStart) | KindBit(EkInstrStart);
  for (int back = 0; back < kMaxElementCells && col - back >= 0; ++back) {
    if (HasAnyKind(row, col - back, starts)) return back;
  }
  return 0;
}

const TInstructions& LadderGrid::FindInstructionOfCell(int row, int col) const {
  const Cell* cell = CellAt(row, col);
  return InstructionCatalogue()[cell ? cell->instruction : 0u];
}

void LadderGrid::PrefetchRow(int row) const {
  if (row < 0 || row >= RowCount()) return;
  const Row& cells = rows_[static_cast<std::size_t>(row)];
  const char* begin = reinterpret_cast<const char*>(cells.data());
  const char* end = reinterpret_cast<const char*>(cells.data() + cells.size());
  constexpr std::ptrdiff_t kLine = 64;
  for (const char* at = begin; at < end; at += kLine) __builtin_prefetch(at);
}

std::string LadderGrid::LinkSkeleton(int row, int col) const {
  if (col == BusColumn) return KindToken(EkCommonBus);
  std::string skeleton;
  if (HasVLine1(row, col)) skeleton += KindToken(EkVLine1);
  if (HasVLine2(row, col)) skeleton += KindToken(EkVLine2);
  return skeleton;
}

// ---- View updates ----

void LadderGrid::RequestRepaint() {
  if (updateDepth_ > 0) {
    repaintPending_ = true;
    return;
  }
  events_->Repaint();
}

LadderGrid::UpdateGuard::UpdateGuard(LadderGrid& grid) : grid_(grid) { ++grid_.updateDepth_; }

LadderGrid::UpdateGuard::~UpdateGuard() {
  if (--grid_.updateDepth_ == 0 && grid_.repaintPending_) {
    grid_.repaintPending_ = false;
    grid_.events_->Repaint();
  }
}

}  // namespace quarn::ladder

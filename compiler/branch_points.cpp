// Branch points: where one condition drives several output chains. They are registered while a
// rung is walked, every branch starts with a marker line, and the marker passes turn the markers
// into MPS / MRD / MPP once the rung is complete.
#include <utility>

#include "compiler/compiler_texts.h"
#include "compiler/il_line_forms.h"
#include "compiler/ld_to_il.h"
#include "compiler/mps_assembly.h"
#include "program_model/element_kinds.h"

namespace quarn::compiler {

bool TLDtoIL::IsBranchPoint(TGridCell cell) const {
  const int r = cell.Row;
  const int c = cell.Col;
  return c > ladder::BusColumn && grid_.HasVLine1(r, c) && grid_.Conducts(r, c) &&
         grid_.Conducts(r, c - 1) && !grid_.HasVLine2(r, c);
}

bool TLDtoIL::AddMPS(TGridCell cell) {
  std::vector<TMPS>& points = Rung().MPSList;
  if (!points.empty() && points.back().Cell == cell) return false;
  TMPS point;
  point.Index = static_cast<int>(points.size());
  point.Cell = cell;
  point.MRDs.push_back(TMRDCell{0, point.Index, cell, false, false, true});
  // Branches leave the vertical line downwards as long as it goes on.
  for (int i = cell.Row + 1; i <= grid_.LastRow(); ++i) {
    if (grid_.HasVLine2(i, cell.Col) && grid_.Conducts(i, cell.Col)) {
      point.EndCell = TGridCell{i, cell.Col};
      const int index = static_cast<int>(point.MRDs.size());
      point.MRDs.push_back(TMRDCell{index, point.Index, point.EndCell, false, false, true});
    }
    if (!grid_.HasVLine1(i, cell.Col) || !grid_.HasVLine2(i, cell.Col)) break;
  }
  if (point.MRDs.size() < 2) return false;
  points.push_back(std::move(point));
  return true;
}

const TMPS* TLDtoIL::FindMPSAt(TGridCell cell) const {
  const std::vector<TMPS>& points = rung_.MPSList;
  for (auto it = points.rbegin(); it != points.rend(); ++it) {
    if (it->Cell == cell) return &*it;
  }
  return nullptr;
}

TMRDCell* TLDtoIL::FindBranchCell(TGridCell cell) {
  std::vector<TMPS>& points = Rung().MPSList;
  for (auto point = points.rbegin(); point != points.rend(); ++point) {
    for (auto branch = point->MRDs.rbegin(); branch != point->MRDs.rend(); ++branch) {
      if (branch->Cell == cell) return &*branch;
    }
  }
  return nullptr;
}

TMRDCell* TLDtoIL::BranchCellOf(const TBlock& block) {
  std::vector<TMPS>& points = Rung().MPSList;
  for (auto point = points.rbegin(); point != points.rend(); ++point) {
    for (TMRDCell& branch : point->MRDs) {
      if (branch.Cell == block.StartCell) return &branch;
    }
  }
  return nullptr;
}

bool TLDtoIL::BranchCellOpen(const TBlock& block) {
  const TMRDCell* branch = BranchCellOf(block);
  return branch != nullptr && branch->Open;
}

bool TLDtoIL::MRDBranch(Block x) {
  TMRDCell* own = BranchCellOf(B(x));
  if (!B(x).Finished || own == nullptr || !own->Open) return false;
  TBlock branchBlock;
  branchBlock.StartCell = B(x).StartCell;
  branchBlock.EndCell = B(x).EndCell;
  // Behind a branch point fed by a bare wire from the rail there is no condition to store:
  // every branch loads its own, so it needs neither a marker nor the series form.
  const bool fedByRail = FedByRail(Rung().MPSList[static_cast<std::size_t>(own->MPS)].Cell);
  if (!fedByRail) branchBlock.Elem.emplace_back(texts::kMarkerPlaceholder);
  branchBlock.Elem.insert(branchBlock.Elem.end(), B(x).Elem.begin(), B(x).Elem.end());
  if (!fedByRail && !B(x).Elem.empty()) {
    if (B(x).SingleRow()) {
      branchBlock.Elem[1] = SeriesForm(branchBlock.Elem[1]);
    } else {
      branchBlock.Elem.emplace_back(texts::kAnb);
    }
  }
  branchBlock.BlockType = btMRD;
  branchBlock.Finished = true;
  const Block z = AppendBlock(std::move(branchBlock));
  B(x).Join = z;
  own->Open = false;
  own->Completed = true;
  TraceMPS(own->MPS);
  if (!fedByRail) B(z).Elem.front() = MarkerText(own->MPS, own->Index);
  return true;
}

bool TLDtoIL::FedByRail(TGridCell point) const {
  for (int c = point.Col - 1; c >= ladder::BusColumn; --c) {
    if (!grid_.Conducts(point.Row, c) || !grid_.HasNoElement(point.Row, c)) return false;
  }
  return true;
}

TMRDCell* TLDtoIL::GetNextMRDCell() {
  std::vector<TMPS>& points = Rung().MPSList;
  for (auto point = points.rbegin(); point != points.rend(); ++point) {
    if (point->AllCompleted()) continue;
    for (TMRDCell& branch : point->MRDs) {
      if (!branch.Completed) return &branch;
    }
  }
  return nullptr;
}

bool TLDtoIL::AssembleMPS() {
  struct Pass {
    std::string_view Name;
    PassOutcome (*Run)(const IlLines&, const std::vector<TMPS>&);
  };
  static constexpr Pass kPasses[] = {
      {texts::kPassDeleteSingle, &DeleteSingleMRD},
      {texts::kPassReduceEmpty,
       [](const IlLines& lines, const std::vector<TMPS>&) { return ReduceEmptyMRD(lines); }},
      {texts::kPassDeleteNeedless,
       [](const IlLines& lines, const std::vector<TMPS>&) { return DeleteNeedlessMRD(lines); }},
      {texts::kPassRename,
       [](const IlLines& lines, const std::vector<TMPS>&) { return RenameMRD(lines); }},
  };
  for (const Pass& pass : kPasses) {
    const TBlock& last = B(LastBlock());
    PassOutcome outcome = pass.Run(last.Elem, Rung().MPSList);
    if (outcome.Error != texts::ErrNone) {
      SetError(outcome.Error);
      return false;
    }
    TBlock next;
    next.StartCell = last.StartCell;
    next.EndCell = last.EndCell;
    next.BlockType = last.BlockType;
    next.Finished = last.Finished;
    next.Join = kOutputChain;
    next.Elem = std::move(outcome.Lines);
    const Block z = AppendBlock(std::move(next));
    Trace(pass.Name);
    TraceBlock(z);
  }
  return true;
}

bool TLDtoIL::AddMarkInstruction() {
  if (Rung().Blocks.size() < 2) {
    SetError(texts::ErrIncorrectFragment);
    return false;
  }
  // Labels from the row after the previous rung down to this rung's end belong to this rung.
  const int firstRow = labelsFrom_;
  const TBlock& last = B(LastBlock());
  TBlock marked;
  marked.StartCell = last.StartCell;
  marked.EndCell = last.EndCell;
  marked.BlockType = last.BlockType;
  marked.Finished = last.Finished;
  marked.Join = kOutputChain;
  for (int row = firstRow; row <= Rung().EndCell.Row; ++row) {
    if (grid_.HasKind(row, ladder::LabelColumn, program_model::EkLabel)) {
      marked.Elem.push_back(grid_.Text(row, ladder::LabelColumn));
    }
  }
  marked.Elem.insert(marked.Elem.end(), last.Elem.begin(), last.Elem.end());
  const Block z = AppendBlock(std::move(marked));
  Trace(texts::kPassMarks);
  TraceBlock(z);
  return true;
}

}  // namespace quarn::compiler

// The four passes that turn a rung's branch markers into MPS / MRD / MPP.
//
// While a rung is walked every branch starts with a marker line ("MRDs<point>r<branch>"). Once
// the rung is complete the passes drop the markers of branches that reached no output, merge a
// branch point that opens right at the start of another branch into that one, drop the stack
// operations that outputs-only branches make needless, and name what is left. Each pass reads
// the lines of the previous one and fails with an error code of the compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile_model.h"

namespace quarn::compiler {

using IlLines = std::vector<std::string>;

struct PassOutcome {
  std::int32_t Error = 0;  // 0: Lines holds the result
  IlLines Lines;
};

// "Delete single MRD": markers of branches that reached no output go, and so do all markers of a
// branch point with at most one active branch. The others get "active" appended.
PassOutcome DeleteSingleMRD(const IlLines& lines, const std::vector<TMPS>& points);
// "Reduce Empty MRD": two markers in a row mean that a branch point opens right at the start of a
// branch; its branches become branches of the outer point. Also refuses a rung of nothing or of
// one instruction that may not stand alone.
PassOutcome ReduceEmptyMRD(const IlLines& lines);
// "Delete NeedLess MRD": the accumulator survives output instructions, so a branch made of
// outputs only needs no stack operation around it.
PassOutcome DeleteNeedlessMRD(const IlLines& lines);
// "Rename MRD": in each branch point, MPS, MRD ... MRD, MPP in branch order; at most eight
// branch points.
PassOutcome RenameMRD(const IlLines& lines);

}  // namespace quarn::compiler

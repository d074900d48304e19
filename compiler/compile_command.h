// "Compile LD to IL": compiles the ladder grid and says what the window shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compile_model.h"
#include "compiler/compile_trace.h"
#include "ladder/ladder_grid.h"

namespace quarn::compiler {

struct CompileOutcome {
  // The IL lines replace the IL editor's text only when this holds.
  bool Success = false;
  // The information box's text: "Complilation successfull - 3 fragments", "Table is empty",
  // "Complilation failed - MPS error - Fragment #2 row #7".
  std::string Message;
  // Every rung's IL in grid order, ending with "END".
  std::vector<std::string> Lines;
  std::int32_t ErrorCode = 0;
  int FragmentCount = 0;
  // After a failure the grid cursor goes here and the grid takes the focus.
  std::optional<TGridCell> Cursor;
};

// Resets the motor-control entry anchor through the grid's events, restarts the trace when it is
// on and compiles. maxFragmentBlocks is the "Maximum blocks in a fragment" setting; trace may be
// null.
CompileOutcome CompileLadder(const ladder::LadderGrid& grid, int maxFragmentBlocks,
                             CompileTrace* trace = nullptr);

}  // namespace quarn::compiler

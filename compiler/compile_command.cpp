#include "compiler/compile_command.h"

#include "compiler/compiler_texts.h"
#include "compiler/ld_to_il.h"

namespace quarn::compiler {

CompileOutcome CompileLadder(const ladder::LadderGrid& grid, int maxFragmentBlocks,
                             CompileTrace* trace) {
  // The diagram is about to be replaced in the IL editor: a motor-control block added next must
  // start a rung of its own.
  grid.Events().ResetEntryAnchor();
  if (trace != nullptr && trace->Enabled()) {
    trace->Restart();
    trace->AppendLogLine(texts::kTraceStart);
  }
  TLDtoIL compiler(grid, maxFragmentBlocks, trace);
  compiler.Run();

  CompileOutcome outcome;
  outcome.ErrorCode = compiler.ErrorCode();
  outcome.FragmentCount = compiler.FragmentCount();
  if (outcome.ErrorCode == texts::ErrNone) {
    if (outcome.FragmentCount <= 0) {
      outcome.Message = texts::kTableIsEmpty;
      return outcome;
    }
    outcome.Success = true;
    outcome.Message = std::string(texts::kSuccessPrefix) + std::to_string(outcome.FragmentCount) +
                      std::string(texts::kSuccessSuffix);
    outcome.Lines = compiler.TakeLines();
    if (compiler.LastLine() != texts::kEndLine) outcome.Lines.emplace_back(texts::kEndLine);
    return outcome;
  }
  outcome.Message = texts::ErrorMessage(outcome.ErrorCode);
  if (outcome.ErrorCode > 0) {
    outcome.Message += std::string(texts::kFragmentPrefix) +
                       std::to_string(outcome.FragmentCount + 1) + std::string(texts::kRowPrefix) +
                       std::to_string(compiler.Position().Row);
    outcome.Cursor = compiler.Position();
  }
  return outcome;
}

}  // namespace quarn::compiler

// Compiling generated ladder diagrams: series and parallel contacts, comparisons, branch points
// with two and three branches and apply instructions, drawn with the editor's operations.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "compiler/compile_command.h"
#include "ladder/ladder_editor.h"
#include "ladder/ladder_events.h"
#include "ladder/ladder_grid.h"
#include "ladder/register_names.h"
#include "program_model/catalogue.h"

namespace {

using quarn::ladder::OperandTexts;

class Drawing {
 public:
  Drawing() : grid_(events_), editor_(grid_, registers_) {}

  void Place(int row, int col, const char* mnemonic, OperandTexts operands) {
    grid_.SetCursor(row, col);
    if (!editor_.PlaceInstruction(quarn::program_model::FindInstructionByMnemonic(mnemonic),
                                  operands)) {
      std::abort();  // the generator drew something the editor refuses
    }
  }
  void Vertical(int row, int col) {
    if (!editor_.AddVerticalLine(row, col)) std::abort();
  }

  // One rung of the given shape from the row on; answers the rows it takes.
  int Rung(int shape, int row, int n) {
    const std::string a = "X" + std::to_string(n % 64);
    const std::string b = "M" + std::to_string(n % 500);
    const std::string y = "Y" + std::to_string(n % 64);
    switch (shape) {
      case 0:  // series
        Place(row, 3, "LD", {a});
        Place(row, 4, "LDI", {b});
        Place(row, 5, "OUT", {y});
        return 1;
      case 1:  // parallel start, then a contact in series
        Place(row, 3, "LD", {a});
        Place(row + 1, 3, "LDI", {b});
        Vertical(row, 4);
        Place(row, 4, "LDP", {"X1"});
        Place(row, 5, "OUT", {y});
        return 2;
      case 2:  // comparison contact
        Place(row, 3, "LD", {a});
        Place(row, 4, "LD>", {"D" + std::to_string(n % 100), "K500"});
        Place(row, 7, "OUT", {y});
        return 1;
      case 3:  // branch point with two branches
        Place(row, 3, "LD", {a});
        Place(row, 4, "LD", {b});
        Place(row + 1, 4, "LDI", {"X2"});
        Vertical(row, 4);
        Place(row, 5, "OUT", {y});
        Place(row + 1, 5, "OUT", {"M900"});
        return 2;
      case 4:  // branch point with three branches, one of them a MOV
        Place(row, 3, "LD", {a});
        Place(row, 4, "LD", {b});
        Place(row + 1, 4, "LDI", {"X3"});
        Place(row + 2, 4, "LDF", {"X4"});
        Vertical(row, 4);
        Vertical(row + 1, 4);
        Place(row, 5, "OUT", {y});
        Place(row + 1, 5, "OUT", {"M901"});
        Place(row + 2, 5, "MOV", {"K3000", "D" + std::to_string(n % 100)});
        return 3;
      default:  // parallel in the middle, then an apply instruction
        Place(row, 3, "LD", {a});
        Place(row, 4, "LD", {b});
        Place(row + 1, 4, "LD", {"X5"});
        Vertical(row, 4);
        Vertical(row, 5);
        Place(row, 5, "ADD", {"D1", "K1", "D1"});
        return 2;
    }
  }

  const quarn::ladder::LadderGrid& Grid() const { return grid_; }

 private:
  quarn::ladder::SilentLadderEvents events_;
  quarn::ladder::NoRegisterNames registers_;
  quarn::ladder::LadderGrid grid_;
  quarn::ladder::LadderEditor editor_;
};

constexpr int kShapes = 6;

void BM_CompileRungs(benchmark::State& state) {
  const int rungs = static_cast<int>(state.range(0));
  Drawing drawing;
  int row = 0;
  for (int n = 0; n < rungs; ++n) row += drawing.Rung(n % kShapes, row, n);
  for (auto _ : state) {
    const quarn::compiler::CompileOutcome outcome =
        quarn::compiler::CompileLadder(drawing.Grid(), 1000);
    if (!outcome.Success || outcome.FragmentCount != rungs) {
      state.SkipWithError(outcome.Message.c_str());
      break;
    }
    benchmark::DoNotOptimize(outcome.Lines.data());
  }
  state.counters["rows"] = row;
  state.SetComplexityN(rungs);
}
BENCHMARK(BM_CompileRungs)
    ->Arg(250)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();

// The ladder model at the size of the compiler's benchmark: 4000 rungs of two rows each.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_file.h"
#include "ladder/ladder_grid.h"
#include "program_model/catalogue.h"

namespace {

using namespace quarn::ladder;
using quarn::program_model::FindInstructionByMnemonic;

constexpr int kRungs = 4000;

std::string Operand(char letter, int number) {
  std::string text(1, letter);
  text += std::to_string(number);
  return text;
}

// Each rung: a contact in series with a comparison, a parallel contact joined by a vertical
// line, and a MOV at the right end.
void BuildRungs(LadderGrid& grid, int rungs) {
  NoRegisterNames registers;
  LadderEditor editor(grid, registers);
  const auto ld = FindInstructionByMnemonic("LD");
  const auto compare = FindInstructionByMnemonic("LD>");
  const auto mov = FindInstructionByMnemonic("MOV");
  LadderGrid::UpdateGuard updates(grid);
  for (int rung = 0; rung < rungs; ++rung) {
    const int row = 2 * rung;
    grid.SetCursor(row, BusColumn);
    editor.PlaceInstruction(ld, {Operand('M', rung % 128)});
    editor.PlaceInstruction(compare, {Operand('D', rung % 300), Operand('K', rung % 128)});
    grid.SetCursor(row, grid.CurrentCol() + 1);
    editor.PlaceInstruction(mov, {Operand('K', rung % 128), Operand('D', rung % 390)});
    grid.SetCursor(row + 1, BusColumn);
    editor.PlaceInstruction(ld, {Operand('X', rung % 8)});
    editor.AddVerticalLine(row, 4);
  }
}

void BM_PlaceRungs(benchmark::State& state) {
  for (auto _ : state) {
    LadderGrid grid;
    BuildRungs(grid, kRungs);
    benchmark::DoNotOptimize(grid.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * kRungs);
}
BENCHMARK(BM_PlaceRungs)->Unit(benchmark::kMillisecond);

void BM_ScanCells(benchmark::State& state) {
  LadderGrid grid;
  BuildRungs(grid, kRungs);
  for (auto _ : state) {
    int elements = 0;
    for (int row = 0; row < grid.RowCount(); ++row) {
      for (int col = BusColumn; col < grid.ColCount(); ++col) {
        if (grid.Conducts(row, col) || grid.HasOutputElement(row, col)) ++elements;
        if (grid.HasVLine1(row, col) && grid.MainElementKind(row, col)) ++elements;
        elements += grid.ElementStartOffset(row, col);
      }
    }
    benchmark::DoNotOptimize(elements);
  }
  state.SetItemsProcessed(state.iterations() * grid.RowCount() * grid.ColCount());
}
BENCHMARK(BM_ScanCells)->Unit(benchmark::kMillisecond);

void BM_SaveDiagram(benchmark::State& state) {
  LadderGrid grid;
  BuildRungs(grid, kRungs);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = LadderFileText(grid);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_SaveDiagram)->Unit(benchmark::kMillisecond);

void BM_ReadDiagram(benchmark::State& state) {
  LadderGrid source;
  BuildRungs(source, kRungs);
  const std::string text = LadderFileText(source);
  for (auto _ : state) {
    LadderGrid grid;
    const ReadResult result = ReadLadderText(grid, text, "bench.ld");
    benchmark::DoNotOptimize(result.BadLines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadDiagram)->Unit(benchmark::kMillisecond);

// Row and column operations on a long diagram move whole rows, not cells.
void BM_InsertAndDeleteRowAtTop(benchmark::State& state) {
  LadderGrid grid;
  BuildRungs(grid, kRungs);
  for (auto _ : state) {
    grid.SetCursor(0, BusColumn);
    grid.InsertRow();
    grid.DeleteRow();
  }
}
BENCHMARK(BM_InsertAndDeleteRowAtTop)->Unit(benchmark::kMicrosecond);

void BM_AddColumnAtEnd(benchmark::State& state) {
  LadderGrid source;
  BuildRungs(source, kRungs);
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<LadderGrid>(source);
    state.ResumeTiming();
    grid->AddColumn(ColumnMode::AtEnd);
    benchmark::DoNotOptimize(grid->ColCount());
    // Freeing the copy is not part of adding a column.
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddColumnAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();

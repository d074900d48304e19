// Renumbering a program the size of the largest the controller holds.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "program_model/il_editor.h"

namespace {

using quarn::program_model::IlEditor;

std::vector<std::string> Program(std::size_t count) {
  const char* const lines[] = {"LD\tX0", "MOV\tK3000\tD361", "// speed", "", "OUT\tY3"};
  std::vector<std::string> program;
  program.reserve(count);
  for (std::size_t i = 0; i < count; ++i) program.emplace_back(lines[i % std::size(lines)]);
  return program;
}

void BM_RenumberWholeProgram(benchmark::State& state) {
  const std::vector<std::string> program = Program(static_cast<std::size_t>(state.range(0)));
  IlEditor editor;
  editor.SetEnumerateRunning(true);
  std::vector<std::string> numbers;
  for (auto _ : state) {
    editor.RenumberLines(0, program, numbers);
    benchmark::DoNotOptimize(numbers.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RenumberWholeProgram)->Arg(500)->Arg(60000)->Unit(benchmark::kMillisecond);

// After typing in one line near the end: only the lines from there on are redone.
void BM_RenumberAfterEdit(benchmark::State& state) {
  const std::vector<std::string> program = Program(500);
  IlEditor editor;
  std::vector<std::string> numbers;
  editor.RenumberLines(0, program, numbers);
  for (auto _ : state) {
    editor.NoteChange(450);
    editor.RenumberLines(editor.RenumberStart(450, 500, false), program, numbers);
    benchmark::DoNotOptimize(numbers.data());
  }
}
BENCHMARK(BM_RenumberAfterEdit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Line check and Clean up over a program the size of the largest the controller holds.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "program_model/il_parser.h"

namespace {

using quarn::program_model::CheckIlLine;
using quarn::program_model::CleanUpProgram;
using quarn::program_model::WrongLines;

// A mix of what real programs hold: contacts, coils, applied instructions with constants and
// indexed registers, labels, comments, blank lines and a few wrong lines.
constexpr std::array<const char*, 16> kLines = {
    "LD\tX0",
    "ANI\tM12",
    "OUT\tY3",
    "MOV\tK3000\tD361",
    "DMOV\tK-120000\tD370",
    "LDP\tX17",
    "ADD\tD10A3\tK5@B2\tD20",
    "DEADD\tF1.5\tD0\tD4",
    "ZCP\tK0\tK100\tD5\tM0",
    "// set the speed",
    "",
    "P\t5",
    "LD=\tD1\tH1F",
    "mov\tK1\tD2",
    "MOV\tK1",
    "CJ\tP5\t; jump back",
};

std::vector<std::string> Program(std::size_t count) {
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) lines.emplace_back(kLines[i % kLines.size()]);
  return lines;
}

void BM_CheckIlLine(benchmark::State& state) {
  const std::vector<std::string> lines = Program(60000);
  for (auto _ : state) {
    int sum = 0;
    for (const std::string& line : lines) sum += CheckIlLine(line).Code;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_CheckIlLine)->Unit(benchmark::kMillisecond);

void BM_CleanUpProgram(benchmark::State& state) {
  const std::vector<std::string> program = Program(60000);
  const WrongLines choice = state.range(0) == 0 ? WrongLines::Clear : WrongLines::Comment;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> lines = program;
    state.ResumeTiming();
    CleanUpProgram(lines, choice);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(program.size()));
}
BENCHMARK(BM_CleanUpProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The IL editor page with a program the size of the largest the controller holds: Enumerate
// runs on the window's thread with the program column disabled, so it must stay short.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "ui/il_editor_page.h"

namespace {

constexpr int kLargestProgram = 60000;

QString ProgramText(int count) {
  const char* const lines[] = {"LD\tX0", "MOV\tK3000\tD361", "// speed", "", "OUT\tY3"};
  QStringList program;
  for (int i = 0; i < count; ++i) program << QString::fromLatin1(lines[i % 5]);
  return program.join(QLatin1Char('\n'));
}

void BM_EnumeratePage(benchmark::State& state) {
  quarn::ui::IlEditorPage page;
  page.SetProgramText(ProgramText(static_cast<int>(state.range(0))));
  for (auto _ : state) page.Enumerate();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EnumeratePage)->Arg(500)->Arg(kLargestProgram)->Unit(benchmark::kMillisecond);

void BM_LoadProgramFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("large.il"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    state.SkipWithError("cannot write the program file");
    return;
  }
  file.write(ProgramText(kLargestProgram).toUtf8());
  file.close();
  quarn::ui::IlEditorPage page;
  page.SetClearAsker([] { return quarn::program_model::ClearAnswer::Yes; });
  for (auto _ : state) page.LoadProgramFile(path);
}
BENCHMARK(BM_LoadProgramFile)->Unit(benchmark::kMillisecond);

void BM_CleanUpPage(benchmark::State& state) {
  quarn::ui::IlEditorPage page;
  const QString text = ProgramText(kLargestProgram);
  for (auto _ : state) {
    state.PauseTiming();
    page.SetProgramText(text);
    state.ResumeTiming();
    page.CleanUp();
  }
}
BENCHMARK(BM_CleanUpPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

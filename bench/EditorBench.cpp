// Typing, line breaks, select-all-cut and their undo in the middle of a large generated page
// (TARNWICK_BENCH_HTML, made by bench/run.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "BenchCorpus.h"
#include "editor/SynEdit.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace {

using namespace tarnwick;

struct TLoadedEditor {
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEdit editor{canvas, clipboard};

  TLoadedEditor() {
    editor.SetClientSize(800, 600);
    editor.Lines().LoadFile(HtmlCorpusFile());
    int middle = editor.Lines().Count() / 2;
    editor.SetCaretPos({5, middle});
  }
};

// One typed character with its undo record, on a line near the middle (a new line every
// hundred keys, so that no line grows past what a person types).
void BM_TypeCharacter(benchmark::State& state) {
  TLoadedEditor loaded;
  int middle = loaded.editor.CaretPos().Line;
  int typed = 0;
  for (auto _ : state) {
    if (typed++ % 100 == 0) loaded.editor.SetCaretPos({5, middle + (typed / 100) % 1000});
    loaded.editor.ExecuteCommand(ecChar, 'x');
  }
  state.counters["lines"] = loaded.editor.Lines().Count();
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMicrosecond);

void BM_LineBreak(benchmark::State& state) {
  TLoadedEditor loaded;
  for (auto _ : state) loaded.editor.ExecuteCommand(ecLineBreak);
}
BENCHMARK(BM_LineBreak)->Unit(benchmark::kMicrosecond);

void BM_TypeThenUndo(benchmark::State& state) {
  TLoadedEditor loaded;
  for (auto _ : state) {
    loaded.editor.ExecuteCommand(ecChar, 'x');
    loaded.editor.ExecuteCommand(ecLineBreak);
    loaded.editor.ExecuteCommand(ecUndo);
    loaded.editor.ExecuteCommand(ecUndo);
  }
}
BENCHMARK(BM_TypeThenUndo)->Unit(benchmark::kMicrosecond);

void BM_SelectAllCutUndo(benchmark::State& state) {
  TLoadedEditor loaded;
  for (auto _ : state) {
    loaded.editor.ExecuteCommand(ecSelectAll);
    loaded.editor.ExecuteCommand(ecCut);
    loaded.editor.ExecuteCommand(ecUndo);
  }
}
BENCHMARK(BM_SelectAllCutUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

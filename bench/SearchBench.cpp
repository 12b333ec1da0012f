// Searching the large generated page for a word it holds about 230,000 times ("class"): as
// repeated Find Next and as one replace-all without prompts (TARNWICK_BENCH_HTML).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "BenchCorpus.h"
#include "editor/SynEdit.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace {

using namespace tarnwick;

struct TSearchedEditor {
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEditSearch engine;
  TSynEdit editor{canvas, clipboard};

  TSearchedEditor() {
    editor.SetClientSize(960, 960);
    editor.Lines().LoadFile(HtmlCorpusFile());
    editor.SearchEngine = &engine;
  }
};

void BM_FindNextThroughTheFile(benchmark::State& state) {
  TSearchedEditor searched;
  int found = 0;
  for (auto _ : state) {
    searched.editor.SetCaretPos({1, 1});
    found = 0;
    while (searched.editor.FindOrReplace("class", "", 0) == 1) ++found;
  }
  state.counters["matches"] = found;
}
BENCHMARK(BM_FindNextThroughTheFile)->Unit(benchmark::kMillisecond);

void BM_ReplaceAll(benchmark::State& state) {
  int replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto searched = std::make_unique<TSearchedEditor>();
    state.ResumeTiming();
    replaced = searched->editor.FindOrReplace("class", "klass", optReplaceAll | optEntireScope);
    state.PauseTiming();
    searched.reset();
    state.ResumeTiming();
  }
  state.counters["replaced"] = replaced;
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

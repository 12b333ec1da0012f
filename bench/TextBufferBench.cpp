// Loading, walking and saving a large generated page. The file comes from
// TARNWICK_BENCH_HTML (bench/run.sh makes it with the shared corpus generator).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "BenchCorpus.h"
#include "editor/SynEditTextBuffer.h"

namespace {

using tarnwick::TSynEditStringList;

// The process's peak resident memory so far, in MiB.
double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

// Registered first, so the peak it reports is that of a load into a fresh process.
void BM_Load(benchmark::State& state) {
  for (auto _ : state) {
    TSynEditStringList list;
    list.LoadFile(HtmlCorpusFile());
    benchmark::DoNotOptimize(list.Count());
    state.counters["lines"] = list.Count();
    state.counters["peak_rss_MiB"] = PeakResidentMiB();
  }
  std::ifstream file(HtmlCorpusFile(), std::ios::ate | std::ios::binary);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.tellg()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Walk(benchmark::State& state) {
  TSynEditStringList list;
  list.LoadFile(HtmlCorpusFile());
  for (auto _ : state) {
    state.PauseTiming();
    list.SetTabWidth(list.TabWidth() == 8 ? 4 : 8);  // every line stale again
    state.ResumeTiming();
    long long columns = 0;
    for (int i = 0; i < list.Count(); ++i) columns += list.ExpandedTextLength(i);
    benchmark::DoNotOptimize(columns);
    benchmark::DoNotOptimize(list.MaxExpandedLength());
  }
}
BENCHMARK(BM_Walk)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Save(benchmark::State& state) {
  TSynEditStringList list;
  list.LoadFile(HtmlCorpusFile());
  std::string target = HtmlCorpusFile() + ".saved";
  for (auto _ : state) list.SaveFile(target);
  std::remove(target.c_str());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();

// Scanning whole generated files line by line as the editor's full rescan does (ranges carried
// from line to line) and as painting does (every token's text and attribute read). The files
// come from TARNWICK_BENCH_HTML, TARNWICK_BENCH_CSS and TARNWICK_BENCH_XML (bench/run.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "BenchCorpus.h"
#include "editor/SynEditTextBuffer.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"

namespace {

using namespace tarnwick;

template <class THighlighter>
void Scan(benchmark::State& state, const std::string& file, bool readTokens) {
  TSynEditStringList lines;
  lines.LoadFile(file);
  std::size_t bytes = 0;
  for (int i = 0; i < lines.Count(); ++i) bytes += lines.Get(i).size() + 1;
  THighlighter highlighter;
  std::string line;  // the scanners read up to a NUL, so each line is copied with one
  for (auto _ : state) {
    highlighter.ResetRange();
    std::size_t tokens = 0;
    for (int i = 0; i < lines.Count(); ++i) {
      line.assign(lines.Get(i).View());
      highlighter.RestoreRange(highlighter.CurrentRange());
      highlighter.StartLine(line.c_str(), i);
      if (readTokens) {
        while (!highlighter.AtLineEnd()) {
          benchmark::DoNotOptimize(highlighter.TokenText());
          benchmark::DoNotOptimize(highlighter.TokenAttribute());
          ++tokens;
          highlighter.NextToken();
        }
      } else {
        highlighter.SkipToLineEnd();
      }
    }
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

#define TARNWICK_SCAN_BENCHMARKS(Name, Type, Variable, Fallback)                                        \
  void BM_##Name##Ranges(benchmark::State& s) { Scan<Type>(s, CorpusFile(Variable, Fallback), false); }   \
  BENCHMARK(BM_##Name##Ranges)->Unit(benchmark::kMillisecond);                                         \
  void BM_##Name##Tokens(benchmark::State& s) { Scan<Type>(s, CorpusFile(Variable, Fallback), true); }    \
  BENCHMARK(BM_##Name##Tokens)->Unit(benchmark::kMillisecond);

TARNWICK_SCAN_BENCHMARKS(Html, TSynHTMLSyn, "TARNWICK_BENCH_HTML", "/tmp/tarnwick-bench/html50.html")
TARNWICK_SCAN_BENCHMARKS(Css, TSynCssSyn, "TARNWICK_BENCH_CSS", "/tmp/tarnwick-bench/css20.css")
TARNWICK_SCAN_BENCHMARKS(Xml, TSynXMLSyn, "TARNWICK_BENCH_XML", "/tmp/tarnwick-bench/xml20.xml")

}  // namespace

BENCHMARK_MAIN();

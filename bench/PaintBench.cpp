// Painting one full screen (120 columns by 60 rows) of the large generated page with the HTML
// highlighter, at its top, middle and end, on the recording test canvas and on a QImage; and
// the rescan after typing a comment opener in the middle (TARNWICK_BENCH_HTML).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>

#include "BenchCorpus.h"
#include "editor/SynEdit.h"
#include "highlight/SynHighlighterHtml.h"
#include "platform/qt/QtCanvas.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace {

using namespace tarnwick;

constexpr int kColumns = 120, kRows = 60;

struct TScreen {
  TFixedCanvas measure;
  TMemoryClipboard clipboard;
  TSynHTMLSyn html;
  TSynEdit editor{measure, clipboard};

  TScreen() {
    editor.Lines().LoadFile(HtmlCorpusFile());
    editor.SetHighlighter(&html);
    editor.SetClientSize(editor.GutterRealWidth() + 2 + kColumns * 8, kRows * 16);
  }
  void ScrollTo(int where) {
    int last = editor.Lines().Count();
    editor.SetTopRow(where == 0 ? 1 : where == 1 ? last / 2 : last);
  }
};

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

void BM_PaintOnTestCanvas(benchmark::State& state) {
  TScreen& screen = Screen();
  screen.ScrollTo(static_cast<int>(state.range(0)));
  TFixedCanvas canvas;
  TRect all{0, 0, screen.editor.GutterRealWidth() + 2 + kColumns * 8, kRows * 16};
  for (auto _ : state) {
    canvas.drawn.clear();
    screen.editor.Paint(canvas, all);
  }
}
BENCHMARK(BM_PaintOnTestCanvas)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PaintOnImage(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "paint_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  TScreen& screen = Screen();
  screen.ScrollTo(static_cast<int>(state.range(0)));
  TQtCanvas canvas;
  screen.editor.SetClientSize(screen.editor.GutterRealWidth() + 2 + kColumns * canvas.CharWidth(), kRows * canvas.LineHeight());
  QImage image(screen.editor.GutterRealWidth() + 2 + kColumns * canvas.CharWidth(), kRows * canvas.LineHeight(),
               QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    canvas.Begin(&painter, nullptr);
    screen.editor.Paint(canvas, {0, 0, image.width(), image.height()});
    canvas.End();
  }
}
BENCHMARK(BM_PaintOnImage)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// "<!--" typed in the middle of a line: each key rescans until the stored ranges agree again.
void BM_CommentOpenerRescan(benchmark::State& state) {
  TScreen& screen = Screen();
  int middle = screen.editor.Lines().Count() / 2;
  for (auto _ : state) {
    screen.editor.SetCaretPos({3, middle});
    for (char c : std::string("<!--")) screen.editor.ExecuteCommand(ecChar, static_cast<char32_t>(c));
    state.PauseTiming();
    for (int i = 0; i < 4; ++i) screen.editor.ExecuteCommand(ecDeleteLastChar);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CommentOpenerRescan)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}

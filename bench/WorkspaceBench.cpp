// The main window with real documents: opening a large file until its page is painted, and
// the enable rules the window asks every time the application goes idle.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>

#include "BenchCorpus.h"
#include "app/Application.h"
#include "app/Main.h"
#include "editor/SynEdit.h"
#include "platform/RegistryFile.h"
#include "platform/test/FixedSystemServices.h"
#include "platform/test/MemoryClipboard.h"
#include "platform/test/ScriptedDialogs.h"

namespace tarnwick {
namespace {

struct TBenchWindow {
  TScriptedDialogs dialogs;
  TFixedSystemServices system;
  TMemoryClipboard clipboard;
  std::string folder = std::filesystem::temp_directory_path() / "tarnwick-workspace-bench";
  TRegistryFile registry{folder + "/registry.reg"};
  TfrmMain window{TAppServices{dialogs, system, registry, clipboard}};

  TBenchWindow() {
    window.Settings.NewPageStartup = false;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    QApplication::processEvents();
  }
  ~TBenchWindow() { std::filesystem::remove_all(folder); }

  void Open(const std::string& path) {
    window.OpenPending = true;
    window.PendingPath = path;
    window.Open();
  }
};

void BM_OpenLargeHtmlUntilPainted(benchmark::State& state) {
  TBenchWindow bench;
  std::string path = HtmlCorpusFile();
  for (auto _ : state) {
    bench.Open(path);
    bench.window.repaint();
    QApplication::processEvents();
    state.PauseTiming();
    bench.window.CloseActiveDocument();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_OpenLargeHtmlUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IdleEnableRules(benchmark::State& state) {
  TBenchWindow bench;
  bench.Open(HtmlCorpusFile());
  bench.window.ActiveEditor()->SelectAllText();
  for (auto _ : state) bench.window.UpdateActions();
}
BENCHMARK(BM_IdleEnableRules)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  tarnwick::TApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

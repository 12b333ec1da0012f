// Start-up and every options dialog read or write the whole settings store: these measure a
// load and a save against the real file store, and the text format alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "platform/RegistryFile.h"
#include "platform/RegistryText.h"
#include "platform/test/FixedSystemServices.h"
#include "platform/test/MemoryRegistry.h"
#include "settings/RegistrySettings.h"

namespace {

using namespace tarnwick;

struct TFixture {
  std::string folder;
  TFixedSystemServices system;
  TSettingsEnvironment env{system, [] { return TWindowBounds{319, 118, 764, 609}; }};

  TFixture() {
    char name[] = "/tmp/tarnwick-bench-XXXXXX";
    folder = ::mkdtemp(name);
  }
  ~TFixture() { std::filesystem::remove_all(folder); }
  std::string StorePath() const { return folder + "/tarnwick/registry.reg"; }
};

void BM_LoadSettings(benchmark::State& state) {
  TFixture fixture;
  TRegistryFile store(fixture.StorePath());
  TSettings settings;
  LoadSettings(settings, store, fixture.env);
  for (auto _ : state) {
    TSettings loaded;
    LoadSettings(loaded, store, fixture.env);
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
  TFixture fixture;
  TRegistryFile store(fixture.StorePath());
  TSettings settings;
  LoadSettings(settings, store, fixture.env);
  for (auto _ : state) {
    settings.FontSize = settings.FontSize == 10 ? 11 : 10;
    SaveSettings(settings, store, fixture.env);
  }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

void BM_ParseRegistryText(benchmark::State& state) {
  TFixture fixture;
  TMemoryRegistry store;
  TSettings settings;
  LoadSettings(settings, store, fixture.env);
  std::string text = FormatRegistryText(store.tree);
  for (auto _ : state) benchmark::DoNotOptimize(ParseRegistryText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseRegistryText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Page export speed: the classic page (BuildTestPage and EncodePage, or
// BuildTestPageBytes) and the responsive page (BuildResponsivePage) over the
// workspace of the same large processed text. Reported as source characters
// per second.
//   build/bin/bench_page --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchTexts.h"
#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/ctest/TestGen.h"
#include "core/text/CodePage.h"
#include "core/text/Unicode.h"

namespace {

using brenvik::Text;

using brenvik::bench::MixedProse;
using brenvik::bench::Prose;

brenvik::TestWorkspace Processed(std::size_t characters) {
  brenvik::TestWorkspace w;
  brenvik::GenerateTest(Prose(characters), w);
  return w;
}

// First export after a Process: the lists are prepared, then the page written.
void BM_ExportPage(benchmark::State& state) {
  const std::size_t chars = static_cast<std::size_t>(state.range(0));
  const brenvik::TestWorkspace base = Processed(chars);
  const brenvik::ExportSettings settings;
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    brenvik::TestWorkspace w = base;
    state.ResumeTiming();
    const Text page = brenvik::BuildTestPage(w, settings);
    const std::string encoded = brenvik::EncodePage(page);
    bytes = encoded.size();
    benchmark::DoNotOptimize(encoded.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportPage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// The same, written straight to the file's bytes (what the export commands save).
void BM_ExportPageBytes(benchmark::State& state) {
  const std::size_t chars = static_cast<std::size_t>(state.range(0));
  const brenvik::TestWorkspace base = Processed(chars);
  const brenvik::ExportSettings settings;
  for (auto _ : state) {
    state.PauseTiming();
    brenvik::TestWorkspace w = base;
    state.ResumeTiming();
    const std::string encoded = brenvik::BuildTestPageBytes(w, settings);
    benchmark::DoNotOptimize(encoded.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
}
BENCHMARK(BM_ExportPageBytes)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// A second export of the same workspace: the lists are already prepared.
void BM_ExportPageAgain(benchmark::State& state) {
  const std::size_t chars = static_cast<std::size_t>(state.range(0));
  brenvik::TestWorkspace w = Processed(chars);
  const brenvik::ExportSettings settings;
  brenvik::BuildTestPage(w, settings);
  for (auto _ : state) {
    const std::string encoded = brenvik::BuildTestPageBytes(w, settings);
    benchmark::DoNotOptimize(encoded.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
}
BENCHMARK(BM_ExportPageAgain)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// The responsive page of the same workspace. It only reads the workspace, so
// there is no first or second export to tell apart.
void BM_ResponsivePage(benchmark::State& state) {
  const std::size_t chars = static_cast<std::size_t>(state.range(0));
  const brenvik::TestWorkspace w = Processed(chars);
  const brenvik::ExportSettings settings;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = brenvik::BuildResponsivePage(w, settings);
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ResponsivePage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// A whole export from the bytes of a UTF-8 file: decoding, NFC, Process and
// the page, as brenvik-cli export does it (without the file system).
// Argument 0: the prose above (Western), 1: prose in many scripts; then the
// format, 0 classic, 1 responsive.
void BM_ExportFromText(benchmark::State& state) {
  constexpr std::size_t kChars = 10 << 20;
  const std::string bytes = brenvik::ToUtf8(state.range(0) == 0 ? Prose(kChars) : MixedProse(kChars));
  const brenvik::ExportSettings settings;
  for (auto _ : state) {
    brenvik::TestWorkspace w;
    brenvik::GenerateTest(brenvik::unicode::ToNfc(brenvik::DecodeTextFile(bytes)), w);
    const std::string page = state.range(1) == 0 ? brenvik::BuildTestPageBytes(w, settings)
                                                 : brenvik::BuildResponsivePage(w, settings);
    benchmark::DoNotOptimize(page.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kChars));
}
BENCHMARK(BM_ExportFromText)
    ->ArgNames({"mixed", "responsive"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Page export speed: the classic page (BuildTestPage and EncodePage, or
// BuildTestPageBytes) and the responsive page (BuildResponsivePage) over the
// workspace of the same large processed text. Reported as source characters
// per second.
//   build/bin/bench_page --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/ctest/TestGen.h"

namespace {

using brenvik::Text;

// Prose with the usual mix of punctuation, line breaks, numbers, accented
// and non-Western letters, repeated up to the wanted number of characters.
Text Prose(std::size_t characters) {
  const Text paragraph =
      U"The old town lies on a bend of the river, and its narrow streets climb the hill towards the "
      U"castle. In 1843 a fire destroyed most of the wooden houses; the café on the square, however, "
      U"survived. Visitors still say: \"It's the best coffee in the region!\" Na rynku stoi żółty dom, "
      U"a w nim mała księgarnia. Старый мост ведёт к собору.\r\nOn market days the square is full of "
      U"stalls selling cheese, bread, honey and well-known local wines.\r\n\r\n";
  Text text = U"A first sentence stays whole. ";
  text.reserve(characters + paragraph.size());
  while (text.size() < characters) text += paragraph;
  text.resize(characters);
  return text;
}

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

}  // namespace

BENCHMARK_MAIN();

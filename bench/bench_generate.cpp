// Throughput of test generation and of the line-break replacement of the
// page writer.

#include <benchmark/benchmark.h>

#include <random>

#include "core/ctest/TestGen.h"
#include "core/text/SearchAndReplace.h"

namespace {

using brenvik::Text;

// Plain prose: words of 1 to 12 letters (some accented), commas, full stops,
// paragraph breaks and the odd number.
Text MakeProse(std::size_t characters) {
  static const char32_t kLetters[] = U"etaoinshrdlucmfwypvbgkjqxzéèàüöäßłżę";
  std::mt19937 rng(12345);
  Text out;
  out.reserve(characters + 16);
  out += U"This is the first sentence of the text. ";
  while (out.size() < characters) {
    const auto kind = static_cast<unsigned>(rng() % 100);
    if (kind < 4) {
      out += brenvik::ToText(static_cast<long long>(rng() % 2000));
    } else {
      const std::size_t length = 1 + rng() % 12;
      for (std::size_t i = 0; i < length; ++i) out += kLetters[rng() % (std::size(kLetters) - 1)];
    }
    if (kind < 8) {
      out += U", ";
    } else if (kind < 14) {
      out += U". ";
    } else if (kind < 15) {
      out += U".\r\n\r\n";
    } else {
      out += U' ';
    }
  }
  out.resize(characters);
  return out;
}

void BM_GenerateTest(benchmark::State& state) {
  const Text source = MakeProse(static_cast<std::size_t>(state.range(0)));
  brenvik::TestWorkspace workspace;
  for (auto _ : state) {
    Text test = brenvik::GenerateTest(source, workspace);
    benchmark::DoNotOptimize(test);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["answers"] = static_cast<double>(workspace.PageAnswers.size());
}
BENCHMARK(BM_GenerateTest)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// Each run into a new workspace: includes allocating every list.
void BM_GenerateTestFreshWorkspace(benchmark::State& state) {
  const Text source = MakeProse(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    brenvik::TestWorkspace workspace;
    Text test = brenvik::GenerateTest(source, workspace);
    benchmark::DoNotOptimize(test);
    benchmark::DoNotOptimize(workspace);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateTestFreshWorkspace)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_SearchAndReplaceLineBreaks(benchmark::State& state) {
  Text source;
  const auto pairs = static_cast<std::size_t>(state.range(0));
  source.reserve(pairs * 2);
  for (std::size_t i = 0; i < pairs; ++i) source += U"\r\n";
  for (auto _ : state) {
    Text result = brenvik::SearchAndReplace(source, U"\r\n", U"<BR>");
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_SearchAndReplaceLineBreaks)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Rescanning case: every replacement forms a new occurrence with the text
// before it.
void BM_SearchAndReplaceCollapse(benchmark::State& state) {
  const Text source(static_cast<std::size_t>(state.range(0)), U'a');
  for (auto _ : state) {
    Text result = brenvik::SearchAndReplace(source, U"aa", U"a");
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SearchAndReplaceCollapse)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

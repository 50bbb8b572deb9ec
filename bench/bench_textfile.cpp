// Throughput of reading and writing text files: decoding UTF-8 or
// Windows-1252 bytes with line-end normalising, and encoding back.

#include <benchmark/benchmark.h>

#include <string>

#include "core/text/CodePage.h"

namespace {

std::string Repeat(const std::string& line, std::size_t bytes) {
  std::string out;
  out.reserve(bytes + line.size());
  while (out.size() < bytes) out += line;
  return out;
}

void BM_DecodeWindows1252(benchmark::State& state) {
  const std::string bytes = Repeat("Voil\xE0 un caf\xE9 tr\xE8s chaud.\r\n", static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    brenvik::Text text = brenvik::DecodeTextFile(bytes);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeWindows1252)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_DecodeUtf8LfLines(benchmark::State& state) {
  const std::string bytes = Repeat("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84.\n",
                                   static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    brenvik::Text text = brenvik::DecodeTextFile(bytes);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeUtf8LfLines)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_EncodeWindows1252(benchmark::State& state) {
  const brenvik::Text text = brenvik::DecodeTextFile(
      Repeat("Voil\xE0 un caf\xE9 tr\xE8s chaud.\r\n", static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    std::string bytes = brenvik::EncodeTextFile(text);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_EncodeWindows1252)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Throughput of reading and writing text files: decoding UTF-8 or
// Windows-1252 bytes with line-end normalising, and encoding back.

#include <benchmark/benchmark.h>

#include <string>

#include "core/text/CodePage.h"
#include "core/text/Unicode.h"

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

// File > Open's whole reading: decoding and NFC. Western text only has its
// characters looked at; the accents of the Vietnamese lines are stored
// apart and get composed.
void BM_ReadTextNfc(benchmark::State& state) {
  const std::string line = state.range(1) == 0
                               ? "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84.\n"
                               : "Vie\xCC\xA3\xCC\x82t Nam, mu\xCC\x80" "a thu ra\xCC\x82\xCC\x81t \xC4\x91" "e\xCC\xA3p.\n";
  const std::string bytes = Repeat(line, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    brenvik::Text text = brenvik::unicode::ToNfc(brenvik::DecodeTextFile(bytes));
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadTextNfc)->ArgNames({"", "decomposed"})->Args({10 << 20, 0})->Args({10 << 20, 1})->Unit(benchmark::kMillisecond);

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

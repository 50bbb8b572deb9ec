// Page export speed: the classic page (BuildTestPage and EncodePage, or
// BuildTestPageBytes) and the responsive page (BuildResponsivePage) over the
// workspace of the same large processed text. Reported as source characters
// per second.
//   build/bin/bench_page --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/ctest/TestGen.h"
#include "core/text/CodePage.h"
#include "core/text/Unicode.h"

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

// Prose in many scripts: passages of Chinese, Japanese, Thai, Hindi, Tamil,
// Bengali, Amharic, Arabic, Korean, Russian, Greek, Vietnamese (with its
// accents stored apart, as a PDF gives them) and French, one after the other
// in a random order, to the wanted number of characters.
Text MixedProse(std::size_t characters) {
  static const char32_t* const kPassages[] = {
      U"我们今天去公园玩。天气很好，阳光明媚，很多人在湖边散步。孩子们在草地上放风筝，老人们在树下下棋。\r\n",
      U"昨日は友達と一緒に京都へ行きました。朝早く新幹線に乗って、九時ごろ京都駅に着きました。\r\n",
      U"ตลาดน้ำดำเนินสะดวกอยู่ไม่ไกลจากกรุงเทพ แม่ค้าพายเรือขายผลไม้ ขนม และก๋วยเตี๋ยว. ",
      U"आज सुबह मौसम बहुत सुहावना था। मैं अपने दोस्तों के साथ पास के पार्क में टहलने गया। ",
      U"சென்னை தமிழ்நாட்டின் தலைநகரம் ஆகும். மெரினா கடற்கரை உலகின் நீளமான கடற்கரைகளில் ஒன்று. ",
      U"আমাদের গ্রামের পাশে একটি ছোট নদী আছে। প্রতিদিন সকালে জেলেরা নৌকা নিয়ে মাছ ধরতে যায়। ",
      U"አዲስ አበባ የኢትዮጵያ ዋና ከተማ ናት። ቡና በኢትዮጵያ ባህል ውስጥ ትልቅ ቦታ አለው። ",
      U"القاهرة هي عاصمة مصر وأكبر مدنها. يزور السياح الأهرامات وأبو الهول كل يوم.\r\n",
      U"서울은 한국의 수도입니다. 주말에는 많은 사람들이 한강에서 자전거를 탑니다. ",
      U"Старый мост ведёт к собору, а на рынке продают мёд и хлеб. ",
      U"Η παλιά πόλη βρίσκεται στην όχθη του ποταμού. ",
      U"Ha\u0300 No\u0323\u0302i la\u0300 thu\u0309 đo\u0302 cu\u0309a Vie\u0323\u0302t Nam. ",
      U"Le marché de Noël s'installe chaque année sur la place\u00a0! ",
  };
  std::mt19937 rng(2024);
  Text text = U"A first sentence stays whole. ";
  text.reserve(characters + 256);
  while (text.size() < characters) text += kPassages[rng() % std::size(kPassages)];
  text.resize(characters);
  return text;
}

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

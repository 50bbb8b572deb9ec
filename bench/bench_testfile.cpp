// A test file of 1,000 texts of about 2 KiB each, two edits per text: read
// (open), written (save, atomic with its fsync), and opened, generated and
// saved as brenvik-cli test FILE --save does; and six of its texts exported
// in every format.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QGuiApplication>
#include <string>
#include <vector>

#include "core/page/PageTest.h"
#include "core/page/ResponsivePage.h"
#include "core/scorm/ScormPackage.h"
#include "core/test/GenerateText.h"
#include "core/test/TestFile.h"
#include "export/ExportFormats.h"

namespace {

brenvik::Test ThousandTexts() {
  const brenvik::Text paragraph =
      U"The harbour wakes long before the town does. At five the first boats slip out past the "
      U"lighthouse, their engines low and steady, while gulls argue over the nets that were left on "
      U"the quay. By seven the fish market is full of voices, and buyers from the hotels walk slowly "
      U"between the crates, pressing a thumb into each silver body to test how fresh it is. Then the "
      U"sun climbs over the hill and the noise moves up into the streets. By noon the harbour is quiet "
      U"again, and only the old men stay on the benches to watch the water. They have seen every kind "
      U"of weather here.\r\n";
  brenvik::Test test;
  test.settings.Title = U"Bench";
  for (int i = 0; i < 1000; ++i) {
    brenvik::TestText text;
    text.title = U"Text " + brenvik::ToText(i + 1);
    while (text.source.size() < 2048) text.source += paragraph;
    text.options = {25, true};
    text.edits = {{U"first", 1, brenvik::GapSwitch::Off, {}},
                  {U"while", 2, brenvik::GapSwitch::Rule, {U"ilst"}}};
    test.texts.push_back(std::move(text));
  }
  return test;
}

std::string Scratch(const char* name) { return "/tmp/" + std::string(name) + std::to_string(::getpid()) + ".ctest"; }

void BM_OpenTestFile(benchmark::State& state) {
  const std::string path = Scratch("bench-open-");
  brenvik::WriteTestFile(path, ThousandTexts());
  for (auto _ : state) {
    brenvik::Test test = brenvik::ReadTestFile(path);
    benchmark::DoNotOptimize(test);
  }
  ::unlink(path.c_str());
}
BENCHMARK(BM_OpenTestFile)->Unit(benchmark::kMillisecond);

void BM_SaveTestFile(benchmark::State& state) {
  const std::string path = Scratch("bench-save-");
  const brenvik::Test test = ThousandTexts();
  for (auto _ : state) brenvik::WriteTestFile(path, test);
  ::unlink(path.c_str());
}
BENCHMARK(BM_SaveTestFile)->Unit(benchmark::kMillisecond);

void BM_OpenGenerateSave(benchmark::State& state) {
  const std::string in = Scratch("bench-in-");
  const std::string out = Scratch("bench-out-");
  brenvik::WriteTestFile(in, ThousandTexts());
  for (auto _ : state) {
    brenvik::Test test = brenvik::ReadTestFile(in);
    const brenvik::GeneratedTest generated = brenvik::GenerateWholeTest(test);
    brenvik::RemoveDroppedEdits(test, generated);
    brenvik::WriteTestFile(out, test);
  }
  ::unlink(in.c_str());
  ::unlink(out.c_str());
}
BENCHMARK(BM_OpenGenerateSave)->Unit(benchmark::kMillisecond);

// A research form: six texts of 25 gaps each, generated from the test and
// exported in one format through the export table, as brenvik-cli export
// TEST.ctest -o FILE does after reading the file (the PDF painted as well).
void BM_ExportSixTexts(benchmark::State& state, const brenvik::ExportFormat* format) {
  brenvik::Test test = ThousandTexts();
  test.texts.resize(6);
  test.matching = brenvik::AnswerMatching::IgnoreCase;
  for (auto _ : state) {
    brenvik::GeneratedTest generated = brenvik::GenerateWholeTest(test);
    std::vector<brenvik::ExportText> texts;
    for (brenvik::GeneratedText& t : generated.texts) texts.push_back({t.title, &t.workspace, &t.accepted});
    const brenvik::ExportContext context{brenvik::ExportCreationTime(), nullptr, generated.matching,
                                         generated.language};
    brenvik::ExportResult result = brenvik::Export(*format, texts, generated.settings, context);
    benchmark::DoNotOptimize(result);
  }
}

// A SCORM package of one text of 25 gaps with a further answer, as
// brenvik-cli export --format scorm12|scorm2004 makes it after reading the
// text: the test generated, the responsive page, the adapter's data, the
// manifest and the zip with the schema files (argument: 12 or 2004).
void BM_ScormPackage25Gaps(benchmark::State& state) {
  brenvik::Test test = ThousandTexts();
  test.texts.resize(1);
  test.language = "en";
  const brenvik::ScormOptions options{
      state.range(0) == 12 ? brenvik::ScormVersion::Scorm12 : brenvik::ScormVersion::Scorm2004, 60};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const brenvik::GeneratedTest generated = brenvik::GenerateWholeTest(test);
    const brenvik::GeneratedText& text = generated.texts.front();
    const brenvik::page::PageTest pages{{{text.title, &text.workspace, &text.accepted}}, generated.matching,
                                        generated.language};
    std::string zip = brenvik::BuildScormPackage(brenvik::BuildResponsiveTestPage(pages, generated.settings), pages,
                                                 generated.settings.Title, options);
    bytes = zip.size();
    benchmark::DoNotOptimize(zip);
  }
  state.counters["zip_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ScormPackage25Gaps)->Arg(12)->Arg(2004)->Unit(benchmark::kMillisecond);

}  // namespace

// The worksheet needs fonts, so the program is a QGuiApplication (on the
// offscreen platform unless QT_QPA_PLATFORM names another), as brenvik-cli
// is for --format pdf.
int main(int argc, char** argv) {
  brenvik::MakeExportsReproducible();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const brenvik::ExportFormat& format : brenvik::ExportFormats()) {
    benchmark::RegisterBenchmark(("BM_ExportSixTexts/" + std::string(format.id)).c_str(), BM_ExportSixTexts,
                                 &format)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// A whole export from the bytes of a UTF-8 file, step by step, as
// brenvik-cli export does it (without the file system): decoding, NFC,
// GenerateTest and the page. Prints the user processor time of each step,
// which varies far less than the clock on a loaded machine, and runs the
// export once per run in one process, so that valgrind's callgrind can
// count the instructions of one export:
//   build/bin/bench_export --text mixed --page classic --runs 4
//   valgrind --tool=callgrind build/bin/bench_export --text mixed --runs 1

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/BenchTexts.h"
#include "core/ctest/TestGen.h"
#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/text/CodePage.h"
#include "core/text/Unicode.h"

namespace {

double UserMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec) * 1e3 + static_cast<double>(usage.ru_utime.tv_usec) / 1e3;
}

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: bench_export [--text western|mixed] [--page classic|responsive] [--runs N] "
               "[--chars N]\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  bool mixed = false;
  bool responsive = false;
  int runs = 3;
  std::size_t chars = 10 << 20;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) Usage();
    const std::string value = argv[++i];
    if (arg == "--text" && (value == "western" || value == "mixed")) {
      mixed = value == "mixed";
    } else if (arg == "--page" && (value == "classic" || value == "responsive")) {
      responsive = value == "responsive";
    } else if (arg == "--runs") {
      runs = std::atoi(value.c_str());
    } else if (arg == "--chars") {
      chars = std::strtoull(value.c_str(), nullptr, 10);
    } else {
      Usage();
    }
  }
  if (runs < 1 || chars == 0) Usage();

  const std::string bytes =
      brenvik::ToUtf8(mixed ? brenvik::bench::MixedProse(chars) : brenvik::bench::Prose(chars));
  const brenvik::ExportSettings settings;
  std::printf("%s text, %zu characters, %zu bytes; %s page; user ms per step\n", mixed ? "mixed" : "Western",
              chars, bytes.size(), responsive ? "responsive" : "classic");
  std::printf("%8s %8s %8s %8s %8s\n", "decode", "nfc", "process", "page", "total");
  for (int run = 0; run < runs; ++run) {
    const double t0 = UserMs();
    brenvik::Text text = brenvik::DecodeTextFile(bytes);
    const double t1 = UserMs();
    text = brenvik::unicode::ToNfc(std::move(text));
    const double t2 = UserMs();
    brenvik::TestWorkspace w;
    brenvik::GenerateTest(text, w);
    const double t3 = UserMs();
    const std::string page = responsive ? brenvik::BuildResponsivePage(w, settings)
                                        : brenvik::BuildTestPageBytes(w, settings);
    const double t4 = UserMs();
    if (page.empty()) return 1;
    std::printf("%8.0f %8.0f %8.0f %8.0f %8.0f\n", t1 - t0, t2 - t1, t3 - t2, t4 - t3, t4 - t0);
  }
  return 0;
}

// The module's entry points: a text in (UTF-8 bytes, as a file holds them),
// the test text or the responsive page out, exactly as brenvik-cli makes
// them from the same text on standard input. The result of the last call is
// kept until the next one; JavaScript reads it with brenvik_result_data and
// brenvik_result_size, or the error with brenvik_result_error.

#include <emscripten.h>

#include <exception>
#include <string>
#include <string_view>

#include "core/page/ExportSettings.h"
#include "core/page/PageTest.h"
#include "core/page/ResponsivePage.h"
#include "core/test/GenerateText.h"
#include "core/test/Test.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "core/text/CodePage.h"
#include "core/text/Unicode.h"

namespace {

std::string g_result;
bool g_failed = false;

// One text as brenvik-cli reads it from standard input.
brenvik::Test OneTextTest(const char* bytes, std::size_t size, const char* language) {
  brenvik::Test test;
  test.texts.push_back({U"Text 1", brenvik::unicode::ToNfc(brenvik::DecodeTextFile(std::string_view(bytes, size))),
                        {}, {}});
  test.language = language;
  return test;
}

template <typename Make>
int Run(Make&& make) {
  try {
    g_result = make();
    g_failed = false;
    return 0;
  } catch (const std::exception& e) {
    g_result = e.what();
    g_failed = true;
    return 1;
  }
}

}  // namespace

extern "C" {

// The test text of the text: 0, or 1 with the error as the result.
EMSCRIPTEN_KEEPALIVE int brenvik_test_text(const char* bytes, std::size_t size, const char* language) {
  return Run([&] {
    const brenvik::GeneratedTest generated = brenvik::GenerateWholeTest(OneTextTest(bytes, size, language));
    return brenvik::ToUtf8(generated.texts.front().testText);
  });
}

// The responsive page of the text with the given title ("" for the usual
// one): 0, or 1 with the error as the result.
EMSCRIPTEN_KEEPALIVE int brenvik_responsive_page(const char* bytes, std::size_t size, const char* title,
                                                 const char* language) {
  return Run([&] {
    brenvik::Test test = OneTextTest(bytes, size, language);
    brenvik::ExportSettings settings;
    if (*title != '\0') settings.Title = brenvik::unicode::ToNfc(brenvik::FromUtf8(title));
    test.texts.front().title = settings.Title;
    const brenvik::GeneratedTest generated = brenvik::GenerateWholeTest(test);
    const brenvik::GeneratedText& text = generated.texts.front();
    brenvik::page::PageTest page{{{text.title, &text.workspace, &text.accepted}}, test.matching, test.language};
    return brenvik::BuildResponsiveTestPage(page, settings);
  });
}

EMSCRIPTEN_KEEPALIVE const char* brenvik_result_data() { return g_result.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t brenvik_result_size() { return g_result.size(); }
EMSCRIPTEN_KEEPALIVE int brenvik_result_error() { return g_failed ? 1 : 0; }

}  // extern "C"

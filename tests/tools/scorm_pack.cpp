// Writes the SCORM package of a one-text test for the browser tests, until
// brenvik-cli exports packages itself:
//   scorm_pack 12|2004 PASS_MARK|none OUT.zip [--practice] [--show-answers]
//              [--timer] [--ignore-case] [--lang TAG] [--accept WORD ANSWER]...
// The text comes on standard input.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/page/ResponsivePage.h"
#include "core/scorm/ScormPackage.h"
#include "core/test/GenerateText.h"

int main(int argc, char** argv) {
  using namespace brenvik;
  if (argc < 4) {
    std::cerr << "usage: scorm_pack 12|2004 PASS_MARK|none OUT.zip [options] < text\n";
    return 2;
  }
  try {
    ScormOptions options;
    options.version = std::string(argv[1]) == "12" ? ScormVersion::Scorm12 : ScormVersion::Scorm2004;
    if (std::string(argv[2]) != "none") options.passMark = ParsePassMark(argv[2]);
    Test test;
    TestText text;
    const std::string source((std::istreambuf_iterator<char>(std::cin)), {});
    text.source = FromUtf8(source);
    for (int i = 4; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "--practice") test.settings.TestMode = PageVariant::Practice;
      else if (arg == "--show-answers") test.settings.ShowAnswersFlag = true;
      else if (arg == "--timer") test.settings.TimerFlag = true;
      else if (arg == "--ignore-case") test.matching = AnswerMatching::IgnoreCase;
      else if (arg == "--lang" && i + 1 < argc) test.language = argv[++i];
      else if (arg == "--accept" && i + 2 < argc) {
        text.edits.push_back({FromUtf8(argv[i + 1]), 1, GapSwitch::Rule, {FromUtf8(argv[i + 2])}});
        i += 2;
      } else {
        std::cerr << "scorm_pack: unknown option " << arg << "\n";
        return 2;
      }
    }
    test.texts.push_back(text);
    const GeneratedTest generated = GenerateWholeTest(test);
    const std::string page = BuildResponsivePage(generated.texts[0].workspace, generated.settings);
    std::ofstream(argv[3], std::ios::binary) << BuildScormPackage(page, generated, options);
  } catch (const std::exception& e) {
    std::cerr << "scorm_pack: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

#pragma once
// What the output box shows of a generated test, and which word a place in
// it is. A test of one text shows its test text alone, as Process always
// has; a test of several shows each text under its title.

#include <QString>
#include <optional>
#include <vector>

#include "core/test/GenerateText.h"
#include "ui/app/TestSession.h"

namespace brenvik {

struct OutputText {
  QString text;  // the box text (LF line ends)
  // Per text, where its test text starts in the box text (UTF-16 units).
  std::vector<qsizetype> starts;
};

OutputText BuildOutputText(const GeneratedTest& test);

// The word of the rest text at a place of the box text (a caret position),
// if the place is in a word: the test text's characters are walked, each
// word's span being its kept part and its gap as the test text writes them.
// Words of the first sentence and separators give nothing.
std::optional<GapWord> WordAtOutputPosition(const TestSession& session, const OutputText& output,
                                            qsizetype position);

}  // namespace brenvik

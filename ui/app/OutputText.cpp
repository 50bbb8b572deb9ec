#include "ui/app/OutputText.h"

#include "ui/platform/QtText.h"

namespace brenvik {

namespace {

// UTF-16 units the box text has for text[i], which ToBoxText writes: a CR
// before LF is dropped, a character beyond the Basic Multilingual Plane
// takes two.
qsizetype BoxUnits(TextView text, std::size_t i) {
  if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') return 0;
  return text[i] > 0xFFFF ? 2 : 1;
}

qsizetype BoxUnits(TextView text) {
  qsizetype units = 0;
  for (std::size_t i = 0; i < text.size(); ++i) units += BoxUnits(text, i);
  return units;
}

}  // namespace

OutputText BuildOutputText(const GeneratedTest& test) {
  OutputText out;
  if (test.texts.size() == 1) {
    out.text = ToBoxText(test.texts.front().testText);
    out.starts.push_back(0);
    return out;
  }
  for (std::size_t t = 0; t < test.texts.size(); ++t) {
    if (t > 0) out.text += QStringLiteral("\n\n");
    out.text += ToBoxText(test.texts[t].title) + QStringLiteral("\n\n");
    out.starts.push_back(out.text.size());
    out.text += ToBoxText(test.texts[t].testText);
  }
  return out;
}

std::optional<GapWord> WordAtOutputPosition(const TestSession& session, const OutputText& output,
                                            qsizetype position) {
  const GeneratedTest& test = session.generated();
  if (!session.generatedMatchesTexts() || output.starts.size() != test.texts.size()) return std::nullopt;
  for (std::size_t t = test.texts.size(); t-- > 0;) {
    if (position < output.starts[t]) continue;
    const TestWorkspace& w = session.workspace(t);
    const Text& shown = test.texts[t].testText;
    qsizetype at = output.starts[t] + BoxUnits(w.FirstSentence);
    std::size_t i = w.FirstSentence.size();  // index in the test text
    for (std::size_t k = 0; k < w.LeftHalves.size(); ++k) {
      const std::size_t wordChars =
          w.LeftHalves[k].size() + (w.RightHalves[k].empty() ? 0 : GapLength(w.RightHalves[k]));
      qsizetype units = 0;
      for (std::size_t j = i; j < i + wordChars && j < shown.size(); ++j) units += BoxUnits(shown, j);
      // A caret just after the word's last letter still names the word.
      if (position >= at && position <= at + units && wordChars > 0) return GapWord{t, k};
      at += units;
      i += wordChars;
      const std::size_t separatorEnd = i + w.Separators[k].size();
      for (; i < separatorEnd && i < shown.size(); ++i) at += BoxUnits(shown, i);
      if (position < at) return std::nullopt;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace brenvik

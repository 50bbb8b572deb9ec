#pragma once
// A test of several texts as the writers of the pages, the quiz and the
// worksheet take it: per text its title, its workspace and per gap its
// further accepted answers; for the test how answers are matched and the
// texts' language.

#include <string_view>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/test/Test.h"
#include "core/text/Text.h"

namespace brenvik::page {

struct PageText {
  TextView Title;
  const TestWorkspace* Workspace = nullptr;
  // Per gap in text order the further right answers; nullptr for none.
  const std::vector<std::vector<Text>>* Accepted = nullptr;

  // The further answers of the text's gap k (counted from 0); none when the
  // text has none.
  const std::vector<Text>& acceptedOf(std::size_t k) const {
    static const std::vector<Text> kNone;
    return Accepted != nullptr && k < Accepted->size() ? (*Accepted)[k] : kNone;
  }
  bool hasAccepted() const {
    if (Accepted == nullptr) return false;
    for (const std::vector<Text>& more : *Accepted) {
      if (!more.empty()) return true;
    }
    return false;
  }
};

struct PageTest {
  std::vector<PageText> Texts;
  AnswerMatching Matching = AnswerMatching::Exact;
  std::string_view Language;  // a BCP 47 tag, empty for none

  // A test that any writer writes exactly as it writes the one text of
  // Process: one text, no further answer, exact matching, no language.
  bool isPlain() const {
    return Texts.size() == 1 && !Texts.front().hasAccepted() && Matching == AnswerMatching::Exact &&
           Language.empty();
  }
};

}  // namespace brenvik::page

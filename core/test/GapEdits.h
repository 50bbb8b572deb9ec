#pragma once
// The teacher's edits of one word of a generated text: switching its gap on
// or off and giving its gap further right answers. The desktop's gap editor
// and the browser edition both change a test through these, so a word is
// named, switched and kept the same way in both.
//
// A word is given by its index in the text's word list (a pair of the
// workspace that GenerateText made from the text), below the number of its
// halves (RightHalves.size(): the word list may end in an empty word that
// has none). An edit names its word
// by the word and which of the equal words it is, so that it finds the word
// again when the text changes elsewhere.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/test/Test.h"

namespace brenvik {

// Makes the text again from its edits (GenerateText) and gives its new
// workspace; the caller keeps the generated text where it belongs.
using RemakeText = std::function<const TestWorkspace&()>;

// Whether the word has a gap in the workspace.
bool WordHasGap(const TestWorkspace& workspace, std::size_t word);
// Whether the word can be given a gap at all (not one letter, no digit).
bool WordCanHaveGap(const TestWorkspace& workspace, std::size_t word);
// Which of the equal words of the text it is: 1 for the first.
std::uint32_t WordOccurrence(const TestWorkspace& workspace, std::size_t word);
// The further right answers the text's edits give the word's gap.
std::vector<Text> AcceptedAnswersOf(const TestText& text, const TestWorkspace& workspace, std::size_t word);

// Switches the word's gap on or off through the text's edits and makes the
// text again (remake). An edit that says nothing is removed, so a word
// switched off and on again leaves no trace. False when the word already
// was so. A word that the text's options keep whole (gap limit, whole last
// sentence) stays so: BrenvikError naming why; an EditError of the
// generation comes through as it is. On an error the edits and the text
// are as they were.
bool SetWordGap(TestText& text, const TestWorkspace& workspace, std::size_t word, bool on,
                const RemakeText& remake);

// Sets the further right answers of the word's gap (empty ones dropped) and
// makes the text again. False when they already were these.
bool SetAcceptedAnswers(TestText& text, const TestWorkspace& workspace, std::size_t word,
                        const std::vector<Text>& answers, const RemakeText& remake);

}  // namespace brenvik

#pragma once
// A general text replacement with rescanning, used by the page writer.

#include "core/text/Text.h"

namespace brenvik {

// Replaces every occurrence of pattern, searching again from the start after
// each replacement (so "aabb" with "ab" -> "" gives ""), in linear time.
// Finishes for every input: a replacement that contains the pattern, or one
// that keeps forming new occurrences beyond a budget proportional to the
// input, is applied in a single left-to-right pass instead.
Text SearchAndReplace(TextView s, TextView pattern, TextView replacement);

}  // namespace brenvik

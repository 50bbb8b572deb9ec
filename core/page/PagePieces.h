#pragma once
// The pieces every page, quiz and sheet shares: the wording the pupil reads,
// the time a timed test gives, the default title, trimming, colour values
// and CSS escapes. Each writer puts its own markup and punctuation round
// them, so the wording is written once and reads the same everywhere.

#include <optional>

#include "core/text/Text.h"

namespace brenvik::page {

// The title of a page, question or sheet whose own title is blank.
inline constexpr TextView kDefaultTitle = U"C-Test";

// What the pupil is asked to do, without punctuation: the classic page adds
// " : ", the responsive page ":", the worksheet nothing.
inline constexpr TextView kInstruction = U"Complete the gaps in the following text";

// The line at the foot of both pages.
inline constexpr TextView kCreditLine = U"Made with Brenvik by Halvorsk, 2026";

// A timed page submits itself after this many seconds per gap.
inline constexpr long long kSecondsPerGap = 12;

// The C0 controls and the space: what the worksheet and a Moodle question's
// name trim from a title.
inline bool IsSpaceOrControl(char32_t c) { return c <= U' '; }

// Space, tab, CR and LF: what HTML takes as white space at a value's ends.
inline bool IsHtmlBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; }

// s without the characters at either end for which trimmed(c) holds.
template <class Predicate>
TextView Trimmed(TextView s, Predicate&& trimmed) {
  while (!s.empty() && trimmed(s.front())) s.remove_prefix(1);
  while (!s.empty() && trimmed(s.back())) s.remove_suffix(1);
  return s;
}

// A trimmed title, or kDefaultTitle when nothing is left of it.
inline TextView TitleOrDefault(TextView trimmedTitle) {
  return trimmedTitle.empty() ? kDefaultTitle : trimmedTitle;
}

// The value of a hexadecimal digit of either case; -1 for any other character.
int HexDigitValue(char32_t c);

// "#RRGGBB" with hexadecimal digits of either case, as "#RRGGBB" in upper
// case: the form the colour chooser gives and the command line takes.
std::optional<Text> ParseWebColour(TextView value);

// "#RGB" or "#RRGGBB" in either case, as "#RRGGBB" in upper case: the
// colours a style sheet takes in that form.
std::optional<Text> ParseHexColour(TextView value);

// A colour as the classic page writes it into attributes, the style sheet
// and the script: only "#" and ASCII letters and digits are kept. A web hex
// string is unchanged.
Text ColourValue(TextView value);

// Appends a CSS escape of c: a backslash, the code point in upper-case
// hexadecimal with at least minDigits digits, and the blank that ends the
// escape. NUL and values that are not scalar values are written as U+FFFD.
void AppendCssEscape(Text& out, char32_t c, int minDigits);

}  // namespace brenvik::page

#pragma once
// The responsive page: the same test, variants, settings and scoring as the
// classic page, as one UTF-8 HTML5 file made for phones, tablets, screen
// readers and printing. The classic page stays what Export to web writes.

#include <string>

#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/page/PageTest.h"
#include "core/text/Text.h"

namespace brenvik {

// Returns the page as UTF-8 bytes, ready to save. The workspace is only read,
// through TestWords (LeftHalves, RightHalves, Separators), which a classic
// export leaves as they were, so the page is the same whether or not the
// workspace was exported the classic way before. A blank title gives
// "C-Test". Throws ListIndexError(-1) when no word lost a part (no answer),
// as the classic writer does; ListIndexError(i) when the lists are not
// aligned.
std::string BuildResponsivePage(const TestWorkspace& workspace, const ExportSettings& settings);

// The page of a test: a plain test exactly as above. Otherwise the texts in
// order, each under its title as a heading when there are several, in a
// container that carries the test's language as lang (the page's own words
// stay lang="en"); the gap numbers run on from text to text; a box is right
// with its deleted part or any further accepted answer, compared after the
// typed answer is put in Normalization Form C and trimmed, both sides in
// lower case (toLowerCase) when the test ignores letter case; the score is
// given in total and per text ("Text 2: 18 of 25", the text's title).
// ListIndexError(-1) when a text has no gap.
std::string BuildResponsiveTestPage(const page::PageTest& test, const ExportSettings& settings);

namespace page {

// How the settings reach the responsive page. Each is safe in the place it
// is written to, whatever the teacher typed.

// "#RRGGBB" or "#RGB" in either case, as "#RRGGBB" in upper case; anything
// else gives fallback.
Text ResponsiveColour(TextView value, TextView fallback);

// The text size in pixels: a number, optionally followed by "px", kept
// between 8 and 96; anything else gives 14.
Text ResponsiveTextSize(TextView value);

// The font name as a quoted CSS string followed by the generic sans-serif
// family, or sans-serif alone for a blank name. Inside the quotes every
// character but ASCII letters and digits, blank, "-", "_", "," and "." and
// characters from U+00A0 up is a CSS escape ("\22 "), so no quote,
// backslash, brace, angle bracket or line break reaches the style sheet.
Text ResponsiveFontFamily(TextView fontName);

// The width of a text in character cells, for the size of a box and for
// telling whether a kept part and its box fit on a phone's line: the sum of
// unicode::DisplayWidth (wide characters and emoji two, combining marks,
// joiners and variation selectors none); at least one.
std::size_t DisplayCells(TextView text);

// Whether a kept part and its box are kept on one line: when, at this text
// size, they fit the narrowest line (a 360 px screen) with room to spare.
// A longer pair may break between the two, so that it never runs off the
// screen.
bool KeepGapTogether(TextView keptPart, TextView answer, TextView textSize);

// Which way a character pulls the direction of a line that starts with it:
// Ltr for Bidi_Class L, Rtl for R and AL, None for digits, blanks,
// punctuation, symbols, emoji and combining marks, which leave the choice to
// the next letter (unicode::StrongDirection). A page cut into parts uses it
// to give each part its line's direction.
enum class Strong { None, Ltr, Rtl };
Strong StrongDirection(char32_t c);

}  // namespace page

}  // namespace brenvik

#pragma once
// How values reach the exported page without breaking it. The page is markup,
// a style sheet and a script in one file; each value is made safe for the
// place it is written to. Shared by the page writer and the answer script.

#include "platform/Text.h"

namespace brenvik::page {

// Text of the test and the title: "<", ">" and "&" become "&lt;", "&gt;" and
// "&amp;", so the teacher's text shows as written instead of acting as markup.
void AppendMarkupText(Text& page, TextView text);

// FontName and TextSize as written into the script's double-quoted string:
// only letters, digits, characters from U+00A0 up (bar the two line and
// paragraph separators), blank and "-_,.%+#" are kept. Ordinary font names
// and sizes come through unchanged; quotes, backslashes, angle brackets,
// braces, brackets, semicolons, comment marks and control characters, any
// of which could end the string, the declaration or the script, are left out.
Text SettingValue(TextView value);

// SettingValue for the style sheet: besides, a character without a
// Windows-1252 byte is written as a CSS escape ("\142 "), since numeric
// character references mean nothing inside <STYLE>.
Text StyleValue(TextView value);

// A colour as written into attributes, the style sheet and the script: only
// "#" and ASCII letters and digits are kept. A web hex string is unchanged.
Text ColourValue(TextView value);

// Step 2 of the answer preparation: every lower-case letter a-z becomes "%"
// and its code in upper-case hexadecimal ("%61" to "%7A"), one letter after
// the other with SearchAndReplace. An escaped answer holds no lower-case
// letter, so a second call changes nothing.
Text EscapeAnswerLetters(TextView answer);

// Writes one prepared answer as the body of a single-quoted script string
// that the browser's unescape turns back into the answer. On top of the
// letter escapes already in the entry:
//   - "%" followed by an ASCII digit starts a letter escape and is kept; any
//     other "%" is the answer's own and is written "%25". An answer never
//     holds an ASCII digit (a word with a digit is never halved), so the two
//     cannot be confused, and an entry prepared by an earlier export gives
//     the same string again;
//   - "\" is written "%5C"; control characters, DEL, "'" and "/" as "%XX";
//   - a character without a Windows-1252 byte as "%uXXXX" per UTF-16 unit
//     (two for a character beyond U+FFFF), so the script holds only
//     Windows-1252 characters and the string can never end early.
void AppendAnswerLiteral(Text& page, TextView preparedAnswer);

// Appends "%" and the two upper-case hexadecimal digits of a byte value.
void AppendPercentByte(Text& out, unsigned value);

}  // namespace brenvik::page

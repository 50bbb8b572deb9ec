#pragma once
// Properties checked on arbitrary input by the fuzz targets in this folder and
// replayed over the stored corpus and regression inputs by the unit test
// unit_fuzz_replay. Each check throws CheckFailure when a property does not
// hold; under libFuzzer the uncaught exception ends the run as a crash and
// the input is kept.
//
// The inputs are raw bytes; each check derives its text (and settings) from
// them with a small reader, so any byte string is a valid input.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/page/ExportSettings.h"
#include "core/page/ClassicPage.h"
#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/text/SearchAndReplace.h"
#include "core/text/Text.h"
#include "core/text/Unicode.h"
#include "core/ctest/TestGen.h"
#include "core/test/GenerateText.h"
#include "core/test/TestFile.h"

namespace brenvik::fuzz {

class CheckFailure : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

inline void Require(bool ok, const char* what) {
  if (!ok) throw CheckFailure(what);
}
inline void Require(bool ok, const std::string& what) {
  if (!ok) throw CheckFailure(what);
}

// Reads small values and texts from the front of the input; past the end it
// gives zeros and empty texts.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool empty() const { return pos_ >= bytes_.size(); }
  unsigned Byte() { return empty() ? 0u : static_cast<unsigned char>(bytes_[pos_++]); }
  std::string_view Rest() {
    const std::string_view rest = empty() ? std::string_view() : bytes_.substr(pos_);
    pos_ = bytes_.size();
    return rest;
  }

  // One character for one byte: ASCII as it is (control characters
  // included); the upper half from a table that favours letters, blanks and
  // separators and holds the characters that are hard for the program:
  // markup, style and script delimiters, a combining accent, right-to-left
  // letters, a character beyond the basic plane, a byte-order mark, the line
  // separator, and characters that Windows-1252 has or lacks.
  // 0xFF stands for a run of 1000 letters while allowLong, so that a few
  // input bytes make a text longer than 5000 characters.
  static void AppendMapped(Text& out, unsigned byte, bool allowLong = false) {
    static constexpr char32_t kUpper[] =
        U"eeaaiioonnsstrrlhdcumwyfgpbvk   ..,,''--\r\n\r\n\"?!;:/"
        U"\u00e9\u00df\u0142\u20ac\u0301\u05d0\u05e9\u0627\u0644\U0001F600\U0001D11E\ufeff\u2028\u00a0\u0000"
        U"<>&%\\{}#()[]*@=+_~`|^$XYZ\t\u007f\u0080\u009d\u00ff\u0152\u017e\u4e2d\u6587\u0431\u044f\u03b1\u03c9";
    constexpr std::size_t kUpperSize = sizeof kUpper / sizeof kUpper[0] - 1;
    if (byte < 0x80) {
      out.push_back(static_cast<char32_t>(byte));
    } else if (byte == 0xFF && allowLong) {
      out.append(1000, U'w');
    } else {
      out.push_back(kUpper[(byte - 0x80) % kUpperSize]);
    }
  }

  // A text of at most maxLength input bytes, mapped by AppendMapped.
  Text MappedText(std::size_t maxLength) {
    const std::size_t length = Byte() % (maxLength + 1);
    Text out;
    for (std::size_t i = 0; i < length && !empty(); ++i) {
      AppendMapped(out, Byte());
    }
    return out;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

inline std::size_t Count(TextView haystack, TextView needle) {
  std::size_t n = 0;
  for (std::size_t at = haystack.find(needle); at != TextView::npos; at = haystack.find(needle, at + needle.size())) {
    ++n;
  }
  return n;
}

inline std::size_t Count(TextView haystack, char32_t c) {
  return static_cast<std::size_t>(std::count(haystack.begin(), haystack.end(), c));
}

// ---------------------------------------------------------------------------
// Code page: any bytes decode; encoding the text and decoding it again gives
// the same text; every line end is CR LF.

inline bool LineEndsAreCrLf(TextView t) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == U'\r' && (i + 1 >= t.size() || t[i + 1] != U'\n')) return false;
    if (t[i] == U'\n' && (i == 0 || t[i - 1] != U'\r')) return false;
  }
  return true;
}

inline void CheckCodePage(std::string_view bytes) {
  const Text text = DecodeTextFile(bytes);
  Require(LineEndsAreCrLf(text), "decoded text has a line end other than CR LF");
  for (char32_t c : text) {
    Require(IsScalarValue(c), "decoded text holds a value that is not a character");
  }
  Require(text == NormaliseLineEnds(DecodeBytes(bytes)), "DecodeTextFile differs from DecodeBytes + NormaliseLineEnds");

  // Valid UTF-8 (after an optional mark) decodes to the same characters that
  // encode back to it.
  std::string_view body = bytes;
  const bool bom = body.substr(0, 3) == "\xEF\xBB\xBF";
  if (bom) body.remove_prefix(3);
  const bool utf8 = IsValidUtf8(body);
  if (utf8) Require(ToUtf8(DecodeBytes(bytes)) == body, "UTF-8 decoding is not the inverse of UTF-8 encoding");

  // Saving the text and opening the file again gives the same text; a text
  // that starts with U+FEFF loses it, since a file cannot tell it from a mark.
  const std::string saved = EncodeTextFile(text);
  const Text reopened = DecodeTextFile(saved);
  const Text expected = !text.empty() && text[0] == 0xFEFF ? text.substr(1) : text;
  Require(reopened == expected, "saving and reopening changes the text");

  // A file that is not UTF-8 and has CR LF line ends comes back byte for byte.
  if (!utf8 && DecodeBytes(bytes) == text) {
    Require(saved == bytes, "a Windows-1252 file with CR LF line ends does not round-trip byte for byte");
  }
}

// ---------------------------------------------------------------------------
// Test generation, against a plain transcription of the documented rules.

namespace ref {

// Windows-1252 keeps its classes (the thirteen separators, and the no-break
// space as a fourteenth); beyond it Unicode spaces and punctuation separate.
inline bool InWindows1252(char32_t c) { return CharToWindows1252(c).has_value(); }
inline bool IsSeparator(char32_t c) {
  if (c == 0) return false;
  if (SeparatorChars.find(c) != TextView::npos || c == 0xA0) return true;
  return !InWindows1252(c) && (unicode::CharFlags(c) & (unicode::kSpace | unicode::kPunctuation)) != 0;
}
inline bool IsTrail(char32_t c) {
  return c == U' ' || c == U'\r' || c == U'\n' ||
         (!InWindows1252(c) && (unicode::CharFlags(c) & unicode::kSpace) != 0);
}

// 1-based positions as documented: a missing mark counts as 5000; the first
// Sentence_Terminal beyond Windows-1252 ends the sentence when it comes
// earlier.
inline std::size_t FirstSentenceLength(TextView s) {
  std::size_t end = SIZE_MAX;
  for (char32_t mark : {U'.', U'!', U'?'}) {
    const std::size_t at = s.find(mark);
    end = std::min(end, at == TextView::npos ? std::size_t{5000} : at + 1);
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!InWindows1252(s[i]) && (unicode::CharFlags(s[i]) & unicode::kSentenceTerminal) != 0) {
      end = std::min(end, i + 1);
      break;
    }
  }
  std::size_t j = end + 1;
  while (j <= s.size() && IsTrail(s[j - 1])) ++j;
  return std::min(j - 1, s.size());
}

inline Text Trim(const Text& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return s.substr(b, e - b);
}

// The two-buffer scan, position by position.
inline void Segment(TextView rest, std::vector<Text>& words, std::vector<Text>& seps) {
  Text word;
  Text sep;
  for (std::size_t i = 1; i <= rest.size(); ++i) {
    const char32_t c = rest[i - 1];
    const bool previousIsSeparator = i >= 2 && IsSeparator(rest[i - 2]);
    if (IsSeparator(c)) {
      sep.push_back(c);
      if (!previousIsSeparator) words.push_back(Trim(word));
      word.clear();
    } else {
      word.push_back(c);
      if (previousIsSeparator) seps.push_back(sep);
      sep.clear();
    }
  }
  words.push_back(Trim(word));
  seps.push_back(sep);
}

inline unicode::TextSegmenter& Segmenter() {
  thread_local unicode::TextSegmenter segmenter;
  return segmenter;
}

// Letters are grapheme clusters; any decimal digit keeps the word whole.
inline std::size_t Kept(const Text& w, std::size_t k) {
  std::vector<std::size_t> bounds;
  Segmenter().graphemeBoundaries(w, bounds);
  const std::size_t letters = bounds.size() - 1;
  if (letters == 1) return w.size();
  for (char32_t c : w) {
    if ((unicode::CharFlags(c) & unicode::kDecimalDigit) != 0) return w.size();
  }
  return k % 2 == 1 ? bounds[letters / 2] : w.size();
}

inline std::size_t Letters(const Text& s) { return Segmenter().countGraphemes(s); }

}  // namespace ref

inline Text SourceFromInput(std::string_view bytes) {
  Reader r(bytes);
  const unsigned mode = r.Byte();
  if (mode % 2 == 0) return DecodeTextFile(r.Rest());  // as File > Open makes it
  Text source;
  int longRuns = 0;
  for (char c : r.Rest()) {
    const unsigned b = static_cast<unsigned char>(c);
    Reader::AppendMapped(source, b, b == 0xFF && ++longRuns <= 6);
  }
  return source;
}

inline void CheckGenerateFor(TextView source) {
  TestWorkspace w;
  const Text test = GenerateTest(source, w);

  Require(w.FirstSentence + w.RestText == source, "first sentence + rest is not the source");
  Require(w.FirstSentence.size() == ref::FirstSentenceLength(source), "first sentence ends in the wrong place");

  std::vector<Text> words;
  std::vector<Text> seps;
  ref::Segment(w.RestText, words, seps);
  // A word run of a script written without spaces is cut into dictionary
  // words joined by empty separators: joined again, the pairs are the runs.
  const std::size_t n = w.Separators.size();
  std::vector<Text> joinedWords;
  std::vector<Text> joinedSeps;
  Text run;
  for (std::size_t k = 0; k < n; ++k) {
    run += w.WordList[k];
    if (w.Separators[k].empty() && k + 1 < n) {
      Require(!w.WordList[k].empty() && !w.WordList[k + 1].empty(), "an empty word beside a dictionary cut");
      continue;
    }
    joinedWords.push_back(run);
    joinedSeps.emplace_back(w.Separators[k]);
    run.clear();
  }
  if (w.WordList.size() > n) joinedWords.emplace_back(w.WordList.back());
  Require(joinedWords == words, "WordList differs from the two-buffer scan");
  Require(joinedSeps == seps, "Separators differ from the two-buffer scan");

  Require(n >= 1, "no pair");
  Require(w.WordList.size() == n || (w.WordList.size() == n + 1 && w.WordList.back().empty()),
          "WordList has the wrong length");
  for (const TextList* list : {&w.LeftHalves, &w.RightHalves, &w.PageLeftHalves, &w.PageSeparators,
                               &w.PageRightHalves}) {
    Require(list->size() == n, "a pair list has the wrong length");
  }
  Require(w.PageLeftHalves == w.LeftHalves && w.PageRightHalves == w.RightHalves && w.PageSeparators == w.Separators,
          "a page list is not a copy of its list");

  Text expectedTest = w.FirstSentence;
  std::vector<Text> answers;
  std::size_t wordChars = 0;
  std::size_t combined = 0;  // deleted characters beyond the first of their letter
  for (std::size_t k = 0; k < n; ++k) {
    const Text word(w.WordList[k]);
    Require(Text(w.LeftHalves[k]) + Text(w.RightHalves[k]) == word, "kept + deleted is not the word");
    Require(w.LeftHalves[k].size() == ref::Kept(word, k), "word halved in the wrong place");
    if (!w.RightHalves[k].empty()) answers.emplace_back(w.RightHalves[k]);
    expectedTest += Text(w.LeftHalves[k]) + Text(ref::Letters(Text(w.RightHalves[k])), U'_') +
                    Text(w.Separators[k]);
    wordChars += word.size();
    combined += w.RightHalves[k].size() - ref::Letters(Text(w.RightHalves[k]));
  }
  Require(w.PageAnswers.toVector() == answers, "PageAnswers is not the non-empty deleted parts");
  Require(test == expectedTest, "test text is not sentence + kept + gaps + separators");

  // Length rule: only characters trimmed off words are missing, and a
  // deleted letter of several characters shows as one "_".
  std::size_t restWordChars = 0;
  for (char32_t c : w.RestText) restWordChars += ref::IsSeparator(c) ? 0 : 1;
  Require(test.size() == source.size() - (restWordChars - wordChars) - combined,
          "test text has the wrong length");

  // A second run on a used workspace, and a run whose source is a view into
  // the workspace it replaces, give the same result as a fresh run.
  TestWorkspace again = w;
  Require(GenerateTest(source, again) == test && again == w, "a second run differs");
  TestWorkspace fresh;
  const Text restCopy(w.RestText);
  const Text restTest = GenerateTest(restCopy, fresh);
  TestWorkspace self = w;
  Require(GenerateTest(TextView(self.RestText), self) == restTest && self == fresh,
          "a source inside the workspace gives another result");
}

inline void CheckGenerate(std::string_view bytes) { CheckGenerateFor(SourceFromInput(bytes)); }

// ---------------------------------------------------------------------------
// The exported page.

// The browser's unescape: "%XX" and "%uXXXX" become UTF-16 code units, every
// other character stands for itself.
inline std::u16string JsUnescape(TextView s) {
  auto hex = [](char32_t c) -> int {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
    return -1;
  };
  std::u16string out;
  for (std::size_t k = 0; k < s.size(); ++k) {
    const char32_t c = s[k];
    if (c == U'%') {
      if (k + 5 < s.size() && s[k + 1] == U'u' && hex(s[k + 2]) >= 0 && hex(s[k + 3]) >= 0 && hex(s[k + 4]) >= 0 &&
          hex(s[k + 5]) >= 0) {
        out.push_back(static_cast<char16_t>(hex(s[k + 2]) << 12 | hex(s[k + 3]) << 8 | hex(s[k + 4]) << 4 |
                                            hex(s[k + 5])));
        k += 5;
        continue;
      }
      if (k + 2 < s.size() && hex(s[k + 1]) >= 0 && hex(s[k + 2]) >= 0) {
        out.push_back(static_cast<char16_t>(hex(s[k + 1]) << 4 | hex(s[k + 2])));
        k += 2;
        continue;
      }
    }
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

inline std::u16string ToUtf16(TextView s) {
  std::u16string out;
  for (char32_t c : s) {
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

// The text between the first `from` and the next `to`, or nothing.
inline TextView Between(TextView page, TextView from, TextView to) {
  const std::size_t start = page.find(from);
  if (start == TextView::npos) return {};
  const std::size_t begin = start + from.size();
  const std::size_t end = page.find(to, begin);
  if (end == TextView::npos) return {};
  return page.substr(begin, end - begin);
}

struct PageParts {
  Text markup;  // the page without the script and the style sheet
  Text script;
  Text style;
};

inline PageParts SplitPage(TextView page) {
  constexpr TextView kScriptOpen = U"<SCRIPT language=JavaScript> \r\n";
  constexpr TextView kStyleOpen = U"<STYLE type=text/css>";
  PageParts parts;
  const std::size_t s0 = page.find(kScriptOpen);
  const std::size_t s1 = page.find(U"</SCRIPT>", s0);
  const std::size_t t0 = page.find(kStyleOpen, s1);
  const std::size_t t1 = page.find(U"</STYLE>", t0);
  Require(s0 != TextView::npos && s1 != TextView::npos && t0 != TextView::npos && t1 != TextView::npos,
          "page lacks its script or style sheet");
  parts.script = page.substr(s0 + kScriptOpen.size(), s1 - s0 - kScriptOpen.size());
  parts.style = page.substr(t0 + kStyleOpen.size(), t1 - t0 - kStyleOpen.size());
  parts.markup = Text(page.substr(0, s0 + kScriptOpen.size())) +
                 Text(page.substr(s1, t0 + kStyleOpen.size() - s1)) + Text(page.substr(t1));
  return parts;
}

// The page of a one-answer text with plain settings of the same variant: it
// has the fixed template's delimiters and nothing else.
inline const PageParts& ReferenceParts(const ExportSettings& settings) {
  static std::map<int, PageParts> cache;
  const int key = static_cast<int>(settings.TestMode) * 4 + settings.ShowAnswersFlag * 2 + settings.TimerFlag;
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  ExportSettings plain;
  plain.TestMode = settings.TestMode;
  plain.ShowAnswersFlag = settings.ShowAnswersFlag;
  plain.TimerFlag = settings.TimerFlag;
  plain.Title = U"T";
  plain.FontName = U"F";
  plain.TextSize = U"1";
  plain.PageBackground = plain.PageTextColour = plain.AnswerBoxColour = plain.AnswerTextColour = U"#000000";
  TestWorkspace w;
  GenerateTest(U"A b. cat dog.", w);
  Require(w.PageAnswers.size() == 1, "the one-word reference page has one answer");
  return cache.emplace(key, SplitPage(BuildTestPage(w, plain))).first->second;
}

inline bool IsUpperHex(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'F'); }

inline void CheckPageFor(TextView source, const ExportSettings& settings) {
  TestWorkspace w;
  GenerateTest(source, w);
  const std::vector<Text> answers = w.PageAnswers.toVector();
  std::size_t lineBreaks = 0;
  for (TextView s : w.Separators) lineBreaks += Count(s, U"\r\n");
  TestWorkspace copy = w;

  if (answers.empty()) {
    bool refused = false;
    try {
      BuildTestPage(w, settings);
    } catch (const ListIndexError& e) {
      refused = e.index() == -1;
    }
    Require(refused, "a text without answers is not refused with the list error (-1)");
    return;
  }

  const Text page = BuildTestPage(w, settings);
  const std::string bytes = BuildTestPageBytes(copy, settings);
  Require(bytes == EncodePage(page), "page bytes differ from the encoded page");
  Require(w == copy, "the two builds prepare the lists differently");
  Require(BuildTestPage(w, settings) == page, "a second export gives another page");
  Require(page.rfind(U"<!DOCTYPE HTML PUBLIC", 0) == 0 && page.size() >= 7 &&
              page.substr(page.size() - 7) == U"</HTML>",
          "page does not start and end as a page");

  const std::size_t n = answers.size();
  const PageParts parts = SplitPage(page);
  const PageParts& ref = ReferenceParts(settings);

  // Markup: every "<" and ">" is one of the template's, a <BR> mark or a gap
  // box; every "&" starts one of the three entities.
  for (char32_t c : {U'<', U'>'}) {
    Require(Count(parts.markup, c) == Count(ref.markup, c) - 1 + n + lineBreaks,
            "a character of the text or settings became markup");
  }
  for (std::size_t at = parts.markup.find(U'&'); at != Text::npos; at = parts.markup.find(U'&', at + 1)) {
    const TextView after = TextView(parts.markup).substr(at);
    Require(after.rfind(U"&lt;", 0) == 0 || after.rfind(U"&gt;", 0) == 0 || after.rfind(U"&amp;", 0) == 0,
            "a bare & in the markup");
  }
  // Gap boxes numbered 0, 1, 2, ... in order, one per answer.
  constexpr TextView kBox = U"<INPUT class=boxes size=5 name=";
  std::size_t box = 0;
  for (std::size_t at = page.find(kBox); at != Text::npos; at = page.find(kBox, at + 1), ++box) {
    const Text number = ToText(static_cast<long long>(box)) + U">";
    Require(TextView(page).substr(at + kBox.size(), number.size()) == number, "gap boxes out of order");
  }
  Require(box == n, "not one gap box per answer");
  // The heading shows the title.
  Text heading(Between(page, U"<H2 align=center>", U"</H2>"));
  for (auto [entity, c] : {std::pair<TextView, TextView>{U"&lt;", U"<"}, {U"&gt;", U">"}, {U"&amp;", U"&"}}) {
    heading = SearchAndReplace(heading, entity, c);
  }
  Require(heading == settings.Title, "the heading is not the title");

  // Style sheet: the template's delimiters only; a CSS escape is "\" and six
  // upper-case hexadecimal digits and a blank.
  for (char32_t c : TextView(U"{};:<>\"'()\r\n/*@!")) {
    if (Count(parts.style, c) != Count(ref.style, c)) {
      Require(false, "a setting changed the style sheet's structure at " + ToUtf8(Text(1, c)) + ": " +
                         ToUtf8(parts.style));
    }
  }
  for (std::size_t at = parts.style.find(U'\\'); at != Text::npos; at = parts.style.find(U'\\', at + 1)) {
    Require(at + 7 < parts.style.size() && std::all_of(parts.style.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                                                       parts.style.begin() + static_cast<std::ptrdiff_t>(at) + 7,
                                                       IsUpperHex) &&
                parts.style[at + 7] == U' ',
            "a malformed CSS escape");
  }

  // Script: outside the answer list, the template's delimiters only.
  auto withoutList = [](const Text& script) {
    const std::size_t begin = script.find(U"var Words = [");
    const std::size_t end = script.find(U"]\r\n", begin);
    Require(begin != Text::npos && end != Text::npos, "script lacks its answer list");
    return script.substr(0, begin) + script.substr(end);
  };
  const Text script = withoutList(parts.script);
  const Text refScript = withoutList(ref.script);
  for (char32_t c : TextView(U"<>\"'\\;{}[]()/\r\n=")) {
    if (Count(script, c) != Count(refScript, c)) {
      Require(false, "a value changed the script's structure at " + ToUtf8(Text(1, c)) + ": " + ToUtf8(script));
    }
  }
  Require(Count(script, U"</") == Count(refScript, U"</"), "a value put </ into the script");

  // The answer list decodes back to the answers.
  TextView list = Between(parts.script, U"var Words = [", U"]\r\n");
  for (std::size_t k = 0; k < n; ++k) {
    constexpr TextView kOpen = U"unescape('";
    constexpr TextView kClose = U"'), ";
    Require(list.rfind(kOpen, 0) == 0, "answer list entry does not start with unescape('");
    list.remove_prefix(kOpen.size());
    const std::size_t end = list.find(kClose);
    Require(end != TextView::npos, "answer list entry does not end");
    const TextView literal = list.substr(0, end);
    for (char32_t c : literal) {
      Require(c >= 0x20 && c != 0x7F && c != U'\\' && c != U'\'' && CharToWindows1252(c).has_value(),
              "answer literal holds a character the script cannot carry");
    }
    // Inside a script element "</" may end it and "<!--" changes how the
    // browser looks for its end.
    Require(literal.find(U"</") == TextView::npos && literal.find(U"<!") == TextView::npos,
            "answer literal can end the script element");
    Require(JsUnescape(literal) == ToUtf16(answers[k]), "answer literal does not decode to the answer");
    list.remove_prefix(end + kClose.size());
  }
  Require(list.empty(), "answer list has more entries than answers");

  if (settings.TimerFlag) {
    const Text timer = U"setTimeout('CheckAnswer()'," + ToText(12000LL * static_cast<long long>(n)) + U")\">";
    Require(page.find(timer) != Text::npos, "timer is not 12 seconds per gap");
  }
}

inline void CheckPage(std::string_view bytes) {
  Reader r(bytes);
  const unsigned flags = r.Byte();
  ExportSettings settings;
  settings.TestMode = (flags & 1) ? PageVariant::Practice : PageVariant::Test;
  settings.ShowAnswersFlag = ((flags >> 1) & 1) != 0;
  settings.TimerFlag = ((flags >> 2) & 1) != 0;
  settings.Title = r.MappedText(24);
  settings.FontName = r.MappedText(16);
  settings.TextSize = r.MappedText(6);
  settings.PageBackground = r.MappedText(9);
  settings.PageTextColour = r.MappedText(9);
  settings.AnswerBoxColour = r.MappedText(9);
  settings.AnswerTextColour = r.MappedText(9);
  // The usual case: a text that has a sentence and words to halve.
  Text source = (flags & 8) ? Text(U"Go. ") : Text();
  for (char c : r.Rest()) Reader::AppendMapped(source, static_cast<unsigned char>(c));
  CheckPageFor(source, settings);
}

// ---------------------------------------------------------------------------
// SearchAndReplace against the plain rescanning loop.

// Replaces the leftmost occurrence and searches again, at most maxSteps
// times; false when it has not finished by then. The search restarts
// len(pattern) - 1 characters before the last replacement: the text before
// that held no occurrence and is unchanged, so this finds the leftmost one
// of the whole string, as a search from the start would.
inline bool NaiveRescan(Text s, const Text& p, const Text& r, std::size_t maxSteps, Text& out,
                        std::size_t maxLength = SIZE_MAX) {
  if (p.empty() || s.empty()) {
    out = s;
    return true;
  }
  std::size_t from = 0;
  for (std::size_t step = 0; step <= maxSteps; ++step) {
    const std::size_t at = s.find(p, from);
    if (at == Text::npos) {
      out = s;
      return true;
    }
    s.replace(at, p.size(), r);
    if (s.size() > maxLength) return false;
    from = at >= p.size() - 1 ? at - (p.size() - 1) : 0;
  }
  return false;
}

inline Text NaiveOnePass(const Text& s, const Text& p, const Text& r) {
  if (p.empty()) return s;
  Text out;
  std::size_t from = 0;
  for (std::size_t at = s.find(p); at != Text::npos; at = s.find(p, from)) {
    out += s.substr(from, at - from) + r;
    from = at + p.size();
  }
  return out + s.substr(from);
}

inline void CheckReplace(std::string_view bytes) {
  Reader in(bytes);
  const unsigned alphabetSize = 2 + in.Byte() % 3;  // "ab", "abc" or "abcd"
  auto word = [&](std::size_t maxLength) {
    const std::size_t length = in.Byte() % (maxLength + 1);
    Text t;
    for (std::size_t i = 0; i < length; ++i) t.push_back(U'a' + in.Byte() % alphabetSize);
    return t;
  };
  const Text pattern = word(4);
  const Text replacement = word(7);
  const Text s = word(40);

  const Text result = SearchAndReplace(s, pattern, replacement);
  if (!pattern.empty() && replacement.find(pattern) != Text::npos) {
    // Rescanning would never finish: one pass.
    Require(result == NaiveOnePass(s, pattern, replacement), "replacement holding the pattern: not one pass");
    return;
  }
  Text rescanned;
  if (NaiveRescan(s, pattern, replacement, 2000, rescanned)) {
    Require(result == rescanned, "differs from rescanning");
    return;
  }
  // Rescanning has not finished after 2000 replacements. Either the pattern
  // keeps regrowing and the documented fall-back is one pass, or rescanning
  // finishes later (a 9-character text can grow to 281,239 characters
  // first): then the result holds no occurrence, differs from the text by
  // whole replacements, and equals the plain loop where that loop is cheap.
  if (result == NaiveOnePass(s, pattern, replacement)) return;
  Require(result.find(pattern) == Text::npos, "rescanning stopped with the pattern still present");
  const long long grow = static_cast<long long>(replacement.size()) - static_cast<long long>(pattern.size());
  const long long grown = static_cast<long long>(result.size()) - static_cast<long long>(s.size());
  Require(grow == 0 ? grown == 0 : grown % grow == 0, "result is not the text after whole replacements");
  if (NaiveRescan(s, pattern, replacement, 100000, rescanned, 20000)) {
    Require(result == rescanned, "differs from rescanning");
  }
}

// The test-file reader on arbitrary bytes: it either refuses them with a
// message naming the file, or gives a test whose file bytes read back to the
// same test and the same bytes. A test small enough is also generated: each
// text keeps within its gap limit and has one list of accepted answers per
// gap.
inline void CheckTestFile(std::string_view bytes) {
  Test test;
  try {
    test = ParseTestFile(bytes, "fuzz.ctest");
  } catch (const TestFileError& e) {
    Require(std::string_view(e.what()).rfind("cannot read the test file fuzz.ctest: ", 0) == 0,
            "message does not name the file");
    return;
  }
  const std::string written = TestFileBytes(test);
  Test back;
  try {
    back = ParseTestFile(written, "fuzz.ctest");
  } catch (const TestFileError& e) {
    throw CheckFailure(std::string("written file does not read back: ") + e.what());
  }
  Require(back == test, "test changed through its file");
  Require(TestFileBytes(back) == written, "file bytes changed on a second write");

  std::size_t characters = 0;
  for (const TestText& t : test.texts) characters += t.source.size();
  if (characters > 4096 || test.texts.size() > 16) return;
  GeneratedTest generated;
  try {
    generated = GenerateWholeTest(test);
  } catch (const EditError&) {
    return;
  } catch (const UnicodeError&) {
    return;
  }
  Require(generated.texts.size() == test.texts.size(), "a text was lost");
  for (std::size_t i = 0; i < test.texts.size(); ++i) {
    const GeneratedText& g = generated.texts[i];
    const TestWorkspace& w = g.workspace;
    Require(g.accepted.size() == w.PageAnswers.size(), "accepted answers not one list per gap");
    const std::uint32_t limit = test.texts[i].options.gapLimit;
    Require(limit == 0 || w.PageAnswers.size() <= limit, "more gaps than the limit");
    Require(w.LeftHalves.size() == w.RightHalves.size() && w.LeftHalves.size() == w.Separators.size(),
            "lists of unequal length");
    for (std::size_t k = 0; k < w.LeftHalves.size(); ++k) {
      Require(Text(w.LeftHalves[k]) + Text(w.RightHalves[k]) == Text(w.WordList[k]), "halves do not make the word");
    }
    Require(g.droppedEdits.size() == g.notes.size(), "a dropped edit without a note");
  }
}

}  // namespace brenvik::fuzz

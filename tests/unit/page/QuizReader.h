#pragma once
// Reads a Moodle XML quiz back the way Moodle reads it, for the tests: a
// strict little XML reader (it refuses what an XML 1.0 parser refuses in the
// parts our files use) and a reader of the embedded-answers (Cloze) grammar
// as Moodle documents it:
//   {GRADE:TYPE:ALTERNATIVES}, ALTERNATIVES separated by "~", each one an
//   optional "=" (right) or "%n%" (fraction), the answer, and an optional
//   "#feedback". An answer ends at a "~", "#" or "}" unless a "\" or a "&"
//   stands right before it. Then HTML character references in the answer are
//   decoded as HTML 4 allows them (a reference to DEL, a C1 control or a
//   noncharacter stays as it is written), every "\}" becomes "}", then every
//   "\#" becomes "#", and the answer is trimmed when it is saved. A short
//   answer marks what the pupil typed (trimmed) with a pattern made from it:
//   a bare "*" is a wildcard, "\*" a literal asterisk, and a pattern that
//   compiles past PCRE's 64 KiB marks nothing.
//
// Moodle's XML reading is modelled where our files meet it: the character
// data of an element comes in pieces (each plain run, each reference, each
// CDATA section) and a piece of white space alone is dropped; a question's
// name then loses everything that looks like an HTML tag and is trimmed.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/text/Text.h"

namespace brenvik::test {

struct XmlNode {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::vector<XmlNode> children;
  std::string text;  // the character data directly inside, CDATA included, decoded

  const XmlNode& child(const std::string& childName) const {
    for (const XmlNode& c : children) {
      if (c.name == childName) return c;
    }
    throw std::runtime_error("no <" + childName + "> in <" + name + ">");
  }
};

class XmlReader {
 public:
  explicit XmlReader(const std::string& bytes) : s_(bytes) {}

  XmlNode document() {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (s_.compare(0, decl.size(), decl) != 0) fail("the file does not start with the XML declaration");
    if (!IsValidUtf8(s_)) fail("not UTF-8");
    for (char32_t c : FromUtf8(s_)) {
      const bool ok = c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c <= 0xD7FF) ||
                      (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
      if (!ok) fail("a character XML does not allow");
    }
    pos_ = decl.size();
    skipSpace();
    XmlNode root = element();
    skipSpace();
    if (pos_ != s_.size()) fail("content after the root element");
    return root;
  }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    throw std::runtime_error("XML: " + why + " at byte " + std::to_string(pos_));
  }
  bool at(const char* lit) const { return s_.compare(pos_, std::char_traits<char>::length(lit), lit) == 0; }
  void skipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) ++pos_;
  }
  std::string name() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_' ||
                                s_[pos_] == '-' || s_[pos_] == ':' || s_[pos_] == '.')) {
      ++pos_;
    }
    if (pos_ == start) fail("a name was expected");
    return s_.substr(start, pos_ - start);
  }
  // An entity or character reference after "&".
  void reference(std::string& out) {
    const std::size_t end = s_.find(';', pos_);
    if (end == std::string::npos || end - pos_ > 12) fail("an unfinished reference");
    const std::string ref = s_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (ref == "lt") out += '<';
    else if (ref == "gt") out += '>';
    else if (ref == "amp") out += '&';
    else if (ref == "quot") out += '"';
    else if (ref == "apos") out += '\'';
    else if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x';
      const std::uint32_t v = static_cast<std::uint32_t>(std::stoul(ref.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10));
      if (!(v == 9 || v == 10 || v == 13 || (v >= 0x20 && v <= 0xD7FF) || (v >= 0xE000 && v <= 0xFFFD) ||
            (v >= 0x10000 && v <= 0x10FFFF))) {
        fail("a reference to a character XML does not allow");
      }
      out += ToUtf8(Text(1, static_cast<char32_t>(v)));
    } else {
      fail("an unknown entity &" + ref + ";");
    }
  }
  XmlNode element() {
    if (!at("<")) fail("an element was expected");
    ++pos_;
    XmlNode node;
    node.name = name();
    for (;;) {
      skipSpace();
      if (at("/>")) {
        pos_ += 2;
        return node;
      }
      if (at(">")) {
        ++pos_;
        break;
      }
      const std::string attr = name();
      if (!at("=\"")) fail("an attribute value was expected");
      pos_ += 2;
      std::string value;
      while (pos_ < s_.size() && s_[pos_] != '"') {
        if (s_[pos_] == '<') fail("< in an attribute");
        if (s_[pos_] == '&') reference(value);
        else value += s_[pos_++];
      }
      if (pos_ >= s_.size()) fail("an unfinished attribute");
      ++pos_;
      if (!node.attributes.emplace(attr, value).second) fail("an attribute given twice");
    }
    for (;;) {
      if (pos_ >= s_.size()) fail("<" + node.name + "> is not closed");
      if (at("</")) {
        pos_ += 2;
        if (name() != node.name) fail("</...> does not match <" + node.name + ">");
        skipSpace();
        if (!at(">")) fail("> was expected");
        ++pos_;
        return node;
      }
      if (at("<![CDATA[")) {
        pos_ += 9;
        const std::size_t end = s_.find("]]>", pos_);
        if (end == std::string::npos) fail("an unfinished CDATA section");
        AddPiece(node.text, s_.substr(pos_, end - pos_));
        pos_ = end + 3;
      } else if (at("<!--")) {
        const std::size_t end = s_.find("-->", pos_);
        if (end == std::string::npos) fail("an unfinished comment");
        pos_ = end + 3;
      } else if (at("<")) {
        node.children.push_back(element());
      } else if (at("&")) {
        std::string piece;
        reference(piece);
        AddPiece(node.text, piece);
      } else {
        std::string piece;
        while (pos_ < s_.size() && s_[pos_] != '<' && s_[pos_] != '&') {
          if (at("]]>")) fail("]]> outside a CDATA section");
          piece += s_[pos_++];
        }
        AddPiece(node.text, piece);
      }
    }
  }

  // Moodle keeps a piece of character data unless it is white space alone.
  static void AddPiece(std::string& text, const std::string& piece) {
    if (piece.find_first_not_of(std::string(" \t\n\r\v\0", 6)) != std::string::npos) text += piece;
  }

  const std::string& s_;
  std::size_t pos_ = 0;
};

// PHP's trim(): space, tab, line feed, carriage return, NUL, vertical tab.
inline Text PhpTrim(TextView s) {
  auto blank = [](char32_t c) { return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0 || c == 0x0B; };
  std::size_t first = 0;
  while (first < s.size() && blank(s[first])) ++first;
  std::size_t end = s.size();
  while (end > first && blank(s[end - 1])) --end;
  return Text(s.substr(first, end - first));
}

// HTML character references (numeric ones and the few named ones our files
// could hold) decoded, as Moodle decodes them with PHP's HTML 4 rules: a
// numeric reference to a character HTML 4 does not allow stays as written.
inline Text DecodeHtmlReferences(TextView s) {
  auto allowed = [](char32_t c) {
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0x10FFFF && (c & 0xFFFF) < 0xFFFE && (c < 0xFDD0 || c > 0xFDEF));
  };
  Text out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != U'&') {
      out += s[i];
      continue;
    }
    const std::size_t end = s.find(U';', i);
    if (end == TextView::npos) throw std::runtime_error("HTML: a bare &");
    const std::string ref = ToUtf8(s.substr(i + 1, end - i - 1));
    if (ref == "lt") out += U'<';
    else if (ref == "gt") out += U'>';
    else if (ref == "amp") out += U'&';
    else if (ref == "quot") out += U'"';
    else if (ref == "nbsp") out += U'\u00A0';
    else if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x' || ref[1] == 'X';
      const auto c = static_cast<char32_t>(std::stoul(ref.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10));
      if (allowed(c)) {
        out += c;
      } else {
        out += s.substr(i, end + 1 - i);
      }
    } else {
      throw std::runtime_error("HTML: unknown reference &" + ref + ";");
    }
    i = end;
  }
  return out;
}

// Every s of text replaced by r, left to right, as PHP's str_replace does.
inline Text ReplaceAll(Text text, TextView s, TextView r) {
  for (std::size_t at = text.find(s); at != Text::npos; at = text.find(s, at + r.size())) text.replace(at, s.size(), r);
  return text;
}

// The name Moodle keeps: tags stripped as PHP's strip_tags strips them (a
// "<" not followed by white space opens a tag, which ends at a ">" outside
// quotes and nested "<"; "<!--" opens a comment that ends at "-->"; an
// unclosed tag takes the rest), then trimmed.
inline Text MoodleName(TextView name) {
  Text out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool spaceNext = i + 1 < name.size() && (name[i + 1] == U' ' || (name[i + 1] >= U'\t' && name[i + 1] <= U'\r'));
    if (name[i] != U'<' || spaceNext) {
      out += name[i];
      continue;
    }
    if (name.substr(i, 4) == U"<!--") {
      const std::size_t end = name.find(U"-->", i + 4);
      if (end == TextView::npos) break;
      i = end + 2;
      continue;
    }
    char32_t quote = 0;
    int depth = 0;
    std::size_t k = i + 1;
    for (; k < name.size(); ++k) {
      const char32_t c = name[k];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == U'"' || c == U'\'') {
        quote = c;
      } else if (c == U'<') {
        ++depth;
      } else if (c == U'>' && depth-- == 0) {
        break;
      }
    }
    i = k;
  }
  return PhpTrim(out);
}

struct ClozeGap {
  std::string grade;
  std::string type;
  bool right = false;    // the alternative is marked "="
  Text answer;           // as Moodle stores it, after decoding and trimming
  bool wildcard = false; // the answer holds a bare "*"
  Text literal;          // the answer as a short answer matches it ("\*" read as "*")
  int alternatives = 0;
  std::vector<Text> rightAnswers;  // every alternative marked "=", in order
};

// The compiled size of the marking pattern past which PCRE refuses it: each
// character costs one byte plus its UTF-8 bytes (measured with PHP 8.2 and
// PCRE2 10.42: 32,763 ASCII characters compile, 32,764 do not).
inline constexpr std::size_t kPcrePatternLimit = 65527;

// Whether Moodle gives the mark of the gap to what the pupil typed (case
// counts, as in SHORTANSWER_C). Both are taken as written: Moodle first
// brings them to NFC, which changes nothing in the tests' answers.
inline bool Marks(const ClozeGap& gap, TextView typed) {
  std::size_t size = 0;
  for (char32_t c : gap.answer) size += 1 + ToUtf8(Text(1, c)).size();
  if (size > kPcrePatternLimit) return false;
  // The pattern's pieces between runs of bare "*", each with "\*" as "*".
  std::vector<Text> pieces(1);
  for (std::size_t a = 0; a < gap.answer.size(); ++a) {
    const char32_t c = gap.answer[a];
    if (c == U'*' && (a == 0 || gap.answer[a - 1] != U'\\')) {
      while (a + 1 < gap.answer.size() && gap.answer[a + 1] == U'*') ++a;
      pieces.emplace_back();
      continue;
    }
    pieces.back() += c;
  }
  for (Text& p : pieces) p = ReplaceAll(p, U"\\*", U"*");
  const Text s = PhpTrim(typed);
  if (pieces.size() == 1) return s == pieces[0];
  // Glob: the first piece at the start, the last at the end, the rest in
  // order between.
  if (s.size() < pieces.front().size() + pieces.back().size()) return false;
  if (s.compare(0, pieces.front().size(), pieces.front()) != 0) return false;
  if (s.compare(s.size() - pieces.back().size(), pieces.back().size(), pieces.back()) != 0) return false;
  std::size_t from = pieces.front().size();
  const std::size_t until = s.size() - pieces.back().size();
  for (std::size_t k = 1; k + 1 < pieces.size(); ++k) {
    const std::size_t found = s.find(pieces[k], from);
    if (found == Text::npos || found + pieces[k].size() > until) return false;
    from = found + pieces[k].size();
  }
  return true;
}

struct ClozeQuestion {
  Text text;  // the question as the pupil reads it: <br> as CR LF, each gap as U+FFFC
  std::vector<ClozeGap> gaps;
};

// Reads a question text. Only <br> may appear as markup.
inline ClozeQuestion ReadCloze(TextView html) {
  ClozeQuestion q;
  Text plain;
  auto flush = [&] {
    q.text += DecodeHtmlReferences(plain);
    plain.clear();
  };
  std::size_t i = 0;
  auto ends = [&](std::size_t k) {
    // An answer ends at "~", "#" or "}" unless "\" or "&" comes right before.
    const char32_t c = html[k];
    if (c != U'~' && c != U'#' && c != U'}') return false;
    return k == 0 || (html[k - 1] != U'\\' && html[k - 1] != U'&');
  };
  while (i < html.size()) {
    const char32_t c = html[i];
    if (c == U'<') {
      if (html.substr(i, 4) != U"<br>") throw std::runtime_error("HTML: markup other than <br>");
      flush();
      q.text += U"\r\n";
      i += 4;
      continue;
    }
    if (c == U'{') {
      // {GRADE:TYPE:...}
      std::size_t k = i + 1;
      while (k < html.size() && html[k] >= U'0' && html[k] <= U'9') ++k;
      const std::size_t typeStart = k + 1;
      std::size_t t = typeStart;
      while (t < html.size() && ((html[t] >= U'A' && html[t] <= U'Z') || html[t] == U'_')) ++t;
      if (k < html.size() && html[k] == U':' && t > typeStart && t < html.size() && html[t] == U':') {
        flush();
        ClozeGap gap;
        gap.grade = ToUtf8(html.substr(i + 1, k - i - 1));
        gap.type = ToUtf8(html.substr(typeStart, t - typeStart));
        std::size_t p = t + 1;
        for (;;) {
          ++gap.alternatives;
          bool right = false;
          if (p < html.size() && html[p] == U'=') {
            right = true;
            ++p;
          } else if (p < html.size() && html[p] == U'%') {
            const std::size_t close = html.find(U'%', p + 1);
            if (close == TextView::npos) throw std::runtime_error("Cloze: unfinished fraction");
            p = close + 1;
          }
          const std::size_t start = p;
          while (p < html.size() && !ends(p)) ++p;
          if (p >= html.size()) throw std::runtime_error("Cloze: unfinished sub-question");
          Text answer = DecodeHtmlReferences(html.substr(start, p - start));
          answer = PhpTrim(ReplaceAll(ReplaceAll(answer, U"\\}", U"}"), U"\\#", U"#"));
          if (html[p] == U'#') {
            while (p < html.size() && html[p] != U'~' && html[p] != U'}') ++p;
          }
          if (right) gap.rightAnswers.push_back(answer);
          if (gap.alternatives == 1) {
            gap.right = right;
            gap.answer = answer;
            for (std::size_t a = 0; a < answer.size(); ++a) {
              if (answer[a] == U'\\' && a + 1 < answer.size() && answer[a + 1] == U'*') {
                gap.literal += U'*';
                ++a;
              } else {
                if (answer[a] == U'*') gap.wildcard = true;
                gap.literal += answer[a];
              }
            }
          }
          if (p >= html.size()) throw std::runtime_error("Cloze: unfinished sub-question");
          if (html[p] == U'}') break;
          ++p;  // "~"
        }
        q.gaps.push_back(gap);
        q.text += U'\uFFFC';
        i = p + 1;
        continue;
      }
    }
    plain += c;
    ++i;
  }
  flush();
  return q;
}

}  // namespace brenvik::test

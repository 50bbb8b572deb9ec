#pragma once
// Reads a Moodle XML quiz back the way Moodle reads it, for the tests: a
// strict little XML reader (it refuses what an XML 1.0 parser refuses in the
// parts our files use) and a reader of the embedded-answers (Cloze) grammar
// as Moodle documents it:
//   {GRADE:TYPE:ALTERNATIVES}, ALTERNATIVES separated by "~", each one an
//   optional "=" (right) or "%n%" (fraction), the answer, and an optional
//   "#feedback". An answer ends at a "~", "#" or "}" unless a "\" or a "&"
//   stands right before it. Then HTML character references in the answer are
//   decoded, and afterwards "\}" and "\#" become "}" and "#". For a short
//   answer, "*" is a wildcard and "\*" a literal asterisk.

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
        node.text += s_.substr(pos_, end - pos_);
        pos_ = end + 3;
      } else if (at("<!--")) {
        const std::size_t end = s_.find("-->", pos_);
        if (end == std::string::npos) fail("an unfinished comment");
        pos_ = end + 3;
      } else if (at("<")) {
        node.children.push_back(element());
      } else if (at("&")) {
        reference(node.text);
      } else {
        if (at("]]>")) fail("]]> outside a CDATA section");
        node.text += s_[pos_++];
      }
    }
  }

  const std::string& s_;
  std::size_t pos_ = 0;
};

// HTML character references (numeric ones and the few named ones our files
// could hold) decoded, as Moodle decodes them.
inline Text DecodeHtmlReferences(TextView s) {
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
      out += static_cast<char32_t>(std::stoul(ref.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10));
    } else {
      throw std::runtime_error("HTML: unknown reference &" + ref + ";");
    }
    i = end;
  }
  return out;
}

struct ClozeGap {
  std::string grade;
  std::string type;
  bool right = false;    // the alternative is marked "="
  Text answer;           // as Moodle stores it, after decoding
  bool wildcard = false; // the answer holds a bare "*"
  Text literal;          // the answer as a short answer matches it ("\*" read as "*")
  int alternatives = 0;
};

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
          for (std::size_t a = 0; a + 1 < answer.size(); ++a) {
            if (answer[a] == U'\\' && (answer[a + 1] == U'}' || answer[a + 1] == U'#')) answer.erase(a, 1);
          }
          if (html[p] == U'#') {
            while (p < html.size() && html[p] != U'~' && html[p] != U'}') ++p;
          }
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

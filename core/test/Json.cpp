#include "core/test/Json.h"

#include <charconv>

#include "core/text/Text.h"

namespace brenvik::json {

const Value* Find(const Object& object, std::string_view name) {
  for (const Member& m : object) {
    if (m.first == name) return &m.second;
  }
  return nullptr;
}

std::optional<std::uint64_t> AsWholeNumber(const Number& number, std::uint64_t max) {
  const std::string& t = number.text;
  if (t.empty() || t.size() > 20) return std::nullopt;
  if (t.size() > 1 && t[0] == '0') return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size() || value > max) return std::nullopt;
  return value;
}

ParseError::ParseError(std::size_t line, std::size_t column, const std::string& problem)
    : BrenvikError("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                   problem),
      line_(line),
      column_(column),
      problem_(problem) {}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view bytes) : s_(bytes) {}

  Value document() {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    skipBlanks();
    Value v = value(0);
    skipBlanks();
    if (pos_ != s_.size()) fail("unexpected text after the end of the document");
    return v;
  }

 private:
  [[noreturn]] void fail(const std::string& problem) const {
    // Line and column of pos_, the column in characters (UTF-8 lead bytes).
    std::size_t line = 1;
    std::size_t column = 1;
    const std::size_t end = std::min(pos_, s_.size());
    for (std::size_t i = 0; i < end; ++i) {
      const unsigned char c = static_cast<unsigned char>(s_[i]);
      if (c == '\n') {
        ++line;
        column = 1;
      } else if ((c & 0xC0) != 0x80) {
        ++column;
      }
    }
    throw ParseError(line, column, problem);
  }

  bool atEnd() const { return pos_ >= s_.size(); }
  char peek() const { return atEnd() ? '\0' : s_[pos_]; }

  void skipBlanks() {
    while (!atEnd()) {
      const char c = s_[pos_];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') break;
      ++pos_;
    }
  }

  void expectWord(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) fail("expected a value");
    pos_ += word.size();
  }

  Value value(std::size_t depth) {
    if (atEnd()) fail("the document ends where a value was expected");
    switch (peek()) {
      case '{': return object(depth + 1);
      case '[': return array(depth + 1);
      case '"': return Value(string());
      case 't': expectWord("true"); return Value(true);
      case 'f': expectWord("false"); return Value(false);
      case 'n': expectWord("null"); return Value(nullptr);
      default:
        if (peek() == '-' || (peek() >= '0' && peek() <= '9')) return Value(number());
        fail("expected a value");
    }
  }

  void enter(std::size_t depth) {
    if (depth > kMaxDepth) fail("arrays and objects nested too deeply");
  }

  Value object(std::size_t depth) {
    enter(depth);
    ++pos_;
    Object members;
    skipBlanks();
    if (peek() == '}') {
      ++pos_;
      return Value(std::move(members));
    }
    while (true) {
      skipBlanks();
      if (peek() != '"') fail("expected a member name in double quotes");
      const std::size_t namePos = pos_;
      std::string name = string();
      for (const Member& m : members) {
        if (m.first == name) {
          pos_ = namePos;
          fail("the member \"" + name + "\" occurs twice");
        }
      }
      skipBlanks();
      if (peek() != ':') fail("expected ':' after a member name");
      ++pos_;
      skipBlanks();
      Value v = value(depth);
      members.emplace_back(std::move(name), std::move(v));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == '}') {
        ++pos_;
        return Value(std::move(members));
      }
      fail("expected ',' or '}'");
    }
  }

  Value array(std::size_t depth) {
    enter(depth);
    ++pos_;
    Array items;
    skipBlanks();
    if (peek() == ']') {
      ++pos_;
      return Value(std::move(items));
    }
    while (true) {
      skipBlanks();
      items.push_back(value(depth));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == ']') {
        ++pos_;
        return Value(std::move(items));
      }
      fail("expected ',' or ']'");
    }
  }

  Number number() {
    const std::size_t start = pos_;
    auto digits = [&] {
      const std::size_t from = pos_;
      while (!atEnd() && peek() >= '0' && peek() <= '9') ++pos_;
      return pos_ - from;
    };
    if (peek() == '-') ++pos_;
    if (peek() == '0') {
      ++pos_;
    } else if (digits() == 0) {
      fail("expected a digit");
    }
    if (peek() == '.') {
      ++pos_;
      if (digits() == 0) fail("expected a digit after '.'");
    }
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (digits() == 0) fail("expected a digit in the exponent");
    }
    return Number{std::string(s_.substr(start, pos_ - start))};
  }

  unsigned hex4() {
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = peek();
      unsigned d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else fail("expected four hexadecimal digits after \\u");
      v = v * 16 + d;
      ++pos_;
    }
    return v;
  }

  std::string string() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
      if (atEnd()) fail("a string is not closed");
      const unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') {
        ++pos_;
        return out;
      }
      if (c < 0x20) fail("a control character stands unescaped in a string");
      if (c == '\\') {
        ++pos_;
        const char e = peek();
        ++pos_;
        switch (e) {
          case '"': out += '"'; break;
          case '\\': out += '\\'; break;
          case '/': out += '/'; break;
          case 'b': out += '\b'; break;
          case 'f': out += '\f'; break;
          case 'n': out += '\n'; break;
          case 'r': out += '\r'; break;
          case 't': out += '\t'; break;
          case 'u': {
            const std::size_t escapePos = pos_ - 2;
            char32_t cp = hex4();
            if (cp >= 0xDC00 && cp <= 0xDFFF) {
              pos_ = escapePos;
              fail("a \\u escape holds a lone low surrogate");
            }
            if (cp >= 0xD800 && cp <= 0xDBFF) {
              if (s_.substr(pos_, 2) != "\\u") {
                pos_ = escapePos;
                fail("a \\u escape holds a lone high surrogate");
              }
              pos_ += 2;
              const char32_t low = hex4();
              if (low < 0xDC00 || low > 0xDFFF) {
                pos_ = escapePos;
                fail("a \\u escape holds a lone high surrogate");
              }
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(out, cp);
            break;
          }
          default:
            pos_ -= 2;
            fail("unknown escape in a string");
        }
        continue;
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
        ++pos_;
        continue;
      }
      char32_t cp;
      const std::size_t len = DecodeUtf8Char(reinterpret_cast<const unsigned char*>(s_.data()) + pos_,
                                             s_.size() - pos_, cp);
      if (len == 0) fail("the text is not valid UTF-8");
      out.append(s_.substr(pos_, len));
      pos_ += len;
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

bool IsScalarArray(const Array& a) {
  for (const Value& v : a) {
    if (v.asArray() || v.asObject()) return false;
  }
  return true;
}

void WriteValue(std::string& out, const Value& v, std::size_t indent) {
  auto newline = [&](std::size_t level) {
    out += '\n';
    out.append(level * 2, ' ');
  };
  switch (v.kind()) {
    case Value::Kind::kNull: out += "null"; return;
    case Value::Kind::kBool: out += *v.asBool() ? "true" : "false"; return;
    case Value::Kind::kNumber: out += v.asNumber()->text; return;
    case Value::Kind::kString: AppendString(out, *v.asString()); return;
    case Value::Kind::kArray: {
      const Array& a = *v.asArray();
      if (a.empty()) {
        out += "[]";
        return;
      }
      const bool flat = IsScalarArray(a);
      out += '[';
      for (std::size_t i = 0; i < a.size(); ++i) {
        if (i > 0) out += flat ? ", " : ",";
        if (!flat) newline(indent + 1);
        WriteValue(out, a[i], indent + 1);
      }
      if (!flat) newline(indent);
      out += ']';
      return;
    }
    case Value::Kind::kObject: {
      const Object& o = *v.asObject();
      if (o.empty()) {
        out += "{}";
        return;
      }
      out += '{';
      for (std::size_t i = 0; i < o.size(); ++i) {
        if (i > 0) out += ',';
        newline(indent + 1);
        AppendString(out, o[i].first);
        out += ": ";
        WriteValue(out, o[i].second, indent + 1);
      }
      newline(indent);
      out += '}';
      return;
    }
  }
}

}  // namespace

Value Parse(std::string_view bytes) { return Parser(bytes).document(); }

void AppendString(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = p[i];
    if (b >= 0x80) {
      char32_t cp;
      const std::size_t len = DecodeUtf8Char(p + i, s.size() - i, cp);
      if (len == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else if (cp <= 0x9F) {
        out += "\\u00";
        out += kHex[cp >> 4];
        out += kHex[cp & 0xF];
        i += len;
      } else {
        out.append(s.substr(i, len));
        i += len;
      }
      continue;
    }
    switch (b) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default:
        if (b < 0x20 || b == 0x7F) {
          out += "\\u00";
          out += kHex[b >> 4];
          out += kHex[b & 0xF];
        } else {
          out += static_cast<char>(b);
        }
    }
    ++i;
  }
  out += '"';
}

std::string Write(const Value& value) {
  std::string out;
  WriteValue(out, value, 0);
  out += '\n';
  return out;
}

}  // namespace brenvik::json

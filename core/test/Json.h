#pragma once
// A small strict JSON (RFC 8259) reader and writer for the test file and
// brenvik-cli's reports. The reader accepts exactly the grammar: UTF-8 only
// (a leading byte-order mark is skipped), no comments, no trailing commas,
// no duplicate member names, no lone surrogate in a \u escape, nothing after
// the value, and at most kMaxDepth nested arrays and objects. Numbers are
// kept as their text, so nothing is lost to a double. Members keep their
// order, and the writer writes them in that order, so a value written, read
// and written again gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/text/Errors.h"

namespace brenvik::json {

class Value;
using Array = std::vector<Value>;
using Member = std::pair<std::string, Value>;
using Object = std::vector<Member>;

// A number as it was written ("25", "-1.5e3").
struct Number {
  std::string text;
  friend bool operator==(const Number&, const Number&) = default;
};

class Value {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool b) : v_(b) {}
  Value(Number n) : v_(std::move(n)) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(Array a) : v_(std::move(a)) {}
  Value(Object o) : v_(std::move(o)) {}
  static Value Integer(std::uint64_t n) { return Value(Number{std::to_string(n)}); }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isNull() const { return kind() == Kind::kNull; }
  // The value of the kind asked for; nullptr when the value is of another kind.
  const bool* asBool() const { return std::get_if<bool>(&v_); }
  const Number* asNumber() const { return std::get_if<Number>(&v_); }
  const std::string* asString() const { return std::get_if<std::string>(&v_); }
  const Array* asArray() const { return std::get_if<Array>(&v_); }
  const Object* asObject() const { return std::get_if<Object>(&v_); }
  Array* asArray() { return std::get_if<Array>(&v_); }
  Object* asObject() { return std::get_if<Object>(&v_); }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::nullptr_t, bool, Number, std::string, Array, Object> v_;
};

// The member of an object by name, or nullptr.
const Value* Find(const Object& object, std::string_view name);

// A whole number written without fraction or exponent, in 0..max; nullopt
// otherwise ("1.0", "1e2", "-0", a leading zero, or too large).
std::optional<std::uint64_t> AsWholeNumber(const Number& number, std::uint64_t max);

inline constexpr std::size_t kMaxDepth = 64;

// Where and why a text is not JSON. line and column count from 1; the column
// counts characters.
class ParseError : public BrenvikError {
 public:
  ParseError(std::size_t line, std::size_t column, const std::string& problem);
  std::size_t line() const { return line_; }
  std::size_t column() const { return column_; }
  const std::string& problem() const { return problem_; }

 private:
  std::size_t line_;
  std::size_t column_;
  std::string problem_;
};

// Parses a whole JSON text; ParseError when it is not one.
Value Parse(std::string_view bytes);

// Writes value with two spaces of indentation per level and a line feed at
// the end. An array holding no array or object stands on one line. Strings
// are UTF-8; '"', '\' and the control characters (C0, DEL and C1) are
// escaped, CR and LF as \r and \n, the others as \u00xx (as brenvik-cli's
// workspace report always wrote them). Text that is not valid UTF-8
// is written with U+FFFD in place of each bad byte.
std::string Write(const Value& value);

// Appends s as a JSON string literal, escaped as Write does.
void AppendString(std::string& out, std::string_view s);

}  // namespace brenvik::json

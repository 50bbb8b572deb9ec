#pragma once
// Where the page writer puts the page: into a Text (the page as the program
// keeps it) or straight into the bytes of the saved file. Writing bytes
// directly saves building a four-byte-per-character copy of a large page.

#include <string>

#include "core/text/CodePage.h"
#include "core/text/Text.h"

namespace brenvik::page {

class TextSink {
 public:
  explicit TextSink(Text& out) : out_(out) {}
  void put(char32_t c) { out_.push_back(c); }
  void put(TextView s) { out_.append(s); }

 private:
  Text& out_;
};

// Windows-1252, each character outside it as a decimal numeric character
// reference ("&#322;").
class ByteSink {
 public:
  explicit ByteSink(std::string& out) : out_(out) {}

  void put(char32_t c) {
    if (IsLatin1Byte(c)) {
      out_.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    } else {
      putOther(c);
    }
  }
  void put(TextView s) {
    for (char32_t c : s) put(c);
  }

 private:
  void putOther(char32_t c) {
    if (const auto byte = CharToWindows1252(c)) {
      out_.push_back(static_cast<char>(*byte));
      return;
    }
    const char32_t cp = ScalarOrReplacement(c);
    out_.append("&#").append(std::to_string(static_cast<unsigned long>(cp))).push_back(';');
  }

  std::string& out_;
};

}  // namespace brenvik::page

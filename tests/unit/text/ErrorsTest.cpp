#include "core/text/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/Text.h"

namespace brenvik {
namespace {

TEST(Errors, MessagesUseTheToolkitTexts) {
  struct Case {
    std::string message;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {FileOpenError("/x/y").what(), "Impossible d'ouvrir le fichier /x/y"},
      {FileCreateError("/x/y.txt").what(), "Impossible de cr\xC3\xA9" "er le fichier /x/y.txt"},
      {TextTooLargeError().what(), "Le texte d\xC3\xA9passe la capacit\xC3\xA9 du m\xC3\xA9mo"},
      {ListIndexError(-1).what(), "Indice de liste hors limites (-1)"},
      {ListIndexError(36000).what(), "Indice de liste hors limites (36000)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.message, c.expected);
  EXPECT_EQ(ListIndexError(-1).index(), -1);
  // One base catches them all.
  EXPECT_THROW(throw FileCreateError("/x"), BrenvikError);
  EXPECT_THROW(throw ListIndexError(3), BrenvikError);
}

TEST(Errors, ErrorBoxAddsAFullStopAfterCharactersAboveIt) {
  struct Case {
    std::string message;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {".", "."},
      {"x", "x."},
      {"\xC3\xA9", "\xC3\xA9."},  // é: compared as one character, above "."
      {")", ")"},
      {"!", "!"},                 // 0x21, below "."
      {"-", "-"},                 // 0x2D, just below
      {"/", "/."},                // 0x2F, just above
      {"0", "0."},
      {"?", "?."},
      {"", ""},
      {"Impossible d'ouvrir le fichier /x/y", "Impossible d'ouvrir le fichier /x/y."},
      {"Indice de liste hors limites (-1)", "Indice de liste hors limites (-1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(ErrorBoxText(c.message), c.shown);
  }
}

TEST(Text, Utf8Conversions) {
  struct Case {
    std::string utf8;
    Text text;
  };
  // Well-formed both ways, at the boundaries of each sequence length.
  const std::vector<Case> cases = {
      {"", U""},
      {std::string("a\0b", 3), Text(U"a\0b", 3)},
      {"\x7F", U"\u007F"},
      {"\xC2\x80", U"\u0080"},
      {"\xDF\xBF", U"\u07FF"},
      {"\xE0\xA0\x80", U"\u0800"},
      {"\xED\x9F\xBF", U"\uD7FF"},
      {"\xEE\x80\x80", U"\uE000"},
      {"\xEF\xBF\xBF", U"\uFFFF"},
      {"\xF0\x90\x80\x80", U"\U00010000"},
      {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
      {"\xC5\x81\xC3\xB3" "d\xC5\xBA", U"Łódź"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.utf8));
    EXPECT_EQ(FromUtf8(c.utf8), c.text);
    EXPECT_EQ(ToUtf8(c.text), c.utf8);
  }
}

TEST(Text, IllFormedUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    Text text;
  };
  const std::vector<Case> cases = {
      {"\xC0\x80", U"\uFFFD\uFFFD"},
      {"\xE0\x80\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"a\xE2\x82" "b", U"a\uFFFD\uFFFDb"},
      {"caf\xE9", U"caf\uFFFD"},
      {"\x80\xFF", U"\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.utf8));
    EXPECT_EQ(FromUtf8(c.utf8), c.text);
  }
  EXPECT_EQ(ToUtf8(Text{char32_t{0xD800}, U'x', char32_t{0x110000}}), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(ToText(-1), U"-1");
  EXPECT_EQ(ToText(36000), U"36000");
}

}  // namespace
}  // namespace brenvik

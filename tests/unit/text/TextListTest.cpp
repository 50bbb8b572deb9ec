// TextList: the list type of the workspace.

#include <gtest/gtest.h>

#include "core/text/Errors.h"
#include "core/text/TextList.h"

namespace brenvik {
namespace {

TEST(TextList, PushBackOfItsOwnEntrySurvivesGrowth) {
  TextList list{U"alpha", U"", U"beta"};
  // Each push may reallocate the buffer the entry is read from.
  for (int i = 0; i < 200; ++i) list.push_back(list[static_cast<std::size_t>(i) % 3]);
  ASSERT_EQ(list.size(), 203u);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Text expected = i % 3 == 0 ? U"alpha" : i % 3 == 1 ? U"" : U"beta";
    ASSERT_EQ(Text(list[i]), expected) << i;
  }
  list.push_back(list[2].substr(1, 2));
  EXPECT_EQ(Text(list.back()), U"et");
}

TEST(TextList, AtReportsTheIndexOutOfRange) {
  const TextList list{U"a", U"b"};
  EXPECT_EQ(Text(list.at(1)), U"b");
  struct Case {
    long long index;
    const char* message;
  };
  for (const Case& c : {Case{-1, "Indice de liste hors limites (-1)"},
                        Case{2, "Indice de liste hors limites (2)"},
                        Case{1LL << 40, "Indice de liste hors limites (1099511627776)"}}) {
    try {
      list.at(c.index);
      ADD_FAILURE() << "no error for " << c.index;
    } catch (const ListIndexError& e) {
      EXPECT_STREQ(e.what(), c.message);
      EXPECT_EQ(e.index(), c.index);
    }
  }
  EXPECT_THROW(TextList().at(0), ListIndexError);
}

TEST(TextList, EntryBoundariesMatter) {
  const std::vector<Text> entries{U"", U"ab", U"", U"ż"};
  const TextList list = TextList::fromVector(entries);
  EXPECT_EQ(list.toVector(), entries);
  EXPECT_EQ(list.characters(), 3u);
  // Same characters, different entries.
  EXPECT_FALSE((TextList{U"ab", U""}) == (TextList{U"a", U"b"}));
  EXPECT_FALSE((TextList{U"ab"}) == (TextList{U"ab", U""}));

  // assign copies entries exactly, into a list of any earlier size.
  TextList copy{U"a much longer entry", U"x", U"y", U"z", U"w"};
  copy.assign(list);
  EXPECT_EQ(copy, list);
  copy.assign(copy);
  EXPECT_EQ(copy.toVector(), entries);

  TextList cleared = list;
  cleared.clear();
  EXPECT_TRUE(cleared.empty());
  cleared.push_back(U"x");
  EXPECT_EQ(cleared.toVector(), std::vector<Text>{U"x"});
}

}  // namespace
}  // namespace brenvik

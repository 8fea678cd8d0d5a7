// The one folding rule of searches, shared by Egaocho and the parts library.

#include <gtest/gtest.h>

#include "grid/SearchFold.h"

using masumemo::grid::containsFolded;
using masumemo::grid::foldForSearch;

TEST(SearchFold, KanaAndLetters)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        std::u16string folded;
    };
    const Row rows[] = {
        {"katakana to hiragana", u"ニコニコ", u"にこにこ"},
        {"the ends of the katakana run", u"ァヶ", u"ぁゖ"},
        // ー, ・ and ヷ have no hiragana of their own: folding them would find wrong text.
        {"long mark, middle dot and ヷ stay", u"ーヷ・", u"ーヷ・"},
        {"half-width katakana stay", u"ﾆｺ", u"ﾆｺ"},
        {"Latin letters, half and full width", u"AZaＡＺｚ", u"azaａｚｚ"},
        {"other letters stay", u"ΩЖ", u"ΩЖ"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(foldForSearch(row.text), row.folded);
        EXPECT_EQ(foldForSearch(row.text).size(), row.text.size());
    }
}

TEST(SearchFold, Containment)
{
    EXPECT_TRUE(containsFolded(u"(^o^) ニコニコ", foldForSearch(u"にこ")));
    EXPECT_TRUE(containsFolded(u"にこにこ", foldForSearch(u"ニコ")));
    EXPECT_TRUE(containsFolded(u"Orz", foldForSearch(u"ORZ")));
    EXPECT_TRUE(containsFolded(u"", u""));
    EXPECT_FALSE(containsFolded(u"にこ", foldForSearch(u"にこにこ")));
    EXPECT_FALSE(containsFolded(u"", u"a"));
}

#include <gtest/gtest.h>

#include "grid/Cp932.h"
#include "input/NarrowForm.h"
#include "input/PaletteTables.h"

using masumemo::input::narrowForm;

TEST(NarrowForm, Table)
{
    struct Row
    {
        const char* name;
        std::u16string in;
        std::u16string out;
    };
    const Row rows[] = {
        {"full-width letter A", u"\uFF21", u"A"},
        {"first and last of the full-width block", u"\uFF01\uFF5E", u"!~"},
        {"full-width space", u"\u3000", u" "},
        {"katakana a, n", u"\u30A2\u30F3", u"\uFF71\uFF9D"},
        {"voiced ga takes the voicing mark", u"\u30AC", u"\uFF76\uFF9E"},
        {"semi-voiced po", u"\u30DD", u"\uFF8E\uFF9F"},
        {"vu", u"\u30F4", u"\uFF73\uFF9E"},
        {"punctuation, brackets, dot, sound marks",
         u"\u3001\u3002\u300C\u300D\u30FB\u30FC\u309B\u309C",
         u"\uFF64\uFF61\uFF62\uFF63\uFF65\uFF70\uFF9E\uFF9F"},
        {"wi, small ka and ke have no half-width form", u"\u30F0\u30F5\u30F6",
         u"\u30F0\u30F5\u30F6"},
        {"hiragana, kanji, greek, cyrillic, box drawing, horizontal bar",
         u"\u3091\u4E3F\u03B1\u0401\u2500\u2015", u"\u3091\u4E3F\u03B1\u0401\u2500\u2015"},
        {"curly quotes stay", u"\u2018\u2019\u201C\u201D", u"\u2018\u2019\u201C\u201D"},
        {"yen cent pound not macron stay", u"\uFFE5\uFFE0\uFFE1\uFFE2\uFFE3",
         u"\uFFE5\uFFE0\uFFE1\uFFE2\uFFE3"},
        {"half-width text is unchanged", u"A&\uFF71\uFF9E", u"A&\uFF71\uFF9E"},
        {"mixed text", u"\u30AC\uFF21\u6F22", u"\uFF76\uFF9EA\u6F22"},
        {"empty", u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(narrowForm(row.in), row.out);
    }
}

TEST(NarrowForm, KeptSymbolsHaveNoRoundTripNarrowForm)
{
    // ¥ ¢ £ ¬ ¯ come back from code page 932 as other characters, so narrowing ￥ ￠ ￡ ￢ ￣ to
    // them would put a different character on the canvas than the one written.
    for (const char16_t c : {u'\u00A5', u'\u00A2', u'\u00A3', u'\u00AC', u'\u00AF'}) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_NE(masumemo::grid::roundTrip(c), c);
    }
}

TEST(NarrowForm, EveryPaletteCharacterNarrowsToCanvasCharacters)
{
    using namespace masumemo::input;
    for (int cat = 0; cat < kCharacterCategoryCount; ++cat) {
        for (int b = 0; b < kPaletteButtonCount; ++b) {
            const char16_t c = paletteCharacter(cat, b);
            if (c == 0) {
                continue;
            }
            SCOPED_TRACE(::testing::Message() << "category " << cat << " button " << b);
            const std::u16string narrow = narrowForm(std::u16string(1, c));
            EXPECT_EQ(masumemo::grid::toCanvasForm(narrow), narrow);
            if (narrow != std::u16string(1, c)) {
                EXPECT_TRUE(masumemo::grid::IsHalfWidth(narrow.substr(0, 1)));
            }
        }
    }
}

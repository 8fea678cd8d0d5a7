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
        {"full-width exclamation, first of the block", u"\uFF01", u"!"},
        {"full-width tilde, last of the block", u"\uFF5E", u"~"},
        {"full-width reverse solidus", u"\uFF3C", u"\\"},
        {"full-width ampersand", u"\uFF06", u"&"},
        {"full-width hyphen-minus", u"\uFF0D", u"-"},
        {"full-width space", u"\u3000", u" "},
        {"katakana a", u"\u30A2", u"\uFF71"},
        {"small katakana tsu", u"\u30C3", u"\uFF6F"},
        {"katakana wo", u"\u30F2", u"\uFF66"},
        {"katakana n", u"\u30F3", u"\uFF9D"},
        {"voiced ga takes the voicing mark", u"\u30AC", u"\uFF76\uFF9E"},
        {"voiced do", u"\u30C9", u"\uFF84\uFF9E"},
        {"semi-voiced po", u"\u30DD", u"\uFF8E\uFF9F"},
        {"vu", u"\u30F4", u"\uFF73\uFF9E"},
        {"ideographic comma", u"\u3001", u"\uFF64"},
        {"ideographic full stop", u"\u3002", u"\uFF61"},
        {"corner brackets", u"\u300C\u300D", u"\uFF62\uFF63"},
        {"katakana middle dot", u"\u30FB", u"\uFF65"},
        {"prolonged sound mark", u"\u30FC", u"\uFF70"},
        {"spacing voicing marks", u"\u309B\u309C", u"\uFF9E\uFF9F"},
        {"katakana wi has no half-width form", u"\u30F0", u"\u30F0"},
        {"small ka and ke have none", u"\u30F5\u30F6", u"\u30F5\u30F6"},
        {"hiragana we", u"\u3091", u"\u3091"},
        {"kanji stroke", u"\u4E3F", u"\u4E3F"},
        {"greek, cyrillic, box drawing", u"\u03B1\u0401\u2500", u"\u03B1\u0401\u2500"},
        {"horizontal bar is no hyphen", u"\u2015", u"\u2015"},
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

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "grid/Cp932.h"
#include "input/PaletteTables.h"

using namespace masumemo::input;
using masumemo::grid::WidthOf;

TEST(PaletteTables, EveryEntrySurvivesCodePage932WithItsWidthAndIsCounted)
{
    // Category 4 holds all 33 Russian capitals and 33 small letters.
    const int expected[kCharacterCategoryCount] = {95, 70, 78, 80, 66, 62, 92};
    for (int cat = 0; cat < kCharacterCategoryCount; ++cat) {
        std::set<char16_t> seen;
        for (int b = 0; b < kPaletteButtonCount; ++b) {
            const char16_t c = paletteCharacter(cat, b);
            if (c == 0) {
                continue;
            }
            const std::u16string one(1, c);
            SCOPED_TRACE(::testing::Message() << "category " << cat << " button " << b << " U+"
                                              << std::hex << static_cast<int>(c));
            EXPECT_EQ(WidthOf(one), cat == 0 ? 1 : 2);
            EXPECT_TRUE(masumemo::grid::isCp932Encodable(c));
            EXPECT_EQ(masumemo::grid::toCanvasForm(one), one);
            EXPECT_TRUE(seen.insert(c).second) << "listed twice";
        }
        EXPECT_EQ(static_cast<int>(seen.size()), expected[cat]) << "category " << cat;
        EXPECT_EQ(visibleButtonCount(cat), expected[cat]) << "category " << cat;
    }
    EXPECT_EQ(visibleButtonCount(kSettingsCategory), 0);
}

TEST(PaletteTables, GreekAndRussianCapitalsPairWithTheirSmallLetters)
{
    // Greek: 24 capitals over 24 small letters, no final sigma.
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(paletteCharacter(3, 26 + i), paletteCharacter(3, i) + 0x20);
    }
    // Russian: capitals in buttons 0-32 and small letters in 52-84, Ё/ё pairing apart. П was
    // missing from the capitals as first listed.
    EXPECT_EQ(paletteCharacter(4, 16), u'П');
    EXPECT_EQ(paletteCharacter(4, 26), u'Щ');  // row 1 starts as it does for the small letters
    char16_t previous = 0;
    for (int i = 0; i < 33; ++i) {
        SCOPED_TRACE(i);
        const char16_t cap = paletteCharacter(4, i);
        EXPECT_EQ(paletteCharacter(4, 52 + i), cap == u'Ё' ? u'ё' : cap + 0x20);
        if (cap != u'Ё' && previous != u'Ё') {
            EXPECT_EQ(cap, previous == 0 ? u'А' : previous + 1);
        }
        previous = cap;
    }
    EXPECT_EQ(paletteCharacter(4, 33), 0);
    EXPECT_EQ(paletteCharacter(4, 85), 0);
}

TEST(PaletteTables, CaptionsAndIndicesOutOfRange)
{
    EXPECT_EQ(paletteCaption(0, 6), u"&&");
    EXPECT_EQ(captionText(u"&&"), u"&");
    EXPECT_EQ(paletteCaption(2, 13), u"＆");  // the full-width one is no accelerator mark
    EXPECT_EQ(captionText(u"＆"), u"＆");
    EXPECT_EQ(paletteCaption(1, 70), u"");
    EXPECT_EQ(categoryCaption(0), u"半角記号・英数");
    EXPECT_EQ(categoryCaption(kSettingsCategory), u"設定");
    EXPECT_TRUE(categoryCaption(8).empty());
    EXPECT_EQ(paletteCharacter(7, 0), 0);
    EXPECT_EQ(paletteCharacter(0, 104), 0);
    EXPECT_EQ(paletteCharacter(0, -1), 0);
}

TEST(PaletteGrid, SwitchingCategoriesAndTheSettingsPanel)
{
    PaletteGrid grid;
    EXPECT_EQ(grid.category(), -1);
    grid.showCategory(1);
    EXPECT_FALSE(grid.isVisible(70));
    grid.showCategory(6);
    // Nothing stays hidden from category 1, which shows fewer buttons.
    for (int b = 0; b < kPaletteButtonCount; ++b) {
        const bool hidden = (b >= 46 && b <= 51) || (b >= 72 && b <= 77);
        EXPECT_EQ(grid.isVisible(b), !hidden) << b;
    }
    EXPECT_EQ(grid.caption(78), u"丿");
    grid.showCategory(kSettingsCategory);
    EXPECT_FALSE(grid.gridShown());
    EXPECT_EQ(grid.category(), kSettingsCategory);
    grid.showCategory(5);
    EXPECT_TRUE(grid.gridShown());
    EXPECT_FALSE(grid.isVisible(10));
    EXPECT_EQ(grid.caption(26), u"Ａ");
    grid.showCategory(9);  // ignored
    EXPECT_EQ(grid.category(), 5);
}

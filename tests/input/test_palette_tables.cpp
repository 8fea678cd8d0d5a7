#include <gtest/gtest.h>

#include <set>
#include <string>

#include "grid/Cp932.h"
#include "input/PaletteTables.h"

using namespace masumemo::input;
using masumemo::grid::WidthOf;

namespace {
std::u16string one(char16_t c)
{
    return std::u16string(1, c);
}
}  // namespace

TEST(PaletteTables, VisibleButtonsPerCategory)
{
    // Category 4 holds all 33 Russian capitals and 33 small letters.
    const int expected[kCharacterCategoryCount] = {95, 70, 78, 80, 66, 62, 92};
    for (int cat = 0; cat < kCharacterCategoryCount; ++cat) {
        SCOPED_TRACE(cat);
        EXPECT_EQ(visibleButtonCount(cat), expected[cat]);
        int shown = 0;
        for (int b = 0; b < kPaletteButtonCount; ++b) {
            shown += paletteCharacter(cat, b) != 0 ? 1 : 0;
        }
        EXPECT_EQ(shown, expected[cat]);
    }
    EXPECT_EQ(visibleButtonCount(kSettingsCategory), 0);
}

TEST(PaletteTables, EveryCharacterHasItsWidthAndARoundTripForm)
{
    for (int cat = 0; cat < kCharacterCategoryCount; ++cat) {
        std::set<char16_t> seen;
        for (int b = 0; b < kPaletteButtonCount; ++b) {
            const char16_t c = paletteCharacter(cat, b);
            if (c == 0) {
                continue;
            }
            SCOPED_TRACE(::testing::Message() << "category " << cat << " button " << b << " U+"
                                              << std::hex << static_cast<int>(c));
            EXPECT_EQ(WidthOf(one(c)), cat == 0 ? 1 : 2);
            EXPECT_TRUE(masumemo::grid::isCp932Encodable(c));
            EXPECT_EQ(masumemo::grid::toCanvasForm(one(c)), one(c));
            EXPECT_TRUE(seen.insert(c).second) << "listed twice";
        }
    }
}

TEST(PaletteTables, LookAlikesAreTheIntendedCodePoints)
{
    struct Row
    {
        const char* name;
        int category;
        int button;
        char16_t expected;
    };
    const Row rows[] = {
        {"digit nine ends row 1 of category 0", 0, 42, u'9'},
        {"full-width space", 1, 0, 0x3000},
        {"katakana middle dot", 1, 5, 0x30FB},
        {"acute accent", 1, 12, 0x00B4},
        {"full-width grave", 1, 13, 0xFF40},
        {"diaeresis", 1, 14, 0x00A8},
        {"full-width macron", 1, 16, 0xFFE3},
        {"prolonged sound mark", 1, 26, 0x30FC},
        {"horizontal bar", 1, 27, 0x2015},
        {"hyphen", 1, 28, 0x2010},
        {"full-width reverse solidus", 1, 30, 0xFF3C},
        {"parallel to", 1, 31, 0x2225},
        {"full-width vertical line", 1, 32, 0xFF5C},
        {"left single quote", 1, 37, 0x2018},
        {"right single quote", 1, 38, 0x2019},
        {"left double quote", 1, 39, 0x201C},
        {"right double quote", 1, 40, 0x201D},
        {"full-width hyphen-minus", 1, 42, 0xFF0D},
        {"full-width yen", 2, 7, 0xFFE5},
        {"full-width cent", 2, 9, 0xFFE0},
        {"full-width pound", 2, 10, 0xFFE1},
        {"full-width ampersand", 2, 13, 0xFF06},
        {"full-width tilde", 2, 17, 0xFF5E},
        {"large circle", 2, 49, 0x25EF},
        {"ideographic zero", 2, 50, 0x3007},
        {"full-width digit zero", 2, 51, 0xFF10},
        {"full-width not sign", 2, 52, 0xFFE2},
        {"angstrom sign", 2, 71, 0x212B},
        {"last greek capital omega", 3, 23, 0x03A9},
        {"light vertical", 3, 53, 0x2502},
        {"heavy vertical and horizontal", 3, 88, 0x254B},
        {"last box drawing", 3, 98, 0x2542},
        {"capital io after ie", 4, 6, 0x0401},
        {"capital pe", 4, 16, 0x041F},
        {"capital shcha starts row 1", 4, 26, 0x0429},
        {"small io after ie", 4, 58, 0x0451},
        {"katakana wi", 6, 52, 0x30F0},
        {"hiragana we", 6, 53, 0x3091},
        {"small tsu", 6, 71, 0x30C3},
        {"first stroke", 6, 78, 0x4E3F},
        {"last stroke", 6, 103, 0x51F9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(static_cast<int>(paletteCharacter(row.category, row.button)),
                  static_cast<int>(row.expected));
    }
}

TEST(PaletteTables, GreekAndRussianCapitalsPairWithTheirSmallLetters)
{
    // Greek: 24 capitals over 24 small letters, no final sigma.
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        const char16_t cap = paletteCharacter(3, i);
        EXPECT_EQ(paletteCharacter(3, 26 + i), cap + 0x20);
        EXPECT_NE(paletteCharacter(3, 26 + i), 0x03C2);
    }
    // Russian: capitals in buttons 0-32 and small letters in 52-84, Ё/ё pairing apart.
    char16_t previous = 0;
    for (int i = 0; i < 33; ++i) {
        SCOPED_TRACE(i);
        const char16_t cap = paletteCharacter(4, i);
        const char16_t small = paletteCharacter(4, 52 + i);
        EXPECT_EQ(small, cap == 0x0401 ? 0x0451 : cap + 0x20);
        if (cap != 0x0401 && previous != 0x0401) {
            EXPECT_EQ(cap, previous == 0 ? 0x0410 : previous + 1);
        }
        previous = cap;
    }
    EXPECT_EQ(paletteCharacter(4, 33), 0);
    EXPECT_EQ(paletteCharacter(4, 85), 0);
}

TEST(PaletteTables, AmpersandCaptionIsEscaped)
{
    EXPECT_EQ(paletteCaption(0, 6), u"&&");
    EXPECT_EQ(captionText(paletteCaption(0, 6)), u"&");
    EXPECT_EQ(paletteCaption(2, 13), u"＆");  // the full-width one is no accelerator mark
    EXPECT_EQ(captionText(u"＆"), u"＆");
    EXPECT_EQ(captionText(u"&"), u"&");
    EXPECT_EQ(paletteCaption(1, 70), u"");
}

TEST(PaletteTables, CaptionsAndIndicesOutOfRange)
{
    EXPECT_EQ(categoryCaption(0), u"半角記号・英数");
    EXPECT_EQ(categoryCaption(kSettingsCategory), u"設定");
    EXPECT_TRUE(categoryCaption(8).empty());
    EXPECT_EQ(paletteCharacter(7, 0), 0);
    EXPECT_EQ(paletteCharacter(0, 104), 0);
    EXPECT_EQ(paletteCharacter(0, -1), 0);
}

TEST(PaletteGrid, SwitchLeavesNoButtonHiddenFromThePreviousCategory)
{
    PaletteGrid grid;
    grid.showCategory(1);
    for (int b = 70; b < kPaletteButtonCount; ++b) {
        EXPECT_FALSE(grid.isVisible(b)) << b;
    }
    grid.showCategory(6);
    for (int b = 0; b < kPaletteButtonCount; ++b) {
        const bool hidden = (b >= 46 && b <= 51) || (b >= 72 && b <= 77);
        EXPECT_EQ(grid.isVisible(b), !hidden) << b;
    }
    EXPECT_EQ(grid.caption(78), u"丿");
    EXPECT_TRUE(grid.gridShown());
    EXPECT_EQ(grid.category(), 6);
}

TEST(PaletteGrid, SettingsCategoryShowsThePanelAndBackAgain)
{
    PaletteGrid grid;
    EXPECT_EQ(grid.category(), -1);
    grid.showCategory(0);
    EXPECT_EQ(grid.caption(6), u"&&");
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

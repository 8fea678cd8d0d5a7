#include <gtest/gtest.h>

#include <utility>

#include "grid/Cp932.h"
#include "grid/LineModel.h"

using namespace masumemo::grid;

// Records view the text they were split from, so a temporary string must not be split.
template <typename T>
constexpr bool splitsFrom = requires { SplitCanvas(std::declval<T>(), 0); };
static_assert(!splitsFrom<std::u16string>);
static_assert(splitsFrom<const std::u16string&>);
static_assert(splitsFrom<std::u16string_view>);

TEST(SplitCanvas, CaretMapping)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        int caret;
        int lines, line, column;
    };
    const Row rows[] = {
        {"empty text: one empty record", u"", 0, 1, 1, 0},
        {"caret at the end of line 1 belongs to line 1", u"ab\r\ncd", 2, 2, 1, 2},
        {"caret after CR LF is column 0 of line 2", u"ab\r\ncd", 4, 2, 2, 0},
        {"caret at the end of the text", u"ab\r\ncd", 6, 2, 2, 2},
        {"text ending in CR LF: empty last record", u"ab\r\n", 4, 2, 2, 0},
        {"empty lines", u"\r\n\r\n", 2, 3, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CanvasSplit split = SplitCanvas(row.text, row.caret);
        EXPECT_EQ(static_cast<int>(split.lines.size()), row.lines);
        EXPECT_EQ(split.line, row.line);
        EXPECT_EQ(split.column, row.column);
    }
}

TEST(SplitCanvas, LinesWiderThanSixteenBitsKeepTheirCounts)
{
    // A 20000 x 1 canvas: 40,000 units in one line.
    const std::u16string line = blankCanvas(20000, 1);
    const std::u16string text = line + u"\r\n" + line;
    const CanvasSplit split = SplitCanvas(text, 40003);
    ASSERT_EQ(split.lines.size(), 2u);
    EXPECT_EQ(split.lines[1].Width, 40000);
    EXPECT_EQ(split.lines[1].CharCount, 20000);
    EXPECT_EQ(split.line, 2);
    EXPECT_EQ(split.column, 20001);
}

TEST(SplitCanvas, AgreesWithSplitTextForEveryLineLength)
{
    // Lines of 0 to 19 characters put each CR at every place within and across the blocks of
    // characters the scan looks at together, mixing full-width and half-width characters.
    std::u16string text;
    for (int length = 0; length < 20; ++length) {
        for (int i = 0; i < length; ++i) {
            text += (i + length) % 3 == 0 ? u'\u3042' : u'a';
        }
        text += kCrLf;
    }
    text += u"\u3000z";
    const CanvasSplit split = SplitCanvas(text, 0);
    const std::vector<std::u16string> parts = SplitText(text);
    ASSERT_EQ(split.lines.size(), parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(split.lines[i].Text, parts[i]);
        EXPECT_EQ(split.lines[i].CharCount, static_cast<int>(parts[i].size()));
        EXPECT_EQ(split.lines[i].Width, WidthOf(parts[i]));
    }
    EXPECT_EQ(split.lines.back().Width, 3);
}

TEST(SplitText, EmptyTextAndLastLine)
{
    EXPECT_EQ(SplitText(u"x\r\n"), (std::vector<std::u16string>{u"x", u""}));
    EXPECT_EQ(SplitText(u""), (std::vector<std::u16string>{u""}));
}

TEST(Canvas, BlankCanvasAndJoin)
{
    const std::u16string text = blankCanvas(35, 20);
    const CanvasSplit split = SplitCanvas(text, 0);
    EXPECT_EQ(split.lines.size(), 20u);
    EXPECT_EQ(text.size(), 20u * 35 + 19 * 2);  // no break after the last line
    EXPECT_EQ(split.lines[19].Text, std::u16string(35, u'\u3000'));
    EXPECT_EQ(joinLines(split.lines), text);
    EXPECT_EQ(blankCanvas(0, 20), u"");
    EXPECT_EQ(blankCanvas(35, 0), u"");
    EXPECT_EQ(lineStartOffset(split.lines, 3), 74);
}

TEST(Canvas, IncomingTextIsNormalised)
{
    EXPECT_EQ(normaliseLineEnds(u"a\nb\rc\r\nd"), u"a\r\nb\r\nc\r\nd");
    // The clipboard's and txtMain's form; a selection may end between CR and LF.
    EXPECT_EQ(lineEndsAs(u"a\r\nb\rc\nd\r", u"\n"), u"a\nb\nc\nd\n");
    EXPECT_EQ(toIncomingCanvasText(u"a\tb\u301C\n\x7F"
                                   u"c"),
              u"ab\uFF5E\r\nc");
}

TEST(Canvas, TrailingSpaceTrimTakesBothSpaces)
{
    EXPECT_EQ(trimTrailingSpaces(u"ab \u3000 \u3000"), u"ab");
    EXPECT_EQ(trimTrailingSpaces(u" \u3000a"), u" \u3000a");
}

TEST(Blanking, SelectionBecomesSpacesOfTheSameWidth)
{
    EXPECT_EQ(HanZenSP(u'\uFF71'), u' ');  // half-width katakana
    EXPECT_EQ(HanZenSP(u'\u3042'), u'\u3000');
    // Across a line break the CR LF stays, so no line changes width.
    EXPECT_EQ(SelToSP(u"ab\r\n\u3042c", 1, 5), u"a \r\n\u3000 ");
    EXPECT_EQ(SelToSP(u"ab", 1, 99), u"a ");  // clamped to the text
    EXPECT_EQ(SelToSP(u"ab", -3, 1), u" b");
    EXPECT_TRUE(SelEnter(u"a\r\nb"));
    EXPECT_FALSE(SelEnter(u"ab"));
}

TEST(Blanking, CharsWithinWidth)
{
    EXPECT_EQ(charsWithinWidth(u"a\u3042b", 2), 1);  // the full-width character would pass
    EXPECT_EQ(charsWithinWidth(u"a\u3042b", 3), 2);
    EXPECT_EQ(charsWithinWidth(u"a\u3042b", 99), 3);
}

TEST(Segments, SplitAtUnitColumn)
{
    struct Row
    {
        const char* name;
        std::u16string line;
        int k;
        std::u16string left, right;
    };
    const Row rows[] = {
        {"k = 0: all right", u"a\u3042b", 0, u"", u"a\u3042b"},
        {"on a boundary", u"a\u3042b", 1, u"a", u"\u3042b"},
        {"inside a full-width character: a space for each half", u"a\u3042b", 2, u"a ", u" b"},
        {"at the end", u"a\u3042b", 4, u"a\u3042b", u""},
        {"past the end", u"ab", 9, u"ab", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const UnitSplit split = splitAtUnitColumn(row.line, row.k);
        EXPECT_EQ(split.left, row.left);
        EXPECT_EQ(split.right, row.right);
    }
}

TEST(Segments, DroppingWidthFillsAnOvershootWithOneSpace)
{
    EXPECT_EQ(dropLeadingWidth(u"ab\u3042", 2), u"\u3042");
    EXPECT_EQ(dropLeadingWidth(u"\u3042ab", 1), u" ab");  // half of the full-width one covered
    EXPECT_EQ(dropLeadingWidth(u"ab", 0), u"ab");
    EXPECT_EQ(dropLeadingWidth(u"ab", 5), u"");
    EXPECT_EQ(dropTrailingWidth(u"ab\u3042", 2), u"ab");
    EXPECT_EQ(dropTrailingWidth(u"ab\u3042", 1), u"ab ");
    EXPECT_EQ(dropTrailingWidth(u"ab", 1), u"a");
}

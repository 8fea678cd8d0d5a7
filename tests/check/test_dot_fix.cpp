// The fix in the board font's dots: each blank run keeps its width where blanks a board keeps can
// make it, else the nearest such blanks with the next run taking the difference back, and the
// line's largest shift is reported.

#include <gtest/gtest.h>

#include <string>

#include "check/BoardCheck.h"
#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"
#include "check/DotFix.h"

using namespace masumemo::check;

namespace {

using masumemo::board::composeBlankRun;
using masumemo::board::ComposedRun;
using masumemo::board::runDots;

/// Full-width and half-width spaces only, as on a board that turns references into "?".
constexpr bool kNoUnicode = false;

struct RunRow
{
    const char* name;
    int width;
    bool atLineStart;
    std::u16string text;
    int deviation;
};

}  // namespace

TEST(DotFix, RunsKeepTheirWidthInDotsWithBlanksABoardKeeps)
{
    const RunRow rows[] = {
        {"half and full at the line start", 16, true, u"\u3000 ", 0},
        {"half leads away from the line start", 21, false, u" \u3000 ", 0},
        {"full, half, full", 27, false, u"\u3000 \u3000", 0},
        {"five fulls, not eleven halves", 55, false, u"\u3000\u3000\u3000\u3000\u3000", 0},
        {"two halves become the nearest full", 10, false, u"\u3000", 1},
        {"eight halves: two dots short", 40, false, u"\u3000 \u3000\u3000", -2},
        {"a lone half at the line start goes", 5, true, u"", -5},
    };
    for (const RunRow& r : rows) {
        SCOPED_TRACE(r.name);
        const ComposedRun run = composeBlankRun(r.width, {r.atLineStart}, kNoUnicode);
        EXPECT_EQ(run.text, r.text);
        EXPECT_EQ(run.deviation, r.deviation);
        EXPECT_EQ(runDots(run.text), r.width + r.deviation);
        // Whatever it writes, the board leaves alone.
        const std::u16string line = u"|" + run.text + u"|";
        std::vector<Problem> problems;
        checkLine(r.atLineStart ? line.substr(1) : line, 1, problems);
        EXPECT_TRUE(problems.empty());
    }
}

TEST(DotFix, EveryWidthComesOutSafeAndNearest)
{
    // Brute force over small runs: no combination of the board's blanks is nearer.
    for (int width = 1; width <= 120; ++width) {
        for (bool atStart : {false, true}) {
            const ComposedRun run = composeBlankRun(width, {atStart}, kNoUnicode);
            EXPECT_FALSE(boardChangesRun(run.text, atStart)) << width;
            for (int n = 0; n <= 12; ++n) {
                for (int m = 0; m <= (atStart ? n : n + 1); ++m) {
                    EXPECT_LE(std::abs(run.deviation), std::abs(11 * n + 5 * m - width))
                        << width << " " << n << " " << m;
                }
            }
        }
    }
}

TEST(DotFix, TheLineReportsItsLargestShift)
{
    // Eight halves come back 2 dots short, then two halves 1 dot long: "c" ends 1 dot left,
    // "b" 2 dots left.
    const DotLine line = fixLineInDots(u"a        b  c   ", kNoUnicode);
    EXPECT_EQ(line.text, u"a\u3000 \u3000\u3000b\u3000c   ");
    EXPECT_EQ(line.deviation, -2);
    EXPECT_EQ(fixLineInDots(u"\u3000 a \u3000 b", kNoUnicode).deviation, 0);
}

TEST(DotFix, TheNextRunTakesTheDifferenceBack)
{
    struct Row
    {
        const char* name;
        std::u16string line;
        bool unicode;
        std::u16string text;
        int deviation;
    };
    const Row rows[] = {
        // "  " (10 dots) can only become 11; the next run, 38 dots, becomes 37 and "c" is back.
        {"a run the board keeps takes the dot back", u"a  b\u3000\u3000\u3000 c\u3000", false,
         u"a\u3000b \u3000 \u3000 c\u3000", 1},
        // 11 - 1 = 10 dots cannot be made of the board's two blanks: the dot stays.
        {"...or cannot, and the shift goes on", u"a  b\u3000c\u3000", false,
         u"a\u3000b\u3000c\u3000", 1},
        // With Unicode spaces, both runs are exact.
        {"Unicode spaces make every run exact", u"a  b\u3000c\u3000", true,
         u"a\u2002\u2009b\u3000c\u3000", 0},
        {"a run the board keeps and no shift before it stays as written",
         u"a\u2009b \u3000c", true, u"a\u2009b \u3000c", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const DotLine line = fixLineInDots(r.line, r.unicode);
        EXPECT_EQ(line.text, r.text);
        EXPECT_EQ(line.deviation, r.deviation);
    }
}

TEST(DotFix, ACanvasKeepsEveryLineItsWidthInCells)
{
    // Eight halves (8 cells) become 7 cells of blanks; a half-width space at the end makes up
    // the eighth. The line ends and the clean line stay.
    EXPECT_EQ(fixForBoardInDots(u"a        b\r\n\u3000\u3000\u3000\u3000\u3000", kNoUnicode),
              u"a\u3000 \u3000\u3000b \r\n\u3000\u3000\u3000\u3000\u3000");
    EXPECT_EQ(fixForBoardInDots(u"", kNoUnicode), u"");
}

TEST(DotFix, TheLinesTheFixMovesAreListedWithTheirFirstMovedRun)
{
    struct LineRow
    {
        const char* name;
        std::u16string line;
        bool listed;
        LineShift shift;  // line number filled in below
    };
    const LineRow rows[] = {
        // 40 dots of halves become 38: "b" ends 2 dots left.
        {"eight halves", u"a        b", true, {0, -2, 1, 1, 8}},
        {"blanks a board keeps", u"\u3000 a \u3000 b", false, {}},
        // 10 dots become one full-width space, 11.
        {"two halves", u"a  b", true, {0, 1, 1, 1, 2}},
        {"two halves at the line start", u"  |", true, {0, 1, 0, 0, 2}},
        // The first run keeps its 21 dots as " \u3000 "; the second is the one that moves.
        {"the second run moves", u"x\u3000  y  z", true, {0, 1, 6, 5, 2}},
        // +1 after "b", then nine halves 45 -> 44 bring "c" back: the largest shift stays.
        {"shifts that cancel", u"a  b         c", true, {0, 1, 1, 1, 2}},
        {"a run at the line end is dropped anyway", u"a        ", false, {}},
        {"empty line", u"", false, {}},
    };
    std::u16string canvas;
    std::vector<LineShift> expected;
    int number = 0;
    for (const LineRow& row : rows) {
        canvas += (number++ > 0 ? u"\r\n" : u"") + row.line;
        if (row.listed) {
            LineShift shift = row.shift;
            shift.line = number;
            expected.push_back(shift);
        }
        // Every line alone gives the same deviation the list shows.
        EXPECT_EQ(fixLineInDots(row.line, kNoUnicode).deviation, row.shift.dots) << row.name;
    }
    EXPECT_EQ(dotShifts(canvas, kNoUnicode), expected);
    EXPECT_TRUE(dotShifts(u"", kNoUnicode).empty());
}

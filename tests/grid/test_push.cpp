// Push, pull and block moves: exact lines and carets. In the tables "_" stands for the
// full-width space U+3000 and " " is the half-width space.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corpus.h"
#include "TableNotation.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "grid/Push.h"

namespace masumemo::grid {
namespace {

using notation::line;
using notation::lines;

std::u16string canvas(const std::vector<std::string>& notations)
{
    return joinLines(lines(notations));
}

/// The offset of (1-based line, column) in the canvas.
int offset(const std::vector<std::string>& lines, int lineNo, int column)
{
    int at = column;
    for (int i = 0; i + 1 < lineNo; ++i) {
        at += static_cast<int>(line(lines[static_cast<size_t>(i)]).size()) + 2;
    }
    return at;
}

struct Cell
{
    int line;
    int column;
};

Cell cellOf(std::u16string_view text, int caret)
{
    const CanvasSplit split = SplitCanvas(text, caret);
    return {split.line, split.column};
}

enum class Op
{
    Push,
    Pull
};

TEST(DropStep, EachEdgeAndStep)
{
    struct Row
    {
        const char* name;
        const char* segment;
        Edge edge;
        Step step;
        const char* rest;
        const char* filler;
    };
    const Row rows[] = {
        {"half step, half-width at start", "abあ", Edge::Start, Step::Half, "bあ", " "},
        {"half step, full-width at start leaves its half", "あいa", Edge::Start, Step::Half, " いa",
         " "},
        {"half step, full-width at end leaves its half", "aあい", Edge::End, Step::Half, "aあ ",
         " "},
        {"half step, half-width at end", "あab", Edge::End, Step::Half, "あa", " "},
        {"full step, full-width at start", "あいa", Edge::Start, Step::Full, "いa", "_"},
        {"full step, two half-width at start", "abあ", Edge::Start, Step::Full, "あ", "_"},
        {"full step, half then full at start", "aあい", Edge::Start, Step::Full, " い", "_"},
        {"full step, full then half at end", "いあa", Edge::End, Step::Full, "い ", "_"},
        {"full step, two half-width at end", "あab", Edge::End, Step::Full, "あ", "_"},
        {"full step, a lone half-width character", "a", Edge::End, Step::Full, "", " "},
        {"full step, a lone full-width character", "あ", Edge::Start, Step::Full, "", "_"},
        {"empty segment drops nothing", "", Edge::Start, Step::Full, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string segment = line(row.segment);
        const DroppedStep d = dropStep(segment, row.edge, row.step);
        EXPECT_EQ(d.rest, line(row.rest));
        EXPECT_EQ(d.filler, line(row.filler));
        if (!segment.empty()) {
            EXPECT_EQ(WidthOf(d.rest) + WidthOf(d.filler), WidthOf(segment));
        }
    }
}

struct MoveRow
{
    const char* name;
    std::vector<std::string> before;
    Cell caret;
    Op op;
    Arrow arrow;
    Step step;
    std::vector<std::string> after;  // empty: nothing happens
    Cell newCaret;
};

void checkMoves(const std::vector<MoveRow>& rows, int keta)
{
    for (const MoveRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string text = canvas(row.before);
        const int at = offset(row.before, row.caret.line, row.caret.column);
        const MoveOutcome out = row.op == Op::Push ? Push(text, at, row.arrow, row.step, keta)
                                                   : Pull(text, at, row.arrow, row.step, keta);
        if (row.after.empty()) {
            EXPECT_FALSE(out.changed);
            EXPECT_EQ(out.text, text);
            EXPECT_EQ(out.caret, at);
            continue;
        }
        EXPECT_TRUE(out.changed);
        EXPECT_EQ(SplitText(out.text), lines(row.after));
        const Cell c = cellOf(out.text, out.caret);
        EXPECT_EQ(c.line, row.newCaret.line);
        EXPECT_EQ(c.column, row.newCaret.column);
        EXPECT_EQ(out.selectionLength, 0);
    }
}

TEST(Push, HorizontalMovesAtTheCaret)
{
    // Keta 4: every line is 8 units.
    // clang-format off
    checkMoves({
        {"half: Alt+Left halves the first full-width character, caret after the moved text",
         {"あいうえ"}, {1, 3}, Op::Push, Arrow::Left, Step::Half, {" いう え"}, {1, 3}},
        {"full: Alt+Left drops a letter and a full-width character, caret one left",
         {"aあいう "}, {1, 4}, Op::Push, Arrow::Left, Step::Full, {" いう_ "}, {1, 3}},
        {"full: Alt+Left on a lone letter leaves one half-width space",
         {"aあいう "}, {1, 1}, Op::Push, Arrow::Left, Step::Full, {" あいう "}, {1, 0}},
        {"full: Alt+Right drops a full-width character and the letter after it",
         {"あい うa"}, {1, 1}, Op::Push, Arrow::Right, Step::Full, {"あ_い  "}, {1, 2}},
        {"half: Alt+Right from column 0 moves the whole line",
         {"abcあいa"}, {1, 0}, Op::Push, Arrow::Right, Step::Half, {" abcあい"}, {1, 1}},
        {"half: Shift+Alt+Left deletes the cell before the caret and closes up",
         {"abあいc "}, {1, 2}, Op::Pull, Arrow::Left, Step::Half, {"aあいc  "}, {1, 1}},
        {"half: Shift+Alt+Left halves a full-width character before the caret",
         {"あいう_"}, {1, 2}, Op::Pull, Arrow::Left, Step::Half, {"あ う_ "}, {1, 2}},
        {"full: Shift+Alt+Right drops the full-width cell at the caret",
         {"aあいう "}, {1, 1}, Op::Pull, Arrow::Right, Step::Full, {"_aいう "}, {1, 2}},
        {"full: Shift+Alt+Right at column 0 drops two letters",
         {"abあいう"}, {1, 0}, Op::Pull, Arrow::Right, Step::Full, {"_あいう"}, {1, 1}},
        {"the second line moves alone",
         {"あいうえ", "abcdefgh"}, {2, 4}, Op::Push, Arrow::Left, Step::Full,
         {"あいうえ", "cd_efgh"}, {2, 2}},
        {"Alt+Left at column 0", {"あいうえ"}, {1, 0}, Op::Push, Arrow::Left, Step::Half, {}, {}},
        {"Alt+Right at the line end",
         {"あいうえ", "abcdefgh"}, {1, 4}, Op::Push, Arrow::Right, Step::Full, {}, {}},
        {"Shift+Alt+Left at column 0",
         {"あいうえ"}, {1, 0}, Op::Pull, Arrow::Left, Step::Full, {}, {}},
        {"Shift+Alt+Right at the end of the text",
         {"あいうえ"}, {1, 4}, Op::Pull, Arrow::Right, Step::Half, {}, {}},
    }, 4);
    // clang-format on
}

TEST(Push, VerticalMovesWholeLines)
{
    // Keta 2: every line is 4 units; the lines differ in length so the caret offsets tell.
    const std::vector<std::string> lines = {"abい", "うえ", "1234", "xyz "};
    // clang-format off
    checkMoves({
        {"Alt+Down: caret line and below move down, the last is lost",
         lines, {2, 1}, Op::Push, Arrow::Down, Step::Half, {"abい", "__", "うえ", "1234"}, {3, 1}},
        {"Alt+Up: line 1 is lost, the caret line becomes blank",
         lines, {2, 1}, Op::Push, Arrow::Up, Step::Full, {"うえ", "__", "1234", "xyz "}, {1, 1}},
        {"Shift+Alt+Up: the lines below close up over the line above",
         lines, {3, 2}, Op::Pull, Arrow::Up, Step::Half, {"abい", "1234", "xyz ", "__"}, {2, 2}},
        {"Shift+Alt+Down: the lines above close down over the line below",
         lines, {2, 2}, Op::Pull, Arrow::Down, Step::Half, {"__", "abい", "うえ", "xyz "}, {3, 2}},
        {"Alt+Down from line 1 at its end",
         lines, {1, 3}, Op::Push, Arrow::Down, Step::Half, {"__", "abい", "うえ", "1234"}, {2, 3}},
        {"Alt+Up on line 1", lines, {1, 2}, Op::Push, Arrow::Up, Step::Half, {}, {}},
        {"Alt+Down on the last line", lines, {4, 0}, Op::Push, Arrow::Down, Step::Half, {}, {}},
        {"Shift+Alt+Up on line 1", lines, {1, 0}, Op::Pull, Arrow::Up, Step::Half, {}, {}},
        {"Shift+Alt+Down on the last line",
         lines, {4, 4}, Op::Pull, Arrow::Down, Step::Full, {}, {}},
    }, 2);
    // clang-format on
}

TEST(Push, BlankLinesMoveTheCaretWithoutAChange)
{
    const std::u16string text = blankCanvas(3, 3);
    const MoveOutcome out = Push(text, 1, Arrow::Down, Step::Half, 3);
    EXPECT_FALSE(out.changed);  // nothing to record
    EXPECT_EQ(out.text, text);
    EXPECT_EQ(out.caret, 1 + 3 + 2);
}

TEST(Push, EmptyCanvasDoesNothing)
{
    for (Arrow arrow : {Arrow::Left, Arrow::Up, Arrow::Right, Arrow::Down}) {
        for (Step step : {Step::Half, Step::Full}) {
            for (const MoveOutcome& out :
                 {Push(u"", 0, arrow, step, 0), Pull(u"", 0, arrow, step, 0),
                  SellMove(u"", 0, 0, arrow, step, 0)}) {
                EXPECT_FALSE(out.changed);
                EXPECT_EQ(out.text, u"");
                EXPECT_EQ(out.caret, 0);
                EXPECT_EQ(out.selectionLength, 0);
            }
        }
    }
}

struct SelectionRow
{
    const char* name;
    std::vector<std::string> before;
    Cell from;  // the selection's lower end, whichever way it was made
    Cell to;
    Arrow arrow;
    Step step;
    std::vector<std::string> after;  // empty: nothing happens
    Cell newStart;
    int newLength;
};

TEST(SellMove, SelectionsMoveAndStaySelected)
{
    const std::vector<std::string> three = {"あいうえ", "abcdefgh", "12345678"};
    const std::vector<std::string> four = {"あいうえ", "abcdefgh", "12345678", "かきくけ"};
    // clang-format off
    const SelectionRow rows[] = {
        {"Left, half: the full-width character before the selection is halved",
         three, {1, 2}, {1, 3}, Arrow::Left, Step::Half,
         {"あ う え", "abcdefgh", "12345678"}, {1, 2}, 1},
        {"Left, full: two letters before the selection go",
         three, {2, 2}, {2, 4}, Arrow::Left, Step::Full,
         {"あいうえ", "cd_efgh", "12345678"}, {2, 0}, 2},
        {"Right, full: the full-width character after the selection goes",
         {"abあいc "}, {1, 2}, {1, 3}, Arrow::Right, Step::Full, {"ab_あc "}, {1, 3}, 1},
        {"Right, full: two letters after the selection go",
         {"あabいc "}, {1, 0}, {1, 1}, Arrow::Right, Step::Full, {"_あいc "}, {1, 1}, 1},
        {"Up: laid over the line above, blanked in its own line",
         three, {2, 2}, {2, 4}, Arrow::Up, Step::Half,
         {"あcdうえ", "ab  efgh", "12345678"}, {1, 1}, 2},
        {"Up: landing inside a full-width character leaves a space on each side",
         three, {2, 1}, {2, 3}, Arrow::Up, Step::Half,
         {" bc うえ", "a  defgh", "12345678"}, {1, 1}, 2},
        {"Down: a full-width cell over two letters, its place blanked full-width",
         three, {1, 1}, {1, 2}, Arrow::Down, Step::Full,
         {"あ_うえ", "abいefgh", "12345678"}, {2, 2}, 1},
        {"Left at the line start", three, {1, 0}, {1, 2}, Arrow::Left, Step::Half, {}, {}, 0},
        {"Right at the line end", three, {2, 6}, {2, 8}, Arrow::Right, Step::Half, {}, {}, 0},
        {"Up on line 1", three, {1, 1}, {1, 2}, Arrow::Up, Step::Half, {}, {}, 0},
        {"Down on the last line", three, {3, 0}, {3, 8}, Arrow::Down, Step::Full, {}, {}, 0},
        {"two lines Right, half: both shift, both whole lines selected",
         three, {1, 3}, {2, 2}, Arrow::Right, Step::Half,
         {" あいう ", " abcdefg", "12345678"}, {1, 0}, 5 + 2 + 8},
        {"two lines Left, full: both shift",
         three, {2, 7}, {3, 1}, Arrow::Left, Step::Full,
         {"あいうえ", "cdefgh_", "345678_"}, {2, 0}, 7 + 2 + 7},
        // Made upwards from line 3: the lines are found from the lower end, not the caret line.
        {"dragged upwards from line 3 to line 2 moves lines 2 and 3",
         four, {2, 5}, {3, 2}, Arrow::Right, Step::Full,
         {"あいうえ", "_abcdef", "_123456", "かきくけ"}, {2, 0}, 7 + 2 + 7},
        {"ending at a line start takes that line too",
         four, {1, 4}, {2, 0}, Arrow::Left, Step::Half,
         {" いうえ ", "bcdefgh ", "12345678", "かきくけ"}, {1, 0}, 5 + 2 + 8},
        {"two lines Up change nothing", three, {1, 1}, {2, 1}, Arrow::Up, Step::Half, {}, {}, 0},
        {"two lines Down change nothing",
         three, {2, 1}, {3, 1}, Arrow::Down, Step::Full, {}, {}, 0},
    };
    // clang-format on
    for (const SelectionRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string text = canvas(row.before);
        const int start = offset(row.before, row.from.line, row.from.column);
        const int length = offset(row.before, row.to.line, row.to.column) - start;
        const MoveOutcome out = SellMove(text, start, length, row.arrow, row.step, 4);
        if (row.after.empty()) {
            EXPECT_FALSE(out.changed);
            EXPECT_EQ(out.text, text);
            EXPECT_EQ(out.caret, start);
            EXPECT_EQ(out.selectionLength, length);
            continue;
        }
        EXPECT_TRUE(out.changed);
        EXPECT_EQ(SplitText(out.text), lines(row.after));
        const Cell c = cellOf(out.text, out.caret);
        EXPECT_EQ(c.line, row.newStart.line);
        EXPECT_EQ(c.column, row.newStart.column);
        EXPECT_EQ(out.selectionLength, row.newLength);
    }
}

TEST(SellMove, SelectAllShiftsEveryLine)
{
    const std::u16string text = canvas({"あいうえ", "abcdefgh", "12345678"});
    const MoveOutcome out =
        SellMove(text, 0, static_cast<int>(text.size()), Arrow::Left, Step::Full, 4);
    EXPECT_EQ(SplitText(out.text), lines({"いうえ_", "cdefgh_", "345678_"}));
    EXPECT_EQ(out.caret, 0);
    EXPECT_EQ(out.selectionLength, static_cast<int>(out.text.size()));
}

// Every operation at every caret and over every selection of a small mixed canvas keeps the
// grid: same line count, every line 2 x Keta units, caret and selection inside the text.
TEST(PushInvariant, EveryPositionKeepsTheGrid)
{
    const int keta = 3;
    const std::u16string text = canvas({"aあ bc", "いうa ", "_cdあ", "xyz_ "});
    const auto check = [&](const MoveOutcome& out) {
        const std::vector<std::u16string> lines = SplitText(out.text);
        ASSERT_EQ(lines.size(), 4u);
        for (const std::u16string& l : lines) {
            EXPECT_EQ(WidthOf(l), 2 * keta);
        }
        EXPECT_GE(out.caret, 0);
        EXPECT_GE(out.selectionLength, 0);
        EXPECT_LE(out.caret + out.selectionLength, static_cast<int>(out.text.size()));
    };
    const int size = static_cast<int>(text.size());
    for (Arrow arrow : {Arrow::Left, Arrow::Up, Arrow::Right, Arrow::Down}) {
        for (Step step : {Step::Half, Step::Full}) {
            for (int start = 0; start <= size; ++start) {
                SCOPED_TRACE(start);
                check(Push(text, start, arrow, step, keta));
                check(Pull(text, start, arrow, step, keta));
                for (int length = 0; start + length <= size; ++length) {
                    check(SellMove(text, start, length, arrow, step, keta));
                }
            }
        }
    }
}

// Out-of-range carets, offsets inside a line break and malformed text never index outside the
// text or throw.
TEST(PushInvariant, WildInputsStaySafe)
{
    const std::u16string texts[] = {u"", u"\r\n", u"ab\r", u"\r", u"a\rb\r\nc", u"\u3042\r\n"};
    const int offsets[] = {-7, 0, 1, 2, 3, 100};
    for (const std::u16string& text : texts) {
        for (int at : offsets) {
            for (int length : {-3, 0, 1, 2, 50}) {
                for (Arrow arrow : {Arrow::Left, Arrow::Up, Arrow::Right, Arrow::Down}) {
                    for (Step step : {Step::Half, Step::Full}) {
                        for (const MoveOutcome& out :
                             {Push(text, at, arrow, step, 1), Pull(text, at, arrow, step, 0),
                              SellMove(text, at, length, arrow, step, 1)}) {
                            EXPECT_GE(out.caret, 0);
                            EXPECT_GE(out.selectionLength, 0);
                            EXPECT_LE(out.caret + out.selectionLength,
                                      static_cast<int>(out.text.size()));
                        }
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace masumemo::grid

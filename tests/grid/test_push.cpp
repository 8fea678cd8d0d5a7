// Push, pull and block moves: exact lines and carets. In the tables "_" stands for the
// full-width space U+3000 and " " is the half-width space. Line counts and widths after every
// kind of move are checked by the randomised invariant test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableNotation.h"
#include "grid/LineModel.h"
#include "grid/Push.h"

namespace masumemo::grid {
namespace {

using notation::line;
using notation::lines;

constexpr Arrow kArrows[] = {Arrow::Left, Arrow::Up, Arrow::Right, Arrow::Down};
constexpr Step kSteps[] = {Step::Half, Step::Full};

/// A grid position: 1-based line, 0-based column in characters; line 0 stands for none.
struct Cell
{
    int line = 0;
    int column = 0;
};

int offset(const std::vector<std::string>& notations, Cell cell)
{
    int at = cell.column;
    for (int i = 0; i + 1 < cell.line; ++i) {
        at += static_cast<int>(line(notations[static_cast<size_t>(i)]).size()) + 2;
    }
    return at;
}

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
    // Cutting a full-width character in half at either edge, and two half-width characters
    // making one full step, are pinned with their carets in the move tables below.
    const Row rows[] = {
        {"half step, half-width at start", "abあ", Edge::Start, Step::Half, "bあ", " "},
        {"full step, full-width at start", "あいa", Edge::Start, Step::Full, "いa", "_"},
        {"full step, a lone half-width character", "a", Edge::End, Step::Full, "", " "},
        {"full step, a lone full-width character", "あ", Edge::Start, Step::Full, "", "_"},
        {"empty segment drops nothing", "", Edge::Start, Step::Full, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DroppedStep d = dropStep(line(row.segment), row.edge, row.step);
        EXPECT_EQ(d.rest, line(row.rest));
        EXPECT_EQ(d.filler, line(row.filler));
    }
}

enum class Op
{
    Push,
    Pull,
    Sell
};

struct MoveRow
{
    const char* name;
    std::vector<std::string> before;
    Op op;
    Arrow arrow;
    Step step;
    Cell from;  // the caret, or the selection's lower end whichever way it was made
    Cell to;    // the selection's other end (Sell only)
    std::vector<std::string> after;  // empty: the text stays as it was
    Cell caret;                      // afterwards; line 0: where it was
    int length = 0;  // of the selection afterwards
};

void checkMoves(const std::vector<MoveRow>& rows, int keta)
{
    for (const MoveRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string text = joinLines(lines(row.before));
        const int start = offset(row.before, row.from);
        const int length = row.to.line > 0 ? offset(row.before, row.to) - start : 0;
        const MoveOutcome out = row.op == Op::Push ? Push(text, start, row.arrow, row.step, keta)
                                : row.op == Op::Pull
                                    ? Pull(text, start, row.arrow, row.step, keta)
                                    : SellMove(text, start, length, row.arrow, row.step, keta);
        if (row.after.empty()) {
            EXPECT_FALSE(out.changed);
            EXPECT_EQ(out.text, text);
            // Unless a caret is given, the caret and the selection stay as they were.
            EXPECT_EQ(out.caret, row.caret.line > 0 ? offset(row.before, row.caret) : start);
            EXPECT_EQ(out.selectionLength, row.caret.line > 0 ? row.length : length);
            continue;
        }
        EXPECT_TRUE(out.changed);
        EXPECT_EQ(SplitText(out.text), lines(row.after));
        const CanvasSplit split = SplitCanvas(out.text, out.caret);
        EXPECT_EQ(split.line, row.caret.line);
        EXPECT_EQ(split.column, row.caret.column);
        EXPECT_EQ(out.selectionLength, row.length);
    }
}

TEST(Push, HorizontalMovesAtTheCaret)
{
    // Keta 4: every line is 8 units.
    const Op push = Op::Push;
    const Op pull = Op::Pull;
    // clang-format off
    checkMoves({
        {"half: Alt+Left halves the first full-width character, caret after the moved text",
         {"あいうえ"}, push, Arrow::Left, Step::Half, {1, 3}, {}, {" いう え"}, {1, 3}},
        {"full: Alt+Left drops a letter and a full-width character, caret one left",
         {"aあいう "}, push, Arrow::Left, Step::Full, {1, 4}, {}, {" いう_ "}, {1, 3}},
        {"full: Alt+Left on a lone letter leaves one half-width space",
         {"aあいう "}, push, Arrow::Left, Step::Full, {1, 1}, {}, {" あいう "}, {1, 0}},
        {"full: Alt+Right drops a full-width character and the letter after it",
         {"あい うa"}, push, Arrow::Right, Step::Full, {1, 1}, {}, {"あ_い  "}, {1, 2}},
        {"half: Alt+Right from column 0 moves the whole line",
         {"abcあいa"}, push, Arrow::Right, Step::Half, {1, 0}, {}, {" abcあい"}, {1, 1}},
        {"half: Shift+Alt+Left deletes the cell before the caret and closes up",
         {"abあいc "}, pull, Arrow::Left, Step::Half, {1, 2}, {}, {"aあいc  "}, {1, 1}},
        {"half: Shift+Alt+Left halves a full-width character before the caret",
         {"あいう_"}, pull, Arrow::Left, Step::Half, {1, 2}, {}, {"あ う_ "}, {1, 2}},
        {"full: Shift+Alt+Right drops the full-width cell at the caret",
         {"aあいう "}, pull, Arrow::Right, Step::Full, {1, 1}, {}, {"_aいう "}, {1, 2}},
        {"full: Shift+Alt+Right at column 0 drops two letters",
         {"abあいう"}, pull, Arrow::Right, Step::Full, {1, 0}, {}, {"_あいう"}, {1, 1}},
        {"the second line moves alone", {"あいうえ", "abcdefgh"}, push, Arrow::Left, Step::Full,
         {2, 4}, {}, {"あいうえ", "cd_efgh"}, {2, 2}},
        {"Alt+Left at column 0", {"あいうえ"}, push, Arrow::Left, Step::Half, {1, 0}, {}, {}, {}},
        {"Alt+Right at the line end", {"あいうえ", "abcdefgh"}, push, Arrow::Right, Step::Full,
         {1, 4}, {}, {}, {}},
        {"Shift+Alt+Left at column 0", {"あいうえ"}, pull, Arrow::Left, Step::Full, {1, 0}, {},
         {}, {}},
        {"Shift+Alt+Right at the end of the text", {"あいうえ"}, pull, Arrow::Right, Step::Half,
         {1, 4}, {}, {}, {}},
    }, 4);
    // clang-format on
}

TEST(Push, VerticalMovesWholeLines)
{
    // Keta 2: every line is 4 units; the lines differ in length so the caret offsets tell.
    const std::vector<std::string> l = {"abい", "うえ", "1234", "xyz "};
    const Op push = Op::Push;
    const Op pull = Op::Pull;
    // clang-format off
    checkMoves({
        {"Alt+Down: caret line and below move down, the last is lost",
         l, push, Arrow::Down, Step::Half, {2, 1}, {}, {"abい", "__", "うえ", "1234"}, {3, 1}},
        {"Alt+Up: line 1 is lost, the caret line becomes blank",
         l, push, Arrow::Up, Step::Full, {2, 1}, {}, {"うえ", "__", "1234", "xyz "}, {1, 1}},
        {"Shift+Alt+Up: the lines below close up over the line above",
         l, pull, Arrow::Up, Step::Half, {3, 2}, {}, {"abい", "1234", "xyz ", "__"}, {2, 2}},
        {"Shift+Alt+Down: the lines above close down over the line below",
         l, pull, Arrow::Down, Step::Half, {2, 2}, {}, {"__", "abい", "うえ", "xyz "}, {3, 2}},
        {"Alt+Down from line 1 at its end",
         l, push, Arrow::Down, Step::Half, {1, 3}, {}, {"__", "abい", "うえ", "1234"}, {2, 3}},
        {"Alt+Up on line 1", l, push, Arrow::Up, Step::Half, {1, 2}, {}, {}, {}},
        {"Alt+Down on the last line", l, push, Arrow::Down, Step::Half, {4, 0}, {}, {}, {}},
        {"Shift+Alt+Up on line 1", l, pull, Arrow::Up, Step::Half, {1, 0}, {}, {}, {}},
        {"Shift+Alt+Down on the last line", l, pull, Arrow::Down, Step::Full, {4, 4}, {}, {}, {}},
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

TEST(SellMove, SelectionsMoveAndStaySelected)
{
    const std::vector<std::string> three = {"あいうえ", "abcdefgh", "12345678"};
    const std::vector<std::string> four = {"あいうえ", "abcdefgh", "12345678", "かきくけ"};
    const Op sell = Op::Sell;
    // clang-format off
    checkMoves({
        {"Left, half: the full-width character before the selection is halved",
         three, sell, Arrow::Left, Step::Half, {1, 2}, {1, 3},
         {"あ う え", "abcdefgh", "12345678"}, {1, 2}, 1},
        {"Left, full: two letters before the selection go",
         three, sell, Arrow::Left, Step::Full, {2, 2}, {2, 4},
         {"あいうえ", "cd_efgh", "12345678"}, {2, 0}, 2},
        {"Right, full: the full-width character after the selection goes",
         {"abあいc "}, sell, Arrow::Right, Step::Full, {1, 2}, {1, 3}, {"ab_あc "}, {1, 3}, 1},
        {"Up: laid over the line above, blanked in its own line",
         three, sell, Arrow::Up, Step::Half, {2, 2}, {2, 4},
         {"あcdうえ", "ab  efgh", "12345678"}, {1, 1}, 2},
        {"Up: landing inside a full-width character leaves a space on each side",
         three, sell, Arrow::Up, Step::Half, {2, 1}, {2, 3},
         {" bc うえ", "a  defgh", "12345678"}, {1, 1}, 2},
        {"Down: a full-width cell over two letters, its place blanked full-width",
         three, sell, Arrow::Down, Step::Full, {1, 1}, {1, 2},
         {"あ_うえ", "abいefgh", "12345678"}, {2, 2}, 1},
        {"Left at the line start", three, sell, Arrow::Left, Step::Half, {1, 0}, {1, 2}, {}, {}},
        {"Right at the line end", three, sell, Arrow::Right, Step::Half, {2, 6}, {2, 8}, {}, {}},
        {"Up on line 1", three, sell, Arrow::Up, Step::Half, {1, 1}, {1, 2}, {}, {}},
        {"Down on the last line", three, sell, Arrow::Down, Step::Full, {3, 0}, {3, 8}, {}, {}},
        {"two lines Right, half: both shift, both whole lines selected",
         three, sell, Arrow::Right, Step::Half, {1, 3}, {2, 2},
         {" あいう ", " abcdefg", "12345678"}, {1, 0}, 5 + 2 + 8},
        {"two lines Left, full: both shift",
         three, sell, Arrow::Left, Step::Full, {2, 7}, {3, 1},
         {"あいうえ", "cdefgh_", "345678_"}, {2, 0}, 7 + 2 + 7},
        {"select all shifts every line and keeps everything selected",
         three, sell, Arrow::Left, Step::Full, {1, 0}, {3, 8},
         {"いうえ_", "cdefgh_", "345678_"}, {1, 0}, 4 + 2 + 7 + 2 + 7},
        // Made upwards from line 3: the lines are found from the lower end, not the caret line.
        {"dragged upwards from line 3 to line 2 moves lines 2 and 3",
         four, sell, Arrow::Right, Step::Full, {2, 5}, {3, 2},
         {"あいうえ", "_abcdef", "_123456", "かきくけ"}, {2, 0}, 7 + 2 + 7},
        {"ending at a line start takes that line too",
         four, sell, Arrow::Left, Step::Half, {1, 4}, {2, 0},
         {" いうえ ", "bcdefgh ", "12345678", "かきくけ"}, {1, 0}, 5 + 2 + 8},
        {"two lines Up change nothing and select both lines whole",
         three, sell, Arrow::Up, Step::Half, {1, 1}, {2, 1}, {}, {1, 0}, 4 + 2 + 8},
        {"two lines Down change nothing and select both lines whole",
         three, sell, Arrow::Down, Step::Full, {2, 1}, {3, 1}, {}, {2, 0}, 8 + 2 + 8},
    }, 4);
    // clang-format on
}

// The 0 x 0 canvas, out-of-range carets and lengths, offsets inside a line break and malformed
// text: nothing changes the empty canvas, nothing indexes outside the text or throws.
TEST(PushInvariant, EmptyAndWildInputsStaySafe)
{
    for (Arrow arrow : kArrows) {
        for (Step step : kSteps) {
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
    const std::u16string texts[] = {u"", u"\r\n", u"ab\r", u"\r", u"a\rb\r\nc", u"\u3042\r\n"};
    for (const std::u16string& text : texts) {
        for (int at : {-7, 0, 1, 2, 3, 100}) {
            for (int length : {-3, 0, 1, 2, 50}) {
                for (Arrow arrow : kArrows) {
                    for (Step step : kSteps) {
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

// The posting rules and the cell-exact fix, on hand-worked lines ("_" is a full-width space).

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "check/BoardCheck.h"
#include "check/BoardFix.h"
#include "check/LiveCheck.h"
#include "grid/Cp932.h"
#include "tests/grid/TableNotation.h"
#include "TextRows.h"

using namespace masumemo::check;
using masumemo::grid::notation::line;
using masumemo::testing::repeat;

namespace {

constexpr auto Lead = ProblemKind::LeadingSpace;
constexpr auto Spaces = ProblemKind::SpaceRun;
constexpr auto Ref = ProblemKind::CharacterReference;

/// A problem of line 1 as the tables write it.
struct Cells
{
    ProblemKind kind;
    int column;
    int charStart;
    int charCount;
};

std::vector<Problem> onLine1(const std::vector<Cells>& cells)
{
    std::vector<Problem> out;
    for (const Cells& c : cells) {
        out.push_back({c.kind, 1, c.column, c.charStart, c.charCount});
    }
    return out;
}

}  // namespace

TEST(BoardCheck, ProblemsOfOneLine)
{
    struct Row
    {
        const char* line;
        std::vector<Cells> problems;
        int bytes;
    };
    const std::vector<Row> rows = {
        // Leading half-width space: at the start only, alone or opening a run.
        {" a", {{Lead, 0, 0, 1}}, 2},
        {"  a", {{Lead, 0, 0, 1}, {Spaces, 0, 0, 2}}, 3},
        {"_ a", {}, 4},
        {" ", {}, 0},
        // Runs of half-width spaces: in the middle, after full-width ones, at the end (trimmed).
        {"a b", {}, 3},
        {"a  b", {{Spaces, 1, 1, 2}}, 4},
        {"あ   い", {{Spaces, 2, 1, 3}}, 7},
        {"_  a", {{Spaces, 2, 1, 2}}, 5},
        {"a _ b", {}, 6},
        {"ｱ  ｲ", {{Spaces, 1, 1, 2}}, 4},
        {"a  ", {}, 1},
        {"a  _ ", {}, 1},
        // Character references: at the start, in the middle, at the end; ";" optional after
        // numbers, required after names.
        {"&#65x", {{Ref, 0, 0, 4}}, 5},
        {"あ&amp;", {{Ref, 2, 1, 5}}, 7},
        {"a&#x4Fz", {{Ref, 1, 1, 5}}, 7},
        {"a&#X4f;", {{Ref, 1, 1, 6}}, 7},
        {"x&lt;&gt;", {{Ref, 1, 1, 4}, {Ref, 5, 5, 4}}, 9},
        {"&#;&#x;&amp &;& ;&#１", {}, 21},
        {"&#1 ", {{Ref, 0, 0, 3}}, 3},
        // Bytes as the board stores them: "<" and ">" 4 each, "\"" 6.
        {"a<b>\"", {}, 16},
        {"<あ>", {}, 10},
        // A character code page 932 lacks is posted as its reference, no problem on a board
        // that shows references: "&#x2009;" 8 bytes, "&#x1F600;" 9.
        {"a\u2009b", {}, 10},
        {"\U0001F600|", {}, 10},
        // A reference left as text is listed as before.
        {"\u200A&#65;", {{Ref, 1, 1, 5}}, 13},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::vector<Problem> problems;
        const LineFacts facts = checkLine(line(row.line), 1, problems);
        EXPECT_EQ(problems, onLine1(row.problems));
        EXPECT_EQ(facts.bytes, row.bytes);
    }
}

TEST(BoardCheck, UnicodeCharactersWhereTheBoardMakesThemQuestionMarks)
{
    constexpr auto Uni = ProblemKind::UnicodeCharacter;
    struct Row
    {
        const char* line;
        std::vector<Cells> problems;
        int bytes;
    };
    const std::vector<Row> rows = {
        {"a\u2009b", {{Uni, 1, 1, 1}}, 10},
        // A pair is one character: one problem covering both halves, at its unit column.
        {"あ\U0001F600\u200A", {{Uni, 2, 1, 2}, {Uni, 3, 3, 1}}, 2 + 9 + 8},
        {"\u3042\uFF5E", {}, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::vector<Problem> problems;
        const LineFacts facts = checkLine(line(row.line), 1, problems, false);
        EXPECT_EQ(problems, onLine1(row.problems));
        EXPECT_EQ(facts.bytes, row.bytes);
    }
    // Past the byte limit inside a reference's bytes: the character is where it goes over.
    const BoardReport report = BoardCheck(u"abc\u2009", {10, 64});
    EXPECT_EQ(report.bytes, 11);
    EXPECT_EQ(report.problems, (std::vector<Problem>{{ProblemKind::TooManyBytes, 1, 3, 3, 0}}));
}

TEST(BoardCheck, CountsPostedBytesAndLines)
{
    struct Row
    {
        std::u16string text;
        long long bytes;
        int lines;
    };
    const std::vector<Row> rows = {
        {u"", 0, 0},
        {u"<a>\r\n\"\r\n\r\n", 9 + 6 + 6, 2},
        {u"\r\nab\r\n", 6 + 2, 2},                  // a leading empty line is posted
        {u"a\r\n  \r\n\u3000\r\n", 1, 1},           // blank lines at the end are not
        {u"a\nb\rc\r\nd", 4 + 3 * 6, 4},           // any line end
        {u"\u3042\u3000\u3000 \r\n\u3042", 2 + 6 + 2, 2},
    };
    for (const Row& row : rows) {
        const BoardReport report = BoardCheck(row.text);
        EXPECT_EQ(report.bytes, row.bytes);
        EXPECT_EQ(report.lines, row.lines);
        EXPECT_TRUE(report.problems.empty());
    }
}

TEST(BoardCheck, LimitsPassExactlyAtTheLimit)
{
    const std::u16string a = u"a";
    struct Row
    {
        std::u16string text;
        std::vector<Problem> problems;
    };
    const std::vector<Row> rows = {
        {repeat(a, 4096), {}},
        {repeat(a, 4097), {{ProblemKind::TooManyBytes, 1, 4096, 4096, 0}}},
        {repeat(a, 2045) + u"\r\n" + repeat(a, 2045), {}},
        {repeat(a, 2045) + u"\r\n" + repeat(u"\u3042", 1023), {{ProblemKind::TooManyBytes, 2, 2044, 1022, 0}}},
        // The break itself passes the limit: the next line is where it goes over.
        {repeat(a, 4091) + u"\r\nb", {{ProblemKind::TooManyBytes, 2, 0, 0, 0}}},
        {repeat(u"<", 1024), {}},
        {repeat(u"\"", 682) + u"ab" + u"\"", {{ProblemKind::TooManyBytes, 1, 684, 684, 0}}},
        {repeat(u"x\r\n", 64) + repeat(u"\r\n", 10), {}},
        {repeat(u"x\r\n", 65), {{ProblemKind::TooManyLines, 65, 0, 0, 0}}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(BoardCheck(row.text).problems, row.problems) << row.text.size();
    }
    const BoardReport report = BoardCheck(repeat(u"x\r\n", 3), {5, 2});
    EXPECT_TRUE(report.overBytes());
    EXPECT_TRUE(report.overLines());
    EXPECT_EQ(report.problems, (std::vector<Problem>{{ProblemKind::TooManyBytes, 2, 0, 0, 0},
                                                     {ProblemKind::TooManyLines, 3, 0, 0, 0}}));
}

TEST(BoardFix, BlankRunsKeepTheirCells)
{
    struct Row
    {
        const char* line;
        const char* fixed;
    };
    const std::vector<Row> rows = {
        // Inside a line, widths 1 to 5 in mixes of half- and full-width spaces.
        {"x x", "x x"},
        {"x_x", "x_x"},
        {"x  x", "x_x"},
        {"x   x", "x_ x"},
        {"x _x", "x _x"},
        {"x_ x", "x_ x"},
        {"x  _x", "x__x"},
        {"x_  x", "x__x"},
        {"x _ x", "x _ x"},
        {"x    x", "x__x"},
        {"x     x", "x__ x"},
        {"x_   x", "x__ x"},
        {"x   _x", "x__ x"},
        {"x __ x", "x __ x"},
        {"x_  _x", "x___x"},
        // At the line start.
        {" x", " x"},  // width 1: cannot be fixed in place, stays flagged
        {"_x", "_x"},
        {"  x", "_x"},
        {" _x", "_ x"},
        {"_ x", "_ x"},
        {"   x", "_ x"},
        {"_  x", "__x"},
        {" __x", "__ x"},
        {"     x", "__ x"},
        // At the end: trailing, left as written.
        {"x  ", "x  "},
        {"x _  ", "x _  "},
        {"   ", "   "},
        // Several runs on one line; only those a board changes are written again.
        {" a  b c   d _ e  ", " a_b c_ d _ e  "},
        {"&amp;  x", "&amp;_x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const std::u16string in = line(row.line);
        const std::u16string fixed = fixLine(in);
        EXPECT_EQ(fixed, line(row.fixed));
        EXPECT_EQ(masumemo::grid::WidthOf(fixed), masumemo::grid::WidthOf(in));
    }
    EXPECT_EQ(fixForBoard(line("  a\r\nb  c\r\n  ")), line("_a\r\nb_c\r\n  "));
}

TEST(BoardFix, TakesAnotherRunWriter)
{
    const RunWriter marks = [](const BlankRun& run) {
        return std::u16string(static_cast<size_t>(run.width), run.atLineStart ? u'S' : u'M');
    };
    EXPECT_EQ(fixLine(line("  a _ b   c  "), marks), line("SSa _ bMMMc  "));
}

// The live check, fed random line edits and line count changes, always agrees with a check of
// the whole text.
TEST(LiveCheck, AgreesWithTheWholeCheckAfterEveryEdit)
{
    std::mt19937 random(14);
    const std::vector<std::u16string> pieces = {u" ",  u"  ", u"\u3000", u"a",       u"&amp;",
                                                u"&#6", u"<",  u"\"",     u"\u3042", u"\u2009",
                                                u"\U0001F600"};
    const auto randomLine = [&] {
        std::u16string l;
        for (int n = static_cast<int>(random() % 8); n > 0; --n) {
            l += pieces[random() % pieces.size()];
        }
        return l;
    };
    std::vector<std::u16string> lines(12);
    LiveCheck live;
    live.setLimits({60, 8, false}, {});
    live.reset(masumemo::grid::joinLines(lines));
    for (int step = 0; step < 2000; ++step) {
        const int first = static_cast<int>(random() % lines.size());
        const int removed = std::min(static_cast<int>(random() % 3), static_cast<int>(lines.size()) - first);
        const int added = step % 5 == 0 ? static_cast<int>(random() % 3) : removed;
        if (lines.size() - static_cast<size_t>(removed) + static_cast<size_t>(added) == 0) {
            continue;
        }
        std::vector<std::u16string> fresh;
        for (int i = 0; i < added; ++i) {
            fresh.push_back(randomLine());
        }
        lines.erase(lines.begin() + first, lines.begin() + first + removed);
        lines.insert(lines.begin() + first, fresh.begin(), fresh.end());
        const std::u16string text = masumemo::grid::joinLines(lines);
        if (added == 0 && removed == 0) {
            continue;
        }
        live.replaceLines(text, first, removed, added);
        // Now and then the board's Unicode setting changes too, which checks every line again.
        if (step % 97 == 0) {
            live.setLimits({60, 8, !live.limits().passesUnicode}, text);
        }
        const BoardReport whole = BoardCheck(text, live.limits());
        std::vector<Problem> all = live.lineProblems();
        all.insert(all.end(), live.limitProblems().begin(), live.limitProblems().end());
        ASSERT_EQ(all, whole.problems) << "step " << step;
        ASSERT_EQ(live.bytes(), whole.bytes);
        ASSERT_EQ(live.lines(), whole.lines);
    }
}

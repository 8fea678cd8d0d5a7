// Moving by the dot: hand-worked lines, then every line of the corpus pictures with each
// operation at many carets, checking that only the characters the operation moves move, by
// exactly the distance it reports, and that the line keeps its cells and the board's rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Corpus.h"
#include "board/BoardBlanks.h"
#include "board/DotMoves.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace {

using namespace masumemo;
using board::DotOutcome;
using grid::Arrow;

/// Stand-in advances: the board's for blanks, 8 for one-byte and 16 for two-byte characters.
/// The operations only recompose blanks, so any advances show whether the others kept place.
int stubDots(char16_t c)
{
    if (auto d = board::blankDots(c)) {
        return *d;
    }
    if ((c & 0xFC00) == 0xDC00) {
        return 0;
    }
    return grid::charWidth(c) == 1 ? 8 : 16;
}

const board::CharDots kDots = stubDots;

/// The x of every visible character of a line, in order.
std::vector<int> visibleXs(std::u16string_view line)
{
    std::vector<int> xs;
    int x = 0;
    for (char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            xs.push_back(x);
        }
        x += stubDots(c);
    }
    return xs;
}

std::u16string visibleText(std::u16string_view line)
{
    std::u16string out;
    for (char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            out += c;
        }
    }
    return out;
}

/// Places where a board would change the line: a half-width space first, or two side by side.
int ruleBreaks(std::u16string_view line)
{
    int n = line.starts_with(u" ") ? 1 : 0;
    for (size_t i = 1; i < line.size(); ++i) {
        n += line[i] == u' ' && line[i - 1] == u' ' ? 1 : 0;
    }
    return n;
}

TEST(DotMoves, HandWorkedLines)
{
    struct Row
    {
        const char* name;
        const char16_t* line;
        int caret;
        enum { Push, Pull } op;
        Arrow arrow;
        bool unicode;
        const char16_t* expect;  ///< nullptr: unchanged
        int dots;
    };
    const Row rows[] = {
        {"Alt+Right opens a hair space between two letters", u"ab\u3000\u3000", 1, Row::Push,
         Arrow::Right, true, u"a\u200Ab\u3000 ", 1},
        {"Alt+Right widens the run the caret stands after", u"a\u3000b\u3000\u3000", 2,
         Row::Push, Arrow::Right, true, u"a\u3000\u200Ab\u3000 ", 1},
        {"without Unicode spaces, the smallest distance: 11 + 5 = 16 from 11 is 5 dots",
         u"a\u3000b\u3000\u3000\u3000", 2, Row::Push, Arrow::Right, false,
         u"a\u3000 b\u3000\u3000 ", 5},
        {"Alt+Left narrows the leading run and widens the one at the caret",
         u"\u3000ab\u3000", 2, Row::Push, Arrow::Left, true, u"\u2002\u2009a\u200Ab ", 1},
        {"Alt+Left without leading blanks does nothing", u"ab\u3000", 1, Row::Push, Arrow::Left,
         true, nullptr, 0},
        {"Shift+Alt+Left narrows the run at the caret", u"a\u3000b\u3000", 1, Row::Pull,
         Arrow::Left, true, u"a\u2002\u2009b\u3000", 1},
        {"Shift+Alt+Left with no run at the caret does nothing", u"ab\u3000", 1, Row::Pull,
         Arrow::Left, true, nullptr, 0},
        {"Shift+Alt+Right: the leading run widens, the run at the caret narrows",
         u"a\u3000b\u3000", 1, Row::Pull, Arrow::Right, true, u"\u200Aa\u2002\u2009b ", 1},
        {"a visible character would pass the last cell", u"a\u3000b", 1, Row::Push, Arrow::Right,
         true, nullptr, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const DotOutcome out = r.op == Row::Push ? board::DotPush(r.line, r.caret, r.arrow, r.unicode)
                                                 : board::DotPull(r.line, r.caret, r.arrow, r.unicode);
        EXPECT_EQ(out.changed, r.expect != nullptr);
        EXPECT_EQ(out.text, r.expect ? std::u16string(r.expect) : std::u16string(r.line));
        EXPECT_EQ(out.dots, r.dots);
        EXPECT_EQ(grid::WidthOf(out.text), grid::WidthOf(r.line));
    }
}

TEST(DotMoves, SelectionsMoveTheirCharactersOrWholeLines)
{
    // Within a line: "b" moves one dot right, and stays selected.
    const std::u16string line = u"a\u3000b\u3000c\u3000\u3000";
    DotOutcome out = board::DotSellMove(line, 2, 1, Arrow::Right, true);
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.text.substr(static_cast<size_t>(out.caret), 1), u"b");
    EXPECT_EQ(out.selectionLength, 1);
    std::vector<int> before = visibleXs(line);
    std::vector<int> after = visibleXs(out.text);
    EXPECT_EQ(after, (std::vector<int>{before[0], before[1] + 1, before[2]}));

    // Across lines: each line with leading blanks moves left; the one without is counted.
    const std::u16string canvas = u"\u3000a\u3000\r\nb\u3000\u3000\r\n\u3000\u3000c";
    out = board::DotSellMove(canvas, 0, static_cast<int>(canvas.size()), Arrow::Left, true);
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.skippedLines, 1);
    const auto lines = grid::SplitText(out.text);
    EXPECT_EQ(visibleXs(lines[0]), std::vector<int>{10});
    EXPECT_EQ(visibleXs(lines[1]), std::vector<int>{0});
    EXPECT_EQ(visibleXs(lines[2]), std::vector<int>{21});
    EXPECT_EQ(out.caret, 0);
    EXPECT_EQ(out.selectionLength, static_cast<int>(out.text.size()));
}

TEST(DotMoves, AlignmentToAGuide)
{
    // "|" on three lines at 38, 19 and 43 dots, right of the caret's column (2 units): aligned
    // on the guide at 40.
    const std::u16string canvas =
        u"ab\u3000\u3000|\u3000\u3000\r\na\u3000|\u3000\u3000\u3000\r\nab\u3000\u3000 |\u3000 ";
    const DotOutcome out = board::AlignToGuide(canvas, 2, 0, static_cast<int>(canvas.size()), 40,
                                               true, kDots);
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.skippedLines, 0);
    for (const auto& l : grid::SplitText(out.text)) {
        SCOPED_TRACE(std::string(l.begin(), l.end()));
        EXPECT_EQ(visibleXs(l).back(), 40);
    }

    // Right edges without a guide: every line ends where the widest one does.
    const std::u16string ragged = u"a\u3000b\u3000\u3000\r\nab\u3000\u3000\u3000\r\nabc\u3000\u3000 ";
    const DotOutcome right = board::AlignRightEdges(ragged, 0, static_cast<int>(ragged.size()),
                                                    std::nullopt, true, kDots);
    for (const auto& l : grid::SplitText(right.text)) {
        const auto xs = visibleXs(l);
        EXPECT_EQ(xs.back() + 8, 8 + 11 + 8);
        EXPECT_EQ(grid::WidthOf(l), 8);
    }
}

/// A corpus line with its references decoded (they stand for the Unicode spaces the operations
/// compose with) and room at its end.
std::u16string corpusLine(std::u16string line)
{
    std::u16string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line.compare(i, 3, u"&#x") == 0) {
            const size_t semi = line.find(u';', i);
            if (semi != std::u16string::npos && semi - i == 7) {
                out += static_cast<char16_t>(std::stoi(std::string(line.begin() + static_cast<long>(i) + 3, line.begin() + static_cast<long>(semi)), nullptr, 16));
                i = semi;
                continue;
            }
        }
        out += line[i];
    }
    return out + std::u16string(12, u'\u3000');
}

/// The expected shift of each visible character: d for those the operation moves.
void checkLine(const std::u16string& line, const DotOutcome& out, int caret, bool movesAfter,
               int sign)
{
    if (!out.changed) {
        EXPECT_EQ(out.text, line);
        return;
    }
    ASSERT_EQ(visibleText(out.text), visibleText(line));
    ASSERT_EQ(grid::WidthOf(out.text), grid::WidthOf(line));
    EXPECT_LE(ruleBreaks(out.text), ruleBreaks(line));
    const std::vector<int> before = visibleXs(line);
    const std::vector<int> after = visibleXs(out.text);
    int k = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (board::isBoardBlank(line[i])) {
            continue;
        }
        const bool moves = (static_cast<int>(i) >= caret) == movesAfter;
        ASSERT_EQ(after[static_cast<size_t>(k)] - before[static_cast<size_t>(k)],
                  moves ? sign * out.dots : 0)
            << "character " << i;
        ++k;
    }
}

TEST(DotMovesCorpus, OnlyTheMovedCharactersMove)
{
    if (const char* why = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << why;
    }
    long tried = 0;
    long changed = 0;
    for (const auto& path : masumemo::testing::corpusPictures()) {
        for (const auto& raw : grid::SplitText(masumemo::testing::fromUtf8(masumemo::testing::readBytes(path)))) {
            const std::u16string line = corpusLine(raw);
            const int n = static_cast<int>(line.size());
            for (int caret = 0; caret < n; caret += 7) {
                for (bool unicode : {true, false}) {
                    SCOPED_TRACE(::testing::Message() << path << " caret " << caret);
                    DotOutcome out = board::DotPush(line, caret, Arrow::Right, unicode);
                    checkLine(line, out, caret, true, 1);
                    changed += out.changed ? 1 : 0;
                    out = board::DotPush(line, caret, Arrow::Left, unicode);
                    checkLine(line, out, caret, false, -1);
                    out = board::DotPull(line, caret, Arrow::Left, unicode);
                    checkLine(line, out, caret, true, -1);
                    out = board::DotPull(line, caret, Arrow::Right, unicode);
                    checkLine(line, out, caret, false, 1);
                    if (unicode) {
                        EXPECT_LE(out.dots, 1);
                    }
                    // The selected character moves, the rest stays: checked as the characters
                    // from the selection on moving, then those after it moving back.
                    out = board::DotSellMove(line, caret, 1, Arrow::Right, unicode);
                    if (out.changed) {
                        const std::vector<int> a = visibleXs(line);
                        const std::vector<int> b = visibleXs(out.text);
                        ASSERT_EQ(visibleText(out.text), visibleText(line));
                        ASSERT_EQ(grid::WidthOf(out.text), grid::WidthOf(line));
                        EXPECT_LE(ruleBreaks(out.text), ruleBreaks(line));
                        int k = 0;
                        for (int i = 0; i < n; ++i) {
                            if (!board::isBoardBlank(line[static_cast<size_t>(i)])) {
                                ASSERT_EQ(b[static_cast<size_t>(k)] - a[static_cast<size_t>(k)],
                                          i == caret ? out.dots : 0);
                                ++k;
                            }
                        }
                        EXPECT_EQ(out.text.substr(static_cast<size_t>(out.caret), 1),
                                  line.substr(static_cast<size_t>(caret), 1));
                    }
                    tried += 4;
                }
            }
        }
    }
    EXPECT_GT(changed, tried / 20);
}

}  // namespace

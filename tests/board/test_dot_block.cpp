// The rectangle in dots: choosing by middles, lifting and laying down on hand-worked lines, then
// blocks of every corpus picture moved by lines and dots, each checked by the invariant the
// fuzzer checks (tests/fuzz/DotBlockCheck.h).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corpus.h"
#include "board/BoardBlanks.h"
#include "board/DotBlock.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "tests/fuzz/DotBlockCheck.h"

namespace {

using namespace masumemo;
using board::DotChoice;
using board::Landing;

/// Stand-in advances: the board's for blanks, 8 for one-unit and 16 for two-unit characters and
/// for a pair of surrogates.
int stubDots(char16_t c)
{
    if (auto d = board::blankDots(c)) {
        return *d;
    }
    if ((c & 0xFC00) == 0xDC00) {
        return 0;
    }
    if ((c & 0xFC00) == 0xD800) {
        return 16;
    }
    return grid::charWidth(c) == 1 ? 8 : 16;
}

const board::CharDots kDots = stubDots;

/// Each visible character and its x, as "c@x" joined by spaces.
std::string placesOf(std::u16string_view line)
{
    std::string out;
    for (const board::DotSpan& s : board::dotSpans(line, kDots)) {
        if (!s.blank) {
            out += (out.empty() ? "" : " ") +
                   fuzzcheck::shown(line.substr(static_cast<size_t>(s.index),
                                                static_cast<size_t>(s.size))) +
                   "@" + std::to_string(s.x);
        }
    }
    return out;
}

TEST(DotBlock, ChoosingByMiddles)
{
    // a [0,8) middle 4, b [8,16) middle 12, full space [16,27) middle 21.5, c [27,35) middle 31.
    const std::u16string line = u"ab\u3000c";
    struct Row
    {
        const char* name;
        int x0, x1;
        DotChoice expect;
    };
    const Row rows[] = {
        {"a middle on x0 is inside", 4, 13, {0, 2, 0, 16}},
        {"a middle on x1 is outside: nothing, at the first middle past x0", 5, 12, {1, 1, 8, 0}},
        {"a half-dot middle: 21.5 is inside [21, 22)", 21, 22, {2, 3, 16, 11}},
        {"no middle inside: empty where the range starts", 13, 21, {2, 2, 16, 0}},
        {"the whole line", 0, 100, {0, 4, 0, 35}},
        {"past the line end: empty at its end", 40, 60, {4, 4, 35, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(board::chooseByMiddle(line, r.x0, r.x1, kDots), r.expect);
    }
    // A surrogate pair is one character of 16 dots.
    EXPECT_EQ(board::chooseByMiddle(u"a\U0001F600b", 9, 20, kDots), (DotChoice{1, 3, 8, 16}));
}

TEST(DotBlock, EdgesStepToTheNextCharacterOnAnyLine)
{
    // Changes at 5 (a), 13 (b) on the first line and at 6 (the full space) on the second.
    const std::vector<std::u16string_view> lines{u"ab", u"\u3000"};
    EXPECT_EQ(board::nextChoiceEdge(lines, 0, 1, kDots), 5);
    EXPECT_EQ(board::nextChoiceEdge(lines, 5, 1, kDots), 6);
    EXPECT_EQ(board::nextChoiceEdge(lines, 6, 1, kDots), 13);
    EXPECT_EQ(board::nextChoiceEdge(lines, 13, 1, kDots), 13) << "nothing further right";
    EXPECT_EQ(board::nextChoiceEdge(lines, 13, -1, kDots), 12);
    EXPECT_EQ(board::nextChoiceEdge(lines, 12, -1, kDots), 5);
    EXPECT_EQ(board::nextChoiceEdge(lines, 4, -1, kDots), 4) << "nothing further left";
    // Each step changes the choice of some line, and of none by more than one character.
    for (int x = 0; x < 13;) {
        const int next = board::nextChoiceEdge(lines, x, 1, kDots);
        int changed = 0;
        for (std::u16string_view l : lines) {
            const DotChoice a = board::chooseByMiddle(l, 0, x, kDots);
            const DotChoice b = board::chooseByMiddle(l, 0, next, kDots);
            EXPECT_LE(b.end - a.end, 1);
            changed += b.end != a.end ? 1 : 0;
        }
        EXPECT_GE(changed, 1) << "from " << x;
        x = next;
    }
}

TEST(DotBlock, RelayingOneLine)
{
    struct Row
    {
        const char* name;
        const char16_t* line;
        DotChoice lifted;
        const char16_t* landing;  ///< nullptr: none
        int landX;
        bool transparent;
        bool unicode;
        const char* places;  ///< the visible characters afterwards
        int off;             ///< the largest distance reported
        const char16_t* text;  ///< nullptr: not checked
    };
    const Row rows[] = {
        {"a lift leaves a run of the same width", u"a\u3000bc\u3000\u3000", {2, 3, 19, 8},
         nullptr, 0, false, true, "a@0 c@27", 0, nullptr},
        {"19 dots need a Unicode space: without, the nearest (21) and its true distance",
         u"a\u3000bc\u3000\u3000", {2, 3, 19, 8}, nullptr, 0, false, false, "a@0 c@29", 2,
         u"a \u3000 c \u3000"},
        {"a run the lift does not touch stays as written", u"a \u3000b c\u3000\u3000\u3000",
         {5, 6, 37, 8}, nullptr, 0, false, true, "a@0 b@24", 0, u"a \u3000b\u3000\u3000\u3000\u3000"},
        {"opaque: what the block overlaps goes, the rest keeps its dot", u"abcde\u3000\u3000",
         {0, 0, 0, 0}, u"XY", 10, false, true, "a@0 X@10 Y@18 e@32", 0, u"a\u2009XY\u200A e\u3000"},
        {"opaque: the block's blanks cover too", u"abcdefgh\u3000", {0, 0, 0, 0}, u"X\u3000Y", 0,
         false, true, "X@0 Y@19 e@32 f@40 g@48 h@56", 0, nullptr},
        {"transparent: the picture shows through the block's blanks", u"abcdefgh\u3000",
         {0, 0, 0, 0}, u"X\u3000Y", 0, true, true, "X@0 b@8 Y@19 e@32 f@40 g@48 h@56", 0,
         nullptr},
        {"lifted and laid on the same line, one dot right", u"ab\u3000cd\u3000\u3000",
         {1, 2, 8, 8}, u"b", 9, false, true, "a@0 b@9 c@27 d@35", 0, nullptr},
        {"the leading blanks stay as written, even where the composer would write others",
         u"\u3000\u3000 a\u3000bc\u3000\u3000", {5, 6, 40, 8}, nullptr, 0, false, true,
         "a@27 c@54", 0, u"\u3000\u3000 a\u3000\u2002c\u3000\u3000"},
        {"a blank line gets no half-width space first", u"a\u3000", {0, 1, 0, 8}, nullptr, 0,
         false, true, "", 0, u"\u3000 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::optional<Landing> landing;
        if (r.landing) {
            landing = Landing{r.landing, r.landX, r.transparent};
        }
        const board::Relaid out = board::relayLine(r.line, r.lifted, landing, kDots, r.unicode);
        EXPECT_TRUE(out.fits);
        EXPECT_EQ(placesOf(out.text), r.places);
        EXPECT_EQ(out.largestOff, r.off);
        EXPECT_EQ(out.offCharacters > 0, r.off > 0);
        EXPECT_EQ(grid::WidthOf(out.text), grid::WidthOf(r.line));
        if (r.text) {
            EXPECT_EQ(out.text, std::u16string(r.text));
        }
    }
}

TEST(DotBlock, ALineThatWouldOutgrowItsUnitsIsRefused)
{
    // "あ" takes two units where "b" took one, and the line has no blanks to give.
    const board::Relaid out =
        board::relayLine(u"ab", {}, Landing{u"\u3042", 8, false}, kDots, true);
    EXPECT_FALSE(out.fits);
    EXPECT_EQ(out.text, u"ab");
}

TEST(DotBlock, MovingABlockAcrossLines)
{
    const std::vector<std::u16string> canvas{
        u"a\u3000b\u3000\u3000\u3000",
        u"cd\u3000\u3000\u3000\u3000",
        u"\u3000\u3000\u3000\u3000\u3000",
    };
    // [10, 30) takes the full space (middle 13.5) and "b" (23) of the first line, "d" (12) and
    // the full space (21.5) of the second; they go one line down and three dots right.
    const board::DotRect rect{0, 2, 10, 30};
    const board::DotBlock block = board::chooseBlock(canvas, rect, kDots);
    ASSERT_EQ(block.text, (std::vector<std::u16string>{u"\u3000b", u"d\u3000"}));
    const board::DotLaid laid = board::layBlock(canvas, block, 1, 3, false, kDots, true);
    ASSERT_TRUE(laid.fits);
    EXPECT_EQ(laid.first, 0);
    ASSERT_EQ(laid.lines.size(), 3u);
    EXPECT_EQ(placesOf(laid.lines[0]), "a@0");
    EXPECT_EQ(placesOf(laid.lines[1]), "c@0 b@22");
    EXPECT_EQ(placesOf(laid.lines[2]), "d@11");
    // Lifted and not laid down again (a cut): blanks where it was, the rest in place.
    const board::DotLaid cut = board::liftBlock(canvas, block, kDots, true);
    ASSERT_EQ(cut.lines.size(), 2u);
    EXPECT_EQ(placesOf(cut.lines[0]), "a@0");
    EXPECT_EQ(placesOf(cut.lines[1]), "c@0");
    EXPECT_EQ(grid::WidthOf(cut.lines[1]), grid::WidthOf(canvas[1]));
    for (const auto& m : {fuzzcheck::BlockMove{rect, 1, 3, false, true},
                          fuzzcheck::BlockMove{rect, 1, 3, true, false},
                          fuzzcheck::BlockMove{rect, 0, -5, false, false}}) {
        EXPECT_EQ(fuzzcheck::checkBlockMove(canvas, m, kDots), "");
    }

    struct Refused
    {
        const char* name;
        int down, right;
    };
    for (const Refused& r : {Refused{"above the first line", -1, 0},
                             Refused{"below the last line", 2, 0},
                             Refused{"left of the line start", 0, -9}}) {
        SCOPED_TRACE(r.name);
        const board::DotLaid out = board::layBlock(canvas, block, r.down, r.right, false, kDots,
                                                   true);
        EXPECT_FALSE(out.fits);
        EXPECT_TRUE(out.lines.empty());
    }
}

TEST(DotBlockCorpus, MovedBlocksLandWhereTheyShould)
{
    if (const char* why = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << why;
    }
    long moves = 0;
    for (const auto& path : masumemo::testing::corpusPictures()) {
        const std::vector<std::u16string> canvas = masumemo::testing::corpusCanvas(path, 24);
        const int n = static_cast<int>(canvas.size());
        for (int top = 0; top < n; top += 9) {
            for (const auto& [x0, x1] : {std::pair{40, 150}, std::pair{97, 301}}) {
                for (const auto& [down, right] : {std::pair{0, 1}, std::pair{0, 3},
                                                  std::pair{1, -2}, std::pair{-1, 11}}) {
                    for (int k = 0; k < 4; ++k) {
                        fuzzcheck::BlockMove m{{top, 6, x0, x1}, down, right, (k & 1) != 0,
                                               (k & 2) != 0};
                        const std::string why = fuzzcheck::checkBlockMove(canvas, m, kDots);
                        ASSERT_EQ(why, "") << path;
                        ++moves;
                        if (m.unicodeSpaces) {
                            // Every width from 1 on can be made with Unicode spaces.
                            const board::DotLaid laid = board::layBlock(
                                canvas, board::chooseBlock(canvas, m.rect, kDots), down, right,
                                m.transparent, kDots, true);
                            ASSERT_EQ(laid.offLines, 0) << path << " top " << top;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(moves, 10000);
}

}  // namespace

// Mirroring a rectangle in place: in cells, left-right and upside down, characters cut by the
// rectangle's edge left to the picture, and what cannot be turned refused; in dots, on
// hand-worked lines and on the corpus's pictures, turned twice.
#include <gtest/gtest.h>

#include <optional>

#include "Corpus.h"
#include "ShapesTestDots.h"
#include "board/BoardBlanks.h"
#include "board/DotMoves.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "shapes/RectangleMirror.h"

namespace {

using namespace masumemo;

shapes::MirrorTable table(std::u16string_view text)
{
    shapes::MirrorTable t;
    EXPECT_TRUE(t.addPairs(text).empty());
    return t;
}

struct Row
{
    const char* name;
    std::u16string canvas;
    grid::BlockRect rect;
    bool upsideDown;
    std::optional<std::u16string> mirrored;
};

TEST(RectangleMirror, TurnsTheCellsInsideTheRectangleOnly)
{
    const std::u16string kana = u"ab(cdef/\r\nあい(cd/\r\n12345678";
    const Row rows[] = {
        {"left-right over two lines", kana, {0, 2, 2, 4}, false,
         u"abedc)f/\r\nあc)いd/\r\n12345678"},
        {"a full-width character cut by the left edge stays", kana, {1, 1, 1, 4}, false,
         u"ab(cdef/\r\nあ)いcd/\r\n12345678"},
        {"upside down swaps the lines' cells", u"ab^cdefg\r\nhiv^klmn\r\n12345678",
         {0, 2, 2, 3}, true, u"ab^vkefg\r\nhivcdlmn\r\n12345678"},
        {"upside down cannot swap lines of different spans", kana, {0, 1, 2, 4}, true,
         std::nullopt},
        {"an empty rectangle changes nothing", kana, {0, 0, 0, 0}, false, kana},
    };
    const shapes::MirrorTable lr = table(u"()\n/\\\n");
    const shapes::MirrorTable ud = table(u"^v\n");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const shapes::MirrorTable& t = r.upsideDown ? ud : lr;
        const auto once = shapes::mirrorRectangle(r.canvas, r.rect, 4, t, r.upsideDown);
        ASSERT_EQ(once, r.mirrored);
        if (once) {
            // Turned twice, the picture is back.
            EXPECT_EQ(shapes::mirrorRectangle(*once, r.rect, 4, t, r.upsideDown), r.canvas);
        }
    }
}

namespace mt = masumemo::testing;

using mt::placed;

using Placed = std::vector<std::vector<std::pair<char16_t, int>>>;

struct DotRow
{
    const char* name;
    board::DotRect rect;
    bool upsideDown;
    Placed wanted;  ///< every line's visible characters where they should stand
};

TEST(DotRectangleMirror, TurnsTheChosenCharactersToTheirDots)
{
    // "x" at 0, "(" at 30, "a" at 38, "y" at 90; "x" at 0, "b" at 41, "y" at 82.
    const std::vector<std::u16string> lines{
        u"x\u3000\u3000(a\u3000\u3000\u3000\u3000y\u3000\u3000",
        u"x\u3000\u3000\u3000b\u3000\u3000\u3000y\u3000\u3000"};
    const DotRow rows[] = {
        // The block spans [30, 49): "(" at [30, 38) lands at [41, 49), "a" at 33, "b" at 30.
        {"left-right in the block's widest span", {0, 2, 20, 80}, false,
         {{{u'x', 0}, {u'a', 33}, {u')', 41}, {u'y', 90}}, {{u'x', 0}, {u'd', 30}, {u'y', 82}}}},
        {"upside down, every character at its own dot", {0, 2, 20, 80}, true,
         {{{u'x', 0}, {u'p', 41}, {u'y', 90}}, {{u'x', 0}, {u'(', 30}, {u'a', 38}, {u'y', 82}}}},
        {"one line left-right in its own span", {1, 1, 20, 80}, false,
         {placed(lines[0]), {{u'x', 0}, {u'd', 41}, {u'y', 82}}}},
    };
    const shapes::MirrorTable lr = table(u"()\nbd\n");
    const shapes::MirrorTable ud = table(u"bp\n");
    for (const DotRow& r : rows) {
        for (const bool unicodeSpaces : {true, false}) {
            SCOPED_TRACE(std::string(r.name) + (unicodeSpaces ? ", Unicode spaces" : ""));
            const shapes::MirrorTable& t = r.upsideDown ? ud : lr;
            const auto once = shapes::mirrorDotRectangle(
                lines, board::chooseBlock(lines, r.rect, mt::stubDots), t, r.upsideDown,
                mt::stubDots, unicodeSpaces);
            ASSERT_FALSE(once.refused);
            std::vector<std::u16string> after = lines;
            std::copy(once.lines.begin(), once.lines.end(), after.begin() + once.first);
            // What is said is the true distance from where each character should stand.
            int off = 0;
            int largest = 0;
            for (size_t i = 0; i < after.size(); ++i) {
                EXPECT_EQ(grid::WidthOf(after[i]), grid::WidthOf(lines[i]));
                const auto got = placed(after[i]);
                ASSERT_EQ(got.size(), r.wanted[i].size()) << "line " << i;
                for (size_t k = 0; k < got.size(); ++k) {
                    EXPECT_EQ(got[k].first, r.wanted[i][k].first);
                    const int d = std::abs(got[k].second - r.wanted[i][k].second);
                    off += d != 0 ? 1 : 0;
                    largest = std::max(largest, d);
                }
            }
            EXPECT_EQ(once.offCharacters, off);
            EXPECT_EQ(once.largestOff, largest);
            if (unicodeSpaces) {
                EXPECT_EQ(off, 0);
            }
        }
    }
}

TEST(DotRectangleMirror, RefusesToLayATurnedCharacterOverOneThatStays)
{
    // "Ａ" at [24, 40) is left of the rectangle on line 2, but "a" at 38 on line 1 starts the
    // block's span, so "b" would land at 38, over it.
    const std::vector<std::u16string> lines{
        u"x\u3000\u3000(a\u3000\u3000\u3000\u3000y\u3000\u3000",
        u"x\u3000 Ａ\u3000\u3000b\u3000\u3000\u3000\u3000"};
    const auto out = shapes::mirrorDotRectangle(
        lines, board::chooseBlock(lines, {0, 2, 36, 80}, mt::stubDots), table(u"bd\n"), false,
        mt::stubDots, true);
    EXPECT_EQ(out.refused, shapes::DotMirrorRefusal::Overlap);
    EXPECT_TRUE(out.lines.empty());
}

/// Whether every visible character the block chose lies wholly inside [x0, x1): then its
/// mirror image is chosen again by the same rectangle.
bool whollyInside(const board::DotBlock& block, const board::DotRect& rect)
{
    for (size_t k = 0; k < block.choices.size(); ++k) {
        for (const board::DotSpan& s : board::dotSpans(block.text[k], mt::stubDots)) {
            const int x = block.choices[k].x + s.x;
            if (!s.blank && (x < rect.x0 || x + s.width > rect.x1)) {
                return false;
            }
        }
    }
    return true;
}

/// The rectangle turned twice: back where every run could be made exactly. False when the
/// first turn was refused or missed a dot, so the round proves nothing.
bool turnedTwiceComesBack(const std::vector<std::u16string>& canvas, const board::DotRect& rect,
                          bool upsideDown, const shapes::MirrorTable& t)
{
    std::vector<std::u16string> lines = canvas;
    for (int round = 0; round < 2; ++round) {
        const board::DotBlock block = board::chooseBlock(lines, rect, mt::stubDots);
        if (block.empty() || !whollyInside(block, rect)) {
            return false;
        }
        const auto out = shapes::mirrorDotRectangle(lines, block, t, upsideDown, mt::stubDots,
                                                    true);
        if (out.refused || out.offCharacters != 0) {
            EXPECT_EQ(round, 0) << "the second turn of a clean first one went wrong";
            return false;
        }
        std::copy(out.lines.begin(), out.lines.end(), lines.begin() + out.first);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(placed(lines[i]), placed(canvas[i])) << "line " << i + 1;
        EXPECT_EQ(grid::WidthOf(lines[i]), grid::WidthOf(canvas[i]));
    }
    return true;
}

TEST(ShapesCorpus, RectanglesOfDotsTurnedTwiceComeBack)
{
    if (const char* why = mt::corpusSkipReason()) {
        GTEST_SKIP() << why;
    }
    const shapes::MirrorTable lr = table(shapes::builtInLeftRightPairs());
    const shapes::MirrorTable ud = table(shapes::builtInUpsideDownPairs());

    // The speech bubble of a picture: lines 3 to 7 from the leftmost of their bubble starts.
    const std::vector<std::u16string> canvas =
        mt::corpusCanvas(mt::corpusDir() / "ascii-art-yaruo/txt_1/yaruo_01/64.txt", 24);
    int left = 1 << 20;
    const std::u16string starts = u"人＜＜＜Y";
    for (size_t k = 0; k < starts.size(); ++k) {
        const std::u16string& line = canvas[2 + k];
        left = std::min(left, board::dotPosition(line, static_cast<int>(line.find(starts[k])),
                                                 mt::stubDots));
    }
    for (const bool upsideDown : {false, true}) {
        SCOPED_TRACE(upsideDown ? "bubble upside down" : "bubble left-right");
        EXPECT_TRUE(turnedTwiceComesBack(canvas, {2, 5, left, 2000}, upsideDown,
                                         upsideDown ? ud : lr));
    }

    long rounds = 0;
    for (const auto& path : mt::corpusPictures()) {
        SCOPED_TRACE(path.string());
        const std::vector<std::u16string> lines = mt::corpusCanvas(path, 24);
        for (int first = 0; first < static_cast<int>(lines.size()); first += 7) {
            for (const auto& [x0, x1] : {std::pair{0, 2000}, std::pair{60, 220}}) {
                for (const bool upsideDown : {false, true}) {
                    rounds += turnedTwiceComesBack(lines, {first, 5, x0, x1}, upsideDown,
                                                   upsideDown ? ud : lr)
                                  ? 1
                                  : 0;
                }
            }
        }
    }
    EXPECT_GT(rounds, 1000);
}

}  // namespace

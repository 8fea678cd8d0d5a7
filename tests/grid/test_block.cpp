#include <gtest/gtest.h>

#include "TableNotation.h"
#include "grid/Block.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

using namespace masumemo::grid;
using masumemo::grid::notation::line;
using masumemo::grid::notation::lines;

namespace {

using Lines = std::vector<std::u16string>;

Block block(int width, const std::vector<std::pair<std::string, int>>& parts)
{
    Block b;
    b.width = width;
    for (const auto& [text, offset] : parts) {
        b.lines.push_back({line(text), offset});
    }
    return b;
}

TEST(Block, RectFromCornersIsOrderedAndClamped)
{
    struct Row
    {
        const char* name;
        int lineA, columnA, lineB, columnB, keta, gyou;
        BlockRect rect;
    };
    const std::vector<Row> rows = {
        {"in order", 0, 1, 1, 5, 3, 2, {0, 1, 2, 4}},
        {"corners swapped", 1, 5, 0, 1, 3, 2, {0, 1, 2, 4}},
        {"past every edge", -1, -3, 9, 9, 3, 2, {0, 0, 2, 6}},
        {"one line, no columns", 1, 2, 1, 2, 3, 2, {1, 2, 1, 0}},
        {"1 x 1 canvas", 0, 0, 0, 2, 1, 1, {0, 0, 1, 2}},
        {"canvas without cells", 0, 0, 1, 1, 0, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rectFromCorners(row.lineA, row.columnA, row.lineB, row.columnB, row.keta,
                                  row.gyou),
                  row.rect);
    }
}

// Written out, "_" is U+3000 and " " U+0020.
TEST(Block, LiftLeavesSpacesAndKeepsCharactersCutByTheEdges)
{
    struct Row
    {
        const char* name;
        Lines canvas;
        BlockRect rect;
        int keta;
        Block block;
        Lines after;
        std::string text;  // for the clipboard
    };
    const std::vector<Row> rows = {
        {"full-width characters cut at both edges stay",
         lines({"あいう", "abcdef"}),
         {0, 1, 2, 4},
         3,
         block(4, {{"い", 1}, {"bcde", 0}}),
         lines({"あ_う", "a    f"}),
         " い \nbcde"},
        {"whole cells of both widths",
         lines({"a_b c", "xyzあ "}),
         {0, 0, 2, 4},
         3,
         block(4, {{"a_b", 0}, {"xyz", 0}}),
         lines({" _  c", "   あ "}),
         "a_b\nxyz "},
        {"one unit inside a full-width character holds nothing",
         lines({"あいう"}),
         {0, 3, 1, 1},
         3,
         block(1, {{"", 0}}),
         lines({"あいう"}),
         " "},
        {"1 x 1 canvas",
         lines({"あ"}),
         {0, 0, 1, 2},
         1,
         block(2, {{"あ", 0}}),
         lines({"_"}),
         "あ"},
        {"a rectangle past the canvas is cut to it",
         lines({"abcdef", "ghijkl"}),
         {1, 4, 5, 9},
         3,
         block(2, {{"kl", 0}}),
         lines({"abcdef", "ghij  "}),
         "kl"},
        {"a canvas of the wrong width gives nothing",
         lines({"abcde"}),
         {0, 0, 1, 2},
         3,
         {},
         lines({"abcde"}),
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string canvas = joinLines(row.canvas);
        EXPECT_EQ(copyBlock(canvas, row.rect, row.keta), row.block);
        const Lifted lifted = liftBlock(canvas, row.rect, row.keta);
        EXPECT_EQ(lifted.block, row.block);
        EXPECT_EQ(SplitText(lifted.canvas), row.after);
        EXPECT_EQ(blockText(lifted.block), line(row.text));
        // Laid back where it was, it gives the picture it was lifted from, either way.
        EXPECT_EQ(layBlock(lifted.canvas, lifted.block, row.rect.line, row.rect.column, false,
                           row.keta),
                  canvas);
        EXPECT_EQ(layBlock(lifted.canvas, lifted.block, row.rect.line, row.rect.column, true,
                           row.keta),
                  canvas);
    }
}

TEST(Block, LayDownOverlaysLikeAPaste)
{
    struct Row
    {
        const char* name;
        Lines canvas;
        Block block;
        int line, column;
        bool transparent;
        int keta;
        Lines after;
    };
    const std::vector<Row> rows = {
        {"half step into a full-width character", lines({"あいう"}), block(1, {{"x", 0}}), 0, 1,
         false, 3, lines({" xいう"})},
        {"full-width over two halves of full-width characters", lines({"あいう"}),
         block(2, {{"か", 0}}), 0, 1, false, 3, lines({" か う"})},
        {"a cut edge cell is not laid", lines({"あ_う", "a    f"}),
         block(4, {{"い", 1}, {"bcde", 0}}), 0, 2, false, 3, lines({"あ い ", "a bcde"})},
        {"opaque spaces cover", lines({"xxxxxx"}), block(3, {{"a b", 0}}), 0, 1, false, 3,
         lines({"xa bxx"})},
        {"transparent spaces show the picture", lines({"xxxxxx"}), block(3, {{"a b", 0}}), 0, 1,
         true, 3, lines({"xaxbxx"})},
        {"transparent full-width space", lines({"xxxxxx"}), block(4, {{"あ_", 0}}), 0, 0, true, 3,
         lines({"あxxxx"})},
        {"transparent run cutting full-width characters", lines({"あいう"}),
         block(5, {{" かき", 0}}), 0, 0, true, 3, lines({" かき "})},
        {"right edge: placed back on the canvas", lines({"abcdef", "ghijkl"}),
         block(2, {{"XY", 0}, {"ZW", 0}}), 5, 9, false, 3, lines({"abcdXY", "ghijZW"})},
        {"1 x 1 canvas, half-width at the right", lines({"_"}), block(1, {{"a", 0}}), 0, 1, false,
         1, lines({" a"})},
        {"1 x 1 canvas, a block wider than the canvas", lines({"_"}), block(4, {{"abcd", 0}}), 0,
         0, false, 1, lines({"ab"})},
        {"lines past the bottom are dropped", lines({"abcdef"}), block(1, {{"X", 0}, {"Y", 0}}), 0,
         0, false, 3, lines({"Xbcdef"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::u16string canvas = joinLines(row.canvas);
        EXPECT_EQ(SplitText(layBlock(canvas, row.block, row.line, row.column, row.transparent,
                                     row.keta)),
                  row.after);
    }
}

TEST(Block, MovesStopAtTheCanvasEdges)
{
    struct Row
    {
        const char* name;
        BlockRect rect;
        Arrow arrow;
        Step step;
        BlockRect moved;
    };
    // A canvas of 3 x 2 (6 units by 2 lines).
    const std::vector<Row> rows = {
        {"half right", {0, 1, 1, 2}, Arrow::Right, Step::Half, {0, 2, 1, 2}},
        {"full right", {0, 1, 1, 2}, Arrow::Right, Step::Full, {0, 3, 1, 2}},
        {"full right stops at the edge", {0, 3, 1, 2}, Arrow::Right, Step::Full, {0, 4, 1, 2}},
        {"half left at the edge", {0, 0, 1, 2}, Arrow::Left, Step::Half, {0, 0, 1, 2}},
        {"full left from one unit", {0, 1, 1, 2}, Arrow::Left, Step::Full, {0, 0, 1, 2}},
        {"down", {0, 0, 1, 2}, Arrow::Down, Step::Half, {1, 0, 1, 2}},
        {"down at the bottom", {0, 0, 2, 2}, Arrow::Down, Step::Full, {0, 0, 2, 2}},
        {"up at the top", {0, 0, 1, 2}, Arrow::Up, Step::Full, {0, 0, 1, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(moveRect(row.rect, row.arrow, row.step, 3, 2), row.moved);
    }
}

TEST(Block, LargeCanvasChangesOnlyTheBlocksLines)
{
    constexpr int keta = 40;
    constexpr int gyou = 800;
    Lines picture;
    for (int i = 0; i < gyou; ++i) {
        picture.push_back(i % 2 == 0 ? line(std::string(40, 'x') + "あいうえおかきくけこさしすせそたちつてと")
                                     : line(std::string(80, 'o')));
    }
    const std::u16string canvas = joinLines(picture);
    BlockRect rect{780, 50, 20, 20};
    const Lifted lifted = liftBlock(canvas, rect, keta);
    for (int i = 0; i < 30; ++i) {
        rect = moveRect(rect, Arrow::Down, Step::Full, keta, gyou);
        rect = moveRect(rect, Arrow::Right, Step::Half, keta, gyou);
    }
    EXPECT_EQ(rect, (BlockRect{780, 60, 20, 20}));
    const Lines after = SplitText(layBlock(lifted.canvas, lifted.block, rect.line, rect.column,
                                           false, keta));
    ASSERT_EQ(after.size(), picture.size());
    for (size_t i = 0; i < after.size(); ++i) {
        ASSERT_EQ(WidthOf(after[i]), 2 * keta) << i;
        if (i < 780) {
            ASSERT_EQ(after[i], picture[i]) << i;
        }
    }
    // Ten units right, up against the right edge: half the lifted cells stay blank.
    EXPECT_EQ(after[780], line(std::string(40, 'x') + "あいうえお_____かきくけこさしすせそ"));
    EXPECT_EQ(after[781], line(std::string(50, 'o') + std::string(10, ' ') + std::string(20, 'o')));
}

}  // namespace

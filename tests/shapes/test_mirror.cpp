// Mirroring: the pair tables, lines mirrored in cells and in dots, and corpus pictures mirrored
// twice coming back as they were.
#include <gtest/gtest.h>

#include <set>

#include "Corpus.h"
#include "ShapesTestDots.h"
#include "board/BoardBlanks.h"
#include "grid/LineModel.h"
#include "shapes/Mirror.h"

namespace {

using namespace masumemo;
namespace mt = masumemo::testing;
using shapes::MirrorTable;

MirrorTable table(std::u16string_view text)
{
    MirrorTable t;
    EXPECT_TRUE(t.addPairs(text).empty());
    return t;
}

TEST(MirrorTable, BuiltInTablesArePairsBothWaysWithNoCharacterTwice)
{
    for (std::u16string_view text :
         {shapes::builtInLeftRightPairs(), shapes::builtInUpsideDownPairs()}) {
        MirrorTable t;
        EXPECT_TRUE(t.addPairs(text).empty());
        size_t lines = 0;
        for (const auto& l : grid::SplitText(grid::normaliseLineEnds(text))) {
            lines += !l.empty() && l.front() != u'#' ? 1 : 0;
        }
        // No pair overrode another: every line still stands as its two characters.
        EXPECT_EQ(t.pairs().size(), 2 * lines);
        for (auto [a, b] : t.pairs()) {
            EXPECT_EQ(t.mirror(b), a);
            EXPECT_NE(a, b);
        }
    }
    const MirrorTable lr = table(shapes::builtInLeftRightPairs());
    EXPECT_EQ(lr.mirror(U'（'), U'）');
    EXPECT_EQ(lr.mirror(U'ノ'), U'ヽ');
    EXPECT_EQ(lr.mirror(U'A'), U'A');
}

TEST(MirrorTable, AUserTableOverridesAndReportsWhatItCannotRead)
{
    MirrorTable t = table(u"()\n[]\n");
    EXPECT_EQ(t.addPairs(u"# mine\n(]\n\nabc\nxx\n"), (std::vector<int>{4, 5}));
    EXPECT_EQ(t.mirror(U'('), U']');
    EXPECT_EQ(t.mirror(U']'), U'(');
    EXPECT_EQ(t.mirror(U')'), U')');  // its old pair is gone with "("
    EXPECT_EQ(t.mirror(U'['), U'[');
}

TEST(Mirror, CellsKeepTheirPlaces)
{
    const MirrorTable lr = table(shapes::builtInLeftRightPairs());
    // A full-width character at units [a, b) lands at [W - b, W - a).
    const std::vector<std::u16string> lines{u"(あ]  ", u"　／b\U0001F600"};
    const auto out = shapes::mirrorCells(lines, lr);
    EXPECT_EQ(out, (std::vector<std::u16string>{u"  [あ)", u"\U0001F600d＼　"}));
    EXPECT_EQ(shapes::mirrorCells(out, lr), lines);
    // A pair of another width would break the grid: the character stays.
    MirrorTable odd = table(u"(）\n");
    EXPECT_EQ(shapes::mirrorCells({u"(a"}, odd), (std::vector<std::u16string>{u"a("}));

    const MirrorTable ud = table(shapes::builtInUpsideDownPairs());
    EXPECT_EQ(shapes::mirrorUpsideDown({u"∧b", u"⌒q"}, ud),
              (std::vector<std::u16string>{u"＿d", u"∨p"}));
}

TEST(Mirror, DotsLandAtTheirMirroredPositions)
{
    const MirrorTable lr = table(shapes::builtInLeftRightPairs());
    // "(" at 11 and "b" at 30 in a span from 11 to 38: ")" lands at 30, "d" at 11.
    const std::vector<std::u16string> lines{u"\u3000(\u3000b\u3000\u3000", u"\u3000\u3000 a\u3000 "};
    const shapes::DotMirror out = shapes::mirrorDots(lines, lr, mt::stubDots, true);
    EXPECT_EQ(out.offCharacters, 0);
    EXPECT_EQ(out.unchangedLines, 0);
    ASSERT_EQ(out.lines.size(), 2U);
    EXPECT_EQ(grid::WidthOf(out.lines[0]), grid::WidthOf(lines[0]));
    EXPECT_EQ(out.lines[0].substr(0, 4), u"\u3000d\u3000)");
    // Without Unicode spaces a run may miss: said, and the nearest taken.
    const shapes::DotMirror rough =
        shapes::mirrorDots({u"a\u3000b\u3000\u3000\u3000", u"\u3000\u3000\u3000 c  "}, lr,
                           mt::stubDots, false);
    EXPECT_GT(rough.offCharacters, 0);
    EXPECT_GT(rough.largestOff, 0);
}

using mt::placed;

TEST(ShapesCorpus, PicturesMirroredTwiceComeBack)
{
    if (const char* why = mt::corpusSkipReason()) {
        GTEST_SKIP() << why;
    }
    const MirrorTable lr = table(shapes::builtInLeftRightPairs());
    const MirrorTable ud = table(shapes::builtInUpsideDownPairs());
    for (const auto& path : mt::corpusPictures()) {
        SCOPED_TRACE(path.string());
        std::vector<std::u16string> lines =
            grid::SplitText(grid::normaliseLineEnds(mt::fromUtf8(mt::readBytes(path))));
        int width = 0;
        for (const auto& l : lines) {
            width = std::max(width, grid::WidthOf(l));
        }
        for (auto& l : lines) {
            l += std::u16string(static_cast<size_t>(width - grid::WidthOf(l) + 40), u' ');
        }
        ASSERT_EQ(shapes::mirrorCells(shapes::mirrorCells(lines, lr), lr), lines);
        ASSERT_EQ(shapes::mirrorUpsideDown(shapes::mirrorUpsideDown(lines, ud), ud), lines);
        const auto once = shapes::mirrorDots(lines, lr, mt::stubDots, true);
        const auto twice = shapes::mirrorDots(once.lines, lr, mt::stubDots, true);
        ASSERT_EQ(once.offCharacters + twice.offCharacters, 0);
        for (size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(placed(twice.lines[i]), placed(lines[i])) << "line " << i + 1;
        }
    }
}

}  // namespace

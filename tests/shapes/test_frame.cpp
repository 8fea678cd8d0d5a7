// Frames: the style file, a frame in cells over the lines around, and one in dots whose right
// pieces stand at one dot while the framed characters keep theirs.
#include <gtest/gtest.h>

#include "ShapesTestDots.h"
#include "board/BoardBlanks.h"
#include "grid/LineModel.h"
#include "shapes/Frame.h"

namespace {

using namespace masumemo;
namespace mt = masumemo::testing;
using shapes::FrameRefusal;
using shapes::FrameStyle;

FrameStyle styleNamed(std::u16string_view name)
{
    for (const FrameStyle& s : shapes::parseFrameStyles(shapes::builtInFrameStyles())) {
        if (s.name == name) {
            return s;
        }
    }
    ADD_FAILURE() << "no such style";
    return {};
}

TEST(FrameStyles, ReadWhatIsWrittenAndSayWhatIsNot)
{
    std::vector<int> bad;
    const auto builtIn = shapes::parseFrameStyles(shapes::builtInFrameStyles(), &bad);
    EXPECT_TRUE(bad.empty());
    ASSERT_GE(builtIn.size(), 4U);
    EXPECT_EQ(builtIn[0].name, u"四角");
    EXPECT_EQ(builtIn[0].topLeft, u"┌");
    EXPECT_EQ(styleNamed(u"しっぽ付き吹き出し").tail, u"＜");

    const auto mine = shapes::parseFrameStyles(
        u"[half]\n左上=+\n上=-\n右上=+\n右=|\n右下=+\n下=-\n左下=+\n左=|\n余白=1\n"
        u"[broken]\n左上=+\nfoo\n余白=99\n",
        &bad);
    ASSERT_EQ(mine.size(), 1U);  // "broken" lacks pieces
    EXPECT_EQ(mine[0].margin, 1);
    EXPECT_EQ(bad, (std::vector<int>{13, 14}));
}

TEST(Frame, CellsAroundTwoLines)
{
    const std::vector<std::u16string> canvas{u"　　　　　　　　", u"　　ab　　　　　",
                                             u"　　cde 　　　　", u"　　　　　　　　"};
    const auto out = shapes::frameCells(canvas, 1, 2, styleNamed(u"四角"));
    ASSERT_FALSE(out.refused);
    // The inside is a whole number of top pieces; the right side stands one cell past "cde"
    // and its margin, the cut full-width space leaving " ".
    EXPECT_EQ(out.lines, (std::vector<std::u16string>{u"┌────┐　　", u"│　ab 　 │　　",
                                                      u"│　cde　 │　　", u"└────┘　　"}));
    for (const auto& l : out.lines) {
        EXPECT_EQ(grid::WidthOf(l), 16);
    }
    // No line above, or no room on the left: nothing changes.
    EXPECT_EQ(shapes::frameCells(canvas, 0, 1, styleNamed(u"四角")).refused, FrameRefusal::NoRoom);
    EXPECT_EQ(shapes::frameCells({u"　　　", u"ab　　", u"　　　"}, 1, 1, styleNamed(u"四角")).refused,
              FrameRefusal::NoRoom);
    EXPECT_EQ(shapes::frameCells(canvas, 2, 3, styleNamed(u"四角")).refused, FrameRefusal::NoRoom);
    EXPECT_EQ(shapes::frameCells({u"　　　", u"　　　", u"　　　"}, 1, 1, styleNamed(u"四角")).refused,
              FrameRefusal::Nothing);
}

TEST(Frame, ABubbleWithItsTailOnTheMiddleLine)
{
    const std::vector<std::u16string> canvas{u"　　　　　　　　", u"　　a 　　　　",
                                             u"　　b 　　　　", u"　　c 　　　　",
                                             u"　　　　　　　　"};
    const auto out = shapes::frameCells(canvas, 1, 3, styleNamed(u"しっぽ付き吹き出し"));
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.lines[2].substr(0, 1), u"＜");
    EXPECT_EQ(out.lines[1].substr(0, 1), u"｜");
}

/// The dots at which each visible character of a line starts, and where the last one ends.
std::vector<int> starts(const std::u16string& line)
{
    std::vector<int> xs;
    int x = 0;
    for (char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            xs.push_back(x);
        }
        x += mt::stubDots(c);
    }
    xs.push_back(x);
    return xs;
}

int lastEnd(const std::u16string& line)
{
    int x = 0;
    int end = 0;
    for (char16_t c : line) {
        x += mt::stubDots(c);
        if (!board::isBoardBlank(c)) {
            end = x;
        }
    }
    return end;
}

TEST(Frame, DotsAlignTheRightSideAndKeepTheText)
{
    const std::vector<std::u16string> canvas{u"　　　　　　　　　　", u"　　　　a　b　　　　",
                                             u"　　　 cc　　　　　 ", u"　　　　　　　　　　"};
    for (bool unicode : {true, false}) {
        SCOPED_TRACE(unicode);
        const auto out = shapes::frameDots(canvas, 1, 2, styleNamed(u"吹き出し"),
                                           mt::stubDots, unicode);
        ASSERT_FALSE(out.refused);
        // The framed characters keep their dots: "a" at 44, "b" at 63, "cc" at 38; without
        // Unicode spaces a run may miss, and the count says so.
        const bool kept = starts(out.lines[1])[1] == 44 && starts(out.lines[1])[2] == 63 &&
                          starts(out.lines[2])[1] == 38;
        EXPECT_TRUE(kept || (!unicode && out.offLines > 0));
        if (unicode) {
            EXPECT_EQ(out.offLines, 0);
            // Every line's last piece ends at one dot.
            for (const auto& l : out.lines) {
                EXPECT_EQ(lastEnd(l), lastEnd(out.lines[0]));
            }
        }
        for (const auto& l : out.lines) {
            EXPECT_EQ(grid::WidthOf(l), 20);
        }
    }
    // A line above with something on it is not covered in dots.
    auto busy = canvas;
    busy[0] = u"x　　　　　　　　　 ";
    EXPECT_EQ(shapes::frameDots(busy, 1, 2, styleNamed(u"吹き出し"), mt::stubDots, true).refused,
              FrameRefusal::NotBlank);
}

}  // namespace

// The window's resize rules and the position panel's text, without a window.
#include <gtest/gtest.h>

#include "editor/Layout.h"
#include "editor/PositionDisplay.h"
#include "grid/LineModel.h"

using namespace masumemo;
using editor::LayoutInput;
using editor::ViewMode;
using editor::WindowGeometry;

namespace {

LayoutInput window(int w, int h, ViewMode view = ViewMode::Standard, WindowGeometry current = {})
{
    LayoutInput in;
    in.outerWidth = w;
    in.outerHeight = h;
    in.innerWidth = w - 120;  // a 4-pixel frame on each side
    in.view = view;
    in.current = current;
    return in;
}

WindowGeometry scrolledTo(int value)
{
    WindowGeometry g;
    g.hsbValue = value;
    g.picMainLeft = -value;
    return g;
}

}  // namespace

TEST(Layout, NarrowWindowScrollsTheWorkingArea)
{
    const WindowGeometry g = editor::layoutWindow(window(9000, 9330));
    EXPECT_TRUE(g.hsbVisible);
    EXPECT_EQ(g.hsbMaximum, 1600);
    EXPECT_EQ(g.hsbWidth, 8900);
    EXPECT_EQ(g.hsbTop, 9330 - 1300);
    EXPECT_EQ(g.txtMainHeight, 9330 - 3000 - 350 - 1500);  // the bar's 350 comes off
    EXPECT_EQ(g.picMainLeft, 75) << "an unscrolled narrow window keeps the designed left";
}

TEST(Layout, WidthRules)
{
    struct Row
    {
        const char* name;
        LayoutInput in;
        bool hsbVisible;
        int hsbMaximum, hsbValue, picMainLeft, picMainWidth, txtMainWidth, ruleRight;
    };
    const Row rows[] = {
        {"the base width hides the bar and puts the working area at the left edge",
         window(10500, 9330, ViewMode::Standard, scrolledTo(1600)), false, 0, 0, 0, 10380, 10220,
         10425},
        {"a wider window stretches the canvas", window(15000, 9330), false, 0, 0, 0, 14880, 14720,
         14925},
        {"one twip narrower than the base shows the bar", window(10499, 9330), true, 101, 0, 75,
         10400, 10220, 10425},
        {"narrowing further keeps the scroll position",
         window(8000, 9330, ViewMode::Standard, scrolledTo(1000)), true, 2600, 1000, -1000, 10400,
         10220, 10425},
        {"widening pulls the value back to the new maximum and scrolls with it",
         window(10000, 9330, ViewMode::Standard, scrolledTo(1600)), true, 600, 600, -600, 10400,
         10220, 10425},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const WindowGeometry g = editor::layoutWindow(r.in);
        EXPECT_EQ(g.hsbVisible, r.hsbVisible);
        EXPECT_EQ(g.hsbMaximum, r.hsbMaximum);
        EXPECT_EQ(g.hsbValue, r.hsbValue);
        EXPECT_EQ(g.picMainLeft, r.picMainLeft);
        EXPECT_EQ(g.picMainWidth, r.picMainWidth);
        EXPECT_EQ(g.txtMainWidth, r.txtMainWidth);
        EXPECT_EQ(g.ruleRight, r.ruleRight);
    }
}

TEST(Layout, HeightRules)
{
    WindowGeometry odd;
    odd.txtMainHeight = 1234;
    odd.picMainHeight = 5678;
    struct Row
    {
        const char* name;
        LayoutInput in;
        int txtMainTop, txtMainHeight, picMainHeight;
    };
    const Row rows[] = {
        {"standard view, designed size", window(10500, 9330), 3000, 4830, 8010},
        {"standard view 5000 high gets the canvas of a 6000-high window", window(10500, 5000), 3000,
         1500, 3680},
        {"the same, narrow: the bar's allowance comes off", window(9000, 5000), 3000, 1150, 3330},
        {"standard view exactly 6000 high", window(10500, 6000), 3000, 1500, 4680},
        {"below 1700 the heights are kept", window(10500, 1699, ViewMode::Standard, odd), 3000,
         1234, 5678},
        {"1700 high is laid out", window(10500, 1700), 3000, 1500, 380},
        {"maximised: the canvas bottom stays where the standard view has it",
         window(10500, 9330, ViewMode::Maximised), 75, 9330 - 1500 - 75, 8010},
        {"maximised at 3000 follows the window", window(10500, 3000, ViewMode::Maximised), 75, 1425,
         1680},
        {"maximised below 3000 takes the height of a 6000-high window",
         window(10500, 2999, ViewMode::Maximised), 75, 4425, 1679},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const WindowGeometry g = editor::layoutWindow(r.in);
        EXPECT_EQ(g.txtMainTop, r.txtMainTop);
        EXPECT_EQ(g.txtMainHeight, r.txtMainHeight);
        EXPECT_EQ(g.picMainHeight, r.picMainHeight);
    }
}

TEST(PositionDisplay, PanelTexts)
{
    struct Row
    {
        const char* name;
        std::u16string canvas;
        int line, column, keta, gyou;
        QString expected;
    };
    const Row rows[] = {
        {"fresh 35 x 20 canvas", grid::blankCanvas(35, 20), 1, 0, 35, 20,
         QStringLiteral("列[ 0/70 ]　行[ 1/20 ]")},
        {"after one full-width and one half-width character", u"あa　\r\n　　", 1, 2, 2, 2,
         QStringLiteral("列[ 3/4 ]　行[ 1/2 ]")},
        {"at the end of a line the column is the line width", u"ab　\r\n　　", 1, 3, 2, 2,
         QStringLiteral("列[ 4/4 ]　行[ 1/2 ]")},
        {"on the second line", u"　　\r\nア b", 2, 2, 2, 2, QStringLiteral("列[ 3/4 ]　行[ 2/2 ]")},
        {"a column past the line counts the whole line", u"ab", 1, 9, 1, 1,
         QStringLiteral("列[ 2/2 ]　行[ 1/1 ]")},
        {"a line past the snapshot counts as empty", u"ab", 3, 1, 1, 1,
         QStringLiteral("列[ 0/2 ]　行[ 3/1 ]")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto lines = grid::SplitCanvas(r.canvas, 0).lines;
        EXPECT_EQ(editor::positionText(lines, r.line, r.column, r.keta, r.gyou).toStdString(),
                  r.expected.toStdString());
    }
}

#include "Layout.h"

#include <algorithm>

namespace masumemo::editor {

WindowGeometry layoutWindow(const LayoutInput& in)
{
    const int W = in.outerWidth;
    const int H = in.outerHeight;
    WindowGeometry g = in.current;
    const bool maximised = in.view == ViewMode::Maximised;
    g.txtMainTop = maximised ? kCanvasTopMaximised : kCanvasTopStandard;

    int v = 0;  // room the scroll bar takes from the heights
    if (W < kBaseWidth) {
        g.picMainWidth = kBaseWidth - 100;
        g.txtMainWidth = kBaseWidth - 280;
        g.hsbVisible = true;
        g.hsbWidth = W - 100;
        // W is at least 0 here, so the maximum stays well within 16 bits.
        g.hsbMaximum = std::max(0, g.picMainWidth - W + 200);
        g.hsbTop = H - 1300;
        if (g.hsbValue > g.hsbMaximum) {
            // The bar pulls its value back and the working area scrolls with it.
            g.hsbValue = g.hsbMaximum;
            g.picMainLeft = -g.hsbValue;
        }
        g.ruleRight = kBaseWidth - 75;
        v = 350;
    } else {
        g.txtMainWidth = W - 280;
        g.picMainWidth = in.innerWidth;
        g.picMainLeft = 0;
        g.hsbVisible = false;
        g.hsbMaximum = 0;
        g.hsbValue = 0;
        g.ruleRight = W - 75;
    }

    if (H >= kMinimumLayoutHeight) {
        const int e = maximised ? 2925 : 0;
        const int T = maximised ? 3000 : 6000;
        const int effectiveHeight = H >= T ? H : 6000;
        g.txtMainHeight = effectiveHeight - 3000 - v - 1500 + e;
        g.picMainHeight = H - kWorkingAreaAllowance - v - 870;
    }
    return g;
}

}  // namespace masumemo::editor

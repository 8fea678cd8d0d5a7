// Splitting the largest canvas into line records against a plain scan of the same text.

#include <algorithm>

#include "Timing.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

using namespace masumemo;

namespace {
std::u16string mixedCanvas(int keta, int gyou)
{
    // Lines of alternating full-width and half-width pairs, each exactly 2 x keta units.
    std::u16string line;
    for (int i = 0; i < keta; ++i) {
        line += (i % 3 == 0) ? std::u16string(u"ab") : std::u16string(1, u'\u3042');
    }
    std::vector<std::u16string> lines(static_cast<size_t>(gyou), line);
    return grid::joinLines(lines);
}
}  // namespace

int main()
{
    const std::u16string text = mixedCanvas(40, 800);  // 64,000 units
    volatile long sink = 0;
    const auto [split, scan] = bench::bestOfAlternating(
        [&] {
            const grid::CanvasSplit s = grid::SplitCanvas(text, static_cast<int>(text.size() / 2));
            long widths = 0;
            for (const auto& r : s.lines) {
                widths += grid::WidthOf(r.Text);
            }
            sink = sink + widths;
        },
        [&] { sink = sink + std::count(text.begin(), text.end(), u'\r'); });
    const bool ok = bench::report("SplitCanvas + WidthOf, 40 x 800 vs CR count", split, scan, 5.0);
    return ok ? 0 : 1;
}

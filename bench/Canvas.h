#pragma once
// The canvas the benchmarks work on: the largest a picture may be (40 x 800, 64,000 units).

#include <string>
#include <vector>

#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::bench {

inline constexpr int kKeta = 40;
inline constexpr int kGyou = 800;

/// kGyou lines of half-width pairs and full-width characters, each exactly 2 x kKeta units, so
/// an edge meets both kinds.
inline std::u16string largestCanvas()
{
    std::u16string line;
    for (int i = 0; i < kKeta; ++i) {
        line += (i % 3 == 0) ? std::u16string(u"ab") : std::u16string(1, u'\u3042');
    }
    return grid::joinLines(std::vector<std::u16string>(kGyou, line));
}

/// What every canvas change starts with: the text cut into line records and each line measured.
/// Returns the sum of the widths, for the caller to keep so the work is not optimised away.
inline long splitAndMeasure(const std::u16string& text)
{
    const grid::CanvasSplit s = grid::SplitCanvas(text, static_cast<int>(text.size() / 2));
    long widths = 0;
    for (const auto& r : s.lines) {
        widths += grid::WidthOf(r.Text);
    }
    return widths;
}

}  // namespace masumemo::bench

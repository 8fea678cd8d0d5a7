#include "DotFix.h"

#include <algorithm>
#include <cstdlib>

#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::check {

int blankRunDots(std::u16string_view run, BlankDots dots)
{
    int width = 0;
    for (char16_t c : run) {
        width += c == grid::kFullSpace ? dots.full : dots.half;
    }
    return width;
}

DotRun dotExactRun(int width, bool atLineStart, BlankDots dots)
{
    // n full-width and m half-width spaces keep the board's rules when every half-width space
    // has a full-width one before it, or (away from the line start) one half-width space leads.
    int bestFull = 0;
    int bestHalf = 0;
    int bestMiss = -1;
    const int maxFull = width / std::max(dots.full, 1) + 1;
    for (int n = 0; n <= maxFull; ++n) {
        const int maxHalf = atLineStart ? n : n + 1;
        const int rest = width - n * dots.full;
        for (int m : {rest / std::max(dots.half, 1), rest / std::max(dots.half, 1) + 1}) {
            m = std::clamp(m, 0, maxHalf);
            const int miss = std::abs(n * dots.full + m * dots.half - width);
            if (bestMiss < 0 || miss < bestMiss || (miss == bestMiss && m < bestHalf)) {
                bestFull = n;
                bestHalf = m;
                bestMiss = miss;
            }
        }
    }
    DotRun out;
    int halves = bestHalf;
    if (halves > bestFull) {
        out.text += grid::kHalfSpace;
        --halves;
    }
    for (int i = 0; i < bestFull; ++i) {
        out.text += grid::kFullSpace;
        if (halves > 0) {
            out.text += grid::kHalfSpace;
            --halves;
        }
    }
    out.deviation = bestFull * dots.full + bestHalf * dots.half - width;
    return out;
}

DotLine fixLineInDots(std::u16string_view line, BlankDots dots)
{
    int shift = 0;
    int largest = 0;
    std::u16string text = fixLine(line, [&](const BlankRun& run) {
        DotRun fixed = dotExactRun(blankRunDots(run.text, dots), run.atLineStart, dots);
        shift += fixed.deviation;
        if (std::abs(shift) > std::abs(largest)) {
            largest = shift;
        }
        return std::move(fixed.text);
    });
    return {std::move(text), largest};
}

namespace {

std::u16string fitLineInDots(std::u16string_view line, BlankDots dots)
{
    const int units = grid::WidthOf(line);
    std::u16string fixed = fixLineInDots(line, dots).text;
    int width = grid::WidthOf(fixed);
    while (width > units && !fixed.empty() &&
           (fixed.back() == grid::kHalfSpace || fixed.back() == grid::kFullSpace)) {
        width -= fixed.back() == grid::kFullSpace ? 2 : 1;
        fixed.pop_back();
    }
    if (width > units) {
        return std::u16string(line);
    }
    for (; width + 2 <= units; width += 2) {
        fixed += grid::kFullSpace;
    }
    if (width < units) {
        fixed += grid::kHalfSpace;
    }
    return fixed;
}

}  // namespace

std::u16string fixForBoardInDots(std::u16string_view text, BlankDots dots)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t start = 0;;) {
        const size_t end = text.find(u"\r\n", start);
        out += fitLineInDots(text.substr(start, end == std::u16string_view::npos ? end : end - start),
                             dots);
        if (end == std::u16string_view::npos) {
            return out;
        }
        out += u"\r\n";
        start = end + 2;
    }
}

}  // namespace masumemo::check

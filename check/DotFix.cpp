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
    DotLine out;
    int shift = 0;
    out.text = fixLine(line, [&](const BlankRun& run) {
        DotRun fixed = dotExactRun(blankRunDots(run.text, dots), run.atLineStart, dots);
        if (fixed.deviation != 0 && out.missCount == 0) {
            out.missStart = static_cast<int>(run.text.data() - line.data());
            out.missCount = static_cast<int>(run.text.size());
        }
        shift += fixed.deviation;
        if (std::abs(shift) > std::abs(out.deviation)) {
            out.deviation = shift;
        }
        return std::move(fixed.text);
    });
    return out;
}

namespace {

/// The line fixed and padded back to its width in cells; a line that would not fit stays as it
/// was and moves nothing.
DotLine fitLineInDots(std::u16string_view line, BlankDots dots)
{
    const int units = grid::WidthOf(line);
    DotLine fixed = fixLineInDots(line, dots);
    std::u16string& text = fixed.text;
    int width = grid::WidthOf(text);
    while (width > units && !text.empty() &&
           (text.back() == grid::kHalfSpace || text.back() == grid::kFullSpace)) {
        width -= text.back() == grid::kFullSpace ? 2 : 1;
        text.pop_back();
    }
    if (width > units) {
        return {std::u16string(line)};
    }
    for (; width + 2 <= units; width += 2) {
        text += grid::kFullSpace;
    }
    if (width < units) {
        text += grid::kHalfSpace;
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
        const size_t length = end == std::u16string_view::npos ? end : end - start;
        out += fitLineInDots(text.substr(start, length), dots).text;
        if (end == std::u16string_view::npos) {
            return out;
        }
        out += u"\r\n";
        start = end + 2;
    }
}

std::vector<LineShift> dotShifts(std::u16string_view text, BlankDots dots)
{
    std::vector<LineShift> shifts;
    int number = 1;
    for (const std::u16string& line : grid::SplitText(text)) {
        const DotLine fixed = fitLineInDots(line, dots);
        if (fixed.deviation != 0) {
            const std::u16string_view before(line.data(), static_cast<size_t>(fixed.missStart));
            const int column = grid::WidthOf(before);
            shifts.push_back({number, fixed.deviation, column, fixed.missStart, fixed.missCount});
        }
        ++number;
    }
    return shifts;
}

}  // namespace masumemo::check

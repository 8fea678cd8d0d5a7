#include "DotFix.h"

#include <algorithm>
#include <cstdlib>

#include "board/BlankComposer.h"
#include "check/BoardFix.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "grid/References.h"

namespace masumemo::check {

namespace {

bool isBlank(char16_t c)
{
    return board::isBoardBlank(c);
}

}  // namespace

DotLine fixLineInDots(std::u16string_view line, bool unicodeSpaces)
{
    // Runs the board would change are composed again; after a run that comes out off by some
    // dots, the next run of the line is composed to take them back, and so on.
    DotLine out;
    out.text.reserve(line.size());
    int shift = 0;
    size_t i = 0;
    while (i < line.size()) {
        if (!isBlank(line[i])) {
            out.text += line[i++];
            continue;
        }
        size_t end = i + 1;
        while (end < line.size() && isBlank(line[end])) {
            ++end;
        }
        const std::u16string_view run = line.substr(i, end - i);
        const bool atLineStart = i == 0;
        if (end == line.size() || (shift == 0 && !boardChangesRun(run, atLineStart))) {
            out.text += run;  // a run at the line end is dropped by the board anyway
            i = end;
            continue;
        }
        const int width = board::runDots(run);
        board::ComposedRun fixed =
            board::composeBlankRun(width - shift, {atLineStart, false, false}, unicodeSpaces);
        if (fixed.dots - width != -shift && out.missCount == 0) {
            out.missStart = static_cast<int>(i);
            out.missCount = static_cast<int>(run.size());
        }
        shift += fixed.dots - width;
        if (std::abs(shift) > std::abs(out.deviation)) {
            out.deviation = shift;
        }
        out.text += fixed.text;
        i = end;
    }
    return out;
}

namespace {

/// The line fixed and padded back to its width in cells; a line that would not fit stays as it
/// was and moves nothing.
DotLine fitLineInDots(std::u16string_view line, bool unicodeSpaces)
{
    const int units = grid::WidthOf(line);
    DotLine fixed = fixLineInDots(line, unicodeSpaces);
    std::u16string& text = fixed.text;
    int width = grid::WidthOf(text);
    while (width > units && !text.empty() && isBlank(text.back())) {
        width -= grid::charWidth(text.back());
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

std::u16string fixForBoardInDots(std::u16string_view text, bool unicodeSpaces)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t start = 0;;) {
        const size_t end = text.find(u"\r\n", start);
        const size_t length = end == std::u16string_view::npos ? end : end - start;
        out += fitLineInDots(text.substr(start, length), unicodeSpaces).text;
        if (end == std::u16string_view::npos) {
            return out;
        }
        out += u"\r\n";
        start = end + 2;
    }
}

std::vector<LineShift> dotShifts(std::u16string_view text, bool unicodeSpaces)
{
    std::vector<LineShift> shifts;
    int number = 1;
    for (const std::u16string& line : grid::SplitText(text)) {
        const DotLine fixed = fitLineInDots(line, unicodeSpaces);
        if (fixed.deviation != 0) {
            const std::u16string_view before(line.data(), static_cast<size_t>(fixed.missStart));
            const int column = grid::WidthOf(before);
            shifts.push_back({number, fixed.deviation, column, fixed.missStart, fixed.missCount});
        }
        ++number;
    }
    return shifts;
}

std::u16string postingCopy(std::u16string_view text, bool proportional, bool unicodeSpaces)
{
    const std::u16string fixed =
        proportional ? fixForBoardInDots(text, unicodeSpaces) : fixForBoard(text);
    return grid::lineEndsAs(grid::withReferences(fixed), u"\n");
}

}  // namespace masumemo::check

#include "BoardFix.h"

#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::check {

namespace {

bool isBlank(char16_t c)
{
    return c == grid::kHalfSpace || c == grid::kFullSpace;
}

}  // namespace

std::u16string cellExactRun(const BlankRun& run)
{
    if (run.width == 1 && run.atLineStart) {
        return std::u16string(run.text);
    }
    std::u16string out(static_cast<size_t>(run.width / 2), grid::kFullSpace);
    if (run.width % 2 != 0) {
        out += grid::kHalfSpace;
    }
    return out;
}

bool boardChangesRun(std::u16string_view run, bool atLineStart)
{
    if (atLineStart && !run.empty() && run.front() == grid::kHalfSpace) {
        return true;
    }
    return run.find(u"  ") != std::u16string_view::npos;
}

std::u16string fixLine(std::u16string_view line, const RunWriter& writer)
{
    std::u16string out;
    out.reserve(line.size());
    size_t i = 0;
    while (i < line.size()) {
        if (!isBlank(line[i])) {
            out += line[i++];
            continue;
        }
        size_t end = i + 1;
        while (end < line.size() && isBlank(line[end])) {
            ++end;
        }
        const std::u16string_view run = line.substr(i, end - i);
        if (end < line.size() && boardChangesRun(run, i == 0)) {
            out += writer({run, grid::WidthOf(run), i == 0});
        } else {
            out += run;
        }
        i = end;
    }
    return out;
}

std::u16string fixForBoard(std::u16string_view text, const RunWriter& writer)
{
    std::u16string out;
    out.reserve(text.size());
    size_t start = 0;
    for (;;) {
        const size_t cr = text.find(u'\r', start);
        out += fixLine(text.substr(start, cr == std::u16string_view::npos ? cr : cr - start),
                       writer);
        if (cr == std::u16string_view::npos) {
            return out;
        }
        const size_t end = cr + 1 < text.size() && text[cr + 1] == u'\n' ? cr + 2 : cr + 1;
        out += text.substr(cr, end - cr);
        start = end;
    }
}

}  // namespace masumemo::check

#include "Block.h"

#include <algorithm>
#include <optional>

#include "Cp932.h"
#include "LineModel.h"
#include "Overwrite.h"

namespace masumemo::grid {

namespace {

/// The canvas lines, when the canvas is a grid of lines 2 x keta units wide.
std::optional<std::vector<std::u16string>> gridLines(std::u16string_view canvas, int keta)
{
    if (keta <= 0 || canvas.empty()) {
        return std::nullopt;
    }
    std::vector<std::u16string> lines = SplitText(canvas);
    for (const std::u16string& line : lines) {
        if (WidthOf(line) != 2 * keta || line.find(u'\n') != std::u16string::npos) {
            return std::nullopt;
        }
    }
    if (joinLines(lines) != canvas) {
        return std::nullopt;  // a CR without its LF
    }
    return lines;
}

/// rect cut down to a canvas of the given lines and width.
BlockRect clipped(BlockRect rect, int lines, int width)
{
    const int top = std::max(rect.line, 0);
    const int bottom = std::min(rect.line + rect.lines, lines);
    const int left = std::max(rect.column, 0);
    const int right = std::min(rect.column + rect.width, width);
    if (bottom <= top || right <= left) {
        return {};
    }
    return {top, left, bottom - top, right - left};
}

/// The characters of line wholly inside the unit columns [left, right): indices [first, end)
/// and the units between left and the first of them.
struct Inside
{
    size_t first = 0;
    size_t end = 0;
    int offset = 0;
};

Inside insideColumns(std::u16string_view line, int left, int right)
{
    Inside inside;
    bool found = false;
    int at = 0;
    for (size_t i = 0; i < line.size() && at < right; ++i) {
        const int w = charWidth(line[i]);
        if (at >= left && at + w <= right) {
            if (!found) {
                found = true;
                inside.first = i;
                inside.offset = at - left;
            }
            inside.end = i + 1;
        }
        at += w;
    }
    return inside;
}

struct Scanned
{
    Block block;
    std::vector<std::u16string> lines;
    BlockRect rect;
};

/// The block under rect with the canvas lines it was taken from, blanked when lift is set.
std::optional<Scanned> scan(std::u16string_view canvas, BlockRect rect, int keta, bool lift)
{
    auto lines = gridLines(canvas, keta);
    if (!lines) {
        return std::nullopt;
    }
    Scanned s;
    s.rect = clipped(rect, static_cast<int>(lines->size()), 2 * keta);
    if (s.rect.empty()) {
        return std::nullopt;
    }
    s.block.width = s.rect.width;
    for (int i = 0; i < s.rect.lines; ++i) {
        std::u16string& line = (*lines)[static_cast<size_t>(s.rect.line + i)];
        const Inside inside = insideColumns(line, s.rect.column, s.rect.column + s.rect.width);
        s.block.lines.push_back(
            {line.substr(inside.first, inside.end - inside.first), inside.offset});
        if (lift) {
            for (size_t k = inside.first; k < inside.end; ++k) {
                line[k] = HanZenSP(line[k]);
            }
        }
    }
    s.lines = std::move(*lines);
    return s;
}

bool isSpace(char16_t c)
{
    return c == kHalfSpace || c == kFullSpace;
}

/// The block line's characters other than spaces laid over line from column, run by run.
std::u16string layOpaqueParts(std::u16string_view line, int column, std::u16string_view text)
{
    std::u16string out(line);
    size_t i = 0;
    int at = column;
    while (i < text.size()) {
        if (isSpace(text[i])) {
            at += charWidth(text[i]);
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !isSpace(text[end])) {
            ++end;
        }
        const std::u16string_view run = text.substr(i, end - i);
        out = overlayAtColumn(out, at, run).text;
        at += WidthOf(run);
        i = end;
    }
    return out;
}

}  // namespace

BlockRect rectFromCorners(int lineA, int columnA, int lineB, int columnB, int keta, int gyou)
{
    const int top = std::clamp(std::min(lineA, lineB), 0, std::max(gyou - 1, 0));
    const int bottom = std::clamp(std::max(lineA, lineB), 0, std::max(gyou - 1, 0));
    const int left = std::clamp(std::min(columnA, columnB), 0, std::max(2 * keta, 0));
    const int right = std::clamp(std::max(columnA, columnB), 0, std::max(2 * keta, 0));
    if (gyou <= 0 || keta <= 0) {
        return {};
    }
    return {top, left, bottom - top + 1, right - left};
}

Block copyBlock(std::u16string_view canvas, BlockRect rect, int keta)
{
    auto s = scan(canvas, rect, keta, false);
    return s ? std::move(s->block) : Block{};
}

std::u16string blockText(const Block& block)
{
    std::u16string out;
    for (size_t i = 0; i < block.lines.size(); ++i) {
        if (i > 0) {
            out += u'\n';
        }
        const BlockLine& line = block.lines[i];
        out.append(static_cast<size_t>(line.offset), kHalfSpace);
        out += line.text;
        const int rest = block.width - line.offset - WidthOf(line.text);
        out.append(static_cast<size_t>(std::max(rest, 0)), kHalfSpace);
    }
    return out;
}

Lifted liftBlock(std::u16string_view canvas, BlockRect rect, int keta)
{
    auto s = scan(canvas, rect, keta, true);
    if (!s) {
        return {{}, std::u16string(canvas)};
    }
    return {std::move(s->block), joinLines(s->lines)};
}

std::u16string layBlock(std::u16string_view canvas, const Block& block, int line, int column,
                        bool transparent, int keta)
{
    auto lines = gridLines(canvas, keta);
    if (!lines || block.empty()) {
        return std::u16string(canvas);
    }
    const int gyou = static_cast<int>(lines->size());
    const int blockLines = static_cast<int>(block.lines.size());
    line = std::clamp(line, 0, std::max(gyou - blockLines, 0));
    column = std::clamp(column, 0, std::max(2 * keta - block.width, 0));
    for (int i = 0; i < blockLines && line + i < gyou; ++i) {
        const BlockLine& part = block.lines[static_cast<size_t>(i)];
        std::u16string& target = (*lines)[static_cast<size_t>(line + i)];
        const int at = column + part.offset;
        target = transparent ? layOpaqueParts(target, at, part.text)
                             : overlayAtColumn(target, at, part.text).text;
    }
    return joinLines(*lines);
}

BlockRect moveRect(BlockRect rect, Arrow arrow, Step step, int keta, int gyou)
{
    const int units = step == Step::Half ? 1 : 2;
    switch (arrow) {
        case Arrow::Left:
            rect.column -= units;
            break;
        case Arrow::Right:
            rect.column += units;
            break;
        case Arrow::Up:
            rect.line -= 1;
            break;
        case Arrow::Down:
            rect.line += 1;
            break;
    }
    rect.column = std::clamp(rect.column, 0, std::max(2 * keta - rect.width, 0));
    rect.line = std::clamp(rect.line, 0, std::max(gyou - rect.lines, 0));
    return rect;
}

}  // namespace masumemo::grid

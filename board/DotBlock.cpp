#include "DotBlock.h"

#include <algorithm>
#include <cstdlib>

#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::board {

namespace {

bool isHighSurrogate(char16_t c)
{
    return (c & 0xFC00) == 0xD800;
}

bool isLowSurrogate(char16_t c)
{
    return (c & 0xFC00) == 0xDC00;
}

/// A visible character to place: where it belongs and where it comes from.
struct Item
{
    int target = 0;   ///< the dot it belongs at
    int width = 0;
    int source = 0;   ///< 0 the line, 1 the landing
    int order = 0;    ///< its place among the visible characters of its source
    int index = 0;    ///< code units into its source
    int size = 1;
};

bool overlaps(const DotSpan& s, int from, int to)
{
    // A character without width still stands somewhere: at its x.
    return s.x < to && std::max(s.end(), s.x + 1) > from;
}

}  // namespace

std::vector<DotSpan> dotSpans(std::u16string_view line, const CharDots& dots)
{
    std::vector<DotSpan> out;
    out.reserve(line.size());
    int x = 0;
    const int n = static_cast<int>(line.size());
    for (int i = 0; i < n;) {
        const char16_t c = line[static_cast<size_t>(i)];
        DotSpan s;
        s.index = i;
        s.x = x;
        s.blank = isBoardBlank(c);
        s.size = isHighSurrogate(c) && i + 1 < n && isLowSurrogate(line[static_cast<size_t>(i + 1)])
                     ? 2
                     : 1;
        for (int k = 0; k < s.size; ++k) {
            s.width += dots(line[static_cast<size_t>(i + k)]);
        }
        x += s.width;
        i += s.size;
        out.push_back(s);
    }
    return out;
}

DotChoice chooseByMiddle(std::u16string_view line, int x0, int x1, const CharDots& dots)
{
    const std::vector<DotSpan> spans = dotSpans(line, dots);
    DotChoice c;
    c.start = c.end = static_cast<int>(line.size());
    bool found = false;
    for (const DotSpan& s : spans) {
        const bool inside = s.middle2() >= 2 * x0 && s.middle2() < 2 * x1;
        if (inside && !found) {
            found = true;
            c.start = s.index;
            c.x = s.x;
        }
        if (inside) {
            c.end = s.index + s.size;
            c.width = s.end() - c.x;
        } else if (found) {
            break;
        } else if (s.middle2() >= 2 * x0) {
            c.start = c.end = s.index;  // nothing chosen: the place where the range starts
            c.x = s.x;
            return c;
        }
    }
    if (!found && !spans.empty() && c.start == static_cast<int>(line.size())) {
        c.x = spans.back().end();
    }
    return c;
}

int nextChoiceEdge(const std::vector<std::u16string_view>& lines, int x, int direction,
                   const CharDots& dots)
{
    // The choice changes when an edge crosses from c - 1 to c, c being a middle rounded down
    // plus one. Moving right the first new choice is at c, moving left at c - 1.
    std::optional<int> best;
    for (std::u16string_view line : lines) {
        for (const DotSpan& s : dotSpans(line, dots)) {
            const int c = s.middle2() / 2 + 1;
            if (direction > 0 && c > x) {
                best = std::min(best.value_or(c), c);
                break;  // the middles only grow along a line
            }
            if (direction < 0 && c <= x) {
                best = std::max(best.value_or(c - 1), c - 1);
            }
        }
    }
    return best.value_or(x);
}

Relaid relayLine(std::u16string_view line, DotChoice lifted, const std::optional<Landing>& landing,
                 const CharDots& dots, bool unicodeSpaces)
{
    const std::vector<DotSpan> spans = dotSpans(line, dots);
    std::vector<DotSpan> landed;
    int landWidth = 0;
    if (landing) {
        landed = dotSpans(landing->text, dots);
        for (DotSpan& s : landed) {
            s.x += landing->x;
        }
        landWidth = landed.empty() ? 0 : landed.back().end() - landing->x;
    }
    const auto covered = [&](const DotSpan& s) {
        if (!landing) {
            return false;
        }
        if (!landing->transparent) {
            return overlaps(s, landing->x, landing->x + landWidth);
        }
        return std::any_of(landed.begin(), landed.end(), [&](const DotSpan& l) {
            return !l.blank && overlaps(s, l.x, std::max(l.end(), l.x + 1));
        });
    };

    std::vector<Item> items;
    int order = 0;
    int lastVisible = -1;  ///< in spans
    for (size_t k = 0; k < spans.size(); ++k) {
        const DotSpan& s = spans[k];
        if (s.blank) {
            continue;
        }
        lastVisible = static_cast<int>(k);
        const bool chosen = s.index >= lifted.start && s.index < lifted.end;
        if (!chosen && !covered(s)) {
            items.push_back({s.x, s.width, 0, order, s.index, s.size});
        }
        ++order;
    }
    order = 0;
    for (const DotSpan& s : landed) {
        if (!s.blank) {
            items.push_back({s.x, s.width, 1, order++, s.index, s.size});
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.target < b.target; });

    Relaid out;
    out.text.reserve(line.size() + 8);
    int at = 0;  // dots written so far
    const Item* prev = nullptr;
    bool prevOnTarget = true;
    for (const Item& item : items) {
        const std::u16string_view src = item.source == 0 ? line : landing->text;
        // The line's own first character still first: its leading blanks stay as written.
        const bool keepLead = !prev && item.source == 0 && item.order == 0;
        const bool keepRun = keepLead || (prev && prevOnTarget && prev->source == item.source &&
                                          prev->order + 1 == item.order);
        if (keepRun) {
            // Between two neighbours that keep their distance: the run as it was written.
            const int from = keepLead ? 0 : prev->index + prev->size;
            out.text.append(src.substr(static_cast<size_t>(from),
                                       static_cast<size_t>(item.index - from)));
            at = item.target;
        } else {
            RunPlace place;
            place.atLineStart = out.text.empty();
            place.halfBefore = !out.text.empty() && out.text.back() == grid::kHalfSpace;
            place.halfAfter = src[static_cast<size_t>(item.index)] == grid::kHalfSpace;
            const ComposedRun run = composeBlankRun(item.target - at, place, unicodeSpaces);
            out.text += run.text;
            at += run.dots;
        }
        const int off = std::abs(at - item.target);
        if (off != 0) {
            ++out.offCharacters;
            out.largestOff = std::max(out.largestOff, off);
        }
        prevOnTarget = off == 0;
        out.text.append(src.substr(static_cast<size_t>(item.index), static_cast<size_t>(item.size)));
        at += item.width;
        prev = &item;
    }

    // The trailing blanks: as written when the line still ends on its own last character there,
    // else filled to the line's width in units.
    const int units = grid::WidthOf(line);
    const bool ownEnd = prev && prevOnTarget && prev->source == 0 && lastVisible >= 0 &&
                        prev->index == spans[static_cast<size_t>(lastVisible)].index;
    const size_t visibleEnd = out.text.size();
    if (ownEnd) {
        out.text.append(line.substr(static_cast<size_t>(prev->index + prev->size)));
    }
    int width = grid::WidthOf(out.text);
    while (width > units && out.text.size() > visibleEnd) {
        width -= grid::charWidth(out.text.back());
        out.text.pop_back();
    }
    if (width > units) {
        out.text = std::u16string(line);
        out.fits = false;
        return out;
    }
    const bool blankLine = out.text.empty();
    const bool odd = (units - width) % 2 != 0;
    if (odd && !blankLine) {
        out.text += grid::kHalfSpace;
    }
    out.text.append(static_cast<size_t>((units - width) / 2), grid::kFullSpace);
    if (odd && blankLine) {
        out.text += grid::kHalfSpace;  // never a half-width space first
    }
    return out;
}

bool DotBlock::empty() const
{
    return std::all_of(choices.begin(), choices.end(),
                       [](const DotChoice& c) { return c.empty(); });
}

DotBlock chooseBlock(const std::vector<std::u16string>& lines, DotRect rect, const CharDots& dots)
{
    DotBlock block;
    block.line = rect.line;
    if (rect.empty()) {
        return block;
    }
    const int last = std::min(rect.line + rect.lines, static_cast<int>(lines.size()));
    for (int i = std::max(rect.line, 0); i < last; ++i) {
        const std::u16string& line = lines[static_cast<size_t>(i)];
        const DotChoice c = chooseByMiddle(line, rect.x0, rect.x1, dots);
        block.choices.push_back(c);
        block.text.push_back(line.substr(static_cast<size_t>(c.start),
                                         static_cast<size_t>(c.end - c.start)));
    }
    return block;
}

namespace {

/// Where a block lands: lines down and dots right, and how.
struct Move
{
    int down = 0;
    int right = 0;
    bool transparent = false;
};

DotLaid relayBlock(const std::vector<std::u16string>& lines, const DotBlock& block,
                   const std::optional<Move>& move, const CharDots& dots, bool unicodeSpaces)
{
    const int downLines = move ? move->down : 0;
    const int rightDots = move ? move->right : 0;
    DotLaid out;
    const int count = static_cast<int>(block.choices.size());
    const int canvasLines = static_cast<int>(lines.size());
    int first = canvasLines;
    int last = -1;
    for (int k = 0; k < count; ++k) {
        const size_t i = static_cast<size_t>(k);
        // A turned block may land text on a line it lifted nothing from, and the other way.
        const bool lifts = !block.choices[i].empty();
        const bool lands = !block.text[i].empty();
        if (lifts) {
            first = std::min(first, block.line + k);
            last = std::max(last, block.line + k);
        }
        if (!lands) {
            continue;
        }
        const int to = block.line + k + downLines;
        if (to < 0 || to >= canvasLines || block.landingX(i) + rightDots < 0) {
            out.fits = false;
            return out;
        }
        first = std::min(first, to);
        last = std::max(last, to);
    }
    if (last < 0) {
        return out;
    }
    out.first = first;
    for (int i = first; i <= last; ++i) {
        const int k = i - block.line;  // the block line lifted from here
        const int j = i - downLines - block.line;  // the block line landing here
        DotChoice lifted{0, 0, 0, 0};
        if (k >= 0 && k < count) {
            lifted = block.choices[static_cast<size_t>(k)];
        }
        std::optional<Landing> landing;
        if (move && j >= 0 && j < count && !block.text[static_cast<size_t>(j)].empty()) {
            landing = Landing{block.text[static_cast<size_t>(j)],
                              block.landingX(static_cast<size_t>(j)) + rightDots,
                              move->transparent};
        }
        const std::u16string& line = lines[static_cast<size_t>(i)];
        if (lifted.empty() && !landing) {
            out.lines.push_back(line);
            continue;
        }
        Relaid r = relayLine(line, lifted, landing, dots, unicodeSpaces);
        if (!r.fits) {
            out.fits = false;
            out.lines.clear();
            return out;
        }
        if (r.offCharacters > 0) {
            ++out.offLines;
            out.largestOff = std::max(out.largestOff, r.largestOff);
        }
        out.lines.push_back(std::move(r.text));
    }
    return out;
}

}  // namespace

DotLaid layBlock(const std::vector<std::u16string>& lines, const DotBlock& block, int downLines,
                 int rightDots, bool transparent, const CharDots& dots, bool unicodeSpaces)
{
    return relayBlock(lines, block, Move{downLines, rightDots, transparent}, dots, unicodeSpaces);
}

DotLaid liftBlock(const std::vector<std::u16string>& lines, const DotBlock& block,
                  const CharDots& dots, bool unicodeSpaces)
{
    return relayBlock(lines, block, std::nullopt, dots, unicodeSpaces);
}

}  // namespace masumemo::board

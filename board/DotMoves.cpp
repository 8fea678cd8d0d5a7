#include "DotMoves.h"

#include <algorithm>
#include <vector>

#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::board {

namespace {

using grid::Arrow;

/// The largest distance tried when one dot cannot be made without Unicode spaces; every width
/// has an exact run within this.
constexpr int kMaxStep = 16;

bool blank(char16_t c)
{
    return isBoardBlank(c);
}

/// A run of blanks [start, end) in a line; start == end is a place for a new run.
struct Run
{
    int start = 0;
    int end = 0;
};

/// Index of the first visible character at or after from, or size when none.
int nextVisible(std::u16string_view line, int from)
{
    const int n = static_cast<int>(line.size());
    while (from < n && blank(line[static_cast<size_t>(from)])) {
        ++from;
    }
    return from;
}

int lastVisible(std::u16string_view line)
{
    int i = static_cast<int>(line.size()) - 1;
    while (i >= 0 && blank(line[static_cast<size_t>(i)])) {
        --i;
    }
    return i;
}

/// The whole run of blanks around [from, to): widened to every blank next to it.
Run widen(std::u16string_view line, int from, int to)
{
    const int n = static_cast<int>(line.size());
    while (from > 0 && blank(line[static_cast<size_t>(from - 1)])) {
        --from;
    }
    while (to < n && blank(line[static_cast<size_t>(to)])) {
        ++to;
    }
    return {from, to};
}

/// The run the caret stands in, at the start of, or just after; a new one at the caret.
Run runAt(std::u16string_view line, int col)
{
    return widen(line, col, col);
}

/// The run that ends at index, not reaching past it.
Run runEndingAt(std::u16string_view line, int index)
{
    int from = index;
    while (from > 0 && blank(line[static_cast<size_t>(from - 1)])) {
        --from;
    }
    return {from, index};
}

Run runStartingAt(std::u16string_view line, int index)
{
    const int n = static_cast<int>(line.size());
    int to = index;
    while (to < n && blank(line[static_cast<size_t>(to)])) {
        ++to;
    }
    return {index, to};
}

int dotsOf(std::u16string_view line, Run r)
{
    return runDots(line.substr(static_cast<size_t>(r.start), static_cast<size_t>(r.end - r.start)));
}

/// A run to write at a new width.
struct Change
{
    Run run;
    int dots = 0;
};

/// The line with each run recomposed (changes not overlapping) and put back to its width in
/// units at its end; nullopt when a run cannot be made exactly within the rules, is asked
/// narrower than nothing, or a visible character would pass the last cell. A run with nothing
/// visible after it is the line's end, whatever its dots: the fill decides it. The indices move
/// with the text; one inside a rewritten run goes to its end, where the next character stands.
std::optional<std::u16string> rewrite(std::u16string_view line, std::vector<Change> changes,
                                      bool unicodeSpaces, std::vector<int*> indices = {})
{
    std::sort(changes.begin(), changes.end(),
              [](const Change& a, const Change& b) { return a.run.start < b.run.start; });
    const int last = lastVisible(line);
    std::vector<int> moved;
    for (int* i : indices) {
        moved.push_back(*i);
    }
    std::u16string out;
    int at = 0;
    for (const Change& c : changes) {
        out.append(line.substr(static_cast<size_t>(at), static_cast<size_t>(c.run.start - at)));
        std::u16string text;
        if (c.run.start > last) {
            text = std::u16string(line.substr(static_cast<size_t>(c.run.start),
                                              static_cast<size_t>(c.run.end - c.run.start)));
        } else {
            if (c.dots < 0) {
                return std::nullopt;
            }
            RunPlace place;
            place.atLineStart = c.run.start == 0;
            place.halfBefore =
                c.run.start > 0 && line[static_cast<size_t>(c.run.start - 1)] == grid::kHalfSpace;
            place.halfAfter = c.run.end < static_cast<int>(line.size()) &&
                              line[static_cast<size_t>(c.run.end)] == grid::kHalfSpace;
            ComposedRun run = composeBlankRun(c.dots, place, unicodeSpaces);
            if (!run.exact()) {
                return std::nullopt;
            }
            text = std::move(run.text);
        }
        const int delta = static_cast<int>(text.size()) - (c.run.end - c.run.start);
        for (size_t k = 0; k < indices.size(); ++k) {
            const int i = *indices[k];
            if (i >= c.run.end) {
                moved[k] += delta;
            } else if (i > c.run.start) {
                moved[k] += c.run.end - i + delta;
            }
        }
        out += text;
        at = c.run.end;
    }
    out.append(line.substr(static_cast<size_t>(at)));
    const int target = grid::WidthOf(line);
    int width = grid::WidthOf(out);
    while (width > target && !out.empty() && blank(out.back()) &&
           static_cast<int>(out.size()) - 1 > lastVisible(out)) {
        width -= grid::charWidth(out.back());
        out.pop_back();
    }
    if (width > target) {
        return std::nullopt;
    }
    if ((target - width) % 2 != 0) {
        out += grid::kHalfSpace;
    }
    out.append(static_cast<size_t>((target - width) / 2), grid::kFullSpace);
    for (size_t k = 0; k < indices.size(); ++k) {
        *indices[k] = std::min(moved[k], static_cast<int>(out.size()));
    }
    return out;
}

/// The canvas as lines, with the offset of each line's start (a break counting two).
struct Lines
{
    std::vector<std::u16string> text;
    std::vector<int> start;

    explicit Lines(std::u16string_view canvas) : text(grid::SplitText(canvas))
    {
        int at = 0;
        for (const auto& l : text) {
            start.push_back(at);
            at += static_cast<int>(l.size()) + 2;
        }
    }
    /// The line holding offset, and the column within it.
    std::pair<int, int> place(int offset) const
    {
        int line = 0;
        while (line + 1 < static_cast<int>(start.size()) &&
               start[static_cast<size_t>(line + 1)] <= offset) {
            ++line;
        }
        const int col = std::clamp(offset - start[static_cast<size_t>(line)], 0,
                                   static_cast<int>(text[static_cast<size_t>(line)].size()));
        return {line, col};
    }
    std::u16string& operator[](int i) { return text[static_cast<size_t>(i)]; }
    int offset(int line, int col)
    {
        int at = 0;
        for (int i = 0; i < line; ++i) {
            at += static_cast<int>(text[static_cast<size_t>(i)].size()) + 2;
        }
        return at + col;
    }
    std::u16string joined() const { return grid::joinLines(text); }
};

/// Runs of one line to change by d dots; nullopt when this distance does not apply.
using Plan = std::function<std::vector<Change>(int d)>;

/// The first distance from 1 on (1 only with Unicode spaces) at which the plan can be written,
/// and the line written; the caret column moves with it.
std::optional<std::pair<std::u16string, int>> firstDistance(std::u16string_view line,
                                                           const Plan& plan, bool unicodeSpaces,
                                                           std::vector<int*> indices)
{
    const int most = unicodeSpaces ? 1 : kMaxStep;
    for (int d = 1; d <= most; ++d) {
        std::vector<int> saved;
        for (int* i : indices) {
            saved.push_back(*i);
        }
        if (auto out = rewrite(line, plan(d), unicodeSpaces, indices)) {
            return std::make_pair(std::move(*out), d);
        }
        for (size_t k = 0; k < indices.size(); ++k) {
            *indices[k] = saved[k];
        }
    }
    return std::nullopt;
}

DotOutcome unchanged(std::u16string_view canvas, int caret, int length = 0)
{
    DotOutcome out;
    out.text = std::u16string(canvas);
    out.caret = std::clamp(caret, 0, static_cast<int>(canvas.size()));
    out.selectionLength = length;
    return out;
}

bool hasVisible(std::u16string_view line, int from, int to)
{
    return nextVisible(line.substr(0, static_cast<size_t>(to)), from) < to;
}

/// One line's plan run at the caret; the outcome for the whole canvas. Only the caret's line is
/// cut out and put back, so a step costs the size of a line, not of the canvas.
DotOutcome onCaretLine(std::u16string_view canvas, int caret, bool unicodeSpaces,
                       const std::function<std::optional<Plan>(std::u16string_view, int)>& make)
{
    const size_t at = static_cast<size_t>(std::clamp(caret, 0, static_cast<int>(canvas.size())));
    const size_t lf = at == 0 ? std::u16string_view::npos : canvas.rfind(u'\n', at - 1);
    const size_t start = lf == std::u16string_view::npos ? 0 : lf + 1;
    const size_t cr = canvas.find(u'\r', start);
    const size_t end = cr == std::u16string_view::npos ? canvas.size() : cr;
    const std::u16string_view line = canvas.substr(start, end - start);
    int col = static_cast<int>(std::min(at, end) - start);
    const std::optional<Plan> plan = make(line, col);
    if (!plan) {
        return unchanged(canvas, caret);
    }
    auto written = firstDistance(line, *plan, unicodeSpaces, {&col});
    if (!written || written->first == line) {
        return unchanged(canvas, caret);
    }
    DotOutcome out;
    out.changed = true;
    out.text.reserve(canvas.size() + written->first.size());
    out.text.append(canvas.substr(0, start));
    out.text += written->first;
    out.text.append(canvas.substr(end));
    out.caret = static_cast<int>(start) + col;
    out.dots = written->second;
    return out;
}

int lineLength(std::u16string_view line)
{
    return static_cast<int>(line.size());
}

}  // namespace

DotOutcome DotPush(std::u16string_view canvas, int caret, Arrow arrow, bool unicodeSpaces)
{
    if (arrow != Arrow::Left && arrow != Arrow::Right) {
        return unchanged(canvas, caret);
    }
    return onCaretLine(canvas, caret, unicodeSpaces,
                       [&](std::u16string_view line, int col) -> std::optional<Plan> {
        const Run at = runAt(line, col);
        if (arrow == Arrow::Right) {
            if (!hasVisible(line, at.start, lineLength(line))) {
                return std::nullopt;
            }
            const int w = dotsOf(line, at);
            return Plan([=](int d) { return std::vector<Change>{{at, w + d}}; });
        }
        const Run lead = runStartingAt(line, 0);
        if (lead.end == 0 || at.start == 0 || !hasVisible(line, 0, col)) {
            return std::nullopt;
        }
        const int wl = dotsOf(line, lead);
        const int wa = dotsOf(line, at);
        return Plan([=](int d) { return std::vector<Change>{{lead, wl - d}, {at, wa + d}}; });
    });
}

DotOutcome DotPull(std::u16string_view canvas, int caret, Arrow arrow, bool unicodeSpaces)
{
    if (arrow != Arrow::Left && arrow != Arrow::Right) {
        return unchanged(canvas, caret);
    }
    return onCaretLine(canvas, caret, unicodeSpaces,
                       [&](std::u16string_view line, int col) -> std::optional<Plan> {
        const Run at = runAt(line, col);
        if (at.start == at.end) {
            return std::nullopt;
        }
        const int wa = dotsOf(line, at);
        if (arrow == Arrow::Left) {
            if (!hasVisible(line, at.end, lineLength(line))) {
                return std::nullopt;
            }
            return Plan([=](int d) { return std::vector<Change>{{at, wa - d}}; });
        }
        if (at.start == 0 || !hasVisible(line, 0, at.start)) {
            return std::nullopt;
        }
        const Run lead = runStartingAt(line, 0);
        const int wl = dotsOf(line, lead);
        return Plan([=](int d) { return std::vector<Change>{{lead, wl + d}, {at, wa - d}}; });
    });
}

DotOutcome DotSellMove(std::u16string_view canvas, int start, int length, Arrow arrow,
                       bool unicodeSpaces)
{
    if (length <= 0 || (arrow != Arrow::Left && arrow != Arrow::Right)) {
        return unchanged(canvas, start, std::max(length, 0));
    }
    Lines lines(canvas);
    auto [l0, c0] = lines.place(start);
    auto [l1, c1] = lines.place(start + length);
    const int sign = arrow == Arrow::Right ? 1 : -1;
    if (l0 == l1) {
        const std::u16string line = lines[l0];
        if (!hasVisible(line, c0, c1)) {
            return unchanged(canvas, start, length);
        }
        const Run before = runEndingAt(line, c0);
        const Run after = runStartingAt(line, c1);
        const int wb = dotsOf(line, before);
        const int wa = dotsOf(line, after);
        const Plan plan = [=](int d) {
            return std::vector<Change>{{before, wb + sign * d}, {after, wa - sign * d}};
        };
        auto written = firstDistance(line, plan, unicodeSpaces, {&c0, &c1});
        if (!written || written->first == line) {
            return unchanged(canvas, start, length);
        }
        lines[l0] = written->first;
        DotOutcome out;
        out.changed = true;
        out.text = lines.joined();
        out.caret = lines.offset(l0, c0);
        out.selectionLength = c1 - c0;
        out.dots = written->second;
        return out;
    }
    if (c1 == 0) {
        --l1;  // a selection that ends at a line's start does not take that line
    }
    // The same distance for every line: the first at which all lines that can move do.
    std::vector<int> movable;
    for (int li = l0; li <= l1; ++li) {
        const std::u16string& line = lines[li];
        if (hasVisible(line, 0, lineLength(line)) &&
            (sign > 0 || runStartingAt(line, 0).end > 0)) {
            movable.push_back(li);
        }
    }
    auto planFor = [&](const std::u16string& line) {
        const Run lead = runStartingAt(line, 0);
        const int wl = dotsOf(line, lead);
        return Plan([=](int d) { return std::vector<Change>{{lead, wl + sign * d}}; });
    };
    int bestD = 0;
    size_t bestCount = 0;
    for (int d = 1; d <= (unicodeSpaces ? 1 : kMaxStep); ++d) {
        size_t count = 0;
        for (int li : movable) {
            if (rewrite(lines[li], planFor(lines[li])(d), unicodeSpaces)) {
                ++count;
            }
        }
        if (count > bestCount) {
            bestCount = count;
            bestD = d;
        }
        if (count == movable.size()) {
            break;
        }
    }
    DotOutcome out;
    int skipped = 0;
    for (int li = l0; li <= l1; ++li) {
        const std::u16string& line = lines[li];
        if (!hasVisible(line, 0, lineLength(line))) {
            continue;
        }
        std::optional<std::u16string> written;
        if (bestD > 0 && std::find(movable.begin(), movable.end(), li) != movable.end()) {
            written = rewrite(line, planFor(line)(bestD), unicodeSpaces);
        }
        if (written && *written != line) {
            lines[li] = *written;
            out.changed = true;
        } else {
            ++skipped;
        }
    }
    out.text = lines.joined();
    out.caret = lines.offset(l0, 0);
    out.selectionLength = lines.offset(l1, lineLength(lines[l1])) - out.caret;
    out.dots = out.changed ? bestD : 0;
    out.skippedLines = skipped;
    return out;
}

int dotPosition(std::u16string_view line, int index, const CharDots& dots)
{
    int x = 0;
    for (int i = 0; i < index && i < lineLength(line); ++i) {
        x += dots(line[static_cast<size_t>(i)]);
    }
    return x;
}

namespace {

/// The line with the run before the character at index recomposed so that the character starts
/// at x; nullopt when it cannot.
std::optional<std::u16string> startAt(std::u16string_view line, int index, int x,
                                      bool unicodeSpaces, const CharDots& dots, int* follow)
{
    const Run run = runEndingAt(line, index);
    const int width = dotsOf(line, run) + x - dotPosition(line, index, dots);
    std::vector<int*> indices;
    if (follow) {
        indices.push_back(follow);
    }
    return rewrite(line, {{run, width}}, unicodeSpaces, indices);
}

/// The selected lines: from the start's line to the end's, leaving out a line the selection only
/// reaches the start of; the caret's line without a selection.
std::pair<int, int> selectedLines(const Lines& lines, int start, int length)
{
    auto [l0, c0] = lines.place(start);
    if (length <= 0) {
        return {l0, l0};
    }
    auto [l1, c1] = lines.place(start + length);
    if (c1 == 0 && l1 > l0) {
        --l1;
    }
    (void)c0;
    return {l0, l1};
}

}  // namespace

DotOutcome AlignToGuide(std::u16string_view canvas, int caret, int start, int length, int guide,
                        bool unicodeSpaces, const CharDots& dots)
{
    Lines lines(canvas);
    auto [cl, cc] = lines.place(caret);
    auto [l0, l1] = selectedLines(lines, start, length);
    DotOutcome out = unchanged(canvas, caret, length);
    if (length > 0 && l1 > l0) {
        const int unit = grid::WidthOf(std::u16string_view(lines[cl]).substr(0, static_cast<size_t>(cc)));
        for (int li = l0; li <= l1; ++li) {
            const std::u16string line = lines[li];
            const int at = nextVisible(line, grid::charsWithinWidth(line, unit));
            if (at >= lineLength(line)) {
                continue;
            }
            if (auto written = startAt(line, at, guide, unicodeSpaces, dots, nullptr)) {
                out.changed = out.changed || *written != line;
                lines[li] = *written;
            } else {
                ++out.skippedLines;
            }
        }
        out.text = lines.joined();
        out.caret = lines.offset(l0, 0);
        out.selectionLength = lines.offset(l1, lineLength(lines[l1])) - out.caret;
        return out;
    }
    const std::u16string line = lines[cl];
    int at = nextVisible(line, cc);
    if (at >= lineLength(line)) {
        return out;
    }
    if (auto written = startAt(line, at, guide, unicodeSpaces, dots, &at)) {
        out.changed = *written != line;
        lines[cl] = *written;
        out.text = lines.joined();
        out.caret = lines.offset(cl, at);
        out.selectionLength = 0;
    } else {
        out.skippedLines = 1;
    }
    return out;
}

DotOutcome AlignRightEdges(std::u16string_view canvas, int start, int length,
                           std::optional<int> guide, bool unicodeSpaces, const CharDots& dots)
{
    Lines lines(canvas);
    auto [l0, l1] = selectedLines(lines, start, length);
    DotOutcome out = unchanged(canvas, start, length);
    // Each line's last visible character (its first code unit) and where it ends.
    struct Edge
    {
        int index = -1;
        int end = 0;
    };
    std::vector<Edge> edges;
    int rightmost = 0;
    for (int li = l0; li <= l1; ++li) {
        const std::u16string& line = lines[li];
        Edge e;
        const int last = lastVisible(line);
        if (last >= 0) {
            e.index = last > 0 && (line[static_cast<size_t>(last)] & 0xFC00) == 0xDC00 ? last - 1
                                                                                        : last;
            e.end = dotPosition(line, last + 1, dots);
            rightmost = std::max(rightmost, e.end);
        }
        edges.push_back(e);
    }
    const int target = guide.value_or(rightmost);
    for (int li = l0; li <= l1; ++li) {
        const Edge& e = edges[static_cast<size_t>(li - l0)];
        if (e.index < 0 || e.end == target) {
            continue;
        }
        const std::u16string line = lines[li];
        const int x = dotPosition(line, e.index, dots) + target - e.end;
        if (auto written = startAt(line, e.index, x, unicodeSpaces, dots, nullptr)) {
            out.changed = true;
            lines[li] = *written;
        } else {
            ++out.skippedLines;
        }
    }
    out.text = lines.joined();
    if (length > 0) {
        out.caret = lines.offset(l0, 0);
        out.selectionLength = lines.offset(l1, lineLength(lines[l1])) - out.caret;
    } else {
        out.caret = std::min(start, static_cast<int>(out.text.size()));
    }
    return out;
}

}  // namespace masumemo::board

#include "Push.h"

#include <algorithm>
#include <vector>

#include "Cp932.h"
#include "LineModel.h"

namespace masumemo::grid {
namespace {

/// The canvas as lines with the offset at which each starts. Built by hand rather than with
/// SplitCanvas so that a caret or selection end inside a line break can be placed safely.
struct Lines
{
    std::vector<std::u16string> text;
    std::vector<int> start;
};

Lines splitLines(std::u16string_view canvas)
{
    Lines lines;
    size_t pos = 0;
    for (;;) {
        lines.start.push_back(static_cast<int>(pos));
        const size_t cr = canvas.find(u'\r', pos);
        if (cr == std::u16string_view::npos) {
            lines.text.emplace_back(canvas.substr(pos));
            return lines;
        }
        lines.text.emplace_back(canvas.substr(pos, cr - pos));
        pos = std::min(canvas.size(), cr + 2);
    }
}

struct Position
{
    size_t line = 0;
    int column = 0;
};

/// The line and column of an offset. An offset inside a line break (between CR and LF) is
/// taken to the start of the next line; one past the text to the end of the last line.
Position locate(const Lines& lines, int offset)
{
    for (size_t i = 0; i < lines.text.size(); ++i) {
        const int start = lines.start[i];
        if (offset <= start + static_cast<int>(lines.text[i].size())) {
            return {i, std::max(0, offset - start)};
        }
    }
    const size_t last = lines.text.size() - 1;
    return {last, static_cast<int>(lines.text[last].size())};
}

/// The offset of (line, column) once lines are joined with CR LF.
int offsetOf(const std::vector<std::u16string>& lines, size_t line, int column)
{
    int offset = column;
    for (size_t i = 0; i < line && i < lines.size(); ++i) {
        offset += static_cast<int>(lines[i].size()) + 2;
    }
    return offset;
}

int sizeOf(std::u16string_view s)
{
    return static_cast<int>(s.size());
}

MoveOutcome unchanged(std::u16string_view canvas, int caret, int selectionLength = 0)
{
    MoveOutcome outcome;
    outcome.text = std::u16string(canvas);
    outcome.caret = std::clamp(caret, 0, sizeOf(canvas));
    outcome.selectionLength = std::clamp(selectionLength, 0, sizeOf(canvas) - outcome.caret);
    return outcome;
}

MoveOutcome moved(std::u16string_view canvas, const std::vector<std::u16string>& lines, int caret,
                  int selectionLength = 0)
{
    MoveOutcome outcome;
    outcome.text = joinLines(lines);
    outcome.changed = outcome.text != canvas;
    outcome.caret = caret;
    outcome.selectionLength = selectionLength;
    return outcome;
}

/// Left and Right of Push and Pull on the caret line.
MoveOutcome horizontal(std::u16string_view canvas, int caret, Arrow arrow, Step step, bool pull)
{
    Lines lines = splitLines(canvas);
    const Position at = locate(lines, caret);
    std::u16string& line = lines.text[at.line];
    const std::u16string before = line.substr(0, static_cast<size_t>(at.column));
    const std::u16string after = line.substr(static_cast<size_t>(at.column));
    const bool left = arrow == Arrow::Left;
    if (left ? before.empty() : after.empty()) {
        return unchanged(canvas, caret);
    }
    int column = 0;
    if (left && !pull) {
        // The part before the caret moves left over the line start.
        DroppedStep d = dropStep(before, Edge::Start, step);
        column = sizeOf(d.rest);
        line = d.rest + d.filler + after;
    } else if (!left && !pull) {
        // The part from the caret moves right over the line end.
        DroppedStep d = dropStep(after, Edge::End, step);
        column = at.column + sizeOf(d.filler);
        line = before + d.filler + d.rest;
    } else if (left) {
        // The cell before the caret goes; the rest of the line closes up.
        DroppedStep d = dropStep(before, Edge::End, step);
        column = sizeOf(d.rest);
        line = d.rest + after + d.filler;
    } else {
        // The cell at the caret goes; the part before it closes up from the line start.
        DroppedStep d = dropStep(after, Edge::Start, step);
        column = sizeOf(d.filler) + at.column;
        line = d.filler + before + d.rest;
    }
    return moved(canvas, lines.text, offsetOf(lines.text, at.line, column));
}

/// Up and Down of Push and Pull: whole lines move, one is lost, a blank one appears.
MoveOutcome vertical(std::u16string_view canvas, int caret, Arrow arrow, int keta, bool pull)
{
    Lines lines = splitLines(canvas);
    const Position at = locate(lines, caret);
    std::vector<std::u16string>& text = lines.text;
    const size_t p = at.line;
    const size_t last = text.size() - 1;
    const bool up = arrow == Arrow::Up;
    if (up ? p == 0 : p == last) {
        return unchanged(canvas, caret);
    }
    const auto pos = [&text](size_t i) { return text.begin() + static_cast<std::ptrdiff_t>(i); };
    if (up && !pull) {
        // Lines 1..p move up; the first is lost and the caret line becomes blank.
        text.erase(text.begin());
        text.insert(pos(p), blankLine(keta));
    } else if (!up && !pull) {
        // Lines p..last move down; the last is lost and the caret line becomes blank.
        text.pop_back();
        text.insert(pos(p), blankLine(keta));
    } else if (up) {
        // Lines p..last move up over the line above; the last line becomes blank.
        text.erase(pos(p - 1));
        text.push_back(blankLine(keta));
    } else {
        // Lines 1..p move down over the line below; the first line becomes blank.
        text.erase(pos(p + 1));
        text.insert(text.begin(), blankLine(keta));
    }
    const size_t line = up ? p - 1 : p + 1;
    return moved(canvas, text, offsetOf(text, line, at.column));
}

MoveOutcome pushOrPull(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta,
                       bool pull)
{
    // A 0 x 0 canvas has nothing to move and no width for a blank line.
    if (canvas.empty() || keta <= 0) {
        return unchanged(canvas, caret);
    }
    if (arrow == Arrow::Left || arrow == Arrow::Right) {
        return horizontal(canvas, caret, arrow, step, pull);
    }
    return vertical(canvas, caret, arrow, keta, pull);
}

/// A selection inside one line: [column, column + count) of line p.
MoveOutcome moveSegment(std::u16string_view canvas, Lines lines, Position at, int count,
                        Arrow arrow, Step step, int selectionStart)
{
    std::vector<std::u16string>& text = lines.text;
    const size_t p = at.line;
    const std::u16string line = text[p];
    const std::u16string before = line.substr(0, static_cast<size_t>(at.column));
    count = std::min(count, sizeOf(line) - at.column);
    const std::u16string selected =
        line.substr(static_cast<size_t>(at.column), static_cast<size_t>(count));
    const std::u16string after = line.substr(static_cast<size_t>(at.column + count));
    switch (arrow) {
        case Arrow::Left: {
            if (before.empty()) {
                break;
            }
            DroppedStep d = dropStep(before, Edge::End, step);
            text[p] = d.rest + selected + d.filler + after;
            return moved(canvas, text, offsetOf(text, p, sizeOf(d.rest)), count);
        }
        case Arrow::Right: {
            if (after.empty()) {
                break;
            }
            DroppedStep d = dropStep(after, Edge::Start, step);
            text[p] = before + d.filler + selected + d.rest;
            return moved(canvas, text, offsetOf(text, p, at.column + sizeOf(d.filler)), count);
        }
        case Arrow::Up:
        case Arrow::Down: {
            const bool up = arrow == Arrow::Up;
            if (up ? p == 0 : p + 1 == text.size()) {
                break;
            }
            // Laid over the neighbour at the same unit column, as a multi-line paste lays its
            // lines; the place it leaves is blanked cell by cell.
            const size_t target = up ? p - 1 : p + 1;
            UnitSplit cut = splitAtUnitColumn(text[target], WidthOf(before));
            const int column = sizeOf(cut.left);
            text[target] = cut.left + selected + dropLeadingWidth(cut.right, WidthOf(selected));
            text[p] = before + SelToSP(selected, 0, count) + after;
            return moved(canvas, text, offsetOf(text, target, column), count);
        }
    }
    return unchanged(canvas, selectionStart, count);
}

/// A selection across lines: every line from first to last shifts by one step as a whole.
MoveOutcome moveLines(std::u16string_view canvas, Lines lines, size_t first, size_t last,
                      Arrow arrow, Step step)
{
    std::vector<std::u16string>& text = lines.text;
    // Up and Down change nothing, but select the whole lines as Left and Right do.
    const bool horizontal = arrow == Arrow::Left || arrow == Arrow::Right;
    for (size_t i = first; i <= last && horizontal; ++i) {
        if (text[i].empty()) {
            continue;
        }
        if (arrow == Arrow::Left) {
            DroppedStep d = dropStep(text[i], Edge::Start, step);
            text[i] = d.rest + d.filler;
        } else {
            DroppedStep d = dropStep(text[i], Edge::End, step);
            text[i] = d.filler + d.rest;
        }
    }
    // The selection becomes the whole lines, from the first's start to the last's end.
    const int start = offsetOf(text, first, 0);
    const int end = offsetOf(text, last, sizeOf(text[last]));
    return moved(canvas, text, start, end - start);
}

}  // namespace

DroppedStep dropStep(std::u16string_view segment, Edge edge, Step step)
{
    if (segment.empty()) {
        return {};
    }
    const bool atStart = edge == Edge::Start;
    // The i-th character counted inwards from the edge.
    const auto inward = [&](size_t i) {
        return atStart ? segment[i] : segment[segment.size() - 1 - i];
    };
    // The segment without its first n characters counted from the edge.
    const auto without = [&](size_t n) {
        return std::u16string(atStart ? segment.substr(n) : segment.substr(0, segment.size() - n));
    };
    // " " standing where a full-width character's surviving half was.
    const auto withHalf = [&](std::u16string s) {
        if (atStart) {
            s.insert(s.begin(), kHalfSpace);
        } else {
            s.push_back(kHalfSpace);
        }
        return s;
    };
    const bool firstFull = charWidth(inward(0)) == 2;
    if (step == Step::Half) {
        std::u16string rest = without(1);
        return {firstFull ? withHalf(std::move(rest)) : std::move(rest),
                std::u16string(1, kHalfSpace)};
    }
    if (firstFull) {
        return {without(1), std::u16string(1, kFullSpace)};
    }
    if (segment.size() == 1) {
        return {std::u16string(), std::u16string(1, kHalfSpace)};
    }
    std::u16string rest = without(2);
    const bool secondFull = charWidth(inward(1)) == 2;
    return {secondFull ? withHalf(std::move(rest)) : std::move(rest),
            std::u16string(1, kFullSpace)};
}

MoveOutcome Push(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta)
{
    return pushOrPull(canvas, caret, arrow, step, keta, false);
}

MoveOutcome Pull(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta)
{
    return pushOrPull(canvas, caret, arrow, step, keta, true);
}

MoveOutcome SellMove(std::u16string_view canvas, int start, int length, Arrow arrow, Step step,
                     int /*keta*/)
{
    const int size = static_cast<int>(canvas.size());
    const int from = std::clamp(start, 0, size);
    const int to = from + std::clamp(length, 0, size - from);
    if (to == from) {
        return unchanged(canvas, from, 0);
    }
    Lines lines = splitLines(canvas);
    const Position at = locate(lines, from);
    // A start inside a line break is read as the next line's start.
    const int selFrom = std::min(to, lines.start[at.line] + at.column);
    const std::u16string_view selected =
        canvas.substr(static_cast<size_t>(selFrom), static_cast<size_t>(to - selFrom));
    if (selected.empty()) {
        return unchanged(canvas, from, to - from);
    }
    if (!SelEnter(selected)) {
        return moveSegment(canvas, std::move(lines), at, to - selFrom, arrow, step, from);
    }
    // The last line is the one whose text or line break the selection's end reaches; a selection
    // ending at a line start takes that line too.
    const auto after = std::upper_bound(lines.start.begin(), lines.start.end(), to);
    const size_t last = static_cast<size_t>(after - lines.start.begin()) - 1;
    return moveLines(canvas, std::move(lines), at.line, std::max(last, at.line), arrow, step);
}

}  // namespace masumemo::grid

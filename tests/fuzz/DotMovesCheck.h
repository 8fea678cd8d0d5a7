#pragma once
// What must hold for the dot operations (push, pull, selection moves, alignment) on any canvas,
// shared by the fuzzer and the replay of the inputs it found. Each check answers an empty
// string, or what went wrong. The fuzzer goes on to a block moved in dots (DotBlockCheck.h).
//
// Every operation changes blank runs only: each line keeps its visible characters in order and
// its width in units, and only the characters the operation moves move, by its distance.

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardBlanks.h"
#include "board/DotMoves.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "tests/fuzz/ComposerCheck.h"
#include "tests/fuzz/DotBlockCheck.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

/// Advances for the test: blanks at the board's widths, other characters at made-up ones.
inline int testDots(char16_t c)
{
    if (const std::optional<int> d = board::blankDots(c)) {
        return *d;
    }
    if ((c & 0xFC00) == 0xDC00) {
        return 0;
    }
    return (c & 0xFC00) == 0xD800 ? 16 : 3 + c % 11;
}

struct Visible
{
    int index = 0;  ///< in the line
    int x = 0;      ///< left edge in dots
    int end = 0;    ///< right edge in dots
    char16_t c = 0;
};

inline std::vector<Visible> visibleOf(std::u16string_view line)
{
    std::vector<Visible> out;
    int x = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        // The second half of a pair goes with the first.
        if (!board::isBoardBlank(c) && (c & 0xFC00) != 0xDC00) {
            out.push_back({static_cast<int>(i), x, x + testDots(c), c});
        }
        x += testDots(c);
    }
    return out;
}

/// Half-width spaces a board would change before the blanks that end the line.
inline int blankFaults(std::u16string_view line)
{
    size_t end = line.size();
    while (end > 0 && board::isBoardBlank(line[end - 1])) {
        --end;
    }
    int faults = 0;
    for (size_t i = 0; i < end; ++i) {
        if (line[i] == grid::kHalfSpace && (i == 0 || line[i - 1] == grid::kHalfSpace)) {
            ++faults;
        }
    }
    return faults;
}

/// The line and column of a canvas offset, as the operations read it.
inline std::pair<int, int> lineAndColumn(const std::vector<std::u16string>& lines, int offset)
{
    int line = 0;
    int start = 0;
    while (line + 1 < static_cast<int>(lines.size()) &&
           start + static_cast<int>(lines[static_cast<size_t>(line)].size()) + 2 <= offset) {
        start += static_cast<int>(lines[static_cast<size_t>(line)].size()) + 2;
        ++line;
    }
    const int size = static_cast<int>(lines[static_cast<size_t>(line)].size());
    return {line, std::clamp(offset - start, 0, size)};
}

/// What moved on one line: the shift of each visible character, or nullopt when the visible
/// characters changed.
inline std::optional<std::vector<int>> shiftsOf(std::u16string_view before,
                                                std::u16string_view after)
{
    const std::vector<Visible> a = visibleOf(before);
    const std::vector<Visible> b = visibleOf(after);
    if (a.size() != b.size()) {
        return std::nullopt;
    }
    std::vector<int> shifts;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].c != b[k].c) {
            return std::nullopt;
        }
        shifts.push_back(b[k].x - a[k].x);
    }
    return shifts;
}

/// An offset that does not fall between the halves of a surrogate pair (the caret never does).
inline int characterBoundary(std::u16string_view canvas, int offset)
{
    if (offset > 0 && offset < static_cast<int>(canvas.size()) &&
        (canvas[static_cast<size_t>(offset)] & 0xFC00) == 0xDC00) {
        return offset - 1;
    }
    return offset;
}

inline std::string checkDotMoves(FuzzInput& in)
{
    std::vector<std::u16string> lines(static_cast<size_t>(in.pick(1, 4)));
    for (std::u16string& line : lines) {
        line = canvasLine(in);
    }
    const std::u16string canvas = grid::joinLines(lines);
    const int size = static_cast<int>(canvas.size());
    const bool unicodeSpaces = in.flip();
    const grid::Arrow arrow = in.flip() ? grid::Arrow::Right : grid::Arrow::Left;
    const int sign = arrow == grid::Arrow::Right ? 1 : -1;
    const int caret = characterBoundary(canvas, in.pick(0, size));
    int length = characterBoundary(canvas, in.pick(caret, size)) - caret;
    const int guide = in.pick(0, 300);
    const int op = in.pick(0, 5);
    const board::CharDots dots = testDots;

    board::DotOutcome out;
    const char* name = "";
    switch (op) {
        case 0:
            name = "DotPush";
            out = board::DotPush(canvas, caret, arrow, unicodeSpaces);
            break;
        case 1:
            name = "DotPull";
            out = board::DotPull(canvas, caret, arrow, unicodeSpaces);
            break;
        case 2:
            name = "DotSellMove";
            out = board::DotSellMove(canvas, caret, length, arrow, unicodeSpaces);
            break;
        case 3:
            name = "AlignToGuide";
            out = board::AlignToGuide(canvas, caret, caret, length, guide, unicodeSpaces, dots);
            break;
        case 4:
            name = "AlignRightEdges";
            out = board::AlignRightEdges(canvas, caret, length, guide, unicodeSpaces, dots);
            break;
        default:
            name = "AlignRightEdges without a guide";
            out = board::AlignRightEdges(canvas, caret, length, std::nullopt, unicodeSpaces, dots);
            break;
    }
    const std::string where = std::string(" by ") + name + (sign > 0 ? " right" : " left") +
                              " at " + std::to_string(caret) + "+" + std::to_string(length) +
                              " (Unicode spaces " + std::to_string(unicodeSpaces) +
                              "): " + shown(canvas) + " -> " + shown(out.text);
    if (out.changed != (out.text != canvas)) {
        return "changed does not say whether the text changed" + where;
    }
    const std::vector<std::u16string> after = grid::SplitText(out.text);
    if (after.size() != lines.size()) {
        return "the line count changed" + where;
    }
    std::vector<std::optional<std::vector<int>>> shifts;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (grid::WidthOf(after[i]) != grid::WidthOf(lines[i])) {
            return "line " + std::to_string(i + 1) + " changed its width in units" + where;
        }
        shifts.push_back(shiftsOf(lines[i], after[i]));
        if (!shifts.back()) {
            return "line " + std::to_string(i + 1) + " changed a visible character" + where;
        }
        if (blankFaults(after[i]) > blankFaults(lines[i])) {
            return "line " + std::to_string(i + 1) + " got blanks a board changes" + where;
        }
    }
    if (!out.changed) {
        return {};
    }
    if (op <= 2 && (out.dots < 1 || (unicodeSpaces && out.dots != 1))) {
        return "a move reports " + std::to_string(out.dots) + " dots" + where;
    }

    const std::pair<int, int> caretAt = lineAndColumn(lines, caret);
    const std::pair<int, int> endAt = lineAndColumn(lines, caret + length);
    const int caretLine = caretAt.first;
    const int caretColumn = caretAt.second;
    const int endLine = endAt.first;
    const int endColumn = endAt.second;
    const auto onlyLine = [&](int keep) -> std::string {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (static_cast<int>(i) != keep && after[i] != lines[i]) {
                return "line " + std::to_string(i + 1) + " changed, which the move does not touch" +
                       where;
            }
        }
        return {};
    };
    // Each visible character of the caret's line shifts by what moved(index) says.
    const auto shiftsAre = [&](int line, const std::function<int(int)>& moved) -> std::string {
        const std::vector<Visible> v = visibleOf(lines[static_cast<size_t>(line)]);
        const std::vector<int>& s = *shifts[static_cast<size_t>(line)];
        for (size_t k = 0; k < v.size(); ++k) {
            if (s[k] != moved(v[k].index)) {
                return "character " + std::to_string(v[k].index) + " of line " +
                       std::to_string(line + 1) + " moved " + std::to_string(s[k]) + " dots, not " +
                       std::to_string(moved(v[k].index)) + where;
            }
        }
        return {};
    };
    const int d = out.dots;
    switch (op) {
        case 0:
        case 1: {
            if (std::string why = onlyLine(caretLine); !why.empty()) {
                return why;
            }
            // Push right and pull left move what follows the caret; the others what precedes it.
            const bool following = (op == 0) == (sign > 0);
            return shiftsAre(caretLine, [&](int index) {
                return (index >= caretColumn) == following ? sign * d : 0;
            });
        }
        case 2:
            if (caretLine == endLine) {
                if (std::string why = onlyLine(caretLine); !why.empty()) {
                    return why;
                }
                return shiftsAre(caretLine, [&](int index) {
                    return index >= caretColumn && index < endColumn ? sign * d : 0;
                });
            } else {
                int skipped = 0;
                const int last = endColumn == 0 ? endLine - 1 : endLine;
                for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
                    const bool selected = i >= caretLine && i <= last;
                    if (!selected ||
                        after[static_cast<size_t>(i)] == lines[static_cast<size_t>(i)]) {
                        if (selected && !visibleOf(lines[static_cast<size_t>(i)]).empty()) {
                            ++skipped;
                        }
                        if (!selected &&
                            after[static_cast<size_t>(i)] != lines[static_cast<size_t>(i)]) {
                            return "an unselected line moved" + where;
                        }
                        continue;
                    }
                    if (std::string why = shiftsAre(i, [&](int) { return sign * d; });
                        !why.empty()) {
                        return why;
                    }
                }
                if (skipped != out.skippedLines) {
                    return "skippedLines is " + std::to_string(out.skippedLines) + ", " +
                           std::to_string(skipped) + " lines stayed" + where;
                }
            }
            return {};
        default:
            break;
    }
    if (out.dots != 0) {
        return "an alignment reports a distance" + where;
    }
    // Alignment: on each changed line one character (the first moved) lands on the target and
    // everything after it moves with it; the right-edge alignment moves only the last one, and
    // every line it changes ends at the same place.
    std::optional<int> commonEnd;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (after[i] == lines[i]) {
            continue;
        }
        const std::vector<Visible> v = visibleOf(lines[i]);
        const std::vector<Visible> w = visibleOf(after[i]);
        const std::vector<int>& s = *shifts[i];
        size_t k = 0;
        while (k < s.size() && s[k] == 0) {
            ++k;
        }
        if (k == s.size()) {
            continue;  // only the blanks at the end changed
        }
        for (size_t j = k; j < s.size(); ++j) {
            if (s[j] != s[k]) {
                return "line " + std::to_string(i + 1) + " did not move as one" + where;
            }
        }
        if (op == 3 && w[k].x != guide) {
            return "line " + std::to_string(i + 1) + " does not start at the guide" + where;
        }
        if (op >= 4) {
            if (k + 1 != s.size()) {
                return "line " + std::to_string(i + 1) + " moved more than its last character" +
                       where;
            }
            if (op == 4 && w[k].end != guide) {
                return "line " + std::to_string(i + 1) + " does not end at the guide" + where;
            }
            if (commonEnd && *commonEnd != w[k].end) {
                return "the aligned lines end at different places" + where;
            }
            commonEnd = w[k].end;
        }
    }
    return {};
}

/// The composer, then the dot operations, then a block moved in dots, on what the input has
/// left.
inline std::string checkComposerAndMoves(std::string_view bytes)
{
    FuzzInput in(bytes);
    std::string problem = checkComposer(in);
    if (problem.empty()) {
        problem = checkDotMoves(in);
    }
    return problem.empty() ? checkDotBlock(in, testDots) : problem;
}

}  // namespace masumemo::fuzzcheck

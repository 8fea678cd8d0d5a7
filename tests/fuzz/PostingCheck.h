#pragma once
// What must hold for the posting check and its two mends on any canvas text, shared by the
// fuzzer and the replay of the inputs it found. Each check answers an empty string, or what went
// wrong.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardBlanks.h"
#include "check/BoardCheck.h"
#include "check/BoardFix.h"
#include "check/DotFix.h"
#include "check/LiveCheck.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

inline std::string problemText(const check::Problem& p)
{
    return "{kind " + std::to_string(static_cast<int>(p.kind)) + " line " + std::to_string(p.line) +
           " col " + std::to_string(p.column) + " chars " + std::to_string(p.charStart) + "+" +
           std::to_string(p.charCount) + "}";
}

inline std::string problemsText(const std::vector<check::Problem>& problems)
{
    std::string out;
    for (const check::Problem& p : problems) {
        out += problemText(p);
    }
    return out;
}

/// The whole check and the live one after its changes agree on everything they report.
inline std::string sameReport(const check::LiveCheck& live, std::u16string_view canvas,
                              check::BoardLimits limits)
{
    const check::BoardReport whole = check::BoardCheck(canvas, limits);
    std::vector<check::Problem> liveProblems = live.lineProblems();
    liveProblems.insert(liveProblems.end(), live.limitProblems().begin(),
                        live.limitProblems().end());
    if (liveProblems != whole.problems) {
        return "live problems " + problemsText(liveProblems) + " / whole " +
               problemsText(whole.problems);
    }
    if (live.bytes() != whole.bytes || live.lines() != whole.lines) {
        return "live bytes or lines differ: " + std::to_string(live.bytes()) + " " +
               std::to_string(live.lines()) + " / " + std::to_string(whole.bytes) + " " +
               std::to_string(whole.lines);
    }
    const std::vector<std::u16string> lines = grid::canvasLines(canvas);
    int offset = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (live.lineOffset(static_cast<int>(i)) != offset) {
            return "live line offset of line " + std::to_string(i) + " is wrong";
        }
        offset += static_cast<int>(lines[i].size()) + 2;
    }
    return {};
}

/// A canvas from the input, then changes of its lines, the live check following each one.
inline std::string checkLiveAgainstWhole(FuzzInput& in, std::vector<std::u16string>& lines)
{
    lines.resize(static_cast<size_t>(in.pick(1, 8)));
    for (std::u16string& line : lines) {
        line = canvasLine(in);
    }
    check::BoardLimits limits{in.pick(1, 200), in.pick(1, 10)};
    check::LiveCheck live;
    live.reset(grid::joinLines(lines));
    live.setLimits(limits, grid::joinLines(lines));
    if (std::string why = sameReport(live, grid::joinLines(lines), limits); !why.empty()) {
        return "after reset: " + why;
    }
    const int changes = in.pick(0, 8);
    for (int step = 0; step < changes; ++step) {
        const int n = static_cast<int>(lines.size());
        if (in.pick(0, 9) == 0) {
            limits = {in.pick(1, 200), in.pick(1, 10)};
            live.setLimits(limits, grid::joinLines(lines));
        } else {
            const int first = in.pick(0, n);
            const int removed = in.pick(0, n - first);
            const int added = in.pick(removed == n ? 1 : 0, 4);
            std::vector<std::u16string> fresh(static_cast<size_t>(added));
            for (std::u16string& line : fresh) {
                line = canvasLine(in);
            }
            lines.erase(lines.begin() + first, lines.begin() + first + removed);
            lines.insert(lines.begin() + first, fresh.begin(), fresh.end());
            const bool everything = in.pick(0, 15) == 0;
            live.replaceLines(grid::joinLines(lines), first, everything ? -1 : removed, added);
        }
        if (std::string why = sameReport(live, grid::joinLines(lines), limits); !why.empty()) {
            return "after change " + std::to_string(step) + ": " + why;
        }
    }
    return {};
}

inline bool cellBlank(char16_t c)
{
    return c == grid::kHalfSpace || c == grid::kFullSpace;
}

/// The non-blank characters of a line with the unit column each starts at.
inline std::vector<std::pair<int, char16_t>> visibleCells(std::u16string_view line)
{
    std::vector<std::pair<int, char16_t>> cells;
    int column = 0;
    for (const char16_t c : line) {
        if (!cellBlank(c)) {
            cells.emplace_back(column, c);
        }
        column += grid::charWidth(c);
    }
    return cells;
}

/// The cell-exact mend: every non-blank character on its cell, and afterwards no leading space
/// or run of spaces except the one it cannot mend (one half-width space at the line start).
inline std::string checkCellMend(const std::vector<std::u16string>& lines)
{
    const std::u16string canvas = grid::joinLines(lines);
    const std::vector<std::u16string> original = grid::canvasLines(canvas);
    const std::vector<std::u16string> fixed = grid::canvasLines(check::fixForBoard(canvas));
    if (fixed.size() != original.size()) {
        return "the cell mend changed the line count";
    }
    for (size_t i = 0; i < fixed.size(); ++i) {
        const std::u16string& before = original[i];
        const std::u16string& after = fixed[i];
        if (visibleCells(before) != visibleCells(after) ||
            grid::WidthOf(before) != grid::WidthOf(after)) {
            return "the cell mend moved a character or changed the width of line " +
                   std::to_string(i + 1) + ": " + shown(before) + " -> " + shown(after);
        }
        const bool cannotMend =
            before.size() >= 2 && before[0] == grid::kHalfSpace && !cellBlank(before[1]);
        std::vector<check::Problem> problems;
        check::checkLine(after, 1, problems);
        for (const check::Problem& p : problems) {
            if (p.kind == check::ProblemKind::SpaceRun ||
                (p.kind == check::ProblemKind::LeadingSpace && !cannotMend)) {
                return "the cell mend left " + problemText(p) + " in line " +
                       std::to_string(i + 1) + ": " + shown(before) + " -> " + shown(after);
            }
        }
    }
    return {};
}

/// Width in dots for the shift test: blanks at the board font's widths, anything else at one
/// fixed width (only blanks change, so any width would do).
inline int shiftDots(char16_t c)
{
    return board::blankDots(c).value_or(7);
}

/// Each non-blank character's x in dots, in order.
inline std::vector<std::pair<int, char16_t>> visibleDots(std::u16string_view line)
{
    std::vector<std::pair<int, char16_t>> out;
    int x = 0;
    for (const char16_t c : line) {
        if (!board::isBoardBlank(c)) {
            out.emplace_back(x, c);
        }
        x += shiftDots(c);
    }
    return out;
}

/// The shift of largest size of any non-blank character from before to after (which must hold
/// the same non-blank characters in order); nullopt when they differ.
inline std::optional<int> largestShift(std::u16string_view before, std::u16string_view after)
{
    const auto a = visibleDots(before);
    const auto b = visibleDots(after);
    if (a.size() != b.size()) {
        return std::nullopt;
    }
    int largest = 0;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].second != b[k].second) {
            return std::nullopt;
        }
        const int shift = b[k].first - a[k].first;
        if (std::abs(shift) > std::abs(largest)) {
            largest = shift;
        }
    }
    return largest;
}

/// The dot-exact mend of one line: characters kept, each within the reported deviation (the
/// largest shift is that deviation), the miss reported exactly when something moved, and only
/// the blanks it may use added.
inline std::string checkDotLine(std::u16string_view line, bool unicodeSpaces)
{
    const check::DotLine fixed = check::fixLineInDots(line, unicodeSpaces);
    const std::string where = " (Unicode spaces " + std::to_string(unicodeSpaces) + ") " +
                              shown(line) + " -> " + shown(fixed.text);
    const std::optional<int> shift = largestShift(line, fixed.text);
    if (!shift) {
        return "the dot mend changed a character" + where;
    }
    if (*shift != fixed.deviation) {
        return "the dot mend moved a character by " + std::to_string(*shift) + " dots, reporting " +
               std::to_string(fixed.deviation) + where;
    }
    if ((fixed.deviation != 0) != (fixed.missCount > 0)) {
        return "the dot mend's miss and deviation disagree" + where;
    }
    if (fixed.missCount > 0) {
        if (fixed.missStart < 0 ||
            fixed.missStart + fixed.missCount > static_cast<int>(line.size())) {
            return "the dot mend's miss lies outside the line" + where;
        }
        for (int i = fixed.missStart; i < fixed.missStart + fixed.missCount; ++i) {
            if (!board::isBoardBlank(line[static_cast<size_t>(i)])) {
                return "the dot mend's miss is no blank run" + where;
            }
        }
    }
    int unicodeBefore = 0;
    int unicodeAfter = 0;
    for (const char16_t c : line) {
        unicodeBefore += board::isUnicodeSpace(c) ? 1 : 0;
    }
    for (const char16_t c : fixed.text) {
        unicodeAfter += board::isUnicodeSpace(c) ? 1 : 0;
    }
    if (!unicodeSpaces && unicodeAfter > unicodeBefore) {
        return "the dot mend wrote Unicode spaces it was not to use" + where;
    }
    // What the mend rewrote keeps the board's rules: a problem left lies in the run that ends
    // the line, which it leaves as it was.
    size_t lastVisible = fixed.text.size();
    while (lastVisible > 0 && board::isBoardBlank(fixed.text[lastVisible - 1])) {
        --lastVisible;
    }
    std::vector<check::Problem> before;
    std::vector<check::Problem> after;
    check::checkLine(line, 1, before);
    check::checkLine(fixed.text, 1, after);
    for (const check::Problem& p : after) {
        const bool blankProblem =
            p.kind == check::ProblemKind::SpaceRun || p.kind == check::ProblemKind::LeadingSpace;
        if (blankProblem && static_cast<size_t>(p.charStart) < lastVisible) {
            return "the dot mend left " + problemText(p) + where;
        }
    }
    return {};
}

/// The dot-exact mend of the whole canvas: each line at its width in units, with its characters
/// where fixLineInDots puts them (or the line as it was), and dotShifts naming the lines moved.
inline std::string checkDotMend(const std::vector<std::u16string>& given, bool unicodeSpaces)
{
    const std::u16string canvas = grid::joinLines(given);
    const std::vector<std::u16string> lines = grid::canvasLines(canvas);
    const std::vector<std::u16string> fixed =
        grid::canvasLines(check::fixForBoardInDots(canvas, unicodeSpaces));
    if (fixed.size() != lines.size()) {
        return "the dot mend changed the line count";
    }
    std::vector<int> moved;
    for (size_t i = 0; i < fixed.size(); ++i) {
        if (std::string why = checkDotLine(lines[i], unicodeSpaces); !why.empty()) {
            return why;
        }
        const std::string where =
            " in line " + std::to_string(i + 1) + ": " + shown(lines[i]) + " -> " + shown(fixed[i]);
        if (grid::WidthOf(fixed[i]) != grid::WidthOf(lines[i])) {
            return "the dot mend changed a line's width in units" + where;
        }
        const std::optional<int> shift = largestShift(lines[i], fixed[i]);
        const int deviation = check::fixLineInDots(lines[i], unicodeSpaces).deviation;
        if (!shift || (*shift != deviation && fixed[i] != lines[i])) {
            return "the dot mend of the canvas moved a character otherwise than the line's" + where;
        }
        if (*shift != 0) {
            moved.push_back(static_cast<int>(i) + 1);
        }
    }
    std::vector<int> listed;
    for (const check::LineShift& s : check::dotShifts(canvas, unicodeSpaces)) {
        listed.push_back(s.line);
    }
    if (listed != moved) {
        return "dotShifts does not list exactly the lines the mend moves";
    }
    return {};
}

inline std::string checkPosting(std::string_view bytes)
{
    FuzzInput in(bytes);
    std::vector<std::u16string> lines;
    if (std::string why = checkLiveAgainstWhole(in, lines); !why.empty()) {
        return why;
    }
    if (std::string why = checkCellMend(lines); !why.empty()) {
        return why;
    }
    for (const bool unicodeSpaces : {false, true}) {
        if (std::string why = checkDotMend(lines, unicodeSpaces); !why.empty()) {
            return why;
        }
    }
    return {};
}

}  // namespace masumemo::fuzzcheck

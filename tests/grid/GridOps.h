#pragma once
// Random edits on random canvases, for the invariant test and the fuzzer alike. The choices
// come from a Choices object, `int operator()(int lo, int hi)` giving a value in [lo, hi]: a
// seeded generator in the test, the fuzz input in the fuzzer. Every operation of the grid is
// run, with offsets in and out of range, and its result is checked against the grid's
// invariants: the line count and every line's width never change, carets stay in the text on
// a character boundary, and a refused or unchanged edit leaves the canvas as it was.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "grid/Block.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "grid/Overwrite.h"
#include "grid/Push.h"

namespace masumemo::gridops {

using grid::Arrow;
using grid::ChangeCause;
using grid::EditOutcome;
using grid::MoveOutcome;
using grid::Step;

struct Canvas
{
    std::u16string text;
    int keta = 0;
    int gyou = 0;
    int caret = 0;
};

// Canvas characters of both widths: ASCII, half-width katakana, kana, kanji, the full-width
// space, box drawing, Greek, Cyrillic.
inline constexpr std::array<char16_t, 8> kHalf = {u'a',  u'Z', u'0',      u' ',
                                                  u'\\', u'~', u'\uFF71', u'\uFF9F'};
inline constexpr std::array<char16_t, 8> kFull = {u'\u3000', u'\u3042', u'\u6F22', u'\u2500',
                                                  u'\u03B1', u'\u0416', u'\uFF5E', u'\uFF21'};
// What may arrive from outside although the canvas never holds it.
inline constexpr std::array<char16_t, 6> kOdd = {
    u'\r', u'\n', u'\t', u'\0', static_cast<char16_t>(0xD800), u'\u00E9'};

template <typename Choices, size_t N>
char16_t oneOf(Choices& pick, const std::array<char16_t, N>& chars)
{
    return chars[static_cast<size_t>(pick(0, static_cast<int>(N) - 1))];
}

template <typename Choices>
char16_t randomChar(Choices& pick, bool odd)
{
    const int kind = pick(0, odd ? 19 : 17);
    if (kind >= 18) {
        return oneOf(pick, kOdd);
    }
    return kind >= 9 ? oneOf(pick, kFull) : oneOf(pick, kHalf);
}

/// A line of exactly width units of mixed characters.
template <typename Choices>
std::u16string randomLine(Choices& pick, int width)
{
    std::u16string line;
    for (int used = 0; used < width;) {
        char16_t c = randomChar(pick, false);
        if (used + grid::charWidth(c) > width) {
            c = oneOf(pick, kHalf);
        }
        used += grid::charWidth(c);
        line.push_back(c);
    }
    return line;
}

/// Mostly small canvases (so lines, edges and the last line meet often), now and then a wide
/// one, and rarely the canvas without cells.
template <typename Choices>
Canvas randomCanvas(Choices& pick)
{
    Canvas canvas;
    if (pick(0, 40) == 0) {
        return canvas;  // 0 x 0
    }
    canvas.keta = pick(0, 8) == 0 ? pick(1, 60) : pick(1, 6);
    canvas.gyou = pick(1, 6);
    std::vector<std::u16string> lines;
    for (int i = 0; i < canvas.gyou; ++i) {
        lines.push_back(randomLine(pick, 2 * canvas.keta));
    }
    canvas.text = grid::joinLines(lines);
    canvas.caret = pick(0, static_cast<int>(canvas.text.size()));
    return canvas;
}

/// Up to four pasted lines joined by CR LF, sometimes with odd characters and lone line ends.
template <typename Choices>
std::u16string randomPaste(Choices& pick, int width)
{
    const bool odd = pick(0, 9) == 0;
    const int lines = pick(0, 2) == 0 ? pick(2, 4) : 1;
    std::u16string text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            text += grid::kCrLf;
        }
        const int length = pick(0, width + 3);
        for (int j = 0; j < length; ++j) {
            text.push_back(randomChar(pick, odd));
        }
    }
    return text;
}

/// An offset mostly inside the text, sometimes just outside it.
template <typename Choices>
int randomOffset(Choices& pick, const Canvas& canvas)
{
    const int size = static_cast<int>(canvas.text.size());
    return pick(0, 7) == 0 ? pick(-3, size + 3) : pick(0, size);
}

/// Empty when text is a canvas of the canvas's size with the caret on a character boundary
/// inside it; otherwise what is wrong.
inline std::string gridViolation(const Canvas& canvas, const std::u16string& text, int caret,
                                 int selectionLength = 0)
{
    const std::vector<std::u16string> lines = grid::SplitText(text);
    if (static_cast<int>(lines.size()) != canvas.gyou) {
        return "line count changed from " + std::to_string(canvas.gyou) + " to " +
               std::to_string(lines.size());
    }
    if (grid::joinLines(lines) != text) {
        return "a CR without its LF";
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        for (char16_t c : lines[i]) {
            if (c == u'\r' || c == u'\n') {
                return "a line break inside line " + std::to_string(i + 1);
            }
        }
        if (grid::WidthOf(lines[i]) != 2 * canvas.keta) {
            return "line " + std::to_string(i + 1) + " is " +
                   std::to_string(grid::WidthOf(lines[i])) + " units wide, not " +
                   std::to_string(2 * canvas.keta);
        }
    }
    const int size = static_cast<int>(text.size());
    if (caret < 0 || caret > size || selectionLength < 0 || selectionLength > size - caret) {
        return "caret " + std::to_string(caret) + " (+" + std::to_string(selectionLength) +
               ") outside a text of " + std::to_string(size);
    }
    if (caret > 0 && caret < size && text[static_cast<size_t>(caret) - 1] == u'\r') {
        return "caret between CR and LF";
    }
    return {};
}

/// Empty when the edit changed only lines first to first + count - 1 (1-based) of the canvas.
inline std::string changesOutside(const std::u16string& before, const std::u16string& after,
                                  int first, int count)
{
    const std::vector<std::u16string> old = grid::SplitText(before);
    const std::vector<std::u16string> now = grid::SplitText(after);
    for (size_t i = 0; i < old.size() && i < now.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (old[i] != now[i] && (line < first || line >= first + count)) {
            return "line " + std::to_string(line) + " changed outside the edited lines";
        }
    }
    return {};
}

inline bool sameOutcome(const EditOutcome& a, const EditOutcome& b)
{
    return a.accepted == b.accepted && (!a.accepted || (a.text == b.text && a.caret == b.caret));
}

/// The edit through the wrapper and through ProcessChange with the text the edit control would
/// have left; both must agree.
inline std::string checkBothRoutes(const EditOutcome& wrapped, const std::u16string& before,
                                   int caret, const std::u16string& after, int afterCaret,
                                   ChangeCause cause, int keta)
{
    const EditOutcome processed =
        grid::ProcessChange(before, caret, after, afterCaret, cause, keta);
    return sameOutcome(wrapped, processed) ? std::string() : "wrapper and ProcessChange disagree";
}

template <typename Choices>
std::string runOverwrite(Canvas& canvas, Choices& pick, int kind)
{
    const std::u16string& before = canvas.text;
    const int caret = randomOffset(pick, canvas);
    const bool inside = caret >= 0 && caret <= static_cast<int>(before.size());
    const auto at = static_cast<size_t>(inside ? caret : 0);
    std::u16string after = before;
    EditOutcome outcome;
    std::string problem;
    switch (kind) {
        case 0: {
            const char16_t c = randomChar(pick, pick(0, 9) == 0);
            outcome = grid::typeCharacter(before, caret, c, canvas.keta);
            if (inside) {
                after.insert(at, 1, c);
                problem = checkBothRoutes(outcome, before, caret, after, caret + 1,
                                          ChangeCause::TypedKey, canvas.keta);
            }
            if (outcome.accepted && outcome.caret > 0 &&
                outcome.text[static_cast<size_t>(outcome.caret) - 1] != c) {
                problem = "the typed character is not before the caret";
            }
            break;
        }
        case 1:
            outcome = grid::deleteCharacter(before, caret, canvas.keta);
            if (inside && at < before.size()) {
                after.erase(at, 1);
                problem = checkBothRoutes(outcome, before, caret, after, caret,
                                          ChangeCause::DeleteKey, canvas.keta);
            }
            if (outcome.accepted && outcome.caret != caret + 1) {
                problem = "Delete did not move past the blanked cell";
            }
            break;
        case 2:
            outcome = grid::backspaceCharacter(before, caret, canvas.keta);
            if (inside && at > 0) {
                after.erase(at - 1, 1);
                problem = checkBothRoutes(outcome, before, caret, after, caret - 1,
                                          ChangeCause::BackKey, canvas.keta);
            }
            if (outcome.accepted && outcome.caret != caret - 1) {
                problem = "Backspace did not move before the blanked cell";
            }
            break;
        default: {
            const std::u16string pasted = randomPaste(pick, 2 * canvas.keta);
            outcome = grid::pasteText(before, caret, pasted, canvas.keta);
            if (inside) {
                after.insert(at, pasted);
                problem = checkBothRoutes(outcome, before, caret, after, randomOffset(pick, canvas),
                                          ChangeCause::Paste, canvas.keta);
            }
            break;
        }
    }
    if (problem.empty() && outcome.accepted) {
        problem = gridViolation(canvas, outcome.text, outcome.caret);
    }
    if (problem.empty() && outcome.accepted) {
        // A key edits the caret's line; a paste that line and as many below as it has lines.
        const int reach =
            kind <= 2 ? 1
                      : static_cast<int>(std::count(after.begin(), after.end(), u'\r')) -
                            static_cast<int>(std::count(before.begin(), before.end(), u'\r')) + 1;
        problem =
            changesOutside(before, outcome.text, grid::SplitCanvas(before, caret).line, reach);
    }
    if (outcome.accepted) {
        canvas.text = outcome.text;
        canvas.caret = outcome.caret;
    }
    return problem;
}

/// ProcessChange given an "after" text that the cause may not explain: a random insertion or
/// removal anywhere, of anything, with any cause.
template <typename Choices>
std::string runUnexplainedChange(Canvas& canvas, Choices& pick)
{
    std::u16string after = canvas.text;
    const int size = static_cast<int>(after.size());
    if (pick(0, 1) == 0 && size > 0) {
        const int from = pick(0, size - 1);
        after.erase(static_cast<size_t>(from), static_cast<size_t>(pick(1, size - from)));
    } else {
        after.insert(static_cast<size_t>(pick(0, size)), randomPaste(pick, 2 * canvas.keta));
    }
    const auto cause = static_cast<ChangeCause>(pick(0, 3));
    const EditOutcome outcome = grid::ProcessChange(canvas.text, randomOffset(pick, canvas), after,
                                                    randomOffset(pick, canvas), cause, canvas.keta);
    if (!outcome.accepted) {
        return {};
    }
    const std::string problem = gridViolation(canvas, outcome.text, outcome.caret);
    canvas.text = outcome.text;
    canvas.caret = outcome.caret;
    return problem;
}

template <typename Choices>
std::string runMove(Canvas& canvas, Choices& pick, int kind)
{
    const auto arrow = static_cast<Arrow>(pick(0, 3));
    const auto step = pick(0, 1) == 0 ? Step::Half : Step::Full;
    const int caret = randomOffset(pick, canvas);
    MoveOutcome outcome;
    if (kind == 0) {
        outcome = grid::Push(canvas.text, caret, arrow, step, canvas.keta);
    } else if (kind == 1) {
        outcome = grid::Pull(canvas.text, caret, arrow, step, canvas.keta);
    } else {
        const int length = pick(0, 3) == 0 ? pick(-2, static_cast<int>(canvas.text.size()) + 2)
                                           : pick(0, 2 * canvas.keta + 4);
        outcome = grid::SellMove(canvas.text, caret, length, arrow, step, canvas.keta);
    }
    if (!outcome.changed) {
        return {};
    }
    if (outcome.text == canvas.text && outcome.caret == caret) {
        return "a move reported a change but changed nothing";
    }
    const std::string problem =
        gridViolation(canvas, outcome.text, outcome.caret, outcome.selectionLength);
    canvas.text = outcome.text;
    canvas.caret = outcome.caret;
    return problem;
}

/// A rectangle lifted, moved a few steps and laid down, opaque or transparent. Laid back where
/// it was lifted, the block must give the canvas it came from.
template <typename Choices>
std::string runBlock(Canvas& canvas, Choices& pick)
{
    const int width = 2 * canvas.keta;
    grid::BlockRect rect = grid::rectFromCorners(pick(-1, canvas.gyou), pick(-2, width + 2),
                                                 pick(-1, canvas.gyou), pick(-2, width + 2),
                                                 canvas.keta, canvas.gyou);
    const grid::Lifted lifted = grid::liftBlock(canvas.text, rect, canvas.keta);
    const bool transparent = pick(0, 1) == 0;
    if (lifted.block.empty()) {
        return lifted.canvas == canvas.text ? std::string() : "an empty lift changed the canvas";
    }
    if (grid::layBlock(lifted.canvas, lifted.block, rect.line, rect.column, transparent,
                       canvas.keta) != canvas.text) {
        return "a block laid back where it was lifted changed the canvas";
    }
    for (int moves = pick(0, 6); moves > 0; --moves) {
        const auto step = pick(0, 1) == 0 ? Step::Half : Step::Full;
        rect = grid::moveRect(rect, static_cast<Arrow>(pick(0, 3)), step, canvas.keta,
                              canvas.gyou);
    }
    if (rect.line < 0 || rect.column < 0 || rect.line + rect.lines > canvas.gyou ||
        rect.column + rect.width > width) {
        return "a moved block left the canvas";
    }
    std::string problem = gridViolation(canvas, lifted.canvas, 0);
    const std::u16string laid = grid::layBlock(lifted.canvas, lifted.block, rect.line,
                                               rect.column, transparent, canvas.keta);
    if (problem.empty()) {
        problem = gridViolation(canvas, laid, 0);
    }
    canvas.text = laid;
    return problem;
}

/// One random operation of any kind on the canvas, which takes the result when the operation
/// is accepted. Returns what went wrong, or empty.
template <typename Choices>
std::string runOperation(Canvas& canvas, Choices& pick)
{
    const Canvas before = canvas;
    const int kind = pick(0, 10);
    std::string problem;
    if (kind == 10) {
        problem = runBlock(canvas, pick);
    } else if (kind <= 3) {
        problem = runOverwrite(canvas, pick, kind);
    } else if (kind == 4) {
        problem = runUnexplainedChange(canvas, pick);
    } else {
        problem = runMove(canvas, pick, (kind - 5) % 3);
    }
    if (problem.empty() && before.keta == 0 && canvas.text != before.text) {
        problem = "the canvas without cells was edited";
    }
    return problem;
}

}  // namespace masumemo::gridops

#pragma once
// What must hold when a rectangle of dots is lifted, moved and laid down, shared by the fuzzer,
// the replay of the inputs it found and the corpus test: every visible character of the block
// stands where it was plus the move, every other that the block does not cover keeps its dot,
// and where a run could not be made exactly the reported lines and distance are the true ones.
// The lines keep their width in units and get no blanks a board would change.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/BoardBlanks.h"
#include "board/DotBlock.h"
#include "grid/LineModel.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

/// One move of a block to check.
struct BlockMove
{
    board::DotRect rect;
    int down = 0;
    int right = 0;
    bool transparent = false;
    bool unicodeSpaces = true;
};

namespace blockcheck {

struct Expected
{
    std::u16string c;
    int x = 0;
};

inline std::vector<Expected> visibleAt(std::u16string_view line, int shift,
                                       const board::CharDots& dots)
{
    std::vector<Expected> out;
    for (const board::DotSpan& s : board::dotSpans(line, dots)) {
        if (!s.blank) {
            out.push_back({std::u16string(line.substr(static_cast<size_t>(s.index),
                                                      static_cast<size_t>(s.size))),
                           s.x + shift});
        }
    }
    return out;
}

/// Half-width spaces a board would change, the blanks ending the line aside.
inline int boardChanges(std::u16string_view line)
{
    size_t end = line.size();
    while (end > 0 && board::isBoardBlank(line[end - 1])) {
        --end;
    }
    int n = 0;
    for (size_t i = 0; i < end; ++i) {
        n += line[i] == grid::kHalfSpace && (i == 0 || line[i - 1] == grid::kHalfSpace) ? 1 : 0;
    }
    return n;
}

}  // namespace blockcheck

/// Empty, or what went wrong.
inline std::string checkBlockMove(const std::vector<std::u16string>& lines, const BlockMove& m,
                                  const board::CharDots& dots)
{
    using namespace blockcheck;
    const board::DotBlock block = board::chooseBlock(lines, m.rect, dots);
    const board::DotLaid laid = board::layBlock(lines, block, m.down, m.right, m.transparent, dots,
                                                m.unicodeSpaces);
    const std::string where = " (lines " + std::to_string(m.rect.line) + "+" +
                              std::to_string(m.rect.lines) + ", dots " +
                              std::to_string(m.rect.x0) + ".." + std::to_string(m.rect.x1) +
                              ", moved " + std::to_string(m.down) + " down " +
                              std::to_string(m.right) + " right" +
                              (m.transparent ? ", transparent" : "") +
                              (m.unicodeSpaces ? "" : ", no Unicode spaces") + ")";
    if (!laid.fits) {
        return laid.lines.empty() ? std::string() : "a refused move rewrote lines" + where;
    }
    // Every line the block leaves or reaches must be among the rewritten ones; the others stay.
    const int rewrittenEnd = laid.first + static_cast<int>(laid.lines.size());
    for (size_t k = 0; k < block.choices.size(); ++k) {
        const int from = block.line + static_cast<int>(k);
        if (!block.choices[k].empty() &&
            (from < laid.first || from >= rewrittenEnd || from + m.down < laid.first ||
             from + m.down >= rewrittenEnd)) {
            return "line " + std::to_string(from + 1) + " of the block was not rewritten" + where;
        }
    }
    int changesBefore = 0;
    int changesAfter = 0;
    int offLines = 0;
    int largestOff = 0;
    for (int row = laid.first; row < rewrittenEnd; ++row) {
        const size_t i = static_cast<size_t>(row);
        const std::u16string& rewritten = laid.lines[i - static_cast<size_t>(laid.first)];
        const std::string at = "line " + std::to_string(i + 1) + ": ";
        if (grid::WidthOf(rewritten) != grid::WidthOf(lines[i])) {
            return at + "its width in units changed" + where;
        }
        changesBefore += boardChanges(lines[i]);
        changesAfter += boardChanges(rewritten);

        // What should stand on the line: its own characters that stay, and the block's that
        // land here.
        const int k = static_cast<int>(i) - block.line;
        const int j = k - m.down;
        const auto inBlock = [&](int b) {
            return b >= 0 && b < static_cast<int>(block.choices.size()) &&
                   !block.choices[static_cast<size_t>(b)].empty();
        };
        std::vector<Expected> landing;
        int landFrom = 0;
        int landTo = 0;
        if (inBlock(j)) {
            const board::DotChoice& c = block.choices[static_cast<size_t>(j)];
            landing = visibleAt(block.text[static_cast<size_t>(j)], c.x + m.right, dots);
            landFrom = c.x + m.right;
            landTo = landFrom + c.width;
        }
        std::vector<Expected> expected;
        for (const board::DotSpan& s : board::dotSpans(lines[i], dots)) {
            if (s.blank) {
                continue;
            }
            if (inBlock(k) && s.index >= block.choices[static_cast<size_t>(k)].start &&
                s.index < block.choices[static_cast<size_t>(k)].end) {
                continue;  // lifted
            }
            const int right = std::max(s.end(), s.x + 1);
            const bool under =
                inBlock(j) &&
                (m.transparent
                     ? std::any_of(landing.begin(), landing.end(),
                                   [&](const Expected& e) {
                                       const int w = std::max(
                                           board::dotSpans(e.c, dots).front().width, 1);
                                       return s.x < e.x + w && right > e.x;
                                   })
                     : s.x < landTo && right > landFrom);
            if (!under) {
                expected.push_back({std::u16string(lines[i].substr(
                                        static_cast<size_t>(s.index), static_cast<size_t>(s.size))),
                                    s.x});
            }
        }
        expected.insert(expected.end(), landing.begin(), landing.end());
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Expected& a, const Expected& b) { return a.x < b.x; });
        const std::vector<Expected> actual = visibleAt(rewritten, 0, dots);
        if (actual.size() != expected.size()) {
            return at + "holds " + std::to_string(actual.size()) + " visible characters, not " +
                   std::to_string(expected.size()) + ": " + shown(rewritten) + where;
        }
        int lineOff = 0;
        for (size_t n = 0; n < actual.size(); ++n) {
            if (actual[n].c != expected[n].c) {
                return at + "character " + std::to_string(n) + " is not the one expected: " +
                       shown(rewritten) + where;
            }
            lineOff = std::max(lineOff, std::abs(actual[n].x - expected[n].x));
        }
        offLines += lineOff > 0 ? 1 : 0;
        largestOff = std::max(largestOff, lineOff);
    }
    if (offLines != laid.offLines || largestOff != laid.largestOff) {
        return std::to_string(offLines) + " lines off by at most " + std::to_string(largestOff) +
               " dots, reported " + std::to_string(laid.offLines) + " by " +
               std::to_string(laid.largestOff) + where;
    }
    if (changesAfter > changesBefore) {
        return "blanks a board would change were written" + where;
    }
    return {};
}

/// A small canvas and a move, from the input.
inline std::string checkDotBlock(FuzzInput& in, const board::CharDots& dots)
{
    std::vector<std::u16string> lines(static_cast<size_t>(in.pick(1, 5)));
    for (std::u16string& line : lines) {
        line = canvasLine(in);
    }
    BlockMove m;
    m.rect.line = in.pick(0, static_cast<int>(lines.size()) - 1);
    m.rect.lines = in.pick(1, static_cast<int>(lines.size()) - m.rect.line);
    m.rect.x0 = in.pick(0, 120);
    m.rect.x1 = m.rect.x0 + in.pick(0, 120);
    m.down = in.pick(-2, 2);
    m.right = in.pick(-40, 40);
    m.transparent = in.flip();
    m.unicodeSpaces = in.flip();
    const std::string problem = checkBlockMove(lines, m, dots);
    return problem.empty() ? problem : problem + " on " + shown(grid::joinLines(lines));
}

}  // namespace masumemo::fuzzcheck

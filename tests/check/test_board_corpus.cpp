// Every picture of the corpus, opened as a canvas file is opened: the fix keeps every
// non-blank character on its unit column and every line's width, and leaves no blank-run
// problem but a lone half-width space at a line start.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "Corpus.h"
#include "check/BoardCheck.h"
#include "check/BoardFix.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"

using namespace masumemo;
using namespace masumemo::check;

namespace {

/// Each non-blank character of a line with its unit column.
std::vector<std::pair<int, char16_t>> inkCells(std::u16string_view line)
{
    std::vector<std::pair<int, char16_t>> cells;
    int column = 0;
    for (const char16_t c : line) {
        if (c != grid::kHalfSpace && c != grid::kFullSpace) {
            cells.emplace_back(column, c);
        }
        column += grid::charWidth(c);
    }
    return cells;
}

bool isBlankRunProblem(const Problem& p)
{
    return p.kind == ProblemKind::LeadingSpace || p.kind == ProblemKind::SpaceRun;
}

}  // namespace

TEST(BoardCorpus, FixKeepsEveryCell)
{
    if (const char* reason = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    const auto pictures = masumemo::testing::corpusPictures();
    int withProblems = 0;
    int withBlankRunProblems = 0;
    int stillFlagged = 0;
    std::array<int, 6> byKind{};
    for (const auto& path : pictures) {
        SCOPED_TRACE(path.string());
        const std::string bytes = grid::encodeCp932(
            masumemo::testing::fromUtf8(masumemo::testing::readBytes(path)));
        const std::u16string canvas = grid::readCanvasFile(bytes).canvas.text;
        const BoardReport before = BoardCheck(canvas);
        withProblems += before.problems.empty() ? 0 : 1;
        std::array<bool, 6> kinds{};
        for (const Problem& p : before.problems) {
            kinds[static_cast<size_t>(p.kind)] = true;
        }
        for (size_t k = 0; k < kinds.size(); ++k) {
            byKind[k] += kinds[k] ? 1 : 0;
        }
        const bool blankRuns = std::any_of(before.problems.begin(), before.problems.end(),
                                           isBlankRunProblem);
        withBlankRunProblems += blankRuns ? 1 : 0;

        const std::u16string fixed = fixForBoard(canvas);
        const std::vector<std::u16string> oldLines = grid::canvasLines(canvas);
        const std::vector<std::u16string> newLines = grid::canvasLines(fixed);
        ASSERT_EQ(newLines.size(), oldLines.size());
        for (size_t i = 0; i < oldLines.size(); ++i) {
            ASSERT_EQ(grid::WidthOf(newLines[i]), grid::WidthOf(oldLines[i])) << "line " << i + 1;
            ASSERT_EQ(inkCells(newLines[i]), inkCells(oldLines[i])) << "line " << i + 1;
        }
        for (const Problem& p : BoardCheck(fixed).problems) {
            if (isBlankRunProblem(p)) {
                // Only a run of width 1 at a line start cannot be fixed in place.
                ASSERT_EQ(p.kind, ProblemKind::LeadingSpace);
                const std::u16string& l = newLines[static_cast<size_t>(p.line - 1)];
                ASSERT_TRUE(l.size() < 2 || (l[1] != grid::kHalfSpace && l[1] != grid::kFullSpace));
                ++stillFlagged;
            }
        }
    }
    std::printf("corpus: %zu pictures, %d with problems (%d with blank runs a board changes; "
                "pictures by kind: leading space %d, space run %d, reference %d, bytes %d, "
                "lines %d); after the fix %d lone leading spaces stay flagged\n",
                pictures.size(), withProblems, withBlankRunProblems, byKind[0], byKind[1],
                byKind[2], byKind[3], byKind[4], stillFlagged);
}

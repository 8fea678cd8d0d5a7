#pragma once
// The posting check kept up to date while the canvas is edited: only the lines that changed are
// checked again. Pure, no Qt.

#include <string_view>
#include <vector>

#include "check/BoardCheck.h"

namespace masumemo::check {

class LiveCheck
{
public:
    /// Which rows of lineProblems() a change replaced.
    struct RowChange
    {
        int first = 0;
        int removed = 0;
        int added = 0;
    };

    /// Checks the whole canvas (lines joined by CR LF).
    void reset(std::u16string_view canvas);

    /// Lines [first, first + removed) (0-based) of the canvas were replaced by added lines;
    /// canvas is the text after the change. removed < 0: everything changed.
    RowChange replaceLines(std::u16string_view canvas, int first, int removed, int added);

    /// New limits; the limit problems of canvas (as last checked) are worked out again.
    void setLimits(BoardLimits limits, std::u16string_view canvas);
    const BoardLimits& limits() const { return m_limits; }

    /// The problems of the lines, in line order.
    const std::vector<Problem>& lineProblems() const { return m_rows; }
    /// The problems of the limits, after those of the lines.
    const std::vector<Problem>& limitProblems() const { return m_limitRows; }
    /// Line problems and then limit problems, as one list.
    int problemCount() const { return static_cast<int>(m_rows.size() + m_limitRows.size()); }
    const Problem& problem(int row) const;

    long long bytes() const { return m_bytes; }
    int lines() const { return m_posted; }
    bool overBytes() const { return m_bytes > m_limits.maxBytes; }
    bool overLines() const { return m_posted > m_limits.maxLines; }

    /// The canvas offset of the first character of line (0-based) as last checked.
    int lineOffset(int line) const;

private:
    struct Line
    {
        int chars = 0;     ///< characters of the whole line, trailing spaces included
        int problems = 0;  ///< its rows in m_rows
    };

    /// Checks lines [first, first + count) of canvas into m_lines, m_facts and rows.
    void checkLines(std::u16string_view canvas, int first, int count, std::vector<Problem>& rows);
    void updateTotals(std::u16string_view canvas);

    std::vector<Line> m_lines;
    std::vector<LineFacts> m_facts;  ///< beside m_lines, as the limit counting takes them
    std::vector<Problem> m_rows;
    std::vector<Problem> m_limitRows;
    BoardLimits m_limits;
    long long m_bytes = 0;
    int m_posted = 0;
};

}  // namespace masumemo::check

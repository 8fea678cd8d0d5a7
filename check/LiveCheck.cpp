#include "LiveCheck.h"

#include <algorithm>

namespace masumemo::check {

namespace {

constexpr int kBreak = 2;  // CR LF

}  // namespace

void LiveCheck::reset(std::u16string_view canvas)
{
    m_lines.clear();
    m_facts.clear();
    m_rows.clear();
    const int count = 1 + static_cast<int>(std::count(canvas.begin(), canvas.end(), u'\r'));
    m_lines.resize(static_cast<size_t>(count));
    m_facts.resize(static_cast<size_t>(count));
    checkLines(canvas, 0, count, m_rows);
    updateTotals(canvas);
}

void LiveCheck::checkLines(std::u16string_view canvas, int first, int count,
                           std::vector<Problem>& rows)
{
    size_t start = static_cast<size_t>(lineOffset(first));
    for (int i = first; i < first + count; ++i) {
        const size_t cr = std::min(canvas.find(u'\r', start), canvas.size());
        const std::u16string_view line = canvas.substr(std::min(start, cr), cr - std::min(start, cr));
        const size_t before = rows.size();
        m_facts[static_cast<size_t>(i)] = checkLine(line, i + 1, rows, m_limits.passesUnicode);
        m_lines[static_cast<size_t>(i)] = {static_cast<int>(line.size()),
                                           static_cast<int>(rows.size() - before)};
        start = cr + kBreak;
    }
}

LiveCheck::RowChange LiveCheck::replaceLines(std::u16string_view canvas, int first, int removed,
                                             int added)
{
    const int oldCount = static_cast<int>(m_lines.size());
    if (removed < 0 || first < 0 || first + removed > oldCount || added < 0) {
        const int oldRows = static_cast<int>(m_rows.size());
        reset(canvas);
        return {0, oldRows, static_cast<int>(m_rows.size())};
    }
    const auto at = [](int i) { return static_cast<long>(i); };
    RowChange change;
    for (int i = 0; i < first; ++i) {
        change.first += m_lines[static_cast<size_t>(i)].problems;
    }
    for (int i = first; i < first + removed; ++i) {
        change.removed += m_lines[static_cast<size_t>(i)].problems;
    }
    if (added != removed) {
        m_lines.erase(m_lines.begin() + at(first), m_lines.begin() + at(first + removed));
        m_lines.insert(m_lines.begin() + at(first), static_cast<size_t>(added), Line{});
        m_facts.erase(m_facts.begin() + at(first), m_facts.begin() + at(first + removed));
        m_facts.insert(m_facts.begin() + at(first), static_cast<size_t>(added), LineFacts{});
        // The lines after the change moved.
        for (auto it = m_rows.begin() + at(change.first + change.removed); it != m_rows.end();
             ++it) {
            it->line += added - removed;
        }
    }
    std::vector<Problem> rows;
    checkLines(canvas, first, added, rows);
    change.added = static_cast<int>(rows.size());
    const auto from = m_rows.begin() + at(change.first);
    if (change.added == change.removed) {
        std::copy(rows.begin(), rows.end(), from);
    } else {
        m_rows.erase(from, from + at(change.removed));
        m_rows.insert(m_rows.begin() + at(change.first), rows.begin(), rows.end());
    }
    updateTotals(canvas);
    return change;
}

void LiveCheck::setLimits(BoardLimits limits, std::u16string_view canvas)
{
    const bool linesChange = limits.passesUnicode != m_limits.passesUnicode;
    m_limits = limits;
    if (linesChange) {
        reset(canvas);  // whether a character is a problem of its line changed
    } else {
        updateTotals(canvas);
    }
}

const Problem& LiveCheck::problem(int row) const
{
    const auto lineRows = static_cast<int>(m_rows.size());
    return row < lineRows ? m_rows[static_cast<size_t>(row)]
                          : m_limitRows[static_cast<size_t>(row - lineRows)];
}

int LiveCheck::lineOffset(int line) const
{
    int offset = 0;
    for (int i = 0; i < line && i < static_cast<int>(m_lines.size()); ++i) {
        offset += m_lines[static_cast<size_t>(i)].chars + kBreak;
    }
    return offset;
}

void LiveCheck::updateTotals(std::u16string_view canvas)
{
    m_posted = postedLines(m_facts);
    m_bytes = postedBytes(m_facts, m_posted);
    m_limitRows.clear();
    appendLimitProblems(
        m_facts, m_posted, m_limits,
        [&](int i) {
            return canvas.substr(static_cast<size_t>(lineOffset(i)),
                                 static_cast<size_t>(m_lines[static_cast<size_t>(i)].chars));
        },
        m_limitRows);
}

}  // namespace masumemo::check

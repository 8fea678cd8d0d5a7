#include "CellMarks.h"

#include <QPainter>

#include <algorithm>

namespace masumemo::check {

CellMarks::CellMarks(const LiveCheck& check, host::CanvasLayers& canvas)
    : m_check(check), m_canvas(canvas)
{
}

QColor CellMarks::colourOf(ProblemKind kind)
{
    return kind == ProblemKind::CharacterReference || kind == ProblemKind::UnicodeCharacter
               ? QColor(0xd8, 0xc8, 0xff)
               : QColor(0xff, 0xc8, 0x90);
}

void CellMarks::paint(QPainter& painter, const QRect& exposed)
{
    const std::vector<Problem>& rows = m_check.lineProblems();
    const int height = m_canvas.textRect(0, 0, 0).height();
    if (rows.empty() || height <= 0) {
        return;
    }
    // Only the lines in the exposed band: the rows are in line order.
    const int firstLine = std::max(0, exposed.top() / height) + 1;
    const int lastLine = exposed.bottom() / height + 1;
    auto it = std::lower_bound(rows.begin(), rows.end(), firstLine,
                               [](const Problem& p, int line) { return p.line < line; });
    for (; it != rows.end() && it->line <= lastLine; ++it) {
        const QRect cells = m_canvas.textRect(it->line - 1, it->charStart, it->charCount);
        painter.fillRect(cells, colourOf(it->kind));
    }
}

}  // namespace masumemo::check

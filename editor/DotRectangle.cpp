#include "DotRectangle.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "CanvasWidget.h"
#include "board/BoardBlanks.h"
#include "board/DotRuler.h"
#include "grid/LineModel.h"

namespace masumemo::editor {

namespace {

/// Wider than any canvas line in dots: "every dot" of select all.
constexpr int kBeyondAnyLine = 1 << 24;

}  // namespace

DotRectangle::DotRectangle(CanvasWidget& canvas)
    : m_canvas(canvas), m_dots(board::DotRuler().charDots())
{
}

std::vector<std::u16string> DotRectangle::canvasLines() const
{
    return grid::SplitText(m_canvas.controller().text());
}

board::DotRect DotRectangle::rect() const
{
    if (!m_hasRect) {
        return {};
    }
    const int top = std::min(m_anchor.line, m_corner.line);
    return {top, std::abs(m_anchor.line - m_corner.line) + 1, std::min(m_anchor.x, m_corner.x),
            std::max(m_anchor.x, m_corner.x)};
}

void DotRectangle::chooseAgain()
{
    m_chosen = board::chooseBlock(canvasLines(), rect(), m_dots);
}

void DotRectangle::select(Corner anchor, Corner corner)
{
    const int last = std::max(m_canvas.controller().gyou() - 1, 0);
    anchor.line = std::clamp(anchor.line, 0, last);
    corner.line = std::clamp(corner.line, 0, last);
    anchor.x = std::max(anchor.x, 0);
    corner.x = std::max(corner.x, 0);
    m_anchor = anchor;
    m_corner = corner;
    m_hasRect = true;
    chooseAgain();
    const board::DotRect r = rect();
    placeCaret(r.line, r.x0);
}

void DotRectangle::clear()
{
    m_hasRect = false;
    m_chosen = {};
}

void DotRectangle::selectAll()
{
    select({0, 0}, {m_canvas.controller().gyou() - 1, kBeyondAnyLine});
}

void DotRectangle::grow(grid::Arrow arrow)
{
    if (!m_hasRect) {
        // From the caret: its line, and the dot where it stands.
        const auto& c = m_canvas.controller();
        const grid::CanvasSplit split = grid::SplitCanvas(c.text(), m_canvas.selectionStart());
        const auto& line = split.lines[static_cast<size_t>(split.line - 1)].Text;
        const Corner at{split.line - 1, board::dotPosition(line, split.column, m_dots)};
        m_anchor = m_corner = at;
        m_hasRect = true;
    }
    Corner to = m_corner;
    switch (arrow) {
        case grid::Arrow::Up:
            --to.line;
            break;
        case grid::Arrow::Down:
            ++to.line;
            break;
        case grid::Arrow::Left:
        case grid::Arrow::Right: {
            const std::vector<std::u16string> lines = canvasLines();
            const board::DotRect r = rect();
            std::vector<std::u16string_view> spanned;
            for (int i = r.line; i < r.line + r.lines && i < static_cast<int>(lines.size()); ++i) {
                spanned.emplace_back(lines[static_cast<size_t>(i)]);
            }
            to.x = board::nextChoiceEdge(spanned, to.x, arrow == grid::Arrow::Right ? 1 : -1,
                                         m_dots);
            break;
        }
    }
    select(m_anchor, to);
}

double DotRectangle::pixelsPerDot() const
{
    return QFontMetricsF(m_canvas.font()).horizontalAdvance(QChar(0x3000)) /
           board::kFullSpaceDots;
}

DotRectangle::Corner DotRectangle::cornerAt(QPoint pixel) const
{
    const QPoint cell = m_canvas.cellAt(pixel);
    return {cell.y(), std::max(static_cast<int>(std::lround(pixel.x() / pixelsPerDot())), 0)};
}

bool DotRectangle::holds(QPoint pixel) const
{
    if (m_floating) {
        const int dx = floatingShift();
        for (size_t k = 0; k < m_shownRects.size(); ++k) {
            if (floatingLine(k, dx).contains(pixel)) {
                return true;
            }
        }
        return false;
    }
    for (size_t k = 0; k < m_chosen.choices.size(); ++k) {
        const board::DotChoice& c = m_chosen.choices[k];
        if (!c.empty() &&
            charRect(m_chosen.line + static_cast<int>(k), c.start, c.end - c.start).contains(pixel)) {
            return true;
        }
    }
    return false;
}

QRect DotRectangle::charRect(int line, int first, int count) const
{
    return m_canvas.textRect(line, first, count);
}

void DotRectangle::placeCaret(int line, int x)
{
    // At the first character that starts at or right of x, so a paste lands there.
    const auto& c = m_canvas.controller();
    const std::vector<grid::LineRecord> lines = grid::SplitCanvas(c.text(), 0).lines;
    if (line < 0 || line >= static_cast<int>(lines.size())) {
        return;
    }
    const std::u16string_view text = lines[static_cast<size_t>(line)].Text;
    int column = static_cast<int>(text.size());
    for (const board::DotSpan& s : board::dotSpans(text, m_dots)) {
        if (s.x >= x) {
            column = s.index;
            break;
        }
    }
    m_canvas.setSelection(grid::lineStartOffset(lines, line + 1) + column, 0);
    m_canvas.controller().caretMoved();
}

bool DotRectangle::lift()
{
    if (m_floating) {
        return true;
    }
    if (!m_hasRect) {
        return false;
    }
    m_lines = canvasLines();
    m_block = board::chooseBlock(m_lines, rect(), m_dots);
    if (m_block.empty()) {
        return false;
    }
    m_before = m_canvas.controller().text();
    m_down = 0;
    m_right = 0;
    m_floating = true;
    m_laid = board::layBlock(m_lines, m_block, 0, 0, m_transparent, m_dots,
                             m_canvas.controller().unicodeSpaces());
    shapeRuns();
    return true;
}

bool DotRectangle::moveTo(int down, int right)
{
    if (!m_floating) {
        return false;
    }
    board::DotLaid laid = board::layBlock(m_lines, m_block, down, right, m_transparent, m_dots,
                                          m_canvas.controller().unicodeSpaces());
    if (!laid.fits) {
        return false;
    }
    m_laid = std::move(laid);
    m_down = down;
    m_right = right;
    return true;
}

void DotRectangle::setTransparent(bool transparent)
{
    m_transparent = transparent;
    if (m_floating) {
        moveTo(m_down, m_right);
    }
}

QString DotRectangle::deviationText(bool laid) const
{
    if (m_laid.offLines == 0) {
        return {};
    }
    return laid ? QStringLiteral("%1 行がずれました（最大 %2 ﾄﾞｯﾄ）")
                      .arg(m_laid.offLines)
                      .arg(m_laid.largestOff)
                : QStringLiteral("ここに置くと %1 行がずれます（最大 %2 ﾄﾞｯﾄ）")
                      .arg(m_laid.offLines)
                      .arg(m_laid.largestOff);
}

bool DotRectangle::layDown()
{
    if (!m_floating) {
        return false;
    }
    m_floating = false;
    auto& c = m_canvas.controller();
    // Something else changed the canvas while the block floated: laying the old picture over
    // it would undo that change, so the block goes back instead.
    const bool written = c.text() == m_before && m_laid.fits;
    if (written) {
        std::vector<std::u16string> lines = std::move(m_lines);
        for (size_t k = 0; k < m_laid.lines.size(); ++k) {
            lines[static_cast<size_t>(m_laid.first) + k] = std::move(m_laid.lines[k]);
        }
        c.applyEdit(grid::joinLines(lines), 0);
        const board::DotRect r = rect();
        const int top = r.line + m_down;
        m_anchor = {top, r.x0 + m_right};
        m_corner = {top + r.lines - 1, r.x1 + m_right};
        select(m_anchor, m_corner);
    }
    m_lines.clear();
    m_before.clear();
    m_runs.clear();
    m_sourceRects.clear();
    m_shownRects.clear();
    return written;
}

void DotRectangle::cancel()
{
    if (!m_floating) {
        return;
    }
    m_floating = false;
    m_lines.clear();
    m_before.clear();
    m_runs.clear();
    m_sourceRects.clear();
    m_shownRects.clear();
    m_laid = {};
    select(m_anchor, m_corner);
}

bool DotRectangle::turnFloating(std::vector<std::u16string> texts, std::vector<int> at)
{
    if (!m_floating || texts.size() != m_block.choices.size() || at.size() != texts.size()) {
        return false;
    }
    board::DotBlock turned = m_block;
    turned.text = std::move(texts);
    turned.at = std::move(at);
    board::DotLaid laid = board::layBlock(m_lines, turned, m_down, m_right, m_transparent,
                                          m_dots, m_canvas.controller().unicodeSpaces());
    if (!laid.fits) {
        return false;
    }
    m_block = std::move(turned);
    m_laid = std::move(laid);
    shapeRuns();
    return true;
}

std::optional<QString> DotRectangle::take(bool cut)
{
    if (!m_floating && m_hasRect) {
        chooseAgain();  // the text may have changed under the rectangle since it was drawn
    }
    const board::DotBlock& block = m_floating ? m_block : m_chosen;
    if (!m_hasRect || block.empty()) {
        return std::nullopt;
    }
    QString text;
    for (size_t k = 0; k < block.text.size(); ++k) {
        text += (k > 0 ? QStringLiteral("\n") : QString()) +
                QString::fromStdU16String(block.text[k]);
    }
    if (cut) {
        auto& c = m_canvas.controller();
        const bool floated = m_floating;
        m_floating = false;
        if (!floated || c.text() == m_before) {
            std::vector<std::u16string> lines = canvasLines();
            const board::DotLaid lifted =
                board::liftBlock(lines, block, m_dots, c.unicodeSpaces());
            if (lifted.fits) {
                for (size_t k = 0; k < lifted.lines.size(); ++k) {
                    lines[static_cast<size_t>(lifted.first) + k] = lifted.lines[k];
                }
                c.applyEdit(grid::joinLines(lines), 0);
            }
        }
        m_lines.clear();
        m_before.clear();
        m_runs.clear();
        m_sourceRects.clear();
        m_shownRects.clear();
        select(m_anchor, m_corner);
    }
    return text;
}

void DotRectangle::fontChanged()
{
    if (m_floating) {
        shapeRuns();
    }
}

void DotRectangle::shapeRuns()
{
    // The block's text and the canvas do not change while it floats: where each line's
    // characters stand and their visible runs are worked out once, not at each move's paint.
    m_runs.assign(m_block.choices.size(), {});
    m_sourceRects.assign(m_block.choices.size(), {});
    m_shownRects.assign(m_block.choices.size(), {});
    // A turned block's text is not in the canvas: its pieces are placed by their dots.
    const bool turned = !m_block.at.empty();
    const double ppd = pixelsPerDot();
    const auto dotsOf = [this](std::u16string_view s) {
        int w = 0;
        for (char16_t c : s) {
            w += m_dots(c);
        }
        return w;
    };
    for (size_t k = 0; k < m_block.choices.size(); ++k) {
        const board::DotChoice& c = m_block.choices[k];
        const int line = m_block.line + static_cast<int>(k);
        if (!c.empty()) {
            m_sourceRects[k] = charRect(line, c.start, c.end - c.start);
        }
        const std::u16string& text = m_block.text[k];
        if (text.empty()) {
            continue;
        }
        const QRect row = charRect(line, 0, 0);
        const auto place = [&](int fromDot, int dots) {
            return QRect(static_cast<int>(std::lround(fromDot * ppd)), row.top(),
                         static_cast<int>(std::lround(dots * ppd)), row.height());
        };
        const QRect shown =
            turned ? place(m_block.landingX(k), dotsOf(text)) : m_sourceRects[k];
        m_shownRects[k] = shown;
        for (size_t i = 0; i < text.size();) {
            const bool blank = board::isBoardBlank(text[i]);
            size_t end = i;
            while (end < text.size() && board::isBoardBlank(text[end]) == blank) {
                ++end;
            }
            if (!blank) {
                const std::u16string_view piece = std::u16string_view(text).substr(i, end - i);
                const QRect box =
                    turned ? place(m_block.landingX(k) + dotsOf(text.substr(0, i)),
                                   dotsOf(piece))
                           : charRect(line, c.start + static_cast<int>(i),
                                      static_cast<int>(end - i));
                QStaticText shaped(QString::fromStdU16String(std::u16string(piece)));
                shaped.setTextFormat(Qt::PlainText);
                shaped.setPerformanceHint(QStaticText::AggressiveCaching);
                m_runs[k].push_back({box.translated(-shown.topLeft()), std::move(shaped)});
            }
            i = end;
        }
    }
}

int DotRectangle::floatingShift() const
{
    return static_cast<int>(std::lround(m_right * pixelsPerDot()));
}

QRect DotRectangle::floatingLine(size_t k, int dx) const
{
    if (m_shownRects[k].isNull()) {
        return {};
    }
    QRect r = m_shownRects[k].translated(dx, 0);
    r.moveTop(charRect(m_block.line + static_cast<int>(k) + m_down, 0, 0).top());
    return r;
}

QRect DotRectangle::floatingArea()
{
    if (!m_floating) {
        return {};
    }
    const int dx = floatingShift();
    QRect all;
    for (size_t k = 0; k < m_shownRects.size(); ++k) {
        all = all.united(floatingLine(k, dx));
    }
    return all.adjusted(-1, -1, 1, 1);  // the dashed outline's pixels too
}

void DotRectangle::paintOutline(QPainter& painter, const QRect& area) const
{
    painter.setPen(QPen(m_canvas.palette().color(QPalette::Highlight), 1, Qt::DashLine));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void DotRectangle::paint(QPainter& painter)
{
    if (!m_floating) {
        if (!m_hasRect) {
            return;
        }
        QColor shade = m_canvas.palette().color(QPalette::Highlight);
        shade.setAlpha(70);
        QRect outline;
        for (size_t k = 0; k < m_chosen.choices.size(); ++k) {
            const board::DotChoice& c = m_chosen.choices[k];
            const int line = m_chosen.line + static_cast<int>(k);
            const QRect r = charRect(line, c.start, c.end - c.start);
            if (!c.empty()) {
                painter.fillRect(r, shade);
            }
            outline = outline.united(r.isEmpty() ? QRect(r.topLeft(), QSize(1, r.height())) : r);
        }
        if (!outline.isEmpty()) {
            paintOutline(painter, outline);
        }
        return;
    }
    const QColor paper = m_canvas.background();
    // The lifted characters are blanks now: hidden where they still stand in the text.
    for (const QRect& hidden : m_sourceRects) {
        painter.fillRect(hidden, paper);
    }
    const int dx = floatingShift();
    painter.setFont(m_canvas.font());
    painter.setPen(m_canvas.palette().color(QPalette::Text));
    QRect outline;
    for (size_t k = 0; k < m_shownRects.size(); ++k) {
        const QRect at = floatingLine(k, dx);
        if (at.isNull()) {
            continue;
        }
        outline = outline.united(at);
        if (!m_transparent) {
            painter.fillRect(at, paper);  // opaque: its blanks hide the picture under them too
        }
        for (const Run& run : m_runs[k]) {
            const QRect box = run.box.translated(at.topLeft());
            if (m_transparent) {
                painter.fillRect(box, paper);
            }
            painter.drawStaticText(box.topLeft(), run.text);
        }
    }
    paintOutline(painter, outline);
}

}  // namespace masumemo::editor

#include "BlockEditing.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QSettings>
#include <QStaticText>

#include <algorithm>

#include "CanvasWidget.h"
#include "DotRectangle.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "host/ToolHost.h"
#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

namespace masumemo::editor {

namespace {

const QString kTransparentKey = QStringLiteral("Block/Transparent");

bool contains(const grid::BlockRect& r, QPoint cell)
{
    return cell.y() >= r.line && cell.y() < r.line + r.lines && cell.x() >= r.column &&
           cell.x() < r.column + r.width;
}

}  // namespace

BlockEditing::BlockEditing(CanvasWidget& canvas, QObject* parent)
    : QObject(parent), m_canvas(&canvas), m_dots(std::make_unique<DotRectangle>(canvas))
{
    setObjectName(QStringLiteral("BlockEditing"));
    m_transparent = platform::readBool(*platform::openProgramSettings(), kTransparentKey, false);
    m_dots->setTransparent(m_transparent);
    m_canvas->addLayer(this);
    // Closing the window, saving, opening or starting anew with a block afloat lays it down
    // first, so the file and the save question see the picture as it is shown.
    m_canvas->installEventFilter(this);
    m_window = m_canvas->window();
    m_window->installEventFilter(this);
    // Any other writer of the canvas (a part laid over it, a fix of the check) finds the block
    // laid down, so its change does not make the move vanish.
    connect(&m_canvas->controller().document(), &document::Document::aboutToChange, this,
            &BlockEditing::layDown);
    // A command that rewrote the text under a rectangle of dots (a mirror) changes what it
    // chooses, and so its shading.
    connect(&m_canvas->controller().document(), &document::Document::changed, this, [this] {
        if (m_canvas != nullptr && !m_floating && m_dots->hasRect()) {
            m_dots->chooseAgain();
            repaint();
        }
    });
}

void BlockEditing::stopFloating()
{
    m_floating = false;
    qApp->removeEventFilter(this);
}

bool BlockEditing::eventFilter(QObject* watched, QEvent* event)
{
    if (m_canvas != nullptr && watched == m_canvas && event->type() == QEvent::FontChange) {
        // Dots or cells: the other font's rectangle means nothing in this one, and a block
        // floating in it goes down first.
        const bool dots = inDots();
        if (m_floating && m_dots->isFloating() != dots) {
            layDown();
        }
        if (m_dots->isFloating()) {
            m_dots->fontChanged();
        } else if (dots ? m_hasRect : m_dots->hasRect()) {
            m_dots->clear();
            m_hasRect = false;
        }
        repaint();
    }
    if (!m_floating || m_canvas == nullptr) {
        return false;
    }
    switch (event->type()) {
        case QEvent::FontChange:
            if (watched == m_canvas) {
                // Another font puts every cell elsewhere.
                m_placed.reset();
                m_sourceCells.clear();
                repaint();
            }
            break;
        case QEvent::MouseButtonPress: {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == m_window && widget != m_canvas &&
                !m_canvas->isAncestorOf(widget)) {
                layDown();
            }
            break;
        }
        case QEvent::Close:
            if (watched == m_window) {
                layDown();
            }
            break;
        case QEvent::ShortcutOverride: {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Undo too: laid down first, the move is the step it takes back.
            for (const auto standard :
                 {QKeySequence::Save, QKeySequence::SaveAs, QKeySequence::New, QKeySequence::Open,
                  QKeySequence::Close, QKeySequence::Quit, QKeySequence::Print,
                  QKeySequence::Undo}) {
                if (key->matches(standard)) {
                    layDown();
                    break;
                }
            }
            break;
        }
        case QEvent::InputMethod:
            // Typing through an input method is typing: the block goes down first, as for a key.
            if (watched == m_canvas) {
                layDown();
            }
            break;
        case QEvent::FocusOut:
            // A menu opened over the canvas: its commands read the canvas.
            if (watched == m_canvas &&
                static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
                layDown();
            }
            break;
        default:
            break;
    }
    return false;
}

BlockEditing::~BlockEditing()
{
    if (m_canvas != nullptr) {
        m_canvas->removeLayer(this);
    }
}

void BlockEditing::addMenuEntries(host::ToolHost& host)
{
    const host::MenuPlace edit{QStringLiteral("mnuEdit")};
    m_host = &host;
    host.addAction(edit, QStringLiteral("mnuBlockBar"), QString());
    m_modeAction = host.addAction(edit, QStringLiteral("mnuBlock"), QStringLiteral("矩形選択(&B)"),
                                  QKeySequence(Qt::CTRL | Qt::Key_B));
    m_modeAction->setCheckable(true);
    connect(m_modeAction, &QAction::toggled, this, &BlockEditing::setActive);
    m_transparentAction = host.addAction(edit, QStringLiteral("mnuBlockTransparent"),
                                         QStringLiteral("透過(&T)"));
    m_transparentAction->setCheckable(true);
    m_transparentAction->setChecked(m_transparent);
    connect(m_transparentAction, &QAction::toggled, this, &BlockEditing::setTransparent);
}

void BlockEditing::setActive(bool active)
{
    if (active == m_active) {
        return;
    }
    if (!active) {
        layDown();
    }
    m_active = active;
    m_hasRect = false;
    m_dots->clear();
    m_drag = Drag::None;
    if (m_modeAction != nullptr) {
        m_modeAction->setChecked(active);
    }
    repaint();
    emit activeChanged(active);
}

void BlockEditing::setTransparent(bool transparent)
{
    m_transparent = transparent;
    m_dots->setTransparent(transparent);
    platform::openProgramSettings()->setValue(kTransparentKey, transparent);
    if (m_transparentAction != nullptr) {
        m_transparentAction->setChecked(transparent);
    }
    repaint();
}

grid::BlockRect BlockEditing::selection() const
{
    if (m_floating) {
        return m_at;
    }
    if (!m_hasRect || m_canvas == nullptr) {
        return {};
    }
    const auto& c = m_canvas->controller();
    return grid::rectFromCorners(m_anchor.y(), m_anchor.x(), m_corner.y(), m_corner.x(), c.keta(),
                                 c.gyou());
}

std::optional<host::CellRect> BlockEditing::selectedCells() const
{
    const grid::BlockRect r = selection();
    if (r.empty()) {
        return std::nullopt;
    }
    return host::CellRect{r.line, r.column, r.lines, r.width};
}

std::optional<host::DotArea> BlockEditing::selectedDots() const
{
    if (!inDots() || !m_dots->hasRect() || m_dots->rect().empty()) {
        return std::nullopt;
    }
    const board::DotRect r = m_dots->rect();
    return host::DotArea{r.line, r.lines, r.x0, r.x1};
}

bool BlockEditing::turnFloatingDots(const host::DotTurn& turn)
{
    if (m_canvas == nullptr || !m_floating || !m_dots->isFloating()) {
        return false;
    }
    const board::DotBlock& b = m_dots->block();
    std::vector<host::DotLine> lines;
    for (size_t k = 0; k < b.text.size(); ++k) {
        lines.push_back({b.text[k], b.landingX(k)});
    }
    std::optional<std::vector<host::DotLine>> turned = turn(lines);
    if (!turned || turned->size() != lines.size()) {
        return false;
    }
    std::vector<std::u16string> texts;
    std::vector<int> at;
    for (host::DotLine& line : *turned) {
        texts.push_back(std::move(line.text));
        at.push_back(line.x);
    }
    const QRect before = m_dots->floatingArea();
    if (!m_dots->turnFloating(std::move(texts), std::move(at))) {
        return false;
    }
    m_canvas->updateLayers(before.united(m_dots->floatingArea()));
    notice(m_dots->deviationText(false));
    return true;
}

QPoint BlockEditing::caretCell() const
{
    const auto& text = m_canvas->controller().text();
    const grid::CanvasSplit split = grid::SplitCanvas(text, m_canvas->selectionStart());
    const auto& line = split.lines[static_cast<size_t>(split.line - 1)];
    return {grid::WidthOf(line.Text.substr(0, static_cast<size_t>(split.column))), split.line - 1};
}

void BlockEditing::select(QPoint anchor, QPoint corner)
{
    m_anchor = anchor;
    m_corner = corner;
    m_hasRect = true;
    placeCaret(selection());
    repaint();
}

void BlockEditing::placeCaret(const grid::BlockRect& rect)
{
    const auto& text = m_canvas->controller().text();
    const std::vector<grid::LineRecord> lines = grid::SplitCanvas(text, 0).lines;
    if (rect.line < 0 || rect.line >= static_cast<int>(lines.size())) {
        return;
    }
    const int offset = grid::lineStartOffset(lines, rect.line + 1) +
                       grid::charsWithinWidth(lines[static_cast<size_t>(rect.line)].Text,
                                              rect.column);
    m_canvas->setSelection(offset, 0);
    m_canvas->controller().caretMoved();
}

bool BlockEditing::lift()
{
    const grid::BlockRect rect = selection();
    if (m_floating || rect.empty()) {
        return m_floating;
    }
    const auto& c = m_canvas->controller();
    grid::Lifted lifted = grid::liftBlock(c.text(), rect, c.keta());
    if (lifted.block.empty()) {
        return false;
    }
    m_before = c.text();
    m_lifted = std::move(lifted.canvas);
    m_block = std::move(lifted.block);
    m_source = rect;
    m_at = rect;
    m_floating = true;
    // While it floats, a press anywhere else in the window (a toolbar button, a palette key)
    // lays it down before that command reads the canvas.
    qApp->installEventFilter(this);
    m_placed.reset();
    m_sourceCells.clear();
    shapeRuns();
    return true;
}

void BlockEditing::moveBlock(grid::Arrow arrow)
{
    if (m_canvas == nullptr || !lift()) {
        return;
    }
    const auto& c = m_canvas->controller();
    const grid::Step step = c.halfPush() ? grid::Step::Half : grid::Step::Full;
    const QRect before = floatingArea();
    m_at = grid::moveRect(m_at, arrow, step, c.keta(), c.gyou());
    m_placed.reset();
    // Only where the block was and is now changes (and, at the first move, the selection it
    // came from, which is the same place): a move costs no more than a typed character.
    m_canvas->updateLayers(before.united(floatingArea()));
}

bool BlockEditing::inDots() const
{
    return m_canvas != nullptr && m_canvas->font().family() == platform::kPGothic;
}

void BlockEditing::notice(const QString& text)
{
    if (m_host != nullptr) {
        m_host->canvas().notice(text);
    }
}

void BlockEditing::moveDots(int lines, int dots)
{
    if (m_canvas == nullptr) {
        return;
    }
    if (!m_floating) {
        if (!m_dots->lift()) {
            return;
        }
        m_floating = true;
        qApp->installEventFilter(this);  // as for the block in cells: see lift()
    }
    const QRect before = m_dots->floatingArea();
    if (m_dots->moveTo(m_dots->down() + lines, m_dots->right() + dots)) {
        m_canvas->updateLayers(before.united(m_dots->floatingArea()));
    }
    notice(m_dots->deviationText(false));
}

void BlockEditing::layDown()
{
    if (!m_floating || m_canvas == nullptr) {
        return;
    }
    stopFloating();
    if (m_dots->isFloating()) {
        notice(m_dots->layDown() ? m_dots->deviationText(true) : QString());
        repaint();
        return;
    }
    auto& c = m_canvas->controller();
    // Something else changed the canvas while the block floated (the menu's undo or paste):
    // laying the old picture over it would undo that change, so the block goes back instead.
    if (c.text() == m_before) {
        c.applyEdit(grid::layBlock(m_lifted, m_block, m_at.line, m_at.column, m_transparent,
                                   c.keta()),
                    0);
        select({m_at.column, m_at.line},
               {m_at.column + m_at.width, m_at.line + m_at.lines - 1});
    }
    m_before.clear();
    m_lifted.clear();
    repaint();
}

void BlockEditing::cancel()
{
    if (!m_floating) {
        return;
    }
    stopFloating();
    if (m_dots->isFloating()) {
        m_dots->cancel();
        notice(QString());
        repaint();
        return;
    }
    m_before.clear();
    m_lifted.clear();
    select({m_source.column, m_source.line},
           {m_source.column + m_source.width, m_source.line + m_source.lines - 1});
}

void BlockEditing::pointerPressed(QPoint p)
{
    if (m_canvas == nullptr) {
        return;
    }
    if (inDots()) {
        if (m_dots->holds(p)) {
            m_drag = Drag::Moving;
            m_dragDotsFrom = p;
            m_dragDown = m_dots->down();
            m_dragRight = m_dots->right();
            return;
        }
        layDown();
        m_drag = Drag::Selecting;
        const DotRectangle::Corner at = m_dots->cornerAt(p);
        m_dots->select(at, at);
        repaint();
        return;
    }
    const QPoint cell = m_canvas->cellAt(p);
    const grid::BlockRect rect = selection();
    if (contains(rect, cell)) {
        m_drag = Drag::Moving;
        m_dragFrom = cell;
        m_dragStart = rect;
        return;
    }
    layDown();
    m_drag = Drag::Selecting;
    select(cell, cell);
}

void BlockEditing::pointerMoved(QPoint p)
{
    if (m_canvas == nullptr || m_drag == Drag::None) {
        return;
    }
    if (inDots()) {
        if (m_drag == Drag::Selecting) {
            m_dots->select(m_dots->anchor(), m_dots->cornerAt(p));
            repaint();
            return;
        }
        const DotRectangle::Corner from = m_dots->cornerAt(m_dragDotsFrom);
        const DotRectangle::Corner to = m_dots->cornerAt(p);
        const int down = m_dragDown + to.line - from.line;
        const int right = m_dragRight + to.x - from.x;
        if (down != m_dots->down() || right != m_dots->right()) {
            moveDots(down - m_dots->down(), right - m_dots->right());
        }
        return;
    }
    const QPoint cell = m_canvas->cellAt(p);
    if (m_drag == Drag::Selecting) {
        // A line dragged over is selected whole down to the line under the pointer.
        select(m_anchor, cell);
        return;
    }
    if (cell == m_dragFrom || !lift()) {
        return;
    }
    const auto& c = m_canvas->controller();
    m_at.line = std::clamp(m_dragStart.line + cell.y() - m_dragFrom.y(), 0,
                           std::max(c.gyou() - m_at.lines, 0));
    m_at.column = std::clamp(m_dragStart.column + cell.x() - m_dragFrom.x(), 0,
                             std::max(2 * c.keta() - m_at.width, 0));
    m_placed.reset();
    repaint();
}

void BlockEditing::pointerReleased(QPoint)
{
    m_drag = Drag::None;
}

bool BlockEditing::keyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_canvas == nullptr) {
        return false;
    }
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (inDots() && dotKeyPressed(key, mods)) {
        return true;
    }
    const auto arrow = arrowOf(key);
    if (arrow && mods == Qt::ControlModifier) {
        moveBlock(*arrow);
        return true;
    }
    if (arrow && mods == Qt::ShiftModifier) {
        if (m_floating) {
            return true;  // the floating block keeps its shape until it is laid down
        }
        const QPoint from = m_hasRect ? m_corner : caretCell();
        const QPoint anchor = m_hasRect ? m_anchor : from;
        const auto& c = m_canvas->controller();
        const int units = c.halfPush() ? 1 : 2;
        QPoint to = from;
        switch (*arrow) {
            case grid::Arrow::Left:
                to.rx() -= units;
                break;
            case grid::Arrow::Right:
                to.rx() += units;
                break;
            case grid::Arrow::Up:
                to.ry() -= 1;
                break;
            case grid::Arrow::Down:
                to.ry() += 1;
                break;
        }
        to.setX(std::clamp(to.x(), 0, 2 * c.keta()));
        to.setY(std::clamp(to.y(), 0, std::max(c.gyou() - 1, 0)));
        select(anchor, to);
        return true;
    }
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (m_floating) {
            cancel();
        } else {
            setActive(false);
        }
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_floating) {
        layDown();
        return true;
    }
    if (key == Qt::Key_Z && mods == Qt::ControlModifier && m_floating) {
        cancel();  // undo while it floats: nothing was recorded yet
        return true;
    }
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
        key == Qt::Key_Meta) {
        return false;
    }
    // Anything else (typing, Alt+arrows, plain arrows) acts on the canvas as it stands: a
    // floating block is laid down first and the rectangle is given up.
    layDown();
    m_hasRect = false;
    m_dots->clear();
    repaint();
    return false;
}

bool BlockEditing::dotKeyPressed(int key, Qt::KeyboardModifiers mods)
{
    const auto arrow = arrowOf(key);
    if (!arrow) {
        return false;
    }
    const bool across = *arrow == grid::Arrow::Left || *arrow == grid::Arrow::Right;
    const int sign = *arrow == grid::Arrow::Left || *arrow == grid::Arrow::Up ? -1 : 1;
    if (mods == Qt::ControlModifier || (across && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        // One dot, or with Shift a full-width space's 11; Up and Down one line.
        const int step = mods.testFlag(Qt::ShiftModifier) ? board::kFullSpaceDots : 1;
        moveDots(across ? 0 : sign, across ? sign * step : 0);
        return true;
    }
    if (mods == Qt::ShiftModifier) {
        if (!m_floating) {  // the floating block keeps its shape until it is laid down
            m_dots->grow(*arrow);
            repaint();
        }
        return true;
    }
    return false;
}

bool BlockEditing::selectAll()
{
    if (m_canvas == nullptr) {
        return false;
    }
    layDown();
    if (inDots()) {
        m_dots->selectAll();
        repaint();
        return true;
    }
    const auto& c = m_canvas->controller();
    select({0, 0}, {2 * c.keta(), c.gyou() - 1});
    return true;
}

std::optional<QString> BlockEditing::takeSelection(bool cut)
{
    if (m_canvas != nullptr && inDots()) {
        if (cut && m_floating) {
            stopFloating();
        }
        const std::optional<QString> text = m_dots->take(cut);
        repaint();
        return text;
    }
    const grid::BlockRect rect = selection();
    if (m_canvas == nullptr || rect.empty()) {
        return std::nullopt;
    }
    auto& c = m_canvas->controller();
    if (m_floating) {
        const QString text = QString::fromStdU16String(grid::blockText(m_block));
        if (cut && c.text() == m_before) {
            stopFloating();
            c.applyEdit(m_lifted, 0);
            select({m_at.column, m_at.line},
                   {m_at.column + m_at.width, m_at.line + m_at.lines - 1});
        }
        return text;
    }
    const QString text =
        QString::fromStdU16String(grid::blockText(grid::copyBlock(c.text(), rect, c.keta())));
    if (cut) {
        c.applyEdit(grid::liftBlock(c.text(), rect, c.keta()).canvas, 0);
        placeCaret(rect);
        repaint();
    }
    return text;
}

void BlockEditing::repaint()
{
    if (m_canvas != nullptr) {
        m_canvas->updateLayers();
    }
}

// --- Painting ----------------------------------------------------------------------------

QRect BlockEditing::cells(int line, int from, int to) const
{
    return m_canvas->unitSpan(line, from, to);
}

QRect BlockEditing::area(const grid::BlockRect& rect) const
{
    QRect all;
    for (int i = 0; i < rect.lines; ++i) {
        all = all.united(cells(rect.line + i, rect.column, rect.column + rect.width));
    }
    // The dashed outline is drawn inside the cells, so the area ends with them: a pixel more
    // would touch the lines above and below and have them painted again on every move.
    return all;
}

void BlockEditing::paintRect(QPainter& painter, const grid::BlockRect& rect, bool fill)
{
    QColor shade = m_canvas->palette().color(QPalette::Highlight);
    shade.setAlpha(70);
    QRect outline;
    for (int i = 0; i < rect.lines; ++i) {
        const QRect row = cells(rect.line + i, rect.column, rect.column + rect.width);
        if (fill) {
            painter.fillRect(row, shade);
        }
        outline = outline.united(row);
    }
    paintOutline(painter, outline);
}

void BlockEditing::paintOutline(QPainter& painter, const QRect& cells)
{
    painter.setPen(QPen(m_canvas->palette().color(QPalette::Highlight), 1, Qt::DashLine));
    painter.drawRect(cells.adjusted(0, 0, -1, -1));
}

const BlockEditing::Placed& BlockEditing::placed()
{
    // The canvas text does not change while the block floats, so its pixels stay where they
    // are for as long as the block does (layer coordinates do not move with scrolling): worked
    // out once per place, not at every paint.
    if (!m_placed) {
        Placed p;
        // Each line's edges are measured in one look-up of that line: the outline's row, the
        // block's own cells and its runs.
        std::vector<std::pair<int, int>> spans;
        for (int i = 0; i < m_at.lines; ++i) {
            const grid::BlockLine& part = m_block.lines[static_cast<size_t>(i)];
            const std::vector<Run>& runs = m_runs[static_cast<size_t>(i)];
            const int from = m_at.column + part.offset;
            spans.clear();
            spans.emplace_back(m_at.column, m_at.column + m_at.width);
            spans.emplace_back(from, from + grid::WidthOf(part.text));
            for (const Run& run : runs) {
                const int unit = m_at.column + run.unit;
                spans.emplace_back(unit, unit + run.width);
            }
            const std::vector<QRect> rects = m_canvas->unitSpans(m_at.line + i, spans);
            p.area = p.area.united(rects[0]);
            p.lineCells.push_back(rects[1]);
            p.runBoxes.emplace_back(rects.begin() + 2, rects.end());
        }
        m_placed = std::move(p);
    }
    return *m_placed;
}

QRect BlockEditing::floatingArea()
{
    return placed().area;
}

void BlockEditing::shapeRuns()
{
    // The block's text does not change while it floats: its runs are shaped once, not at each
    // move's paint.
    m_runs.assign(m_block.lines.size(), {});
    for (size_t i = 0; i < m_block.lines.size(); ++i) {
        const grid::BlockLine& part = m_block.lines[i];
        const std::u16string_view text = part.text;
        int unit = part.offset;
        for (size_t k = 0; k < text.size();) {
            const bool space = text[k] == grid::kHalfSpace || text[k] == grid::kFullSpace;
            size_t end = k;
            while (end < text.size() &&
                   (text[end] == grid::kHalfSpace || text[end] == grid::kFullSpace) == space) {
                ++end;
            }
            const std::u16string_view run = text.substr(k, end - k);
            const int width = grid::WidthOf(run);
            if (!space) {
                QStaticText shaped(QString::fromStdU16String(std::u16string(run)));
                shaped.setTextFormat(Qt::PlainText);
                shaped.setPerformanceHint(QStaticText::AggressiveCaching);
                m_runs[i].push_back({unit, width, std::move(shaped)});
            }
            unit += width;
            k = end;
        }
    }
}

void BlockEditing::paintFloating(QPainter& painter)
{
    const QColor paper = m_canvas->background();
    // The lifted characters are blanks now: hide them where they still stand in the text.
    if (m_sourceCells.empty()) {
        for (int i = 0; i < m_source.lines; ++i) {
            const grid::BlockLine& part = m_block.lines[static_cast<size_t>(i)];
            const int from = m_source.column + part.offset;
            m_sourceCells.push_back(
                cells(m_source.line + i, from, from + grid::WidthOf(part.text)));
        }
    }
    for (const QRect& hidden : m_sourceCells) {
        painter.fillRect(hidden, paper);
    }
    const Placed& at = placed();
    painter.setFont(m_canvas->font());
    painter.setPen(m_canvas->palette().color(QPalette::Text));
    for (size_t i = 0; i < at.lineCells.size(); ++i) {
        if (!m_transparent) {
            // Opaque: the block's blanks hide the picture under them too.
            painter.fillRect(at.lineCells[i], paper);
        }
        for (size_t k = 0; k < m_runs[i].size(); ++k) {
            const QRect& box = at.runBoxes[i][k];
            if (m_transparent) {
                painter.fillRect(box, paper);
            }
            painter.drawStaticText(box.topLeft(), m_runs[i][k].text);  // placed by its line's top
        }
    }
    paintOutline(painter, at.area);
}

void BlockEditing::paint(QPainter& painter, const QRect&)
{
    if (m_canvas == nullptr || !m_active) {
        return;
    }
    if (inDots()) {
        m_dots->paint(painter);
        return;
    }
    if (m_floating) {
        paintFloating(painter);
    } else if (m_hasRect && !selection().empty()) {
        paintRect(painter, selection(), true);
    }
}

}  // namespace masumemo::editor

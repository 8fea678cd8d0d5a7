#include "UnderlayLayer.h"

#include <utility>

#include <QPainter>

namespace masumemo::underlay {

void UnderlayLayer::setPicture(QImage kept, PixelSize natural)
{
    m_kept = std::move(kept);
    m_natural = natural;
}

void UnderlayLayer::clearPicture()
{
    m_kept = QImage();
    m_natural = {};
    m_dragging = false;
}

void UnderlayLayer::setAligning(bool on)
{
    m_aligning = on;
    m_dragging = m_dragging && on;
}

QRect UnderlayLayer::shownRect() const
{
    if (!hasPicture()) {
        return {};
    }
    const PixelSize size = shownSize(m_natural, m_placement.scale);
    return {m_placement.x, m_placement.y, size.width, size.height};
}

void UnderlayLayer::paint(QPainter& painter, const QRect& exposed)
{
    const QRect target = shownRect();
    const QRect part = target.intersected(exposed);
    if (!m_shown || part.isEmpty()) {
        return;
    }
    painter.setOpacity(m_placement.opacity / 100.0);
    if (m_kept.size() == target.size()) {
        // Kept at the shown size (the usual case): copy only the exposed pixels.
        painter.drawImage(part.topLeft(), m_kept, part.translated(-target.topLeft()));
    } else {
        // Enlarged beyond its own size, or kept at another scale until the new one is decoded.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const double sx = double(m_kept.width()) / target.width();
        const double sy = double(m_kept.height()) / target.height();
        const QRectF source((part.x() - target.x()) * sx, (part.y() - target.y()) * sy,
                            part.width() * sx, part.height() * sy);
        painter.drawImage(QRectF(part), m_kept, source);
    }
}

bool UnderlayLayer::capturesInput() const
{
    return m_aligning && m_shown && hasPicture();
}

void UnderlayLayer::pointerPressed(QPoint at)
{
    m_dragging = true;
    m_dragStart = at;
    m_dragFrom = {m_placement.x, m_placement.y};
}

void UnderlayLayer::pointerMoved(QPoint at)
{
    if (m_dragging) {
        const QPoint to = m_dragFrom + (at - m_dragStart);
        moveTo(to.x(), to.y());
    }
}

void UnderlayLayer::pointerReleased(QPoint at)
{
    pointerMoved(at);
    if (std::exchange(m_dragging, false) && dropped) {
        dropped();
    }
}

bool UnderlayLayer::keyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier)) {
        return false;
    }
    const int x = m_placement.x;
    const int y = m_placement.y;
    switch (key) {
    case Qt::Key_Left: moveTo(x - 1, y); return true;
    case Qt::Key_Right: moveTo(x + 1, y); return true;
    case Qt::Key_Up: moveTo(x, y - 1); return true;
    case Qt::Key_Down: moveTo(x, y + 1); return true;
    default: return false;
    }
}

void UnderlayLayer::moveTo(int x, int y)
{
    UnderlayPlacement p = m_placement;
    p.x = x;
    p.y = y;
    p = clamped(p);
    if (p == m_placement) {
        return;
    }
    m_placement = p;
    if (moved) {
        moved();
    }
}

}  // namespace masumemo::underlay

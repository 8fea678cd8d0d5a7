#pragma once
// The underlay as a canvas layer: the kept picture painted at its placement and opacity, and,
// while aligning, moved by dragging or by the arrow keys one pixel at a time.

#include <QImage>

#include <functional>

#include "UnderlayRules.h"
#include "host/CanvasLayer.h"

namespace masumemo::underlay {

class UnderlayLayer final : public host::CanvasLayer
{
public:
    bool hasPicture() const { return !m_kept.isNull(); }
    const QImage& kept() const { return m_kept; }
    PixelSize natural() const { return m_natural; }
    void setPicture(QImage kept, PixelSize natural);
    void clearPicture();

    const UnderlayPlacement& placement() const { return m_placement; }
    void setPlacement(const UnderlayPlacement& p) { m_placement = clamped(p); }
    bool isShown() const { return m_shown; }
    void setShown(bool shown) { m_shown = shown; }
    bool isAligning() const { return m_aligning; }
    void setAligning(bool on);

    /// Where the picture lies, in canvas pixels (empty without a picture).
    QRect shownRect() const;

    /// Called after a drag or an arrow key moved the picture.
    std::function<void()> moved;
    /// Called when a drag ends (the mouse button let go), once however far it went.
    std::function<void()> dropped;
    bool isDragging() const { return m_dragging; }
    /// Called when the canvas goes away before the layer.
    std::function<void()> closed;

    // host::CanvasLayer
    void paint(QPainter& painter, const QRect& exposed) override;
    bool capturesInput() const override;
    Qt::CursorShape pointerShape() const override { return Qt::SizeAllCursor; }
    void pointerPressed(QPoint at) override;
    void pointerMoved(QPoint at) override;
    void pointerReleased(QPoint at) override;
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers) override;
    void canvasClosed() override
    {
        if (closed) {
            closed();
        }
    }

private:
    void moveTo(int x, int y);

    QImage m_kept;
    PixelSize m_natural;
    UnderlayPlacement m_placement;
    bool m_shown = true;
    bool m_aligning = false;
    /// A drag under way: where it started and where the picture was then.
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragFrom;
};

}  // namespace masumemo::underlay

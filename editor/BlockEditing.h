#pragma once
// Rectangular selection and the floating block. In rectangle mode a mouse drag or Shift with
// the arrow keys selects lines by unit columns; Ctrl with the arrow keys (or dragging the
// rectangle) lifts it and moves it over the picture, drawn as a layer while the canvas text
// stays as it was; Enter or a click outside lays it down as one undo step, Escape puts it back.
// The rules themselves are grid/Block. In the proportional board font the rectangle is a range
// of dots instead and the block moves by the dot: DotRectangle.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStaticText>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "grid/Block.h"
#include "host/CanvasLayer.h"

class QAction;

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::editor {

class CanvasWidget;
class DotRectangle;

class BlockEditing : public QObject, public host::CanvasLayer
{
    Q_OBJECT
public:
    BlockEditing(CanvasWidget& canvas, QObject* parent);
    ~BlockEditing() override;

    /// "矩形選択(&B)" (Ctrl+B) and "透過(&T)", both checkable, at the end of the Edit menu.
    void addMenuEntries(host::ToolHost& host);

    bool isActive() const { return m_active; }
    /// Leaving the mode lays a floating block down first.
    void setActive(bool active);
    bool isTransparent() const { return m_transparent; }
    /// Remembered in the program's settings.
    void setTransparent(bool transparent);

    /// The selected rectangle; empty when there is none.
    grid::BlockRect selection() const;
    bool isFloating() const { return m_floating; }
    /// Where the floating block is now.
    grid::BlockRect floatingRect() const { return m_at; }

    /// Selects the rectangle between two corners (x a unit column, y a line, from 0).
    void select(QPoint anchor, QPoint corner);
    /// Lifts the selection when nothing floats yet, then moves the block one step.
    void moveBlock(grid::Arrow arrow);
    /// Lays the floating block down: one undo step, Modified set.
    void layDown();
    /// Puts the floating block back where it came from; nothing is recorded.
    void cancel();

    /// Whether the rectangle is one of dots: while the canvas shows the proportional font.
    bool inDots() const;
    /// The rectangle and floating block in dots.
    DotRectangle& dots() { return *m_dots; }
    /// Lifts the rectangle of dots when nothing floats yet, then moves the block by lines and
    /// dots; the status bar says what laying it down there would do to the dots.
    void moveDots(int lines, int dots);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // host::CanvasLayer
    void paint(QPainter& painter, const QRect& exposed) override;
    bool paintsOverText() const override { return true; }
    bool capturesInput() const override { return m_active; }
    Qt::CursorShape pointerShape() const override { return Qt::CrossCursor; }
    void pointerPressed(QPoint p) override;
    void pointerMoved(QPoint p) override;
    void pointerReleased(QPoint p) override;
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers) override;
    std::optional<QString> takeSelection(bool cut) override;
    /// The whole canvas as the rectangle, a floating block laid down first.
    bool selectAll() override;
    /// The rectangle; a floating block's place while it floats.
    std::optional<host::CellRect> selectedCells() const override;
    /// The rectangle of dots (while a block of dots floats, the one it was lifted from).
    std::optional<host::DotArea> selectedDots() const override;
    /// Turns the floating block of dots where it floats; the status bar then says what laying
    /// it down there would do.
    bool turnFloatingDots(const host::DotTurn& turn) override;
    void canvasClosed() override { m_canvas = nullptr; }

signals:
    void activeChanged(bool active);

private:
    bool dotKeyPressed(int key, Qt::KeyboardModifiers mods);
    void notice(const QString& text);
    /// The caret's cell: x its unit column, y its line (from 0).
    QPoint caretCell() const;
    bool lift();
    void stopFloating();
    /// The text caret to the rectangle's top left cell, so paste lands there.
    void placeCaret(const grid::BlockRect& rect);
    /// The cells of line from unit column from to unit column to, in layer coordinates.
    QRect cells(int line, int from, int to) const;
    /// Every cell of rect plus its outline: what to repaint when it changes.
    QRect area(const grid::BlockRect& rect) const;
    void paintRect(QPainter& painter, const grid::BlockRect& rect, bool fill);
    void paintOutline(QPainter& painter, const QRect& cells);
    /// Where the floating block's pieces are drawn at its current place.
    struct Placed
    {
        QRect area;  ///< its cells and outline: what to repaint when it moves
        std::vector<QRect> lineCells;
        std::vector<std::vector<QRect>> runBoxes;
    };
    const Placed& placed();
    /// placed().area.
    QRect floatingArea();
    void shapeRuns();
    void paintFloating(QPainter& painter);
    void repaint();

    CanvasWidget* m_canvas;
    host::ToolHost* m_host = nullptr;
    std::unique_ptr<DotRectangle> m_dots;
    QPoint m_dragDotsFrom;  ///< a drag of the block in dots: the pointer where it started
    int m_dragDown = 0;     ///< and where the block stood then
    int m_dragRight = 0;
    QPointer<QWidget> m_window;  ///< the canvas's window, whose closing lays the block down
    QPointer<QAction> m_modeAction;
    QPointer<QAction> m_transparentAction;
    bool m_active = false;
    bool m_transparent = false;
    bool m_hasRect = false;
    QPoint m_anchor;
    QPoint m_corner;
    enum class Drag { None, Selecting, Moving };
    Drag m_drag = Drag::None;
    QPoint m_dragFrom;
    grid::BlockRect m_dragStart;
    bool m_floating = false;
    grid::Block m_block;
    grid::BlockRect m_source;
    grid::BlockRect m_at;
    std::u16string m_before;  ///< the canvas text when the block was lifted
    std::u16string m_lifted;  ///< that text with the block's cells blanked
    /// The block's characters between its blanks, per line, shaped once when it is lifted.
    struct Run
    {
        int unit;  ///< from the block's left edge
        int width;
        QStaticText text;
    };
    std::vector<std::vector<Run>> m_runs;
    std::optional<Placed> m_placed;
    std::vector<QRect> m_sourceCells;  ///< the lifted cells, hidden while it floats
};

}  // namespace masumemo::editor

#pragma once
// Pictures painted inside the canvas under its text: an underlay to trace over, marks of a
// check, a block being moved. A layer knows nothing of the editor; the canvas hands it a
// painter placed so that (0, 0) is the top-left corner of the first cell, so whatever a layer
// paints scrolls with the text. Caret, selection and text are always drawn above every layer.

#include <QColor>
#include <QPoint>
#include <QString>
#include <QRect>
#include <QSize>
#include <Qt>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace masumemo::host {

/// Cells of the canvas: lines [line, line + lines) from 0, unit columns [column, column + width).
struct CellRect
{
    int line = 0;
    int column = 0;
    int lines = 0;
    int width = 0;
};

/// A rectangle of the canvas in the proportional font's dots: lines [line, line + lines) from
/// 0, on each the characters whose middles lie in dots [x0, x1) from the line start.
struct DotArea
{
    int line = 0;
    int lines = 0;
    int x0 = 0;
    int x1 = 0;
};

/// A line of a floating block of dots: its characters and the dot where the first is laid.
struct DotLine
{
    std::u16string text;
    int x = 0;
};

/// Gives a floating block of dots' lines back turned (as many, in the same frame of dots), or
/// nothing when they cannot be turned.
using DotTurn =
    std::function<std::optional<std::vector<DotLine>>(const std::vector<DotLine>& lines)>;

class CanvasLayer
{
public:
    virtual ~CanvasLayer() = default;

    /// Paints the part of the layer inside `exposed` (canvas pixels; the painter is clipped to
    /// it and has full opacity and no transform beyond the canvas origin).
    virtual void paint(QPainter& painter, const QRect& exposed) = 0;

    /// While true, mouse drags and the arrow keys in the canvas go to this layer instead of
    /// selecting or moving the caret. The text is not touched either way.
    virtual bool capturesInput() const { return false; }
    /// The mouse pointer over the canvas while capturing, so the user sees that a drag does
    /// something else than select text.
    virtual Qt::CursorShape pointerShape() const { return Qt::IBeamCursor; }
    /// The left button pressed, moved while held, released: points in canvas pixels.
    virtual void pointerPressed(QPoint) {}
    virtual void pointerMoved(QPoint) {}
    virtual void pointerReleased(QPoint) {}
    /// A key pressed in the canvas while capturing; true when the layer took it.
    virtual bool keyPressed(int /*key*/, Qt::KeyboardModifiers) { return false; }

    /// Painted over the text, caret and selection instead of under them (a block lifted off
    /// the picture hides the cells it came from and floats above the rest).
    virtual bool paintsOverText() const { return false; }

    /// Copy (cut false) and cut while capturing: the layer's own selection as clipboard text,
    /// cut blanking it too; nothing when the canvas's ordinary selection applies.
    virtual std::optional<QString> takeSelection(bool /*cut*/) { return std::nullopt; }
    /// Select all while capturing: true when the layer selected the whole canvas its own way.
    virtual bool selectAll() { return false; }
    /// While capturing: the cells the layer has selected its own way (a rectangle), if any.
    virtual std::optional<CellRect> selectedCells() const { return std::nullopt; }
    /// While capturing: the rectangle of dots the layer has selected, if any.
    virtual std::optional<DotArea> selectedDots() const { return std::nullopt; }
    /// While a block of dots floats: the block turned by turn, still floating where it is.
    /// False when no such block floats or it was not turned.
    virtual bool turnFloatingDots(const DotTurn& /*turn*/) { return false; }

    /// The canvas is being destroyed while the layer is still on it: the layer's owner must
    /// not call the canvas again (not even to remove the layer).
    virtual void canvasClosed() {}
};

/// The canvas as its layers see it (the editor's canvas widget implements it).
class CanvasLayers
{
public:
    /// Adds `layer` (not owned) above the layers already there, still under the text. A layer
    /// must be removed before it is destroyed, unless the canvas went first (canvasClosed).
    virtual void addLayer(CanvasLayer* layer) = 0;
    virtual void removeLayer(CanvasLayer* layer) = 0;
    /// Repaints `area` (canvas pixels) after a layer's picture changed; an empty area repaints
    /// everything visible.
    virtual void updateLayers(const QRect& area = {}) = 0;

    /// The rectangle of `count` characters of line `line` from character `first` (all from 0),
    /// in canvas pixels; an empty rectangle for a line the canvas does not have.
    virtual QRect textRect(int line, int first, int count) const = 0;
    /// The plain colour behind the text and every layer.
    virtual QColor background() const = 0;

protected:
    ~CanvasLayers() = default;
};

}  // namespace masumemo::host

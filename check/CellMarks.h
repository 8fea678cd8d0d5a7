#pragma once
// The cells of every problem, marked in the canvas under its text while the check is open.

#include <QColor>

#include "check/LiveCheck.h"
#include "host/CanvasLayer.h"

namespace masumemo::check {

class CellMarks : public host::CanvasLayer
{
public:
    CellMarks(const LiveCheck& check, host::CanvasLayers& canvas);

    void paint(QPainter& painter, const QRect& exposed) override;

    /// The colour behind the cells of a problem of kind.
    static QColor colourOf(ProblemKind kind);

private:
    const LiveCheck& m_check;
    host::CanvasLayers& m_canvas;
};

}  // namespace masumemo::check

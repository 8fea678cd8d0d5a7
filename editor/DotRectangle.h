#pragma once
// The rectangle mode's selection and floating block while the canvas shows the proportional
// board font: a range of dots on each of its lines, choosing the characters whose middles lie
// inside, drawn over exactly those characters; the floating block moves by dots and lines and is
// laid down with the blank runs around it recomposed (board/DotBlock). BlockEditing owns it and
// hands it the keys and the mouse in that font.

#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "board/DotBlock.h"
#include "grid/Push.h"

class QPainter;

namespace masumemo::editor {

class CanvasWidget;

class DotRectangle
{
public:
    explicit DotRectangle(CanvasWidget& canvas);

    /// A corner of the rectangle: a line (from 0) and a dot from the line start.
    struct Corner
    {
        int line = 0;
        int x = 0;
        friend bool operator==(const Corner&, const Corner&) = default;
    };

    bool hasRect() const { return m_hasRect; }
    /// The rectangle between the corners; empty when there is none.
    board::DotRect rect() const;
    void select(Corner anchor, Corner corner);
    void clear();
    /// The chosen characters of each line of the rectangle, worked out again from the text.
    void chooseAgain();
    /// Every line, every dot.
    void selectAll();
    /// Shift with an arrow: the moving corner to the next character boundary on any of the
    /// rectangle's lines (Left, Right) or one line (Up, Down); from the caret without a
    /// rectangle.
    void grow(grid::Arrow arrow);
    Corner anchor() const { return m_anchor; }
    /// The corner at a point of the canvas (layer pixels).
    Corner cornerAt(QPoint pixel) const;
    /// Whether the point is over a chosen character, or over the floating block.
    bool holds(QPoint pixel) const;

    bool isFloating() const { return m_floating; }
    /// Lifts the rectangle's characters when nothing floats yet; false when none are chosen.
    bool lift();
    /// Moves the floating block to lines down and dots right of where it was lifted; false,
    /// leaving it where it is, when it would leave the canvas or not fit a line's cells.
    bool moveTo(int down, int right);
    int down() const { return m_down; }
    int right() const { return m_right; }
    /// Lays the block down where it floats as one undo step, the rectangle then around it.
    /// Nothing is written when the canvas changed behind it: then it only stops floating, and
    /// the answer is false.
    bool layDown();
    /// Puts the block back: nothing written, the rectangle where it was.
    void cancel();
    /// The floating block (meaningful while isFloating()).
    const board::DotBlock& block() const { return m_block; }
    /// The floating block turned where it floats: each line's new text and the dot, before the
    /// move, where it starts. False, nothing changed, when nothing floats, the lines are not the
    /// block's or the turned block would not fit there.
    bool turnFloating(std::vector<std::u16string> texts, std::vector<int> at);
    /// What laying it down here does to the dots: empty when every character lands on its dot,
    /// else how many lines miss and by how much. laid: said after laying down.
    QString deviationText(bool laid) const;

    /// Opaque or transparent laying down; the forecast follows.
    void setTransparent(bool transparent);

    /// The rectangle's text (its lines joined by LF); cut: lifted off the canvas as one step.
    std::optional<QString> take(bool cut);

    void paint(QPainter& painter);
    /// Where the floating block is drawn now, its outline included.
    QRect floatingArea();
    /// The font changed: every pixel position is elsewhere.
    void fontChanged();

private:
    std::vector<std::u16string> canvasLines() const;
    /// The pixels of characters [first, first + count) of line, in layer coordinates.
    QRect charRect(int line, int first, int count) const;
    /// Canvas pixels per board dot at the canvas's font.
    double pixelsPerDot() const;
    void placeCaret(int line, int x);
    void shapeRuns();
    /// How far the floating block stands right of where it was lifted, in pixels.
    int floatingShift() const;
    /// Where line k of the floating block is drawn, dx pixels right; null for a line without
    /// characters.
    QRect floatingLine(size_t k, int dx) const;
    void paintOutline(QPainter& painter, const QRect& area) const;

    CanvasWidget& m_canvas;
    board::CharDots m_dots;
    bool m_transparent = false;
    bool m_hasRect = false;
    Corner m_anchor;
    Corner m_corner;
    board::DotBlock m_chosen;  ///< what the rectangle chooses, while it does not float

    bool m_floating = false;
    std::vector<std::u16string> m_lines;  ///< the canvas lines when the block was lifted
    std::u16string m_before;              ///< the canvas text then
    board::DotBlock m_block;
    int m_down = 0;
    int m_right = 0;
    board::DotLaid m_laid;  ///< the block laid down where it floats now
    /// The block's characters between its blanks, per line: pixels from the line's first
    /// chosen character, shaped once when it is lifted.
    struct Run
    {
        QRect box;
        QStaticText text;
    };
    std::vector<std::vector<Run>> m_runs;
    std::vector<QRect> m_sourceRects;  ///< each line's lifted characters where they stand
    std::vector<QRect> m_shownRects;   ///< each line's text as drawn before any move
};

}  // namespace masumemo::editor

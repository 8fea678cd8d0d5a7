#pragma once
// Rectangular blocks: a rectangle of lines by unit columns is lifted off the picture, floats
// over it while it moves, and is laid down again by the overlay rules of a multi-line paste.
// Pure functions of the canvas text (lines of 2 x keta units joined by CR LF), no Qt.

#include <string>
#include <string_view>
#include <vector>

#include "Push.h"

namespace masumemo::grid {

/// Lines [line, line + lines) (0-based) by unit columns [column, column + width).
struct BlockRect
{
    int line = 0;
    int column = 0;
    int lines = 0;
    int width = 0;

    bool empty() const { return lines <= 0 || width <= 0; }
    friend bool operator==(const BlockRect&, const BlockRect&) = default;
};

/// The rectangle between two corners, each a 0-based line and a unit column (a boundary
/// between cells, as the caret or the mouse gives it). Both corner lines are in it; the
/// columns bound it. Clamped to a canvas of gyou lines of 2 x keta units.
BlockRect rectFromCorners(int lineA, int columnA, int lineB, int columnB, int keta, int gyou);

/// One line of a block: the characters wholly inside the rectangle, starting offset units
/// from its left edge. A full-width character cut by the left edge makes offset 1; one cut by
/// the right edge ends the text one unit short. Those cells belong to the picture, not to the
/// block.
struct BlockLine
{
    std::u16string text;
    int offset = 0;

    friend bool operator==(const BlockLine&, const BlockLine&) = default;
};

struct Block
{
    std::vector<BlockLine> lines;
    int width = 0;  ///< the rectangle's width in units

    bool empty() const { return lines.empty(); }
    friend bool operator==(const Block&, const Block&) = default;
};

/// The block under rect; empty when rect is empty, outside the canvas, or the canvas is not a
/// grid of 2 x keta units wide lines.
Block copyBlock(std::u16string_view canvas, BlockRect rect, int keta);

/// The block's text for the clipboard: its lines joined by LF, each as wide as the rectangle
/// (the cells of cut characters as " ").
std::u16string blockText(const Block& block);

/// A lifted block and the canvas it leaves: the lifted characters become spaces of their own
/// widths, so every line keeps its width. An empty block leaves the canvas as it was.
struct Lifted
{
    Block block;
    std::u16string canvas;
};

Lifted liftBlock(std::u16string_view canvas, BlockRect rect, int keta);

/// The block laid over the canvas with its top left cell at (line, column), both 0-based and
/// clamped so the block stays on the canvas. Each block line is laid like a line of a
/// multi-line paste: the cells it covers go, and a full-width character half covered at either
/// end leaves " " for its other half. Transparent: the block's spaces (both widths) let the
/// picture show through and only its other characters are laid. The canvas is returned as it
/// was when it is not a grid of 2 x keta units wide lines.
std::u16string layBlock(std::u16string_view canvas, const Block& block, int line, int column,
                        bool transparent, int keta);

/// The rectangle moved by one step: Left and Right by one unit or one cell, Up and Down by one
/// line, never past the canvas edges (a move that would leave the canvas stops at the edge).
BlockRect moveRect(BlockRect rect, Arrow arrow, Step step, int keta, int gyou);

}  // namespace masumemo::grid

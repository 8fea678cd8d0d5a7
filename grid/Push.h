#pragma once
// Push, pull and block moves: Alt and Shift+Alt with the arrow keys shift canvas content by one
// half-width unit or one full-width cell. Every operation keeps each line's width; content
// pushed over an edge is lost and a full-width character cut in half leaves " " for its
// surviving half. Pure functions of the canvas as it stands.

#include <string>
#include <string_view>

namespace masumemo::grid {

enum class Arrow
{
    Left,
    Up,
    Right,
    Down
};

/// The step of the operations: one half-width unit, or one full-width cell (2 units).
enum class Step
{
    Half,
    Full
};

/// The result of a push, pull or move. text, caret and selectionLength are always filled: when
/// the operation does not apply they are the input as it stands (clamped to the text). An
/// operation that applies to spaces only may leave the text as it was and still move the caret.
struct MoveOutcome
{
    bool changed = false;  ///< the text differs from the input: commit and record only then
    std::u16string text;
    int caret = 0;  ///< caret offset; with a selection, the selection's start
    int selectionLength = 0;
};

/// The edge of a segment at which one step of content is dropped.
enum class Edge
{
    Start,
    End
};

/// A segment with one step dropped at one edge: rest is what stays (with " " for the surviving
/// half of a cut full-width character, at the cut), filler is what the caller puts on the other
/// side. width(rest) + width(filler) == width(segment), except for the empty segment, which
/// gives nothing and no filler.
struct DroppedStep
{
    std::u16string rest;
    std::u16string filler;
};

/// Drops one step at edge of segment. Half step: the edge character goes, filler " " (a
/// full-width one leaves " " for its other half). Full step: a full-width edge character goes
/// with filler U+3000; a half-width one goes together with the next character inwards (a
/// full-width next character leaves " "), filler U+3000, or alone with filler " " when it is
/// the whole segment.
DroppedStep dropStep(std::u16string_view segment, Edge edge, Step step);

/// Alt+arrow without a selection, at caret. Left and Right push the part of the caret line
/// before or after the caret towards the line's edge; Up and Down push the lines from the caret
/// line to the canvas edge, leaving a blank line at the caret line. The caret moves with the
/// content. Nothing happens on an empty canvas or when there is nothing on that side.
MoveOutcome Push(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta);

/// Shift+Alt+arrow without a selection, at caret. Left and Right pull the far part of the line
/// over the cell next to the caret, the filler going to the line's edge; Up and Down pull the
/// lines from the caret line to the canvas edge over the line next to it, leaving a blank line
/// at the edge.
MoveOutcome Pull(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta);

/// Alt+arrow with the selection [start, start + length) as it stands (start is its lower end,
/// whichever way it was made). Within one line, the selected characters move one step left or
/// right, or are laid over the line above or below and blanked in their own line. Across lines,
/// Left and Right shift every whole line the selection touches; Up and Down change nothing;
/// all four then select those lines whole. A length of 0 does nothing.
MoveOutcome SellMove(std::u16string_view canvas, int start, int length, Arrow arrow, Step step,
                     int keta);

}  // namespace masumemo::grid

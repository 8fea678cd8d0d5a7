#pragma once
// Push, pull and block moves: Alt and Shift+Alt with the arrow keys shift canvas content by one
// half-width unit or one full-width cell. Every operation keeps each line's width; content
// pushed over an edge is lost and a full-width character cut in half leaves " " for its
// surviving half. Pure functions of the canvas as it stands.

#include <string>
#include <string_view>

namespace masumemo::grid {

enum class Arrow { Left, Up, Right, Down };

/// The step of the operations: one half-width unit, or one full-width cell (2 units).
enum class Step { Half, Full };

struct MoveOutcome
{
    bool changed = false;  ///< false: nothing happens (the canvas stays, nothing is recorded)
    std::u16string text;
    int caret = 0;         ///< caret offset; with a selection, the selection's start
    int selectionLength = 0;
};

/// Alt+arrow without a selection, at caret.
MoveOutcome Push(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta);

/// Shift+Alt+arrow without a selection, at caret.
MoveOutcome Pull(std::u16string_view canvas, int caret, Arrow arrow, Step step, int keta);

/// Alt+arrow with the selection [start, start + length) as it stands (start is its lower end,
/// whichever way it was made).
MoveOutcome SellMove(std::u16string_view canvas, int start, int length, Arrow arrow, Step step,
                     int keta);

}  // namespace masumemo::grid

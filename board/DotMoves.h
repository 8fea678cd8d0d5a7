#pragma once
// Moving by the dot, for pictures in the proportional board font: the push and pull operations
// and alignment to a guide, done by changing blank runs only, so no visible character changes and
// none moves except the ones the operation moves. Pure functions of the canvas as it stands, no
// Qt.
//
// Runs are recomposed with composeBlankRun, so every run the operations write keeps the board's
// rules. A line keeps its width in half-width units: the blanks after its last visible character
// are trimmed or filled; an operation that would push a visible character past the last cell
// changes nothing.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "grid/Push.h"

namespace masumemo::board {

/// A character's advance in the board font's dots (a high surrogate gives its character's, a
/// low one 0).
using CharDots = std::function<int(char16_t)>;

/// What a dot operation did: the text, caret and selection as grid::MoveOutcome has them, how far
/// the moved characters went and how many lines could not go with them.
struct DotOutcome : grid::MoveOutcome
{
    /// Dots the characters moved: 1 unless one dot cannot be made without Unicode spaces, then
    /// the smallest distance that can. 0 when nothing changed.
    int dots = 0;
    /// Lines of a selection left as they were: no leading blanks to narrow, no run that can be
    /// made within the rules, or no room before the last cell.
    int skippedLines = 0;
};

/// Alt+Left or Alt+Right without a selection at caret. Right: everything from the caret to the
/// line end moves right, the blank run at the caret (the one it stands in, at the start of or
/// just after; a new one between two characters) widening. Left: everything from the line start
/// to the caret moves left, the line's leading run narrowing and the run at the caret widening;
/// nothing happens without leading blanks. Up and Down are not dot operations: unchanged.
DotOutcome DotPush(std::u16string_view canvas, int caret, grid::Arrow arrow, bool unicodeSpaces);

/// Shift+Alt+Left or Shift+Alt+Right without a selection. Left: the part after the caret moves
/// left (the run at the caret narrows). Right: the part before the caret moves right (the
/// leading run widens, the run at the caret narrows). Nothing happens when the run that must
/// narrow is empty.
DotOutcome DotPull(std::u16string_view canvas, int caret, grid::Arrow arrow, bool unicodeSpaces);

/// Alt+Left or Alt+Right with the selection [start, start + length). Within one line the
/// selected characters move (the run before them narrows and the one after widens, or the other
/// way round) and stay selected. Across lines every whole line moves by its leading run, the
/// same distance for all; a line that cannot move is left and counted; the lines stay selected
/// whole.
DotOutcome DotSellMove(std::u16string_view canvas, int start, int length, grid::Arrow arrow,
                       bool unicodeSpaces);

/// The x of a character's left edge in its line, in dots.
int dotPosition(std::u16string_view line, int index, const CharDots& dots);

/// "基準にそろえる": the blank run just before the first visible character at or after the caret
/// is recomposed so that the character starts at guide. With a selection of several lines
/// (length > 0 and spanning lines), the same on each selected line for the first visible
/// character at or right of the caret's unit column. Lines that cannot be aligned exactly are
/// left and counted; dots is 0.
DotOutcome AlignToGuide(std::u16string_view canvas, int caret, int start, int length, int guide,
                        bool unicodeSpaces, const CharDots& dots);

/// "右端をそろえる": on every line of the selection (the caret's line without one), the last
/// visible character ends at guide, or without a guide at the rightmost end among those lines,
/// by recomposing the blank run before it. Lines that cannot be aligned are left and counted.
DotOutcome AlignRightEdges(std::u16string_view canvas, int start, int length,
                           std::optional<int> guide, bool unicodeSpaces, const CharDots& dots);

}  // namespace masumemo::board

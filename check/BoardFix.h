#pragma once
// The picture made safe for posting without moving a cell: a run of blank cells that a board
// would change is written again with blanks of the same total width. Pure functions, no Qt.

#include <functional>
#include <string>
#include <string_view>

namespace masumemo::check {

/// A run of blank cells (half-width and full-width spaces in any mix) that a board would change.
struct BlankRun
{
    std::u16string_view text;  ///< the run as written
    int width = 0;             ///< its width in half-width units
    bool atLineStart = false;
};

/// Writes a run again; what it returns replaces the run. Other ways of keeping the picture in
/// place (in a proportional font's dots, for one) are other writers.
using RunWriter = std::function<std::u16string(const BlankRun&)>;

/// Keeps the run's width in cells: an even width w becomes w/2 full-width spaces, an odd one
/// (w-1)/2 full-width spaces and one half-width space. A run of width 1 at the line start
/// cannot be fixed so and comes back as it was.
std::u16string cellExactRun(const BlankRun& run);

/// True when a board would change the run: it starts the line with a half-width space, or holds
/// two half-width spaces in a row.
bool boardChangesRun(std::u16string_view run, bool atLineStart);

/// One line with every blank run that a board would change written again by writer. A run that
/// ends the line is trailing (the board drops it anyway) and stays, as does every run a board
/// leaves alone.
std::u16string fixLine(std::u16string_view line, const RunWriter& writer = cellExactRun);

/// Every line of a canvas text (CR LF line ends) through fixLine; the line ends stay.
std::u16string fixForBoard(std::u16string_view text, const RunWriter& writer = cellExactRun);

}  // namespace masumemo::check

#pragma once
// The fix for pictures drawn in a proportional font: a blank run a board would change is written
// again with blanks of the same width in that font's dots, so everything after it stays where the
// author put it. Pure functions, no Qt.

#include <string>
#include <string_view>
#include <vector>

#include "check/BoardFix.h"

namespace masumemo::check {

/// The advances of the two blanks in the font's dots.
struct BlankDots
{
    int half = 5;
    int full = 11;
};

/// Blanks a board keeps, and how far their width is from the one asked for.
struct DotRun
{
    std::u16string text;
    int deviation = 0;  ///< dots: the width of text less the width asked for

    friend bool operator==(const DotRun&, const DotRun&) = default;
};

/// Width in dots of a run of blanks.
int blankRunDots(std::u16string_view run, BlankDots dots);

/// Full-width spaces and single half-width spaces, never two half-width spaces side by side nor,
/// at the line start, one first, whose width is `width` dots; when no such blanks exist, those
/// nearest to it (then the fewest half-width spaces).
DotRun dotExactRun(int width, bool atLineStart, BlankDots dots);

/// One line fixed with dotExactRun, and its deviation: the shift in dots, of largest size, of
/// any character of the line from where it was (0 when every run kept its width).
struct DotLine
{
    std::u16string text;
    int deviation = 0;
    /// The first run whose width the fix could not keep, in characters of the line as it was;
    /// missCount is 0 when every run kept its width.
    int missStart = 0;
    int missCount = 0;
};
DotLine fixLineInDots(std::u16string_view line, BlankDots dots);

/// Every line of a canvas text (lines joined by CR LF) through fixLineInDots, each kept at its
/// width in half-width units by the blanks at its end, which a board drops anyway. A line that
/// would come out wider than its cells can hold stays as it was.
std::u16string fixForBoardInDots(std::u16string_view text, BlankDots dots);

/// A line that fixForBoardInDots moves: where the author has to mend it by hand.
struct LineShift
{
    int line = 1;       ///< from 1
    int dots = 0;       ///< the line's deviation, as DotLine has it
    int column = 0;     ///< unit column of the first run whose width could not be kept
    int charStart = 0;  ///< that run, in characters within the line
    int charCount = 0;

    friend bool operator==(const LineShift&, const LineShift&) = default;
};

/// The lines of a canvas text whose deviation fixForBoardInDots does not make 0, in order.
std::vector<LineShift> dotShifts(std::u16string_view text, BlankDots dots);

}  // namespace masumemo::check

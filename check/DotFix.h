#pragma once
// The fix for pictures drawn in the proportional board font: a blank run a board would change is
// composed again to the same width in that font's dots, so everything after it stays where the
// author put it. Where no run has that width, the next blank run of the line takes the difference
// back when it can. Pure functions, no Qt.

#include <string>
#include <string_view>
#include <vector>

#include "check/BoardFix.h"

namespace masumemo::check {

/// One line fixed, and its deviation: the shift in dots, of largest size, of any character of the
/// line from where it was (0 when every run kept its width). Runs are composed with the Unicode
/// spaces too when unicodeSpaces (the board shows references as their characters).
struct DotLine
{
    std::u16string text;
    int deviation = 0;
    /// The first run whose width the fix could not keep, in characters of the line as it was;
    /// missCount is 0 when every run kept its width.
    int missStart = 0;
    int missCount = 0;
};
DotLine fixLineInDots(std::u16string_view line, bool unicodeSpaces);

/// Every line of a canvas text (lines joined by CR LF) through fixLineInDots, each kept at its
/// width in half-width units by the blanks at its end, which a board drops anyway. A line that
/// would come out wider than its cells can hold stays as it was.
std::u16string fixForBoardInDots(std::u16string_view text, bool unicodeSpaces);

/// What "整えてｺﾋﾟｰ" puts on the clipboard: the text fixed for the board (in dots when the
/// canvas shows the proportional font, cell-exact otherwise), characters code page 932 lacks as
/// their references, lines ended by LF.
std::u16string postingCopy(std::u16string_view text, bool proportional, bool unicodeSpaces);

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
std::vector<LineShift> dotShifts(std::u16string_view text, bool unicodeSpaces);

}  // namespace masumemo::check

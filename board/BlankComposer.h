#pragma once
// Runs of blanks composed to the dot: given a width in the board font's dots and where the run
// stands, the blanks that are exactly that wide and that a board keeps as they are. Pure
// functions, no Qt.
//
// A board drops a half-width space at the start of a line and folds two half-width spaces side
// by side into one, so a run never puts one there, counting the characters around it. Among the
// runs of the asked width, the one with the fewest bytes as posted wins (a Unicode space counts
// the bytes of its reference), then the one with the fewest characters.

#include <string>
#include <string_view>

namespace masumemo::board {

/// Where a run of blanks stands in its line.
struct RunPlace
{
    bool atLineStart = false;  ///< nothing before the run on its line
    bool halfBefore = false;   ///< the character just before the run is a half-width space
    bool halfAfter = false;    ///< the character just after the run is a half-width space

    friend bool operator==(const RunPlace&, const RunPlace&) = default;
};

/// A composed run: exactly the width asked for, or the nearest that can be made.
struct ComposedRun
{
    std::u16string text;
    int dots = 0;       ///< width of text
    int deviation = 0;  ///< dots less the width asked for
    bool exact() const { return deviation == 0; }

    friend bool operator==(const ComposedRun&, const ComposedRun&) = default;
};

/// The run of blanks `dots` wide (dots < 0 counts as 0) for that place: half-width and full-width
/// spaces, and with unicodeSpaces also U+2002, U+2005, U+2006, U+2009 and U+200A (the ones whose
/// board widths the corpus confirms). When no run has exactly that width, the nearest one that
/// can be made (the narrower of two equally near, when they cost the same bytes, else the
/// cheaper). Full-width spaces come first, then the Unicode spaces from the widest, with the
/// half-width spaces after them in turn. The empty run is the answer for 0 unless it would bring
/// a half-width space after the run to the line start or next to one before the run.
ComposedRun composeBlankRun(int dots, RunPlace place, bool unicodeSpaces);

/// Whether a run of blanks keeps the board's rules in that place. The empty run keeps them unless
/// it joins the characters around it into a pair the board would change.
bool keepsBoardRules(std::u16string_view run, RunPlace place);

/// The bytes of a run as posted (postedBytes summed).
int runPostedBytes(std::u16string_view run);

}  // namespace masumemo::board

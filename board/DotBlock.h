#pragma once
// The rectangle and the floating block in the proportional board font: a range of dots chooses
// the characters of each line by their middles; lifting takes them out and leaves blanks of the
// same width; laying down writes them at any dot, keeping every other visible character of the
// line where it stood. Only blank runs are composed, with composeBlankRun, so where no exact run
// exists the nearest is taken and the distance is reported. Pure functions, no Qt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/DotMoves.h"

namespace masumemo::board {

/// One character of a line (a surrogate pair is one) and the dots it spans.
struct DotSpan
{
    int index = 0;  ///< its first code unit in the line
    int size = 1;   ///< code units
    int x = 0;      ///< left edge, dots from the line start
    int width = 0;
    bool blank = false;  ///< a board blank

    int end() const { return x + width; }
    /// Twice the middle, so a middle on a half dot stays whole.
    int middle2() const { return 2 * x + width; }
};

/// Every character of the line with its dots, in order.
std::vector<DotSpan> dotSpans(std::u16string_view line, const CharDots& dots);

/// The characters of a line that a range of dots chooses.
struct DotChoice
{
    int start = 0;  ///< code units [start, end)
    int end = 0;
    int x = 0;      ///< left edge of the first chosen character
    int width = 0;  ///< dots from x to the right edge of the last one

    bool empty() const { return start >= end; }
    friend bool operator==(const DotChoice&, const DotChoice&) = default;
};

/// The characters whose middle lies in [x0, x1): always a run of neighbours, blanks included.
/// Empty (at the first character right of x0) when no middle lies inside.
DotChoice chooseByMiddle(std::u16string_view line, int x0, int x1, const CharDots& dots);

/// Where an edge of the range, standing at x and moving left (direction < 0) or right, first
/// takes in or lets go of a character on any of the lines: the nearest such x, so one step never
/// changes more than one character on a line. x itself when no character is left that way.
int nextChoiceEdge(const std::vector<std::u16string_view>& lines, int x, int direction,
                   const CharDots& dots);

/// Characters laid on a line at a dot: opaque, they replace every visible character they
/// overlap, their blanks included; transparent, only those their visible characters overlap.
struct Landing
{
    std::u16string_view text;
    int x = 0;
    bool transparent = false;
};

/// A line laid out anew and how far its visible characters landed from where they belong.
struct Relaid
{
    std::u16string text;
    int offCharacters = 0;  ///< visible characters not at their dot
    int largestOff = 0;     ///< the largest of those distances, dots
    bool fits = true;       ///< false: wider in units than the line was; text is then the line
};

/// The line with the chosen characters taken out and the landing (when there is one) laid down.
/// Every visible character kept stays at its dot and the landing's characters stand at landing.x
/// plus their own offsets, as nearly as blank runs within the board's rules allow: a run between
/// two characters that keep their distance is kept as written, the others are composed, each
/// aiming at where its next character belongs so that misses do not add up. The line keeps its
/// width in units by its trailing blanks.
Relaid relayLine(std::u16string_view line, DotChoice lifted, const std::optional<Landing>& landing,
                 const CharDots& dots, bool unicodeSpaces);

/// A rectangle of the canvas in dots: lines [line, line + lines), the range [x0, x1) on each.
struct DotRect
{
    int line = 0;
    int lines = 0;
    int x0 = 0;
    int x1 = 0;

    bool empty() const { return lines <= 0 || x1 <= x0; }
    friend bool operator==(const DotRect&, const DotRect&) = default;
};

/// The characters a rectangle chooses, one entry a line from its top line.
struct DotBlock
{
    int line = 0;
    std::vector<DotChoice> choices;
    std::vector<std::u16string> text;  ///< each line's chosen characters
    /// Where each line's text is laid before any move, when the block was turned after it was
    /// chosen (its text then is no longer what the choices lift); empty: at the choices' x.
    std::vector<int> at;

    /// True when no line has a character chosen.
    bool empty() const;
    /// The dot where line k's text is laid before any move.
    int landingX(size_t k) const { return k < at.size() ? at[k] : choices[k].x; }
};

/// The rectangle's characters; lines past the canvas are left out.
DotBlock chooseBlock(const std::vector<std::u16string>& lines, DotRect rect,
                     const CharDots& dots);

/// The canvas lines a lift and lay-down rewrote, and how nearly it went.
struct DotLaid
{
    int first = 0;                   ///< the first line of lines in the canvas
    std::vector<std::u16string> lines;  ///< every line from first to the last one touched
    int offLines = 0;                ///< lines with a character not at its dot
    int largestOff = 0;              ///< dots
    bool fits = true;  ///< false: the block leaves the canvas or a line would outgrow its units
};

/// The block lifted off the canvas and laid down moved by lines and dots. The canvas lines are
/// the ones the block was chosen on, as they were. Lines the block neither leaves nor reaches
/// are not rewritten. When !fits, lines is empty.
DotLaid layBlock(const std::vector<std::u16string>& lines, const DotBlock& block, int downLines,
                 int rightDots, bool transparent, const CharDots& dots, bool unicodeSpaces);

/// The block lifted and not laid down again (a cut): its lines with blanks of the same widths
/// where its characters were.
DotLaid liftBlock(const std::vector<std::u16string>& lines, const DotBlock& block,
                  const CharDots& dots, bool unicodeSpaces);

}  // namespace masumemo::board
